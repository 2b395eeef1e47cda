// The main window's menu bar: New, Time, Tools, and three image buttons of bitmap 106.
#include "res/menus.h"

namespace qv {
namespace {

using B = MenuBarButton::Kind;

constexpr MenuItemTemplate kTimeMenu[] = {
    {40003, 40003}, {40054, 40054}, {0, 0},         {40055, 40055}, {40056, 40056},
    {0, 0},         {40050, 40050}, {40021, 40021}, {0, 0},         {40049, 40049},
};

constexpr MenuItemTemplate kToolsMenu[] = {
    {40019, 40019}, {40052, 40052}, {40053, 40053}, {0, 0},
    {40045, 40045}, {40046, 40046}, {0, 0},         {40010, 40010},
};

constexpr MenuTemplate kMenus[] = {
    {40001, 40016, kTimeMenu},
    {40043, 40017, kToolsMenu},
};

constexpr MenuBarButton kButtons[] = {
    {B::Command, 40003, 40038, 0, 0, -1}, {B::Popup, 40001, 40016, 0, 0, 0},
    {B::Popup, 40043, 40017, 0, 0, 1},    {B::Separator, 0, 0, 0, 0, -1},
    {B::Image, 551, 0, 106, 0, -1},  // a hammer: Edit Categories
    {B::Image, 552, 0, 106, 1, -1},  // a clock: Time Report
    {B::Image, 553, 0, 106, 2, -1},  // an undo arrow: Undo Deleting
};

// The shell hands these to the buttons in order, the separator counting as one.
constexpr uint32_t kToolTips[] = {40057, 0, 0, 40058, 40059, 40060, 40061};

constexpr MenuBarTemplate kMenuBar{105, kButtons, kMenus, kToolTips};

}  // namespace

const MenuBarTemplate& MainMenuBar() {
    return kMenuBar;
}

}  // namespace qv
