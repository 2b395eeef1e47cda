// View Options (template 1120): how dates and durations are written everywhere. Each choice
// shows a fixed sample; nothing changes until the user confirms.
#pragma once

#include "core/settings.h"
#include "platform/ui/ui_host.h"

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

// Runs the dialog modally. Confirmed by OK or Done (1130), DateTypeView and TimeTypeView take
// the chosen entries; cancelled (1129), nothing changes.
int ShowViewOptions(UiHost& host, AppSettings& settings);

}  // namespace qv
