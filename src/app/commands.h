// The main window's commands: its menu items and menu bar buttons, by their identifiers.
#pragma once

namespace qv {

enum Command : int {
    // The menu bar.
    kCmdNew = 40003,
    kCmdTimeMenu = 40001,
    kCmdToolsMenu = 40043,
    kButtonEditCategories = 551,
    kButtonTimeReport = 552,
    kButtonUndo = 553,
    // The Time menu.
    kCmdNewProject = 40054,
    kCmdProjects = 40055,
    kCmdProjectsBalance = 40056,
    kCmdUndoDeleting = 40050,
    kCmdTimeReport = 40021,
    kCmdExit = 40049,
    // The Tools menu.
    kCmdEditCategories = 40019,
    kCmdDeleteByRange = 40052,
    kCmdEmptyUndo = 40053,
    kCmdExportTimeRecords = 40045,
    kCmdViewOptions = 40046,
    kCmdAbout = 40010,
};

}  // namespace qv
