#pragma once
// An intrusive doubly linked list: objects derive from ListEntry and are linked into one
// LinkedList without any allocation. Neither type has a lock.

#include <cstddef>

namespace vek {

class LinkedList;

// The links of an object in one list. Not copyable: the links belong to this object's place.
class ListEntry {
public:
    ListEntry() = default;
    ListEntry(const ListEntry&) = delete;
    ListEntry& operator=(const ListEntry&) = delete;
    ~ListEntry() = default;

    ListEntry* getNext() const { return next_; }
    ListEntry* getPrevious() const { return previous_; }
    // The list the entry is linked into, or null.
    LinkedList* getList() const { return list_; }

private:
    friend class LinkedList;

    ListEntry* next_ = nullptr;
    ListEntry* previous_ = nullptr;
    LinkedList* list_ = nullptr;
};

// Count, first and last entry; entries stay in the order they were appended.
class LinkedList {
public:
    LinkedList() = default;
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;
    // Leaves the remaining entries unlinked.
    ~LinkedList() {
        while (first_ != nullptr)
            unlink(first_);
    }

    std::size_t getCount() const { return count_; }
    ListEntry* getFirst() const { return first_; }
    ListEntry* getLast() const { return last_; }

    // Appends an entry that is in no list; an entry already linked anywhere is left alone.
    void append(ListEntry* entry) {
        if (entry->list_ != nullptr)
            return;
        entry->list_ = this;
        entry->previous_ = last_;
        entry->next_ = nullptr;
        if (last_ != nullptr)
            last_->next_ = entry;
        else
            first_ = entry;
        last_ = entry;
        ++count_;
    }

    // Takes an entry of this list out; does nothing for an entry of another list or of none.
    void unlink(ListEntry* entry) {
        if (entry->list_ != this)
            return;
        if (entry->previous_ != nullptr)
            entry->previous_->next_ = entry->next_;
        else
            first_ = entry->next_;
        if (entry->next_ != nullptr)
            entry->next_->previous_ = entry->previous_;
        else
            last_ = entry->previous_;
        entry->next_ = nullptr;
        entry->previous_ = nullptr;
        entry->list_ = nullptr;
        --count_;
    }

private:
    ListEntry* first_ = nullptr;
    ListEntry* last_ = nullptr;
    std::size_t count_ = 0;
};

}  // namespace vek
