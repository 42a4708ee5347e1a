#pragma once
// The named character references a reader knows, looked up by the whole reference text
// ("&amp;").

#include <optional>

#include "foundation/array.h"
#include "foundation/string.h"

namespace vek::xml {

class EntityTable {
public:
    // Holds "&amp;", "&lt;", "&gt;" and "&nbsp;".
    EntityTable();

    // Adds a reference or changes the character of a known one.
    void define(const STRING& reference, unsigned char character);
    std::optional<char> find(const STRING& reference) const;

private:
    SortedArray<STRING, char> entries_;
};

}  // namespace vek::xml
