// What a screen reader calls each field of a dialog, worked out from the labels beside it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog.h"

namespace qv {

struct FieldName {
    std::u16string name;
    int label = -1;  // the index of the label that gave it, if a label did
};

// One name per control, empty for those that are not fields (edit fields, drop-down lists,
// date pickers, list boxes and list views). A field takes the label on its row to its left,
// else the label just above it, else the last label before it in the dialog's order, else
// `heading`; a list view takes its column headers. Fields that share one label are told apart:
// "Time (h m):" over two fields names them "Time (h):" and "Time (m):", and a label without
// such parts numbers the second and later ones.
std::vector<FieldName> FieldNames(const std::vector<ControlState>& controls,
                                  const std::u16string& heading);

}  // namespace qv
