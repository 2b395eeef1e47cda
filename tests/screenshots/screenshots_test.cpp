// The screenshot tool: one picture per window and layout, each the screen's size and not blank;
// a bad command line or an output folder it cannot make writes nothing and says so.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>

#include "files/temp_dir.h"
#include "res/templates.h"

namespace {

namespace fs = std::filesystem;

// The tool's exit status.
int RunTool(const std::string& arguments) {
    const std::string command = std::string("QT_QPA_PLATFORM=offscreen ") + QV_SCREENSHOTS_TOOL +
                                " " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Enough colours that the picture shows text and controls, not an empty or failed grab.
size_t Colours(const QImage& image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) seen.insert(image.pixel(x, y));
    }
    return seen.size();
}

TEST(ScreenshotTool, DrawsTheMainWindowAndEveryDialogInBothLayoutsAtTheZoom) {
    const qv::test::TempDir dir;
    const fs::path out = dir / "pictures";  // made by the tool
    ASSERT_EQ(RunTool(out.string() + " --zoom 1"), 0);

    std::vector<std::string> expected = {
        "main",         "balance-before", "balance-report", "book",           "project",
        "register",     "categories",     "category-new",   "category-edit",  "range",
        "report",       "report-total",   "report-list",    "export-records", "export-balance",
        "view-options", "calendar",       "timer-register"};
    for (int id : qv::DialogTemplateIds()) {
        if (id != 130) expected.push_back("dialog-" + std::to_string(id));
    }
    for (const std::string& name : expected) {
        for (const bool landscape : {false, true}) {
            const fs::path file = out / (name + (landscape ? "-landscape.png" : "-portrait.png"));
            SCOPED_TRACE(file.string());
            QImage image(QString::fromStdString(file.string()));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), landscape ? QSize(320, 240) : QSize(240, 320));
            EXPECT_GT(Colours(image), 8u);
        }
    }
    // The long project name, the message boxes, the timer's menus, title and pictures, and the
    // overview, each once.
    const char* singles[] = {"main-long-project",   "box-notice",      "box-question",
                             "timer-window-menu",   "timer-tray-menu", "timer-title",
                             "timer-tray-pictures", "overview-week",   "overview-month",
                             "overview-empty"};
    for (const char* single : singles) {
        EXPECT_FALSE(QImage(QString::fromStdString((out / single).string() + ".png")).isNull());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), {}),
              std::ssize(expected) * 2 + std::ssize(singles));
}

TEST(ScreenshotTool, RefusesABadCommandLineOrOutputFolderAndWritesNothing) {
    const qv::test::TempDir dir;
    EXPECT_EQ(RunTool(""), 2);
    EXPECT_EQ(RunTool((dir / "pictures").string() + " --zoom 4"), 2);
    EXPECT_FALSE(fs::exists(dir / "pictures"));
    // A file where the folder should be: nothing is drawn, and the status says so.
    qv::test::WriteBytes(dir / "taken", "x");
    EXPECT_EQ(RunTool((dir / "taken").string()), 1);
    EXPECT_EQ(fs::file_size(dir / "taken"), 1u);
}

}  // namespace
