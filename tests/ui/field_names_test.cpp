// A screen reader's name for each field: the label beside it in the layout shown, and fields
// under one label told apart.
#include "platform/ui/field_names.h"

#include <gtest/gtest.h>

#include <map>

#include "core/text.h"
#include "res/templates.h"

namespace qv {
namespace {

std::map<int, std::string> Named(int dialogId, bool landscape) {
    Dialog dialog(*FindDialogTemplate(dialogId));
    dialog.ApplyLayout(landscape);
    const std::vector<FieldName> names = FieldNames(dialog.Controls(), u"Heading");
    std::map<int, std::string> named;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!names[i].name.empty()) named[dialog.Controls()[i].id] = ToUtf8(names[i].name);
    }
    return named;
}

TEST(FieldNames, EachFieldTakesTheLabelBesideItInEitherLayout) {
    for (const bool landscape : {false, true}) {
        SCOPED_TRACE(landscape ? "landscape" : "portrait");
        // Register Time: the memo's label stands left of it on the first row in landscape.
        EXPECT_EQ(Named(108, landscape), (std::map<int, std::string>{{1016, "Date:"},
                                                                     {1018, "Time (h):"},
                                                                     {1019, "Time (m):"},
                                                                     {1021, "Category:"},
                                                                     {1023, "Project:"},
                                                                     {1025, "Memo:"}}));
        // Both labels of the time report come before both date pickers in the dialog's order,
        // and the balance's stand above its pickers in landscape.
        for (const int dialogId : {127, 133}) {
            std::map<int, std::string> named = Named(dialogId, landscape);
            std::erase_if(
                named, [](const auto& n) { return n.second != "Starts:" && n.second != "Ends:"; });
            EXPECT_EQ(named.size(), 2u) << dialogId;
            EXPECT_NE(named.begin()->second, std::next(named.begin())->second) << dialogId;
            EXPECT_EQ(named.begin()->second, "Starts:") << dialogId;
        }
    }
}

TEST(FieldNames, FieldsWithoutPartsForEachAreNumberedAndUnlabelledOnesTakeTheHeading) {
    std::vector<ControlState> controls(4);
    controls[0].kind = ControlKind::Edit;
    controls[0].rect = {10, 0, 50, 20};
    controls[1].kind = ControlKind::Static;
    controls[1].text = u"Date (d m y): ";
    controls[1].rect = {0, 30, 40, 20};
    controls[2].kind = ControlKind::Combo;
    controls[2].rect = {50, 30, 40, 20};
    controls[3] = controls[2];
    controls[3].rect.x = 100;
    std::vector<std::pair<std::u16string, int>> named;
    for (const FieldName& n : FieldNames(controls, u"Heading")) named.emplace_back(n.name, n.label);
    EXPECT_EQ(named,
              (std::vector<std::pair<std::u16string, int>>{
                  {u"Heading", -1}, {u"", -1}, {u"Date (d m y):", 1}, {u"Date (d m y): 2", 1}}));
}

}  // namespace
}  // namespace qv
