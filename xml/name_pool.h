#pragma once
// The pool of markup names: every distinct name is stored once and all nodes with that name
// share its text block.

#include <string_view>
#include <variant>

#include "foundation/array.h"
#include "foundation/string.h"

namespace vek::xml {

class NamePool {
public:
    // A real document uses a few dozen names. Past this many the pool stops growing, because
    // each insertion into the sorted array moves the later names and a flood of distinct
    // names in a damaged file would make reading it quadratic.
    static constexpr std::size_t kMaxNames = 1024;

    // The pooled name, or a new one when the pool is full and does not hold it.
    STRING intern(std::string_view name);
    std::size_t getCount() const { return names_.getCount(); }

private:
    SortedArray<STRING, std::monostate> names_;
};

}  // namespace vek::xml
