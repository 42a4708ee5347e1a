#include "xml/xml_with_attributes.h"

namespace vek::xml {

XmlWithAttributes::XmlWithAttributes(const STRING& tag) : tag_(tag) {}

STRING XmlWithAttributes::getTag() const {
    return tag_;
}

STRING XmlWithAttributes::getValue(ValueMode /*mode*/) const {
    return STRING();
}

STRING XmlWithAttributes::getAttribute(const STRING& name) const {
    for (const Attribute& attribute : attributes_) {
        if (attribute.name == name)
            return attribute.value;
    }
    return STRING();
}

void XmlWithAttributes::addAttribute(const STRING& name, const STRING& value) {
    attributes_.append(Attribute{name, value});
}

}  // namespace vek::xml
