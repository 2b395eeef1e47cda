// quorvella-screenshots: pictures of the desktop window for the documentation and for checking
// the rendering by eye. The main window with records in both screen orientations, and every
// dialog with its template texts in both layouts, as PNG files.
//
//   quorvella-screenshots OUTDIR [--zoom N]
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/commands.h"
#include "device_seed.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/edit_categories.h"
#include "dialogs/frame.h"
#include "dialogs/projects_balance.h"
#include "dialogs/projects_book.h"
#include "dialogs/register_time.h"
#include "platform/qt/qt_host.h"
#include "platform/registry/registry_hive.h"
#include "platform/ui/user_input.h"
#include "res/templates.h"

namespace {

using namespace qv;

// Two projects with a week of bookings; the list shows the first.
constexpr const char* kSeed = R"(clock 2005-10-29 12:00:00
project "Website" 2005-09-01 "Relaunch of the shop"
clock 2005-10-29 12:00:05
project "Garden" 2005-10-01 "Hedges and lawn"
category "Meeting"
category "Design"
category "Travel"
record "Website" 2005-10-24 90 "Meeting" "kick-off with the client"
record "Website" 2005-10-24 240 "Design" "page layouts"
record "Website" 2005-10-25 480 "Design"
record "Website" 2005-10-26 45 "Travel" "to the printer"
record "Website" 2005-10-27 420 "Design" "shop pages and checkout"
record "Website" 2005-10-28 30 "Meeting"
record "Garden" 2005-10-22 120 "Travel"
sz "Software\Brumo\Quorvella\Settings" LastProject "Website"
)";

constexpr Size kLandscapeScreen{320, 240};
constexpr int kProjectBar = 130;  // shown by the main window, not on its own

// Saturday 29 October 2005, noon: the day after the last booking.
CalendarDate TheDay() {
    CalendarDate d = MakeDate(2005, 10, 29);
    d.dayOfWeek = 6;
    d.hour = 12;
    return d;
}

class NoOtherInstance : public InstanceCheck {
  public:
    bool RaiseRunningInstance(const std::u16string&, const std::u16string&) override {
        return false;
    }
};

// Ends the main window's run from a scripted step.
struct StopRun {};

// A dialog with its template texts only: the title band, and the layout of the screen.
class TemplateOnly : public DialogBehaviour {
  public:
    explicit TemplateOnly(const UiHost& host) : host_(host) {}
    void OnSize(Dialog& d, bool landscape) override {
        if (d.Template().twoLayouts) d.ApplyLayout(landscape);
    }
    void OnPaint(const Dialog& d, Size, PaintList& orders) override {
        PaintList band = PaintTitleBand(host_, d.Template().band);
        orders.insert(orders.end(), band.begin(), band.end());
    }

  private:
    const UiHost& host_;
};

class Shooter {
  public:
    Shooter(std::filesystem::path outDir, int zoom) : outDir_(std::move(outDir)), zoom_(zoom) {}
    bool Failed() const { return failed_; }

    void Save(QWidget* window, const std::string& name) {
        QCoreApplication::processEvents();
        const std::filesystem::path file = outDir_ / (name + ".png");
        if (!window->grab().save(QString::fromStdString(file.string()), "PNG")) {
            Fail("cannot write " + file.string());
        }
    }
    void Fail(const std::string& why) {
        std::cerr << "quorvella-screenshots: " << why << "\n";
        failed_ = true;
    }

    // A message box is not part of any picture: it is answered No (or OK) and reported.
    QtHost::BoxAnswer RefuseBoxes() {
        return [this](QWidget* widget, bool question) {
            auto* box = static_cast<QMessageBox*>(widget);
            Fail("a message box came up: " + box->text().toStdString());
            box->button(question ? QMessageBox::No : QMessageBox::Ok)->click();
        };
    }

