// View Options (template 1120): its controls and results.
#pragma once

namespace qv {

constexpr int kViewOptionsTemplate = 1120;

enum ViewOptionsControl : int {
    kViewOptionsDateFrame = 1121,
    kViewOptionsDateType = 1122,
    kViewOptionsDateSampleLabel = 1123,
    kViewOptionsDateSample = 1124,
    kViewOptionsTimeFrame = 1125,
    kViewOptionsTimeType = 1126,
    kViewOptionsTimeSampleLabel = 1127,
    kViewOptionsTimeSample = 1128,
    // The buttons are also the dialog's results; Done ends it as OK does, with IDOK.
    kViewOptionsCancel = 1129,
    kViewOptionsOk = 1130,
};

}  // namespace qv
