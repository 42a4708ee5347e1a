#pragma once
// Growable arrays: the plain array with checked access and growth in blocks, and the sorted
// array of (key, value) pairs used as a map. Neither has a lock.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>

#include "foundation/exceptions.h"

namespace vek {

// An array of values or pointers. Storage that growing adds holds default (value-initialised)
// elements: zero records, null pointers, empty strings. The array owns its storage, not what
// pointers in it point to.
template <typename T>
class Array {
public:
    static constexpr std::size_t kDefaultGrowthStep = 32;

    explicit Array(std::size_t growthStep = kDefaultGrowthStep) : step_(growthStep) {}
    Array(const Array& other) : step_(other.step_) { copyFrom(other); }
    Array(Array&& other) noexcept { swap(other); }
    Array& operator=(const Array& other) {
        if (this != &other) {
            Array copy(other);
            swap(copy);
        }
        return *this;
    }
    Array& operator=(Array&& other) noexcept {
        Array moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~Array() { delete[] storage_; }

    std::size_t getCount() const { return count_; }
    std::size_t getCapacity() const { return capacity_; }
    std::size_t getGrowthStep() const { return step_; }
    bool isEmpty() const { return count_ == 0; }

    // Grows to count + 1 when needed and returns the new last element, a default element.
    T& append() { return writeAt(count_); }
    // The value is copied (or moved) first, so it may be an element of this array.
    T& append(const T& value) {
        T copy(value);
        return append() = std::move(copy);
    }
    T& append(T&& value) {
        T moved(std::move(value));
        return append() = std::move(moved);
    }

    // The slot at index for writing: grows the storage when index is not below the capacity
    // and extends the count to index + 1, so writing just past the end appends.
    // Throws IndexError when growing cannot bring the index below the capacity.
    T& writeAt(std::size_t index) {
        if (index >= capacity_) {
            std::size_t ignored = 0;
            // An index so large that the capacity for it cannot even be computed.
            if (index == static_cast<std::size_t>(-1) || !capacityFor(index + 1, ignored))
                throw IndexError();
            grow(index + 1);
        }
        if (index >= capacity_)
            throw IndexError();
        if (index >= count_)
            count_ = index + 1;
        return storage_[index];
    }

    // Checked reading and in-place changing of an element below the count.
    T& operator[](std::size_t index) { return storage_[checked(index)]; }
    const T& operator[](std::size_t index) const { return storage_[checked(index)]; }

    T* begin() { return storage_; }
    T* end() { return storage_ + count_; }
    const T* begin() const { return storage_; }
    const T* end() const { return storage_ + count_; }

    // Removes one element; the later ones move down. Does nothing for an index not below the count.
    void remove(std::size_t index) {
        if (index >= count_)
            return;
        std::move(storage_ + index + 1, storage_ + count_, storage_ + index);
        storage_[--count_] = T();
    }

    // Drops the last element (the array must not be empty), leaving a default element behind.
    void removeLast() { remove(count_ - 1); }

    // Releases the storage; count and capacity become 0.
    void clear() {
        delete[] storage_;
        storage_ = nullptr;
        count_ = 0;
        capacity_ = 0;
    }

    // Grows (or shrinks) the storage for n elements by the block rule:
    // step = max(n / 8, growth step, 32); capacity = step * (n / step + 1).
    // Throws AllocError, keeping storage and count, when the storage cannot be allocated.
    void grow(std::size_t n) {
        std::size_t newCapacity = 0;
        if (!capacityFor(n, newCapacity))
            throw AllocError();
        if (newCapacity == capacity_)
            return;
        std::unique_ptr<T[]> fresh(allocate(newCapacity));
        const std::size_t kept = std::min(count_, newCapacity);
        std::move(storage_, storage_ + kept, fresh.get());
        delete[] storage_;
        storage_ = fresh.release();
        capacity_ = newCapacity;
        count_ = kept;
    }

    // The capacity that growing to n elements gives by the block rule; false when it does not
    // fit in a size_t.
    bool capacityFor(std::size_t n, std::size_t& capacity) const {
        const std::size_t block = std::max({n / 8, step_, std::size_t{32}});
        const std::size_t blocks = n / block + 1;
        if (blocks > static_cast<std::size_t>(-1) / block)
            return false;
        capacity = block * blocks;
        return true;
    }

    void swap(Array& other) noexcept {
        std::swap(count_, other.count_);
        std::swap(storage_, other.storage_);
        std::swap(capacity_, other.capacity_);
        std::swap(step_, other.step_);
    }

private:
    // The nothrow form: AddressSanitizer ends the process when a throwing new fails (even with
    // allocator_may_return_null=1), but lets the nothrow form return null.
    static T* allocate(std::size_t n) {
        T* storage = nullptr;
        try {
            storage = new (std::nothrow) T[n]();
        } catch (const std::bad_alloc&) {
            throw AllocError();
        }
        if (storage == nullptr)
            throw AllocError();
        return storage;
    }

    std::size_t checked(std::size_t index) const {
        if (index >= count_)
            throw IndexError();
        return index;
    }

    void copyFrom(const Array& other) {
        if (other.capacity_ == 0)
            return;
        std::unique_ptr<T[]> copy(allocate(other.capacity_));
        std::copy(other.storage_, other.storage_ + other.count_, copy.get());
        storage_ = copy.release();
        capacity_ = other.capacity_;
        count_ = other.count_;
    }

    std::size_t count_ = 0;
    T* storage_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t step_ = kDefaultGrowthStep;
};

// A (key, value) pair of a SortedArray.
template <typename K, typename V>
struct KeyValue {
    K key{};
    V value{};
};

// An array of (key, value) pairs kept in ascending key order (by K's operator<), used as a map.
template <typename K, typename V>
class SortedArray {
public:
    using Pair = KeyValue<K, V>;

