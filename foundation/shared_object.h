#pragma once
// Use-counted objects: vek::SharedObject and the counted reference vek::SharedRef.

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace vek {

// The library's base for objects with a use count. The count starts at 0; when the last counted
// user lets go (the count drops from 1 to 0) and the auto-delete flag is set, the object deletes
// itself through its virtual destructor. The count is atomic: counted references may be taken
// and dropped on several threads (the thread registry, the engine's search, the window).
class SharedObject {
public:
    SharedObject() = default;
    // A copy is a new object: it has no users yet.
    SharedObject(const SharedObject& other) noexcept : autoDelete_(other.isAutoDelete()) {}
    SharedObject& operator=(const SharedObject&) noexcept { return *this; }
    virtual ~SharedObject() = default;

    // One more counted user.
    void addRef() noexcept { useCount_.fetch_add(1, std::memory_order_relaxed); }
    // One counted user less; at 0 an auto-delete object is deleted (then true is returned).
    // Does nothing on a count of 0.
    // (Out of line: the compiler would otherwise warn at every object on the stack.)
    bool release() noexcept;

    int getUseCount() const noexcept { return useCount_.load(std::memory_order_acquire); }
    bool isAutoDelete() const noexcept { return autoDelete_.load(std::memory_order_acquire); }
    void setAutoDelete(bool autoDelete) noexcept { autoDelete_.store(autoDelete, std::memory_order_release); }

protected:
    // Takes one count back without deleting (for undoing a count taken a moment before).
    void releaseWithoutDelete() noexcept { decrement(); }

private:
    // Decrements a positive count; true when it dropped from 1 to 0.
    bool decrement() noexcept;

    std::atomic<int> useCount_{0};
    std::atomic<bool> autoDelete_{false};
};

// A counted reference to a SharedObject (or a class derived from it): holding one keeps the
// object's use count up by one; dropping it releases the count (which may delete the object).
template <typename T>
class SharedRef {
public:
    SharedRef() noexcept = default;
    SharedRef(std::nullptr_t) noexcept {}  // NOLINT(google-explicit-constructor)
    // Takes a counted reference to object (may be null).
    explicit SharedRef(T* object) noexcept : object_(object) {
        if (object_ != nullptr)
            base(object_)->addRef();
    }
    SharedRef(const SharedRef& other) noexcept : SharedRef(other.object_) {}
    SharedRef(SharedRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    // From a reference to a derived class (never a downcast).
    template <typename U>
        requires std::is_convertible_v<U*, T*>
    SharedRef(const SharedRef<U>& other) noexcept : SharedRef(other.get()) {}  // NOLINT(google-explicit-constructor)
    ~SharedRef() { reset(); }

    SharedRef& operator=(const SharedRef& other) noexcept {
        SharedRef copy(other);
        swap(copy);
        return *this;
    }
    SharedRef& operator=(SharedRef&& other) noexcept {
        SharedRef moved(std::move(other));
        swap(moved);
        return *this;
    }

    // Drops the reference (the handle becomes null).
    void reset() noexcept {
        if (T* object = std::exchange(object_, nullptr))
            base(object)->release();
    }
    void swap(SharedRef& other) noexcept { std::swap(object_, other.object_); }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    friend bool operator==(const SharedRef& a, const SharedRef& b) noexcept { return a.object_ == b.object_; }
    friend bool operator==(const SharedRef& a, std::nullptr_t) noexcept { return a.object_ == nullptr; }

private:
    static SharedObject* base(T* object) noexcept { return object; }

    T* object_ = nullptr;
};

}  // namespace vek