    // The real program on a seeded device: the main window as it first waits for the user,
    // then turned to landscape.
    void MainWindow(const std::filesystem::path& root) {
        const DeviceFolders folders = DeviceFolders::UnderRoot(root);
        std::istringstream seed(kSeed);
        std::string why;
        if (!SeedDevice(folders, seed, why)) return Fail(why);
        RegistryHive hive(folders.HiveFile());
        DeviceFiles files(folders);
        std::unique_ptr<ObjectStore> store = OpenObjectStoreFile(folders.StoreFile());
        if (store == nullptr) return Fail("the seeded store does not open");
        NoOtherInstance instances;
        FixedClock clock(TheDay());
        QtHost host(clock, zoom_, {});
        host.SetScriptedAnswer(RefuseBoxes());
        bool shot = false;
        host.SetScriptedStep([&] {
            if (shot) throw StopRun{};  // the close request did not end the program
            shot = true;
            if (host.TopDialog() != nullptr) Fail("a dialog is open at start-up");
            Save(host.Window(), "main-portrait");
            host.SetScreenSize(kLandscapeScreen);
            Save(host.Window(), "main-landscape");
            host.RequestClose();
        });
        ProgramServices services{host, hive, *store, files, instances};
        try {
            QuorvellaMain(services);
        } catch (const StopRun&) {
            Fail("the program did not end on the close request");
        }
        if (!shot) Fail("the main window never waited for the user");
    }

    // Runs the real program on a seeded device; `act` is called each time it waits for the user
    // with the number of the wait, and returns false when it is done: the program is then closed.
    void RunProgram(const std::filesystem::path& root,
                    const std::function<bool(QtHost&, int wait)>& act) {
        const DeviceFolders folders = DeviceFolders::UnderRoot(root);
        std::istringstream seed(kSeed);
        std::string why;
        if (!SeedDevice(folders, seed, why)) return Fail(why);
        RegistryHive hive(folders.HiveFile());
        DeviceFiles files(folders);
        std::unique_ptr<ObjectStore> store = OpenObjectStoreFile(folders.StoreFile());
        if (store == nullptr) return Fail("the seeded store does not open");
        NoOtherInstance instances;
        FixedClock clock(TheDay());
        QtHost host(clock, zoom_, {});
        host.SetScriptedAnswer(RefuseBoxes());
        int wait = 0;
        bool closing = false;
        host.SetScriptedStep([&] {
            if (closing) throw StopRun{};
            if (!act(host, wait++)) {
                closing = true;
                host.RequestClose();
            }
        });
        ProgramServices services{host, hive, *store, files, instances};
        try {
            QuorvellaMain(services);
        } catch (const StopRun&) {
            Fail("the program did not end on the close request");
        }
    }

    // Shoots the top dialog in both layouts, ending in portrait.
    void ShootBothLayouts(QtHost& host, const std::string& name) {
        for (const bool landscape : {true, false}) {
            host.SetScreenSize(landscape ? kLandscapeScreen : kPortraitScreen);
            Save(host.Window(), name + (landscape ? "-landscape" : "-portrait"));
        }
    }

    // The projects balance of the real program, before and after a report, in both layouts.
    void Balance(const std::filesystem::path& root) {
        RunProgram(root, [this](QtHost& host, int wait) {
            if (wait == 0) {
                if (input::Command(*host.Main(), kCmdProjectsBalance)) Fail("no projects balance");
                return true;
            }
            if (wait > 1 || host.TopDialog() == nullptr) return false;
            Dialog& d = *host.TopDialog();
            for (const bool landscape : {false, true}) {
                const std::string layout = landscape ? "landscape" : "portrait";
                host.SetScreenSize(landscape ? kLandscapeScreen : kPortraitScreen);
                Save(host.Window(), "balance-before-" + layout);
                input::PickDate(d, kProjectsBalanceStart, MakeDate(2005, 10, 1));
                if (input::Click(d, kProjectsBalanceReport)) Fail("no balance report");
                Save(host.Window(), "balance-report-" + layout);
                input::Click(d, kProjectsBalanceReset);
            }
            host.SetScreenSize(kPortraitScreen);
            input::Done(d);
            return true;
        });
    }

    // The Projects book of the real program and the Project dialog of its first project.
    void Projects(const std::filesystem::path& root) {
        RunProgram(root, [this](QtHost& host, int wait) {
            Dialog* top = host.TopDialog();
            switch (wait) {
                case 0:
                    if (input::Command(*host.Main(), kCmdProjects)) Fail("no projects book");
                    return true;
                case 1:
                    if (top == nullptr || top->TemplateId() != kProjectsBookTemplate) {
                        Fail("the projects book did not open");
                        return false;
                    }
                    ShootBothLayouts(host, "book");
                    if (input::TapRow(*top, kProjectsBookList, 0)) Fail("no project to edit");
                    return true;
                case 2:
                    if (top == nullptr || top->TemplateId() != kProjectTemplate) {
                        Fail("the project dialog did not open");
                        return false;
                    }
                    ShootBothLayouts(host, "project");
                    input::Click(*top, kProjectBack);
                    return true;
                case 3:
                    if (top != nullptr) input::Click(*top, kProjectsBookBack);
                    return true;
                default:
                    return false;
            }
        });
    }

