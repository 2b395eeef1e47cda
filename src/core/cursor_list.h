// The cursor list: a doubly linked chain of owned records with 16-bit positions and one
// movable cursor. Time records, categories and projects all live in lists of this kind.
#pragma once

#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace qv {

// Links and position of a record in the list that owns it. Copying a record never copies its
// place: a copy starts outside any list, and assigning to a record keeps the target's place.
template <typename T>
struct ListLinks {
    T* prev = nullptr;
    T* next = nullptr;
    uint16_t position = 0;  // last: a record's own fields fill the space after it

    ListLinks() = default;
    ListLinks(const ListLinks&) {}
    ListLinks& operator=(const ListLinks&) { return *this; }
};

// Every list holds at most this many records, so positions and counts fit in 16 bits.
constexpr uint32_t kMaxListRecords = 65535;

// T derives from ListLinks<T> and has a free function CopyFrom(T& target, const T& source)
// that fills a record's values and leaves its place in a list alone.
template <typename T>
class CursorList {
  public:
    CursorList() = default;
    ~CursorList() { Clear(); }
    CursorList(const CursorList&) = delete;
    CursorList& operator=(const CursorList&) = delete;

    // The first record; the cursor moves there.
    T* First() {
        cursor_ = first_;
        return cursor_;
    }
    // The last record; the cursor stays.
    T* Last() const { return last_; }
    // The record after the cursor; the cursor moves there when there is one.
    T* Next() {
        if (cursor_ == nullptr || cursor_->next == nullptr) return nullptr;
        cursor_ = cursor_->next;
        return cursor_;
    }
    T* Prev() {
        if (cursor_ == nullptr || cursor_->prev == nullptr) return nullptr;
        cursor_ = cursor_->prev;
        return cursor_;
    }
    T* Current() const { return cursor_; }
    // The number of records; the cursor moves to the first record.
    uint16_t Count() {
        cursor_ = first_;
        return count_;
    }
    bool Empty() const { return count_ == 0; }
    // Without moving the cursor, for code that must not disturb a walk in progress.
    uint16_t Size() const { return count_; }

    // A copy of the record as the new last record; the cursor moves to it. None when the list
    // already holds the most records it can number: nothing changes then.
    T* Append(const T& record) {
        if (count_ >= kMaxListRecords) return nullptr;
        T* node = new T();
        CopyFrom(*node, record);
        Link(node);
        return node;
    }

    // The record itself, moved in as the new last record, for a record that is already what a
    // copy of it would be; otherwise as Append.
    T* AppendMoved(T&& record) {
        if (count_ >= kMaxListRecords) return nullptr;
        T* node = new T(std::move(record));
        Link(node);
        return node;
    }

    // The record at a position, searched from the first; the cursor moves to it, or to the
    // first record when there is none.
    T* FindAt(uint32_t position) {
        return FindFirst([position](const T& r) { return r.position == position; });
    }

    // The first record, counted from the first, that satisfies pred; cursor as FindAt.
    template <typename Pred>
    T* FindFirst(Pred pred) {
        for (T* p = first_; p != nullptr; p = p->next) {
            if (pred(*p)) {
                cursor_ = p;
                return p;
            }
        }
        cursor_ = first_;
        return nullptr;
    }

    // Searches the position forward from the cursor (callers place the cursor with FindAt
    // first) and fills that record from the given one, keeping its place; the cursor moves to
    // it. None when the position does not lie at or after the cursor.
    T* ReplaceAt(uint32_t position, const T& record) {
        for (T* p = cursor_; p != nullptr; p = p->next) {
            if (p->position == position) {
                if (p != &record) CopyFrom(*p, record);  // CopyFrom never touches the place
                cursor_ = p;
                return p;
            }
        }
        return nullptr;
    }

    // Removes the record at a position and renumbers the rest from 0; the cursor ends on the
    // first record. An empty list succeeds without effect; a position that is not in the list
    // fails and only moves the cursor to the first record.
    bool RemoveAt(uint32_t position) {
        if (first_ == nullptr) return true;
        T* node = FindAt(position);
        if (node == nullptr) return false;
        Remove(node);
        return true;
    }

    // Destroys every record, from the last to the first.
    void Clear() {
        for (T* p = last_; p != nullptr;) {
            T* prev = p->prev;
            delete p;
            p = prev;
        }
        first_ = last_ = cursor_ = nullptr;
        count_ = 0;
    }

    // Hands every record over to the caller, first to last, and leaves the list empty.
    std::vector<T*> Detach() {
        std::vector<T*> nodes;
        nodes.reserve(count_);
        for (T* p = first_; p != nullptr; p = p->next) nodes.push_back(p);
        first_ = last_ = cursor_ = nullptr;
        count_ = 0;
        return nodes;
    }

    // Makes the given records the list's own, in the given order and renumbered; the cursor
    // ends on the last. The list must be empty or hold exactly these records (a sort that
    // reorders in place); records from Detach or new ones are taken over.
    template <typename It>
    void Relink(It begin, It end) {
        first_ = last_ = cursor_ = nullptr;
        count_ = 0;
        for (It it = begin; it != end; ++it) {
            // The records lie anywhere in memory: ask for a later one while linking this one.
            if constexpr (std::random_access_iterator<It>) {
                if (end - it > kAhead) __builtin_prefetch(*(it + kAhead), 1);
            }
            Link(*it);
        }
    }

  protected:
    // Unlinks and destroys one record of this list; the cursor ends on the first record.
    void Remove(T* node) {
        if (node->prev != nullptr) {
            node->prev->next = node->next;
        } else {
            first_ = node->next;
        }
        if (node->next != nullptr) {
            node->next->prev = node->prev;
        } else {
            last_ = node->prev;
        }
        delete node;
        --count_;
        uint16_t pos = 0;
        for (T* p = first_; p != nullptr; p = p->next) p->position = pos++;
        cursor_ = first_;
    }

  private:
    static constexpr int kAhead = 8;

    void Link(T* node) {
        node->prev = last_;
        node->next = nullptr;
        node->position = last_ == nullptr ? 0 : static_cast<uint16_t>(last_->position + 1);
        if (last_ != nullptr) {
            last_->next = node;
        } else {
            first_ = node;
        }
        last_ = node;
        cursor_ = node;
        ++count_;
    }

    T* first_ = nullptr;
    T* last_ = nullptr;
    T* cursor_ = nullptr;
    uint16_t count_ = 0;
};

}  // namespace qv

namespace qv {

// The first record, counted from the first, whose date key equals key; cursor as FindAt.
template <typename T>
T* FindByDateKey(CursorList<T>& list, uint32_t key) {
    return list.FindFirst([key](const T& r) { return r.dateKey == key; });
}

// The record of a stored identifier, wherever a sort has put it; cursor as FindAt. The
// identifiers of the records of one list differ.
template <typename T>
T* FindByRecordId(CursorList<T>& list, uint32_t recordId) {
    return list.FindFirst([recordId](const T& r) { return r.recordId == recordId; });
}

// The first record, counted from the first, whose total equals minutes; cursor as FindAt.
template <typename T>
T* FindByTotal(CursorList<T>& list, int32_t minutes) {
    return list.FindFirst([minutes](const T& r) { return r.totalMinutes == minutes; });
}

}  // namespace qv
