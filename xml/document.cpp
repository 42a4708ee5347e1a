#include "xml/document.h"

namespace vek::xml {

Document::Document() : XmlContainer(STRING()) {}

const XmlContainer* Document::getRoot() const {
    for (std::size_t i = 0; i < getNumObjects(); ++i) {
        if (const auto* container = dynamic_cast<const XmlContainer*>(getElement(i)))
            return container;
    }
    return nullptr;
}

}  // namespace vek::xml
