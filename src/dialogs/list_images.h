// The images of the program's list views (bitmap 128): row images and header arrows.
#pragma once

#include "core/sort_order.h"

namespace qv {

enum ListImage : int {
    kImageUp = 0,      // header: ascending
    kImageDown = 1,    // header: descending
    kImageNone = 2,    // header: no direction chosen
    kImageMemo = 3,    // row: the record has a memo
    kImageNoMemo = 4,  // row: it has none
    kImageBlank = 5,   // row of a list without row images
};

// The arrow a sorted column's header shows for a direction.
constexpr ListImage HeaderImage(SortOrder order) {
    switch (order) {
        case SortOrder::Ascending:
            return kImageUp;
        case SortOrder::Descending:
            return kImageDown;
        case SortOrder::NoneChosen:
            break;
    }
    return kImageNone;
}

}  // namespace qv
