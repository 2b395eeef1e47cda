// The screenshot tool: one picture per window and layout, each the screen's size and not blank;
// a bad command line or an output folder it cannot make writes nothing and says so.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "res/templates.h"

namespace {

namespace fs = std::filesystem;

class ScreenshotTool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qv-screenshots-test-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The tool's exit status.
    int Run(const std::string& arguments) {
        const std::string command = std::string("QT_QPA_PLATFORM=offscreen ") +
                                    QV_SCREENSHOTS_TOOL + " " + arguments + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
};

// Enough colours that the picture shows text and controls, not an empty or failed grab.
size_t Colours(const QImage& image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) seen.insert(image.pixel(x, y));
    }
    return seen.size();
}

TEST_F(ScreenshotTool, DrawsTheMainWindowAndEveryDialogInBothLayoutsAtTheZoom) {
    const fs::path out = dir_ / "pictures";  // made by the tool
    ASSERT_EQ(Run(out.string() + " --zoom 1"), 0);

    std::vector<std::string> expected = {
        "main",        "balance-before", "balance-report", "book",        "project", "register",
        "categories",  "category-new",   "category-edit",  "range",       "report",  "report-total",
        "report-list", "export-records", "export-balance", "view-options"};
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
    EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), std::ssize(expected) * 2);
}

TEST_F(ScreenshotTool, RefusesABadCommandLineOrOutputFolderAndWritesNothing) {
    const fs::path out = dir_ / "pictures";
    EXPECT_EQ(Run(""), 2);
    for (const std::string& rest : {std::string(" --zoom 4"), std::string(" --zoom"),
                                    std::string(" --zoom 2x"), " " + out.string()}) {
        EXPECT_EQ(Run(out.string() + rest), 2) << rest;
    }
    EXPECT_FALSE(fs::exists(out));

    // A file where the folder should be: nothing is drawn, and the status says so.
    const fs::path file = dir_ / "taken";
    { std::ofstream(file) << "x"; }
    EXPECT_EQ(Run(file.string()), 1);
    EXPECT_EQ(fs::file_size(file), 1u);
}

}  // namespace
