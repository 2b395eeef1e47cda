// The cells of a row and the rows of a list view.
#include "platform/ui/list_rows.h"

#include <algorithm>
#include <string>
#include <utility>

namespace qv {

void ListCells::Store(std::u16string_view text, const uint16_t* ends, size_t count) {
    text = text.substr(0, 0xFFFF);
    char16_t* heap = text.size() > kInline ? new char16_t[text.size()] : nullptr;
    text.copy(heap != nullptr ? heap : inline_, text.size());
    delete[] heap_;
    heap_ = heap;
    size_ = static_cast<uint16_t>(text.size());
    count_ = static_cast<uint8_t>(std::min(count, kMaxCells));
    for (size_t k = 0; k < count_; ++k) ends_[k] = std::min<uint16_t>(ends[k], size_);
}

ListCells& ListCells::operator=(const ListCells& other) {
    if (this != &other) Store(other.Text(), other.ends_, other.count_);
    return *this;
}

ListCells& ListCells::operator=(ListCells&& other) noexcept {
    if (this == &other) return *this;
    delete[] heap_;
    heap_ = std::exchange(other.heap_, nullptr);
    size_ = std::exchange(other.size_, 0);
    count_ = std::exchange(other.count_, 0);
    std::copy(std::begin(other.ends_), std::end(other.ends_), ends_);
    std::copy(std::begin(other.inline_), std::end(other.inline_), inline_);
    return *this;
}

ListCells& ListCells::operator=(std::initializer_list<std::u16string_view> cells) {
    char16_t small[kInline];
    std::u16string large;
    uint16_t ends[kMaxCells] = {};
    size_t total = 0, count = 0;
    for (std::u16string_view cell : cells) {
        if (count == kMaxCells) break;
        total += cell.size();
        ends[count++] = static_cast<uint16_t>(std::min<size_t>(total, 0xFFFF));
    }
    if (total <= kInline) {
        size_t at = 0;
        for (std::u16string_view cell : cells) at += cell.copy(small + at, cell.size());
        Store(std::u16string_view(small, total), ends, count);
    } else {
        large.reserve(total);
        for (std::u16string_view cell : cells) large.append(cell);
        Store(large, ends, count);
    }
    return *this;
}

void ListCells::Set(size_t i, std::u16string_view text) {
    if (i >= count_) return;
    const size_t from = i == 0 ? 0 : ends_[i - 1];
    const size_t old = ends_[i] - from;
    std::u16string whole(Text());
    whole.replace(from, old, text);
    uint16_t ends[kMaxCells];
    for (size_t k = 0; k < count_; ++k) {
        ends[k] = k < i ? ends_[k] : static_cast<uint16_t>(ends_[k] - old + text.size());
    }
    Store(whole, ends, count_);
}

void ListCells::insert(size_t i, std::u16string_view text) {
    if (count_ >= kMaxCells || i > count_) return;
    const size_t at = i == 0 ? 0 : ends_[i - 1];
    std::u16string whole(Text());
    whole.insert(at, text);
    uint16_t ends[kMaxCells];
    for (size_t k = 0; k < i; ++k) ends[k] = ends_[k];
    ends[i] = static_cast<uint16_t>(at + text.size());
    for (size_t k = i; k < count_; ++k) ends[k + 1] = static_cast<uint16_t>(ends_[k] + text.size());
    Store(whole, ends, count_ + 1u);
}

void ListCells::erase(size_t i) {
    if (i >= count_) return;
    const size_t from = i == 0 ? 0 : ends_[i - 1];
    const size_t old = ends_[i] - from;
    std::u16string whole(Text());
    whole.erase(from, old);
    uint16_t ends[kMaxCells];
    for (size_t k = 0; k < i; ++k) ends[k] = ends_[k];
    for (size_t k = i + 1; k < count_; ++k) ends[k - 1] = static_cast<uint16_t>(ends_[k] - old);
    Store(whole, ends, count_ - 1u);
}

void ListCells::resize(size_t n) {
    n = std::min(n, kMaxCells);
    uint16_t ends[kMaxCells];
    for (size_t k = 0; k < n; ++k)
        ends[k] = k < count_ ? ends_[k] : (count_ == 0 ? 0 : ends_[count_ - 1]);
    const std::u16string whole(Text().substr(0, n == 0 ? 0 : ends[n - 1]));
    Store(whole, ends, n);
}

void ListRows::Assign(std::vector<ListRow> rows, size_t cells) {
    Clear();
    for (ListRow& row : rows) {
        if (row.cells.size() < cells) row.cells.resize(cells);
        slots_.push_back(static_cast<uint32_t>(built_.size()));
        built_.push_back(std::move(row));
    }
    cells_ = cells;
}

void ListRows::Assign(size_t count, std::shared_ptr<const ListRowSource> source, size_t cells) {
    Clear();
    slots_.resize(count);
    for (size_t i = 0; i < count; ++i) slots_[i] = kToBuild | static_cast<uint32_t>(i);
    source_ = std::move(source);
    cells_ = cells;
}

void ListRows::Insert(size_t at, ListRow row) {
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(at),
                  static_cast<uint32_t>(built_.size()));
    built_.push_back(std::move(row));
}

void ListRows::Erase(size_t at) {
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(at));
}

void ListRows::Clear() {
    slots_.clear();
    built_.clear();
    source_.reset();
}

void ListRows::Build(size_t i) const {
    ListRow& row = built_.emplace_back();
    source_->Build(slots_[i] & ~kToBuild, row);
    if (row.cells.size() < cells_) row.cells.resize(cells_);
    slots_[i] = static_cast<uint32_t>(built_.size() - 1);
}

}  // namespace qv
