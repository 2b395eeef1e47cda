// Category items and the list of unique names.
#include "core/category.h"

namespace qv {

bool SetName(CategoryItem& item, const Text& text) {
    if (!text || text->empty()) return false;
    item.name = text;
    return true;
}

void CopyFrom(CategoryItem& target, const CategoryItem& source) {
    if (&target == &source) return;
    SetName(target, source.name);
    target.totalMinutes = source.totalMinutes;
}

CategoryItem* CategoryList::Add(const CategoryItem& item) {
    for (CategoryItem* p = First(); p != nullptr; p = Next()) {
        if (p->name == item.name) {
            First();
            return nullptr;
        }
    }
    CategoryItem* added = Append(item);
    if (added == nullptr) First();
    return added;
}

CategoryItem* CategoryList::FindByName(const Text& text) {
    if (!text || text->empty()) {
        First();
        return nullptr;
    }
    return FindFirst([&](const CategoryItem& c) { return c.name == text; });
}

bool CategoryList::RemoveAt(uint32_t position) {
    CategoryItem* item = Base::FindAt(position);
    if (item == nullptr) return false;
    Remove(item);
    return true;
}

bool CategoryList::RemoveByName(const Text& text) {
    CategoryItem* item = FindByName(text);
    if (item == nullptr) return false;
    Remove(item);
    return true;
}

}  // namespace qv
