// The book as the store holds it now, in the terms of the journal: every record with its
// content, every project and the category list, read straight from the three databases.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar.h"
#include "core/time_record.h"
#include "store/store_context.h"

namespace qv::sync {

// A record's content in journal order.
enum RecordField : size_t { kDate, kMinutes, kProject, kCategory, kMemo, kRecordFields };

struct BookRecord {
    uint32_t id = 0;
    uint32_t oid = 0;  // the store's object identifier: never given to another record
    std::vector<std::string> content;
};

struct BookProject {
    uint32_t id = 0;
    std::string name, created, description;
};

struct Book {
    std::vector<BookRecord> records;  // each local identifier once, only those of a project
    std::vector<BookProject> projects;
    std::vector<std::string> categories;  // in the list's order
    size_t storedRecords = 0;             // every record of the time database
};

// False when a database cannot be read.
bool ReadBook(StoreContext& ctx, Book& book);

std::string DateText(const CalendarDate& date);  // YYYY-MM-DD
bool ParseDate(std::string_view text, CalendarDate& date);
// The record's content as the journal and the ledger hold it.
std::vector<std::string> RecordContent(const TimeRecord& record, const std::string& project);
std::string ProjectText(const Text& text);

}  // namespace qv::sync
