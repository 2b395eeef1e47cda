// The category editing dialogs: Edit Categories (124), New category (125) and Edit category
// (126), with their controls and results.
#pragma once

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

}  // namespace qv
