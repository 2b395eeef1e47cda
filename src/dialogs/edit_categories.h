// The category editing dialogs: Edit Categories (124), New category (125) and Edit category
// (126), with their controls and results, and the loop the main window runs them in.
#pragma once

#include <cstdint>

#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"
#include "store/store_context.h"

namespace qv {

constexpr int kEditCategoriesTemplate = 124;
constexpr int kNewCategoryTemplate = 125;
constexpr int kEditCategoryTemplate = 126;

enum EditCategoriesControl : int {
    kEditCategoriesList = 1036,
    // The buttons are also the dialog's results: New and Rename open the next dialog.
    kEditCategoriesNew = 1032,
    kEditCategoriesRename = 1033,
    kEditCategoriesDelete = 1034,
    kEditCategoriesApplyToRecords = 1042,
};

enum NewCategoryControl : int {
    kNewCategoryPrompt = 1038,
    kNewCategoryName = 1040,
    kNewCategoryOk = 3,  // also the result of a category added
    kNewCategoryCancel = 1039,
};

enum EditCategoryControl : int {
    kEditCategoryPrompt = 1035,
    kEditCategoryName = 1041,
    kEditCategoryOk = 1037,  // also the result of Edit Categories left with Done
    kEditCategoryCancel = 1043,
};

constexpr int kCategoryNameChars = 20;

enum CategoryStrings : uint32_t {
    kStrCategoryHeading = 40005,
    kStrDeleteCategory = 40039,
    kStrBadFirstCharacter = 40076,
};

// What the category dialogs work with.
struct CategoriesContext {
    UiHost& host;
    StoreContext& store;
    Dialog*& activeEntryDialog;  // the open dialog with text entry, if any
};

// Edit Categories once: kEditCategoriesNew, kEditCategoriesRename (the chosen category is the
// cursor item of categories), kEditCategoriesDelete, or kEditCategoryOk for Done.
int ShowEditCategories(CategoriesContext& ctx);
// New category: kNewCategoryOk or kNewCategoryCancel.
int ShowNewCategory(CategoriesContext& ctx);
// Edit category on the cursor item of categories: kEditCategoryOk or kEditCategoryCancel.
int ShowEditCategory(CategoriesContext& ctx);

// Edit Categories again after each New, Rename and Delete, until Done: kEditCategoryOk, or the
// result of a dialog that could not be shown.
int EditCategoriesLoop(CategoriesContext& ctx);

}  // namespace qv
