// Categories: short names under which time is registered, kept unique in one list.
#pragma once

#include <cstdint>

#include "core/cursor_list.h"
#include "core/text.h"

namespace qv {

struct CategoryItem : ListLinks<CategoryItem> {
    Text name;
    int32_t totalMinutes = 0;  // minutes in the range of the last time report
};

// An absent or empty name fails and changes nothing.
bool SetName(CategoryItem& item, const Text& text);
// Name (through SetName) and total; the target's place in a list is left alone.
void CopyFrom(CategoryItem& target, const CategoryItem& source);

// A cursor list whose names are unique under exact comparison; Add is the only insertion.
class CategoryList : private CursorList<CategoryItem> {
    using Base = CursorList<CategoryItem>;

  public:
    using Base::Clear;
    using Base::Count;
    using Base::Current;
    using Base::Empty;
    using Base::FindAt;
    using Base::First;
    using Base::Last;
    using Base::Next;
    using Base::Prev;
    using Base::Size;

    // A copy as the new last item; the cursor moves to it. None, with the cursor on the first
    // item, when an item of the same name exists (or the list is full).
    CategoryItem* Add(const CategoryItem& item);
    // Exact, case-sensitive; none for an absent or empty text. Cursor as FindAt.
    CategoryItem* FindByName(const Text& text);
    CategoryItem* FindByTotal(int32_t minutes) {
        return qv::FindByTotal<CategoryItem>(*this, minutes);
    }
    // Remove and renumber; the cursor ends on the first item. An empty list, a missing item or
    // an absent or empty name fail and change nothing.
    bool RemoveAt(uint32_t position);
    bool RemoveByName(const Text& text);
};

}  // namespace qv
