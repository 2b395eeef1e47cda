// Time record setters and text getters, and the pool the records live in.
#include "core/time_record.h"

#include <memory>
#include <new>
#include <vector>

namespace qv {
namespace {

// Blocks of records handed out in order and taken back onto a free list. Blocks stay until
// the program ends.
class RecordPool {
  public:
    void* Take() {
        if (free_ == nullptr) Grow();
        Slot* slot = free_;
        free_ = slot->next;
        return slot;
    }
    void Give(void* record) {
        Slot* slot = static_cast<Slot*>(record);
        slot->next = free_;
        free_ = slot;
    }

  private:
    union Slot {
        Slot* next;
        alignas(TimeRecord) unsigned char bytes[sizeof(TimeRecord)];
    };
    static constexpr size_t kSlotsPerBlock = 1024;

    void Grow() {
        // Left unfilled: a slot is written when its record is made.
        blocks_.push_back(std::make_unique_for_overwrite<Slot[]>(kSlotsPerBlock));
        Slot* block = blocks_.back().get();
        for (size_t i = kSlotsPerBlock; i-- > 0;) {
            block[i].next = free_;
            free_ = &block[i];
        }
    }

    std::vector<std::unique_ptr<Slot[]>> blocks_;
    Slot* free_ = nullptr;
};

// Never destroyed, so a record freed while the program ends still has its pool.
RecordPool& Pool() {
    static RecordPool* pool = new RecordPool();
    return *pool;
}

}  // namespace

// Under the address checker every record has its own allocation, so a record used after it
// was freed is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

void* TimeRecord::operator new(size_t size) {
    if (!kPooled || size != sizeof(TimeRecord)) return ::operator new(size);
    return Pool().Take();
}

void TimeRecord::operator delete(void* record, size_t size) {
    if (record == nullptr) return;
    if (!kPooled || size != sizeof(TimeRecord)) return ::operator delete(record);
    Pool().Give(record);
}

void Reset(TimeRecord& r) {
    r.recordId = kNoRecordId;
    r.dateKey = 0;
    r.dateTexts.Clear();
    r.minutesText.reset();
    r.category.reset();
    r.memo.reset();
}

namespace {
// Whether the date texts and key are those SetDate builds from the record's own date.
bool DateTextsMatchDate(const TimeRecord& r) {
    const CalendarDate& d = r.date;
    if (d.day > 31 || d.month > 12 || d.year < 1000 || d.year > 9999) return false;
    return r.dateKey == DateKeyOf(d.year, d.month, d.day) && r.dateTexts.BuiltFrom(d);
}

// A minutes text the record can keep: present, not empty, and not a negative count that is
// not whole hours (no part of the program makes one).
bool KeepsMinutes(const std::u16string& text) {
    if (text.empty()) return false;
    if (text[0] >= u'0' && text[0] <= u'9') return true;  // no sign: not negative
    const int32_t t = ParseLong(text);
    return t == 0 || t % 60 >= 0;
}
}  // namespace

void CopyFrom(TimeRecord& target, const TimeRecord& source) {
    if (&target == &source) return;
    target.recordId = source.recordId;
    target.projectId = source.projectId;
    if (DateTextsMatchDate(source)) {
        // What SetDate would build, without building it again.
        target.date = source.date;
        target.dateTexts = source.dateTexts;
        target.dateKey = source.dateKey;
    } else {
        SetDate(target, source.date);
    }
    SetCategory(target, source.category);
    SetMemo(target, source.memo);
    SetMinutes(target, source.minutesText);
}

void CopyAsNew(TimeRecord& target, const TimeRecord& source) {
    if (&target == &source) return;
    target.recordId = source.recordId;
    target.projectId = source.projectId;
    target.date = source.date;
    if (DateTextsMatchDate(source)) {
        // Texts built from this very date: copying them gives what building them again would.
        target.dateTexts = source.dateTexts;
        target.dateKey = source.dateKey;
    } else if (!BuildDateTexts(source.date, /*shortYear=*/false, target.dateTexts,
                               target.dateKey)) {
        target.dateTexts.Clear();
        target.dateKey = 0;
    }
    if (source.category && !source.category->empty()) {
        target.category = source.category;
    } else {
        target.category.reset();
    }
    target.memo = source.memo;
    if (!SetMinutes(target, source.minutesText)) target.minutesText.reset();
}

bool SetCategory(TimeRecord& r, const Text& text) {
    if (!text || text->empty()) return false;
    r.category = text;
    return true;
}

bool SetMemo(TimeRecord& r, const Text& text) {
    if (!text) return false;
    r.memo = text;
    return true;
}

bool SetDate(TimeRecord& r, const CalendarDate& date) {
    r.date = date;
    return BuildDateTexts(date, /*shortYear=*/false, r.dateTexts, r.dateKey);
}

bool SetMinutes(TimeRecord& r, const Text& text) {
    if (!text || text->empty()) return false;
    if (!KeepsMinutes(*text)) {
        r.minutesText.reset();
        return false;
    }
    r.minutesText = text;
    return true;
}

bool CopiesAsItself(const TimeRecord& r) {
    if (!DateTextsMatchDate(r)) return false;
    if (r.category && r.category->empty()) return false;
    return !r.minutesText || KeepsMinutes(*r.minutesText);
}

DateTextView DateText(const TimeRecord& r, uint32_t type) {
    return r.dateTexts[DateForm(type)];
}

InlineText TimeText(const TimeRecord& r, uint32_t type) {
    if (!r.minutesText) return InlineText();
    return DurationText(ParseLong(*r.minutesText), TimeSeparator(type));
}

int32_t MinutesOf(const TimeRecord& r) {
    return r.minutesText ? ParseLong(*r.minutesText) : 0;
}

}  // namespace qv
