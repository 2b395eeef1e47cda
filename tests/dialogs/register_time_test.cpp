// Register Time's input panel: up for the memo, down for the date and every drop-down list.
#include "dialogs/register_time.h"

#include <gtest/gtest.h>

#include "app/program_fixture.h"

namespace qv {
namespace {

using A = HeadlessAction;
using RegisterTimeTest = testing::ProgramTest;

TEST_F(RegisterTimeTest, TheInputPanelComesWithTheMemoAndGoesWithTheListsAndTheDate) {
    SeedRecords(1);
    std::vector<bool> panel;
    std::vector<int> focus;
    auto look = [&](A next) {
        return [&, next](HeadlessHost& host) {
            panel.push_back(host.InputPanel());
            focus.push_back(host.TopWindow()->Focus());
            return next;
        };
    };
    Run({[](HeadlessHost&) { return A::MakeCommand(kCmdNew); },
         look(A::MakeType(kRegisterTimeMemo, u"call")),
         look(A::MakeChoose(kRegisterTimeHours, u"01")),
         look(A::MakeType(kRegisterTimeMemo, u"call back")),
         look(A::MakeChoose(kRegisterTimeProject, u"Alpha")),
         look(A::MakeType(kRegisterTimeMemo, u"call")),
         look(A::MakeDate(kRegisterTimeDate, MakeDate(2005, 10, 3))),
         look(A::MakeClick(kRegisterTimeCancel))});
    // Opened with the focus in the minutes box and the panel down.
    EXPECT_EQ(panel, (std::vector<bool>{false, true, false, true, false, true, false}));
    EXPECT_EQ(focus, (std::vector<int>{kRegisterTimeMinutes, kRegisterTimeMemo, kRegisterTimeHours,
                                       kRegisterTimeMemo, kRegisterTimeProject, kRegisterTimeMemo,
                                       kRegisterTimeDate}));
}

}  // namespace
}  // namespace qv
