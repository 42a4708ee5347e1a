// Use-counted objects.
#include "foundation/shared_object.h"

namespace vek {

bool SharedObject::release() noexcept {
    if (!decrement())
        return false;
    if (isAutoDelete()) {
        delete this;
        return true;
    }
    return false;
}

bool SharedObject::decrement() noexcept {
    int count = useCount_.load(std::memory_order_relaxed);
    do {
        if (count <= 0)
            return false;
    } while (!useCount_.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel, std::memory_order_relaxed));
    return count == 1;
}

}  // namespace vek
