// The categories database: one record per category name, rewritten whole from the list.
#pragma once

#include "store/store_context.h"

namespace qv {

// Creates the empty database and keeps it open.
bool CreateCategoryStore(StoreContext& ctx);
// Adds every stored name, in the database's order, to categories (a duplicate is skipped).
bool LoadCategories(StoreContext& ctx);
// Rewrites the database from categories in one atomic change: a crash or a failed write
// leaves the previous category list as it was. An empty list is kept as no database at all.
StoreResult SaveCategories(StoreContext& ctx);

}  // namespace qv