    explicit SortedArray(std::size_t growthStep = Array<Pair>::kDefaultGrowthStep) : pairs_(growthStep) {}

    std::size_t getCount() const { return pairs_.getCount(); }
    bool isEmpty() const { return pairs_.isEmpty(); }
    const Pair& operator[](std::size_t index) const { return pairs_[index]; }
    // Access for changing values in place; the key must not be changed.
    Pair& operator[](std::size_t index) { return pairs_[index]; }

    const Pair* begin() const { return pairs_.begin(); }
    const Pair* end() const { return pairs_.end(); }

    // Binary search: the pair with that key, or null.
    Pair* find(const K& key) {
        const std::size_t at = lowerBound(key);
        return at < pairs_.getCount() && !(key < pairs_[at].key) ? &pairs_[at] : nullptr;
    }
    const Pair* find(const K& key) const { return const_cast<SortedArray*>(this)->find(key); }

    // Inserts at the sorted place (after any pairs with an equal key) and returns the new pair.
    Pair& insert(const K& key, const V& value) {
        std::size_t at = lowerBound(key);
        while (at < pairs_.getCount() && !(key < pairs_[at].key))
            ++at;
        return insertAt(at, key, value);
    }

    // The existing pair with that key, or a new one with an empty value.
    Pair& findOrInsert(const K& key) {
        const std::size_t at = lowerBound(key);
        if (at < pairs_.getCount() && !(key < pairs_[at].key))
            return pairs_[at];
        return insertAt(at, key, V());
    }

    void remove(std::size_t index) { pairs_.remove(index); }
    void clear() { pairs_.clear(); }

private:
    // Index of the first pair whose key is not less than key.
    std::size_t lowerBound(const K& key) const {
        std::size_t low = 0;
        std::size_t high = pairs_.getCount();
        while (low < high) {
            const std::size_t mid = low + (high - low) / 2;
            if (pairs_[mid].key < key)
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    }

    // Key and value are taken by value: they may belong to a pair of this array.
    Pair& insertAt(std::size_t at, K key, V value) {
        pairs_.append();
        for (std::size_t i = pairs_.getCount() - 1; i > at; --i)
            pairs_[i] = std::move(pairs_[i - 1]);
        Pair& slot = pairs_[at];
        slot.key = std::move(key);
        slot.value = std::move(value);
        return slot;
    }

    Array<Pair> pairs_;
};

}  // namespace vek
