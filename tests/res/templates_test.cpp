// Dialog templates: every control fits its screen, the data is consistent.
#include "res/templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace qv {
namespace {

// A drop-down list's rectangle includes its opened list, which the system keeps on the screen
// by itself; the closed field must fit.
constexpr int kClosedComboHeight = 20;

bool Inside(const ControlTemplate& c, const Rect& place, Size screen) {
    Rect r = place;
    if (c.kind == ControlKind::Combo) r.h = std::min(r.h, kClosedComboHeight);
    return r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= screen.width &&
           r.y + r.h <= screen.height;
}

TEST(DialogTemplates, ControlsLieInsideTheirScreenHaveOwnIdsAndEntryKeepsTheInputPanelUp) {
    for (int id : DialogTemplateIds()) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(t->id, id);
        EXPECT_FALSE(t->controls.empty()) << id;
        std::set<int> seen;
        bool entry = false;
        for (const ControlTemplate& c : t->controls) {
            std::string where = std::to_string(id) + "/" + std::to_string(c.id);
            EXPECT_TRUE(c.portrait.hidden || Inside(c, c.portrait.rect, {240, 320})) << where;
            EXPECT_TRUE(c.landscape.hidden || Inside(c, c.landscape.rect, {320, 240})) << where;
            EXPECT_FALSE(c.portrait.hidden && c.landscape.hidden) << where;
            EXPECT_TRUE(t->twoLayouts || c.portrait.rect == c.landscape.rect) << where;
            EXPECT_TRUE(c.id == kUnnamedControl || seen.insert(c.id).second) << where;
            entry |= c.kind == ControlKind::Edit;
        }
        EXPECT_TRUE(id == 130 || t->frameFlags == (entry ? kFrameEntry : kFrameNoEntry)) << id;
    }
    EXPECT_EQ(FindDialogTemplate(999), nullptr);
}

}  // namespace
}  // namespace qv
