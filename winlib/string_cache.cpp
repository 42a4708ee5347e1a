// The sorted id -> text cache.
#include "winlib/string_cache.h"

namespace winlib {

const vek::STRING* StringCache::find(int id) const {
    const auto* pair = entries_.find(id);
    return pair != nullptr ? &pair->value : nullptr;
}

void StringCache::store(int id, const vek::STRING& text) { entries_.findOrInsert(id).value = text; }

}  // namespace winlib
