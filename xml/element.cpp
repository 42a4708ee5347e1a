#include "xml/element.h"

namespace vek::xml {

STRING Element::getTag() const {
    return STRING();
}

STRING Element::getAttribute(const STRING& /*name*/) const {
    return STRING();
}

std::size_t Element::getNumObjects() const {
    return 0;
}

const Element* Element::getElement(std::size_t /*index*/) const {
    return nullptr;
}

const XmlContainer* Element::getElement(const STRING& /*tag*/) const {
    return nullptr;
}

void Element::collectContent(std::vector<const STRING*>& /*pieces*/) const {}

}  // namespace vek::xml
