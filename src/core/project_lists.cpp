// Project sorts and the balance of the current project. The project list is short, so the
// sorts work with the list operations alone, as the rest of the program does.
#include "core/project_lists.h"

#include <algorithm>
#include <vector>

#include "core/comparisons.h"

namespace qv {
namespace {

void Refill(ProjectList& projects, ProjectList& buffer, uint32_t order) {
    if (order == 1) {
        for (ProjectRecord* p = buffer.Last(); p != nullptr; p = p->prev) projects.Append(*p);
    } else {
        for (ProjectRecord* p = buffer.First(); p != nullptr; p = buffer.Next())
            projects.Append(*p);
    }
}

// Moves the projects, key by sorted key, into the buffer and back in the order asked for.
template <typename Key, typename GetKey, typename Find>
bool SortByKey(AppState& state, uint32_t order, GetKey getKey, Find find,
               int (*compare)(Key, Key)) {
    ProjectList& projects = state.projects;
    const uint16_t n = projects.Count();
    if (n == 0) return true;
    std::vector<Key> keys;
    keys.reserve(n);
    for (ProjectRecord* p = projects.First(); p != nullptr; p = projects.Next()) {
        keys.push_back(getKey(*p));
    }
    std::sort(keys.begin(), keys.end(), [compare](Key a, Key b) { return compare(a, b) < 0; });
    if (!state.projectSortBuffer.Empty()) state.projectSortBuffer.Clear();
    for (Key key : keys) {
        ProjectRecord* p = find(projects, key);
        if (p == nullptr) return false;
        state.projectSortBuffer.Append(*p);
        projects.RemoveAt(p->position);
    }
    if (projects.Count() != 0) return false;
    Refill(projects, state.projectSortBuffer, order);
    return true;
}

int CompareUnsignedKey(uint32_t a, uint32_t b) {
    return CompareUnsigned(a, b);
}
int CompareSignedKey(int32_t a, int32_t b) {
    return CompareSigned(a, b);
}

bool Counts(const AppState& state, const TimeRecord& r) {
    return r.projectId == state.currentProject.projectId && r.minutesText.has_value();
}

void SetBalance(AppState& state, int64_t minutes) {
    state.balanceMinutes = minutes;
    SetMinutes(state.balanceRecord, TrimBlanks(FormatDecimal(minutes)));
}

}  // namespace

bool SortProjectsByDate(AppState& state, uint32_t order) {
    return SortByKey<uint32_t>(
        state, order, [](const ProjectRecord& p) { return p.dateKey; },
        [](ProjectList& l, uint32_t k) { return l.FindByDateKey(k); }, CompareUnsignedKey);
}

bool SortProjectsByTotal(AppState& state, uint32_t order) {
    return SortByKey<int32_t>(
        state, order, [](const ProjectRecord& p) { return p.totalMinutes; },
        [](ProjectList& l, int32_t k) { return l.FindByTotal(k); }, CompareSignedKey);
}

bool SortProjectsByName(AppState& state, uint32_t order) {
    ProjectList& projects = state.projects;
    const uint16_t n = projects.Count();
    if (n == 0) return true;
    std::vector<std::u16string> names;
    names.reserve(n);
    for (ProjectRecord* p = projects.First(); p != nullptr; p = projects.Next()) {
        if (!p->name) return false;
        names.push_back(*p->name);
    }
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareText(a, b) < 0;
    });
    if (!state.projectSortBuffer.Empty()) state.projectSortBuffer.Clear();
    for (const std::u16string& name : names) {
        ProjectRecord* p = projects.FindByName(name);
        if (p == nullptr) return false;
        state.projectSortBuffer.Append(*p);
    }
    projects.Clear();
    Refill(projects, state.projectSortBuffer, order);
    return true;
}

bool UpdateProjectBalance(AppState& state) {
    if (state.timeRecords.Count() == 0) {
        Reset(state.balanceRecord);
        state.balanceMinutes = 0;
        SetMinutes(state.balanceRecord, u"0");
        return true;
    }
    int64_t sum = 0;
    for (TimeRecord* r = state.timeRecords.First(); r != nullptr; r = state.timeRecords.Next()) {
        if (Counts(state, *r)) sum += MinutesOf(*r);
    }
    SetBalance(state, sum);
    return true;
}

void AdjustProjectBalance(AppState& state, const TimeRecord& record, int direction) {
    if (Counts(state, record)) {
        SetBalance(state, state.balanceMinutes + direction * int64_t{MinutesOf(record)});
    }
}

std::u16string LastUsedCategory(const AppState& state) {
    // Walked from the end: the first of the latest day met is the last listed of it.
    const TimeRecord* latest = nullptr;
    for (const TimeRecord* r = state.timeRecords.Last(); r != nullptr; r = r->prev) {
        if (r->category && (latest == nullptr || r->dateKey > latest->dateKey)) latest = r;
    }
    const CategoryItem* first = nullptr;
    for (const CategoryItem* c = state.categories.Last(); c != nullptr; c = c->prev) {
        if (latest != nullptr && c->name == latest->category) return *latest->category;
        first = c;
    }
    return first != nullptr ? first->name.value_or(u"") : u"";
}

}  // namespace qv
