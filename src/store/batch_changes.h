// The changes that reach many stored records at once. Each is one store change: a crash half
// way leaves the store as it was before. A step that fails is told in the result, in the order
// the steps ran; what a failed step leaves is said with each change.
#pragma once

#include <string>

#include "store/store_context.h"

namespace qv {

// Deletes every listed record (walked with First/Next) from the time-record database. A
// refused record undoes the ones before it.
StoreResult DeleteTimeRecords(StoreContext& ctx, TimeRecordList& records);

// Saves the category list after a category was renamed; with `records`, and once the list is
// saved, every stored record of oldName in every project takes newName. A refused record
// undoes the records' change, not the saved list. timeRecords holds the current project's
// records again afterwards, and recordsChanged says whether any record changed.
StoreResult SaveCategoryRename(StoreContext& ctx, const std::u16string& oldName,
                               const std::u16string& newName, bool records);
// The same after a category was deleted; with `records` its stored records are deleted, even
// when the list could not be saved.
StoreResult SaveCategoryDeletion(StoreContext& ctx, const std::u16string& name, bool records);

// Deletes the project's record and then every stored record of the project. Done once the
// project's record is gone, even when its records could not follow (that failure is told).
StoreResult DeleteProjectWithRecords(StoreContext& ctx, uint32_t projectId);

}  // namespace qv
