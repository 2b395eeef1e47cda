// Finding this computer's changes: the book as stored now against the ledger (what the book was
// after the last run). Every path that changes the store is caught this way, whatever made the
// change, and a crash between a store change and its journal line loses nothing.
#pragma once

#include <vector>

#include "sync/book.h"
#include "sync/journal_line.h"
#include "sync/ledger.h"

namespace qv::sync {

// Each difference becomes a change of this computer with the next serial and clock, and is
// written into the ledger. The order is categories put, projects put, records put, records
// deleted, projects deleted, categories deleted, so that a computer reading the lines one by one
// finds a record's project before the record and a project's records gone before the project.
// A category that stands after one put later than itself was moved in the list and is put again.
void Capture(const Book& book, Ledger& ledger, Settings& settings, int64_t now,
             std::vector<Change>& out);

}  // namespace qv::sync
