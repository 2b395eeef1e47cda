#include "ui/test_resources.h"

#include <algorithm>

namespace qv::test {
namespace {

using K = ControlKind;

// A control at `r`, in landscape at `landscape` when one is given.
constexpr ControlTemplate C(int id, K kind, std::u16string_view text, uint32_t style, Rect r,
                            int limit = 0, LayoutRect landscape = {{}, true}) {
    return {id, kind, text, style, limit, {r, false}, landscape.hidden ? LayoutRect{r} : landscape,
            0};
}

constexpr ControlTemplate kBooking[] = {
    C(1016, K::DatePicker, u"", 0, {75, 28, 100, 20}),
    C(1021, K::Combo, u"", kStyleSorted, {75, 72, 158, 100}),
    C(1025, K::Edit, u"", 0, {75, 116, 158, 20}, 29, {{170, 4, 143, 19}}),
    {1027, K::Button, u"OK", kStyleDefault, 0, {{161, 148, 73, 24}}, {{}, true}, 0},
    C(1028, K::Button, u"Delete", kStyleHidden, {83, 148, 73, 24}),
};
constexpr ControlTemplate kList[] = {
    C(1036, K::ListBox, u"", kStyleSorted | kStyleNotify, {6, 30, 228, 124}),
    C(1032, K::Button, u"New", kStyleDefault, {6, 160, 72, 22}),
    C(1033, K::Button, u"Rename", kStyleDisabled, {84, 160, 72, 22}),
    C(1034, K::Button, u"Delete", kStyleDisabled, {162, 160, 72, 22}),
};
constexpr ControlTemplate kName[] = {
    C(1040, K::Edit, u"", 0, {6, 30, 228, 22}, 20),
    C(3, K::Button, u"OK", kStyleDisabled, {153, 62, 80, 22}),
    C(1039, K::Button, u"Cancel", kStyleDefault, {7, 62, 80, 22}),
};
constexpr ControlTemplate kRadios[] = {
    C(1077, K::Radio, u"ASCII", kStyleAutoCheck | kStyleGroup, {15, 95, 80, 18}),
    C(1078, K::Radio, u"UNICODE", kStyleAutoCheck, {15, 115, 80, 18}),
    C(1080, K::Radio, u"Business", kStyleAutoCheck | kStyleGroup, {135, 95, 77, 18}),
    C(1081, K::Radio, u"Personal", kStyleAutoCheck, {135, 115, 77, 18}),
    C(1079, K::Combo, u"", 0, {15, 140, 197, 100}),
};

constexpr DialogTemplate kTemplates[] = {
    {108, u"Register Time", kFrameEntry, {}, u"", true, kBooking},
    {124, u"Edit Categories...", kFrameNoEntry, {}, u"", false, kList},
    {125, u"New category", kFrameEntry, {}, u"", false, kName},
    {1070, u"Export File Options", kFrameEntry, {}, u"", false, kRadios},
};

constexpr MenuItemTemplate kTime[] = {{40050, 40050}, {0, 0}, {40049, 40049}};
constexpr MenuItemTemplate kTools[] = {{40019, 40019}};
constexpr MenuTemplate kMenus[] = {{40001, 40016, kTime}, {40043, 40017, kTools}};
using B = MenuBarButton::Kind;
constexpr MenuBarButton kButtons[] = {{B::Popup, 40001, 40016, 0, 0, 0},
                                      {B::Popup, 40043, 40017, 0, 0, 1}};

class Tables : public Resources {
  public:
    const DialogTemplate* Template(int id) const override {
        const auto* t = std::ranges::find(kTemplates, id, &DialogTemplate::id);
        return t == std::end(kTemplates) ? nullptr : t;
    }
    std::optional<std::u16string> String(uint32_t id) const override {
        if (id == kTitleStringId) return u"Tester";
        return std::nullopt;  // the menu bar's labels and tips stay empty
    }
    std::optional<std::string_view> File(std::string_view name) const override {
        if (name == "IDW_TIME_ADDED.wav") return "RIFF....WAVE";
        return std::nullopt;
    }
};

}  // namespace

const Resources& HostResources() {
    static const Tables tables;
    return tables;
}

const MenuBarTemplate& TestMenuBar() {
    static constexpr MenuBarTemplate kBar{105, kButtons, kMenus, {}};
    return kBar;
}

}  // namespace qv::test
