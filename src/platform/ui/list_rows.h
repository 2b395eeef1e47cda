// The rows of a list view: each row's cells and image. Rows are handed over built, or as a count
// and a source that builds each row the first time it is read, so a list of tens of thousands of
// rows costs only the rows that are looked at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace qv {

// The texts of one row's cells, kept end to end inside the row; only a row longer than
// kInline characters has a text on the heap. A list of tens of thousands of rows then holds no
// allocation a row. A row has at most kMaxCells cells and 65,535 characters; more are cut.
class ListCells {
  public:
    static constexpr size_t kMaxCells = 4;
    static constexpr size_t kInline = 22;

    ListCells() = default;
    ListCells(std::initializer_list<std::u16string_view> cells) { *this = cells; }
    ListCells(const ListCells& other) { *this = other; }
    ListCells(ListCells&& other) noexcept { *this = std::move(other); }
    ListCells& operator=(const ListCells& other);
    ListCells& operator=(ListCells&& other) noexcept;
    ~ListCells() { delete[] heap_; }
    ListCells& operator=(std::initializer_list<std::u16string_view> cells);

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::u16string_view operator[](size_t i) const {
        const size_t from = i == 0 ? 0 : ends_[i - 1];
        return Text().substr(from, ends_[i] - from);
    }
    // Cells past the last are ignored, as are texts past kMaxCells cells.
    void Set(size_t i, std::u16string_view text);
    void push_back(std::u16string_view text) { insert(count_, text); }
    void insert(size_t i, std::u16string_view text);
    void erase(size_t i);
    // New cells are empty; a smaller size drops the last cells.
    void resize(size_t n);

    class const_iterator {
      public:
        using value_type = std::u16string_view;
        using difference_type = std::ptrdiff_t;
        const_iterator(const ListCells* cells, size_t i) : cells_(cells), i_(i) {}
        std::u16string_view operator*() const { return (*cells_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

      private:
        const ListCells* cells_;
        size_t i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, count_}; }

  private:
    std::u16string_view Text() const {
        return std::u16string_view(heap_ != nullptr ? heap_ : inline_, size_);
    }
    // Makes text the row's whole text, with count cells ending at ends.
    void Store(std::u16string_view text, const uint16_t* ends, size_t count);

    char16_t* heap_ = nullptr;  // the text when it is longer than kInline
    uint16_t size_ = 0;
    uint16_t ends_[kMaxCells] = {};
    uint8_t count_ = 0;
    char16_t inline_[kInline] = {};
};
static_assert(sizeof(ListCells) == 64);

struct ListRow {
    int image = -1;  // -1: no row image
    ListCells cells;
};

// Builds the rows of a list as they read when they were handed over; a source keeps what it
// needs for that, so a row built late reads as it would have then.
class ListRowSource {
  public:
    virtual ~ListRowSource() = default;
    // Fills `row`, fresh, with row `index` of the rows as handed over.
    virtual void Build(size_t index, ListRow& row) const = 0;
};

// Every row read, through any of these, is built first; inserting and erasing keep the rows
// still to build in their places.
class ListRows {
  public:
    size_t size() const { return slots_.size(); }
    bool empty() const { return slots_.empty(); }
    const ListRow& operator[](size_t i) const { return Ready(i); }
    ListRow& operator[](size_t i) { return Ready(i); }
    // Builds every row and hands each to `each`, in order.
    template <class Each>
    void ForEach(Each&& each) {
        for (size_t i = 0; i < slots_.size(); ++i) each(Ready(i));
    }

    // Each row gets at least `cells` cells.
    void Assign(std::vector<ListRow> rows, size_t cells);
    void Assign(size_t count, std::shared_ptr<const ListRowSource> source, size_t cells);
    void Insert(size_t at, ListRow row);
    void Erase(size_t at);
    void Clear();

  private:
    // A slot is a row's place in built_, or kToBuild with its index at the source.
    static constexpr uint32_t kToBuild = 0x80000000;
    ListRow& Ready(size_t i) const {
        if ((slots_[i] & kToBuild) != 0) Build(i);
        return built_[slots_[i]];
    }
    void Build(size_t i) const;

    // One slot a row; a row still to build takes only its slot. A deque keeps every built row
    // where a reader holds it while others are built. An erased row's place stays unused
    // until the rows are replaced.
    mutable std::vector<uint32_t> slots_;
    mutable std::deque<ListRow> built_;
    std::shared_ptr<const ListRowSource> source_;
    size_t cells_ = 1;
};

}  // namespace qv
