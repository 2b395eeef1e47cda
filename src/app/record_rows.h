// The main list's rows: the date, the category and the duration of each record, with the memo
// image. Rows are built when first shown, from what the records held when the list was filled.
#pragma once

#include <cstdint>
#include <memory>

#include "core/time_record.h"
#include "platform/ui/list_rows.h"

namespace qv {

// kImageMemo for a record with a memo, kImageNoMemo for none or a memo of blanks.
int RecordRowImage(const TimeRecord& record);

// The rows of a list of records, in list order, as they read when the source was made: it keeps
// a small copy of what each row shows, so the records may change or go afterwards.
std::shared_ptr<const ListRowSource> RecordRowsOf(TimeRecordList& records, uint32_t dateView,
                                                  uint32_t timeView);

}  // namespace qv
