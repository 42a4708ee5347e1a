#include "xml/entity_table.h"

namespace vek::xml {

EntityTable::EntityTable() {
    define("&amp;", '&');
    define("&lt;", '<');
    define("&gt;", '>');
    define("&nbsp;", 0xA0);
}

void EntityTable::define(const STRING& reference, unsigned char character) {
    entries_.findOrInsert(reference).value = static_cast<char>(character);
}

std::optional<char> EntityTable::find(const STRING& reference) const {
    if (const auto* entry = entries_.find(reference))
        return entry->value;
    return std::nullopt;
}

}  // namespace vek::xml
