#include "xml/mark.h"

namespace vek::xml {

namespace {

STRING attributeOr(const XmlWithAttributes& node, const char* name, const char* fallback) {
    const STRING value = node.getAttribute(name);
    return value.isEmpty() ? STRING(fallback) : value;
}

}  // namespace

Mark::Mark(const STRING& name) : XmlWithAttributes(name) {}

ProcInstruction::ProcInstruction(const STRING& name) : Mark(name) {}

Special::Special(const STRING& name) : Mark(name) {}

Declaration::Declaration() : Special("xml") {}

STRING Declaration::getVersion() const {
    return attributeOr(*this, "version", "1.0");
}

STRING Declaration::getEncoding() const {
    return attributeOr(*this, "encoding", "iso-8859-1");
}

StyleSheet::StyleSheet() : Special("xml-stylesheet") {}

}  // namespace vek::xml
