// The Projects book (template 132) and the Project dialog (template 131): their controls and
// results.
#pragma once

namespace qv {

constexpr int kProjectsBookTemplate = 132;
constexpr int kProjectTemplate = 131;

enum ProjectsBookControl : int {
    kProjectsBookList = 502,  // created when the book opens
    // The buttons are also the book's results: New asks its caller for a new project.
    kProjectsBookNew = 1161,
    kProjectsBookBack = 1160,
};

enum ProjectControl : int {
    kProjectDateLabel = 1131,
    kProjectDate = 1132,
    kProjectNameLabel = 1133,
    kProjectName = 1134,
    kProjectDescriptionLabel = 1135,
    kProjectDescription = 1136,
    // The buttons are also the dialog's results.
    kProjectBack = 1137,
    kProjectOk = 1138,
    kProjectDelete = 1139,
};

}  // namespace qv
