// The time record: one registration of worked time, with its display texts.
#pragma once

#include <cstdint>

#include "core/calendar.h"
#include "core/cursor_list.h"
#include "core/formatting.h"
#include "core/text.h"

namespace qv {

constexpr uint32_t kNoRecordId = 0xFFFFFFFF;

struct TimeRecord : ListLinks<TimeRecord> {
    uint32_t dateKey = 0;  // beside the links: a walk that sorts by date reads one cache line
    uint32_t recordId = 0;
    uint32_t projectId = 0;
    CalendarDate date;
    DateTexts dateTexts;  // indexed by DateViewType
    Text minutesText;     // total minutes as decimal text: 90 minutes is "90"; the duration
                          // texts "1,30" and "1:30" follow from it (TimeText)
    Text category;        // by name
    Text memo;

    // Records on the heap come from a pool of large blocks: a list of tens of thousands lies
    // together in memory, and freeing one is a pointer write. The program's records live on
    // its one thread.
    static void* operator new(size_t size);
    static void operator delete(void* record, size_t size);
};

// recordId := -1, dateKey := 0, every text absent; place, projectId and date stay.
void Reset(TimeRecord& record);
// Copies the identifiers, then sets date, category, memo and minutes through their setters, so
// a source without a category, memo or minutes leaves the target's previous value. The
// target's place in a list is left alone.
void CopyFrom(TimeRecord& target, const TimeRecord& source);
// What CopyFrom gives a blank record, written over target and reusing its storage.
void CopyAsNew(TimeRecord& target, const TimeRecord& source);
// Whether CopyAsNew would give the record back value for value: true for every record the
// setters built, false for one whose texts disagree with its date.
bool CopiesAsItself(const TimeRecord& record);
// An absent or empty name fails and changes nothing.
bool SetCategory(TimeRecord& record, const Text& text);
// An empty memo is accepted; an absent one fails and changes nothing.
bool SetMemo(TimeRecord& record, const Text& text);
// Stores the date (always), then rebuilds the four texts and the key; a date out of bounds
// fails and leaves the previous texts and key.
bool SetDate(TimeRecord& record, const CalendarDate& date);
// Stores the minutes text, which the comma and colon texts follow. An absent or empty text
// fails and changes nothing; a negative count that is not whole hours fails and leaves the
// record without minutes.
bool SetMinutes(TimeRecord& record, const Text& text);

// The date text of a form; a selector outside 0 to 3 gives form 0.
DateTextView DateText(const TimeRecord& record, uint32_t dateViewType);
// The duration text with a colon for any non-zero selector, with a comma for 0: "1:30" or
// "1,30" for 90 minutes; absent when the record has no minutes.
InlineText TimeText(const TimeRecord& record, uint32_t timeViewType);

// The record's minutes as a number (absent minutes count as 0).
int32_t MinutesOf(const TimeRecord& record);

using TimeRecordList = CursorList<TimeRecord>;

// For a walk of a list that reads the records' texts: runs some records ahead of the walk and
// asks for each one's category and memo texts, which lie elsewhere in memory, so that they are
// at hand when the walk comes to them. Call Step once for each record walked.
class TextsAhead {
  public:
    explicit TextsAhead(const TimeRecord* first) : ahead_(first) {
        for (int k = 0; k < kDistance; ++k) Step();
    }
    void Step() {
        if (ahead_ == nullptr) return;
        if (ahead_->category) __builtin_prefetch(ahead_->category->data());
        if (ahead_->memo) __builtin_prefetch(ahead_->memo->data());
        ahead_ = ahead_->next;
    }

  private:
    static constexpr int kDistance = 12;
    const TimeRecord* ahead_;
};

}  // namespace qv
