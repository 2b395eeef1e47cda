// The dialog templates with their controls in order and both pixel layouts.
#include "res/templates.h"

#include <array>

namespace qv {
namespace {

using K = ControlKind;

constexpr LayoutRect At(int x, int y, int w, int h) {
    return {{x, y, w, h}, false};
}
constexpr LayoutRect kHiddenHere{{}, true};

// A control that keeps its template place in every layout.
constexpr ControlTemplate One(int id, K kind, std::u16string_view text, uint32_t style, Rect r,
                              int limit = 0) {
    return {id, kind, text, style, limit, {r, false}, {r, false}, 0};
}

// A control with a portrait and a landscape place (either may be "hidden here").
constexpr ControlTemplate Two(int id, K kind, std::u16string_view text, uint32_t style,
                              LayoutRect portrait, LayoutRect landscape, int limit = 0) {
    return {id, kind, text, style, limit, portrait, landscape, 0};
}

constexpr Rect R(int x, int y, int w, int h) {
    return {x, y, w, h};
}

constexpr TitleBand Heading(uint32_t stringId, Point from, Point to, bool portraitOnly) {
    return {TitleBand::Kind::Heading, stringId, {6, 4}, from, to, kBandBlue, portraitOnly};
}

// 102 About
constexpr ControlTemplate kAbout[] = {
    {kUnnamedControl, K::Static, u"", kStyleIcon, 0, At(10, 10, 32, 32), At(10, 10, 32, 32), 101},
    One(kUnnamedControl, K::Static, u"Quorvella", 0, R(52, 12, 150, 18)),
    One(kUnnamedControl, K::Static, u"Version:", 0, R(52, 36, 50, 18)),
    One(1068, K::Static, u"", 0, R(105, 36, 60, 18)),
};

// 108 Register Time
constexpr ControlTemplate kRegisterTime[] = {
    Two(1015, K::Static, u"Date: ", 0, At(5, 30, 50, 20), At(5, 6, 33, 19)),
    Two(1016, K::DatePicker, u"", 0, At(75, 28, 100, 20), At(40, 4, 80, 18)),
    Two(1017, K::Static, u"Time (h m):", 0, At(5, 52, 100, 20), At(5, 27, 70, 18)),
    Two(1018, K::Combo, u"", kStyleSorted, At(75, 50, 45, 110), At(75, 25, 45, 110)),
    Two(1019, K::Combo, u"", kStyleSorted, At(130, 50, 45, 110), At(130, 25, 45, 110)),
    Two(1020, K::Static, u"Category:", 0, At(5, 74, 55, 20), At(5, 49, 55, 20)),
    Two(1021, K::Combo, u"", kStyleSorted, At(75, 72, 158, 100), At(75, 47, 142, 100)),
    Two(1022, K::Static, u"Project:", 0, At(5, 96, 55, 20), At(5, 71, 55, 20)),
    Two(1023, K::Combo, u"", kStyleSorted, At(75, 94, 158, 100), At(75, 69, 142, 100)),
    Two(1024, K::Static, u"Memo:", 0, At(5, 118, 39, 20), At(129, 6, 39, 20)),
    Two(1025, K::Edit, u"", 0, At(75, 116, 158, 20), At(170, 4, 143, 19), 29),
    Two(1027, K::Button, u"OK", kStyleDefault, At(161, 148, 73, 24), kHiddenHere),
    Two(1026, K::Button, u"Cancel", 0, At(5, 148, 73, 24), At(240, 65, 73, 24)),
    Two(1028, K::Button, u"Delete", kStyleHidden, At(83, 148, 73, 24), At(240, 35, 73, 24)),
};

// 124 Edit Categories
constexpr ControlTemplate kEditCategories[] = {
    One(1036, K::ListBox, u"", kStyleSorted | kStyleNotify, R(6, 30, 228, 124)),
    One(1032, K::Button, u"New", kStyleDefault, R(6, 160, 72, 22)),
    One(1033, K::Button, u"Rename", kStyleDisabled, R(84, 160, 72, 22)),
    One(1034, K::Button, u"Delete", kStyleDisabled, R(162, 160, 72, 22)),
    One(1042, K::CheckBox, u"Apply Rename and Delete to records", kStyleAutoCheck,
        R(6, 190, 228, 20)),
};

// 125 New category
constexpr ControlTemplate kNewCategory[] = {
    One(1038, K::Static, u"Enter a new category name:", 0, R(6, 8, 228, 18)),
    One(1040, K::Edit, u"", 0, R(6, 30, 228, 22), 20),
    One(3, K::Button, u"OK", kStyleDisabled, R(153, 62, 80, 22)),
    One(1039, K::Button, u"Cancel", kStyleDefault, R(7, 62, 80, 22)),
};

// 126 Edit category
constexpr ControlTemplate kEditCategory[] = {
    One(1035, K::Static, u"Edit category name:", 0, R(6, 8, 228, 18)),
    One(1041, K::Edit, u"", 0, R(6, 30, 228, 22), 20),
    One(1037, K::Button, u"OK", 0, R(153, 62, 80, 22)),
    One(1043, K::Button, u"Cancel", kStyleDefault, R(7, 62, 80, 22)),
};

// 127 Time Report ("Define time range"); the report list 501 is created at run time.
constexpr ControlTemplate kTimeReport[] = {
    Two(1050, K::GroupBox, u"Define Date range", 0, At(6, 5, 226, 70), At(2, 5, 161, 70)),
    Two(1051, K::Static, u"Starts:", 0, At(12, 25, 40, 16), At(8, 25, 40, 16)),
    Two(1052, K::Static, u"Ends:", 0, At(12, 50, 35, 16), At(8, 50, 35, 16)),
    Two(1053, K::DatePicker, u"", 0, At(59, 25, 95, 18), At(55, 25, 95, 18)),
    Two(1054, K::DatePicker, u"", 0, At(59, 50, 95, 18), At(55, 50, 95, 18)),
    Two(1055, K::GroupBox, u"Category", 0, At(6, 79, 226, 45), At(2, 77, 161, 47)),
    Two(1056, K::Combo, u"", kStyleSorted, At(12, 97, 142, 100), At(8, 97, 110, 85)),
    Two(1057, K::CheckBox, u"All", kStyleAutoCheck, At(165, 97, 40, 18), At(121, 97, 35, 18)),
    Two(1058, K::Button, u"View report", 0, At(7, 132, 90, 21), At(3, 132, 90, 21)),
    Two(1059, K::Button, u"Export...", kStyleHidden, At(7, 132, 90, 21), At(3, 132, 90, 21)),
    Two(1060, K::Button, u"Reset", kStyleHidden, At(140, 133, 90, 21), At(100, 132, 90, 21)),
    Two(1061, K::GroupBox, u"Registered Time", kStyleHidden, At(6, 170, 226, 45),
        At(194, 5, 118, 80)),
    Two(1062, K::Static, u"Total (hh mm):", kStyleHidden, At(12, 190, 100, 16),
        At(208, 28, 100, 18)),
    Two(1063, K::Static, u"", kStyleHidden, At(135, 189, 80, 18), At(211, 50, 80, 18)),
};

// 129 Delete by Range, laid out in dialog units.
constexpr ControlTemplate kDeleteByRange[] = {
    One(kUnnamedControl, K::GroupBox, u"Define Date range", 0, DluRect(6, 21, 126, 42)),
    One(kUnnamedControl, K::Static, u"Starts:", 0, DluRect(11, 33, 23, 8)),
    One(1105, K::DatePicker, u"", 0, DluRect(48, 31, 54, 12)),
    One(kUnnamedControl, K::Static, u"Ends:", 0, DluRect(11, 49, 19, 8)),
    One(1106, K::DatePicker, u"", 0, DluRect(48, 47, 54, 12)),
    One(1107, K::Button, u"Find Records", 0, DluRect(7, 75, 58, 13)),
    One(1108, K::Button, u"Cancel", 0, DluRect(74, 75, 58, 13)),
    One(1059, K::Button, u"Export...", kStyleHidden, DluRect(7, 75, 58, 13)),
};

// 130 Project bar; the main list 500 is created at run time by the main window.
constexpr ControlTemplate kProjectBar[] = {
    Two(1000, K::Combo, u"", kStyleSorted, At(80, 15, 142, 150), At(90, 15, 150, 150)),
};

// 131 Project
constexpr ControlTemplate kProject[] = {
    Two(1131, K::Static, u"Date:", 0, At(10, 35, 35, 21), At(10, 10, 35, 18)),
    Two(1132, K::DatePicker, u"", 0, At(70, 33, 100, 21), At(70, 8, 100, 18)),
    Two(1133, K::Static, u"Project:", 0, At(10, 60, 55, 21), At(10, 33, 55, 18)),
    Two(1134, K::Edit, u"", 0, At(70, 58, 159, 21), At(70, 31, 159, 18), 40),
    Two(1135, K::Static, u"Description:", 0, At(10, 83, 65, 21), At(10, 52, 65, 18)),
    Two(1136, K::Edit, u"", 0, At(10, 100, 219, 21), At(10, 68, 219, 18), 50),
    Two(1137, K::Button, u"Back", 0, At(5, 140, 73, 24), At(240, 62, 73, 24)),
    Two(1138, K::Button, u"OK", 0, At(161, 140, 73, 24), kHiddenHere),
    Two(1139, K::Button, u"Delete", kStyleHidden, At(83, 140, 73, 24), At(240, 24, 73, 24)),
};

// 132 Projects book: buttons in dialog units; the book list 502 is created at run time.
constexpr ControlTemplate kProjectsBook[] = {
    One(1161, K::Button, u"New", 0, DluRect(8, 90, 47, 13)),
    One(1160, K::Button, u"Back", 0, DluRect(81, 90, 47, 13)),
};

// 133 Projects Balance; the balance list 5003 is created at run time.
constexpr ControlTemplate kProjectsBalance[] = {
    Two(1180, K::GroupBox, u"Define Date range", 0, At(6, 5, 225, 70), At(6, 5, 130, 106)),
    Two(1181, K::Static, u"Starts:", 0, At(15, 25, 40, 18), At(15, 22, 40, 18)),
    Two(1183, K::Static, u"Ends:", 0, At(15, 50, 35, 18), At(15, 65, 35, 18)),
    Two(1182, K::DatePicker, u"", 0, At(62, 25, 95, 18), At(15, 40, 95, 18)),
    Two(1184, K::DatePicker, u"", 0, At(62, 50, 95, 18), At(15, 83, 95, 18)),
    Two(1185, K::Button, u"Balance report", 0, At(7, 85, 105, 25), At(7, 140, 105, 25)),
    Two(1187, K::Button, u"Export...", kStyleHidden, At(7, 85, 105, 25), At(7, 140, 105, 25)),
    Two(1186, K::Button, u"Reset", kStyleHidden, At(125, 85, 105, 25), At(125, 140, 105, 25)),
    Two(1188, K::Static, u"Balance (hh mm):", kStyleHidden, At(7, 240, 100, 18),
        At(85, 115, 100, 18)),
    Two(1189, K::Static, u"", kStyleHidden, At(110, 238, 120, 18), At(193, 115, 120, 18)),
};

// 1070 and 1091 Export File Options: one layout, identifiers 21 apart.
constexpr std::array<ControlTemplate, 13> ExportControls(int first, std::u16string_view group) {
    return {{
        Two(first, K::GroupBox, group, 0, At(6, 5, 228, 45), At(6, 3, 195, 45)),
        Two(first + 1, K::Static, u"Name:", 0, At(14, 25, 40, 18), At(13, 23, 35, 18)),
        Two(first + 2, K::Edit, u"", 0, At(65, 22, 140, 20), At(60, 20, 130, 20), 128),
        Two(first + 3, K::Static, u"TimeType:", 0, At(13, 56, 70, 18), At(6, 54, 60, 18)),
        Two(first + 4, K::Combo, u"", 0, At(90, 54, 140, 18), At(70, 52, 130, 18)),
        Two(first + 5, K::GroupBox, u"Save file as", 0, At(6, 80, 110, 60), At(204, 3, 110, 50)),
        Two(first + 6, K::Radio, u"ASCII", kStyleAutoCheck | kStyleGroup, At(15, 95, 80, 18),
            At(214, 17, 80, 16)),
        Two(first + 7, K::Radio, u"UNICODE", kStyleAutoCheck, At(15, 115, 80, 18),
            At(214, 34, 80, 16)),
        Two(first + 8, K::GroupBox, u"Save in folder", 0, At(125, 80, 110, 60),
            At(204, 55, 110, 50)),
        Two(first + 9, K::Radio, u"Business", kStyleAutoCheck | kStyleGroup, At(135, 95, 77, 18),
            At(214, 70, 77, 16)),
        Two(first + 10, K::Radio, u"Personal", kStyleAutoCheck, At(135, 115, 77, 18),
            At(214, 87, 77, 16)),
        Two(first + 11, K::Button, u"Cancel", 0, At(8, 148, 80, 21), At(8, 77, 80, 21)),
        Two(first + 12, K::Button, u"OK", kStyleDefault, At(153, 148, 80, 21), At(120, 77, 80, 21)),
    }};
}
constexpr auto kExportRecords = ExportControls(1071, u"Comma Separated Values (CSV) file");
constexpr auto kExportReport = ExportControls(1092, u"Comma Separated Values file");

// 1120 View Options
constexpr ControlTemplate kViewOptions[] = {
    Two(1121, K::GroupBox, u"Date view type", 0, At(6, 28, 228, 69), At(6, 10, 180, 69)),
    Two(1122, K::Combo, u"", 0, At(18, 47, 156, 140), At(18, 29, 156, 140)),
    Two(1123, K::Static, u"Sample:", 0, At(18, 73, 65, 18), At(18, 55, 65, 18)),
    Two(1124, K::Static, u"", 0, At(94, 71, 80, 18), At(94, 53, 80, 18)),
    Two(1125, K::GroupBox, u"Time view type", 0, At(6, 101, 228, 69), At(6, 83, 180, 69)),
    Two(1126, K::Combo, u"", 0, At(18, 120, 156, 140), At(18, 102, 156, 140)),
    Two(1127, K::Static, u"Sample:", 0, At(18, 145, 65, 18), At(18, 127, 65, 18)),
    Two(1128, K::Static, u"", 0, At(94, 145, 80, 18), At(94, 127, 80, 18)),
    Two(1130, K::Button, u"OK", 0, At(153, 175, 80, 21), At(192, 57, 80, 21)),
    Two(1129, K::Button, u"Cancel", 0, At(7, 175, 80, 21), At(192, 18, 80, 21)),
};

constexpr TitleBand kNoBand{};

const DialogTemplate kTemplates[] = {
    {102, u"About", kFrameNoEntry, kNoBand, u"", false, kAbout},
    {108, u"Register Time", kFrameEntry, Heading(40004, {6, 23}, {90, 23}, true), u"Timerecords",
     true, kRegisterTime},
    {124, u"Edit Categories...", kFrameNoEntry, Heading(40005, {1, 23}, {235, 23}, false),
     u"Categories", false, kEditCategories},
    {125, u"New category", kFrameEntry, kNoBand, u"Categories", false, kNewCategory},
    {126, u"Edit category", kFrameEntry, kNoBand, u"Categories", false, kEditCategory},
    {127, u"Define time range", kFrameNoEntry, kNoBand, u"Workwithrapport", true, kTimeReport},
    {129, u"Delete by Range", kFrameNoEntry, Heading(40007, {1, 23}, {235, 23}, false),
     u"Timerecords", false, kDeleteByRange},
    {130, u"", 0, kNoBand, u"", true, kProjectBar},
    {131, u"Project", kFrameEntry, Heading(40008, {4, 23}, {235, 23}, true), u"Projects", true,
     kProject},
    {132,
     u"Projects",
     kFrameNoEntry,
     {TitleBand::Kind::Hint, 40085, {13, 3}, {}, {}, kHintColour, false},
     u"Projects",
     false,
     kProjectsBook},
    {133, u"Projectss Balance", kFrameNoEntry, kNoBand, u"Projectsstat", true, kProjectsBalance},
    {1070, u"Export File Options", kFrameEntry, kNoBand, u"Export", true, kExportRecords},
    // The help anchor of 1091 depends on the report it exports.
    {1091, u"Export File Options", kFrameEntry, kNoBand, u"", true, kExportReport},
    {1120, u"View Options", kFrameNoEntry, Heading(40006, {6, 23}, {190, 23}, true), u"Settings",
     true, kViewOptions},
};

constexpr int kIds[] = {102, 108, 124, 125, 126, 127, 129, 130, 131, 132, 133, 1070, 1091, 1120};
static_assert(std::size(kIds) == std::size(kTemplates));

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& t : kTemplates) {
        if (t.id == id) return &t;
    }
    return nullptr;
}

std::span<const int> DialogTemplateIds() {
    return kIds;
}

}  // namespace qv
