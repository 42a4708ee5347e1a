#include "xml/name_pool.h"

namespace vek::xml {

STRING NamePool::intern(std::string_view name) {
    const STRING key(name.data(), name.size());
    if (const auto* pooled = names_.find(key))
        return pooled->key;
    if (names_.getCount() >= kMaxNames)
        return key;
    return names_.insert(key, std::monostate()).key;
}

}  // namespace vek::xml
