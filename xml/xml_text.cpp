#include "xml/xml_text.h"

namespace vek::xml {

XmlText::XmlText(const STRING& text) : text_(text) {}

STRING XmlText::getValue(ValueMode /*mode*/) const {
    return text_;
}

PCData::PCData(const STRING& text) : XmlText(text) {}

void PCData::collectContent(std::vector<const STRING*>& pieces) const {
    pieces.push_back(&getText());
}

CData::CData(const STRING& text) : XmlText(text) {}

void CData::collectContent(std::vector<const STRING*>& pieces) const {
    pieces.push_back(&getText());
}

Comment::Comment(const STRING& text) : XmlText(text) {}

DocType::DocType(const STRING& text) : XmlText(text) {}

}  // namespace vek::xml
