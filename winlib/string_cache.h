#pragma once
// The application's cache of user-visible texts by id (portable). Texts that were looked up
// and not found are cached as empty texts, so that a miss is not searched again.

#include <cstddef>

#include "foundation/array.h"
#include "foundation/string.h"

namespace winlib {

class StringCache {
public:
    StringCache() : entries_(32) {}

    // The cached text for id, or null when the id was never stored.
    const vek::STRING* find(int id) const;
    // Stores (id, text) at its sorted place; an id already stored gets the new text.
    void store(int id, const vek::STRING& text);
    std::size_t getCount() const { return entries_.getCount(); }
    void clear() { entries_.clear(); }

private:
    vek::SortedArray<int, vek::STRING> entries_;
};

}  // namespace winlib
