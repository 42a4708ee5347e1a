#include "xml/factory.h"

namespace vek::xml {

std::unique_ptr<XmlContainer> Factory::createElement(const STRING& tag) const {
    return std::make_unique<Any>(tag);
}

}  // namespace vek::xml