    // Register Time for a new record, the three category dialogs and Delete by Range, of the
    // real program.
    void Booking(const std::filesystem::path& root) {
        RunProgram(root, [this](QtHost& host, int wait) {
            Dialog* top = host.TopDialog();
            auto expect = [&](int templateId) {
                if (top != nullptr && top->TemplateId() == templateId) return true;
                Fail("dialog " + std::to_string(templateId) + " did not open");
                return false;
            };
            switch (wait) {
                case 0:
                    if (input::Command(*host.Main(), kCmdNew)) Fail("no New Time");
                    return true;
                case 1:
                    if (!expect(kRegisterTimeTemplate)) return false;
                    ShootBothLayouts(host, "register");
                    input::Click(*top, kRegisterTimeCancel);
                    return true;
                case 2:
                    if (input::Command(*host.Main(), kCmdEditCategories)) Fail("no categories");
                    return true;
                case 3:
                    if (!expect(kEditCategoriesTemplate)) return false;
                    ShootBothLayouts(host, "categories");
                    input::Click(*top, kEditCategoriesNew);
                    return true;
                case 4:
                    if (!expect(kNewCategoryTemplate)) return false;
                    ShootBothLayouts(host, "category-new");
                    input::Click(*top, kNewCategoryCancel);
                    return true;
                case 5:
                    if (!expect(kEditCategoriesTemplate)) return false;
                    input::TapRow(*top, kEditCategoriesList, 0);
                    input::Click(*top, kEditCategoriesRename);
                    return true;
                case 6:
                    if (!expect(kEditCategoryTemplate)) return false;
                    ShootBothLayouts(host, "category-edit");
                    input::Click(*top, kEditCategoryCancel);
                    return true;
                case 7:
                    if (top != nullptr) input::Done(*top);
                    return true;
                case 8:
                    if (input::Command(*host.Main(), kCmdDeleteByRange)) Fail("no Delete by Range");
                    return true;
                case 9:
                    if (!expect(kDeleteByRangeTemplate)) return false;
                    ShootBothLayouts(host, "range");
                    input::Click(*top, kDeleteByRangeCancel);
                    return true;
                default:
                    return false;
            }
        });
    }

    // Every dialog template on its own, portrait and landscape.
    void Dialogs() {
        FixedClock clock(TheDay());
        QtHost host(clock, zoom_, {});
        host.SetScriptedAnswer(RefuseBoxes());
        host.Window()->show();
        TemplateOnly behaviour(host);
        for (int id : DialogTemplateIds()) {
            if (id == kProjectBar) continue;
            for (const bool landscape : {false, true}) {
                host.SetScreenSize(landscape ? kLandscapeScreen : kPortraitScreen);
                const std::string name =
                    "dialog-" + std::to_string(id) + (landscape ? "-landscape" : "-portrait");
                host.SetScriptedStep([&] {
                    Save(host.Window(), name);
                    host.TopDialog()->End(IDCANCEL);
                });
                if (host.RunDialog(id, behaviour) != IDCANCEL) Fail(name + " did not run");
            }
        }
    }

  private:
    std::filesystem::path outDir_;
    int zoom_;
    bool failed_ = false;
};

int Usage() {
    std::cerr << "usage: quorvella-screenshots OUTDIR [--zoom N]   (N from 1 to 3, default 2)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path outDir;
    int zoom = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--zoom" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > 3) return Usage();
            zoom = static_cast<int>(value);
        } else if (outDir.empty() && !arg.starts_with("-")) {
            outDir = arg;
        } else {
            return Usage();
        }
    }
    if (outDir.empty()) return Usage();
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!std::filesystem::is_directory(outDir)) {
        std::cerr << "quorvella-screenshots: cannot make " << outDir.string() << "\n";
        return 1;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("quorvella-screenshots-" + std::to_string(getpid()));
    std::filesystem::remove_all(root, error);
    Shooter shooter(outDir, zoom);
    shooter.MainWindow(root);
    std::filesystem::remove_all(root, error);
    shooter.Balance(root);
    std::filesystem::remove_all(root, error);
    shooter.Projects(root);
    std::filesystem::remove_all(root, error);
    shooter.Booking(root);
    shooter.Dialogs();
    std::filesystem::remove_all(root, error);
    return shooter.Failed() ? 1 : 0;
}
