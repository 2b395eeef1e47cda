// quorvella-screenshots: pictures of the desktop window for the documentation and for checking
// the rendering by eye. The main window with records in both screen orientations, and every
// dialog with its template texts in both layouts, as PNG files. With --accessibility it also
// walks each screen as a screen reader does and fails when a control that takes input has no
// name or not the role of its kind.
//
//   quorvella-screenshots OUTDIR [--zoom N] [--accessibility]
#include <unistd.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/commands.h"
#include "app/program_resources.h"
#include "desktop/overview_window.h"
#include "desktop/sync_watch.h"
#include "desktop/timer_tray.h"
#include "device_seed.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/edit_categories.h"
#include "dialogs/export_dialog.h"
#include "dialogs/frame.h"
#include "dialogs/projects_balance.h"
#include "dialogs/projects_book.h"
#include "dialogs/register_time.h"
#include "dialogs/time_report.h"
#include "dialogs/view_options.h"
#include "platform/files/timer_file.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_text.h"
#include "platform/registry/registry_hive.h"
#include "platform/ui/user_input.h"
#include "res/templates.h"
#include "store/record_store.h"

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

// The role a screen reader hears for each kind of control that takes input.
std::optional<QAccessible::Role> InputRole(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
            return QAccessible::PushButton;
        case ControlKind::CheckBox:
            return QAccessible::CheckBox;
        case ControlKind::Radio:
            return QAccessible::RadioButton;
        case ControlKind::Edit:
            return QAccessible::EditableText;
        case ControlKind::Combo:
            return QAccessible::ComboBox;
        case ControlKind::DatePicker:
            return QAccessible::SpinBox;
        case ControlKind::ListBox:
            return QAccessible::List;
        case ControlKind::ListView:
            return QAccessible::Tree;
        default:
            return std::nullopt;
    }
}

class Shooter {
  public:
    Shooter(std::filesystem::path outDir, int zoom, bool walk)
        : outDir_(std::move(outDir)), zoom_(zoom), walk_(walk) {}
    bool Failed() const { return failed_; }

    // The window's accessibility tree as a screen reader walks it: every button it meets has a
    // name; every control of the top window that takes input is met, with its kind's role and
    // a name; a list's first row gives its first cell's text.
    void Walk(QWidget* window, const std::string& screen) {
        std::map<QObject*, QAccessibleInterface*> met;
        std::function<void(QAccessibleInterface*)> visit = [&](QAccessibleInterface* a) {
            if (a == nullptr || a->state().invisible) return;
            met[a->object()] = a;
            const QAccessible::Role role = a->role();
            if ((role == QAccessible::PushButton || role == QAccessible::ButtonMenu) &&
                a->text(QAccessible::Name).isEmpty()) {
                Fail(screen + ": a button without a name");
            }
            if (role == QAccessible::Tree || role == QAccessible::List ||
                role == QAccessible::ComboBox) {
                return;  // rows and entries are the list's own
            }
            for (int i = 0; i < a->childCount(); ++i) visit(a->child(i));
        };
        visit(QAccessible::queryAccessibleInterface(window));
        const Dialog* top = host_ != nullptr ? host_->TopWindow() : nullptr;
        if (top == nullptr) return;
        std::map<QString, int> named;  // what is heard of each, which must differ
        for (const ControlState& c : top->Controls()) {
            const std::optional<QAccessible::Role> role = InputRole(c.kind);
            QWidget* widget = host_->WidgetOf(c.id);
            if (!role || widget == nullptr || !widget->isVisible()) continue;
            const std::string what = screen + ": control " + std::to_string(c.id);
            auto it = met.find(widget);
            if (it == met.end()) {
                Fail(what + " is not in the accessibility tree");
                continue;
            }
            if (it->second->role() != *role) Fail(what + " has the wrong role");
            if (it->second->text(QAccessible::Name).trimmed().isEmpty())
                Fail(what + " has no name");
            // Here a drop-down list's name is its entry; its description says which list it is.
            const QString heard =
                it->second
                    ->text(*role == QAccessible::ComboBox ? QAccessible::Description
                                                          : QAccessible::Name)
                    .trimmed();
            const auto [first, isNew] = named.emplace(heard, c.id);
            if (heard.isEmpty() || !isNew) {
                Fail(what + (heard.isEmpty()
                                 ? " is not told from the other fields"
                                 : " sounds like control " + std::to_string(first->second)));
            }
            QAccessibleTableInterface* table = it->second->tableInterface();
            if (c.kind == ControlKind::ListView && !c.rows.empty() && !c.rows[0].cells.empty() &&
                (table == nullptr || table->cellAt(0, 0) == nullptr ||
                 table->cellAt(0, 0)->text(QAccessible::Name) != ToQString(c.rows[0].cells[0]))) {
                Fail(what + " does not give its rows' cells");
            }
        }
    }

    void Save(QWidget* window, const std::string& name) {
        QCoreApplication::processEvents();
        if (walk_) Walk(window, name);
        const std::filesystem::path file = outDir_ / (name + ".png");
        if (!window->grab().save(QString::fromStdString(file.string()), "PNG")) {
            Fail("cannot write " + file.string());
        }
    }
    // The window with a pop-up of it drawn where it shows on the screen.
    void SaveWithPopup(QWidget* window, QWidget* popup, const std::string& name) {
        QCoreApplication::processEvents();
        QPixmap picture = window->grab();
        QPainter painter(&picture);
        painter.drawPixmap(popup->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0)),
                           popup->grab());
        painter.end();
        const std::filesystem::path file = outDir_ / (name + ".png");
        if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
            Fail("cannot write " + file.string());
        }
    }
    // The calendar of the top dialog's date picker `id`, opened.
    void Calendar(QtHost& host, int id, const std::string& name) {
        auto* picker = qobject_cast<QDateEdit*>(host.WidgetOf(id));
        if (picker == nullptr || picker->calendarWidget() == nullptr) return Fail("no calendar");
        QWidget* popup = picker->calendarWidget()->window();
        popup->show();
        SaveWithPopup(host.Window(), popup, name);
        popup->hide();
    }
    // A message box of the program and a question, each on its own.
    void Boxes() {
        FixedClock clock(TheDay());
        QtHost host(ProgramResources(), clock, zoom_, {});
        host.Window()->show();
        host.SetScriptedAnswer([this](QWidget* widget, bool question) {
            auto* box = static_cast<QMessageBox*>(widget);
            Save(box, question ? "box-question" : "box-notice");
            box->button(question ? QMessageBox::No : QMessageBox::Ok)->click();
        });
        ShowNotice(host, u"No Records found !");
        AskYesNo(host, u"Delete all time records of this project?");
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
        bool shot = false;
        RunProgram(root, [&](QtHost& host, int) {
            if (shot) return false;
            shot = true;
            if (host.TopDialog() != nullptr) Fail("a dialog is open at start-up");
            Save(host.Window(), "main-portrait");
            host.SetScreenSize(kLandscapeScreen);
            Save(host.Window(), "main-landscape");
            // A project name longer than the drop-down ends in "...".
            if (auto* projects = host.Window()->findChild<QComboBox*>()) {
                projects->setItemText(projects->currentIndex(),
                                      QStringLiteral("Relaunch of the shop and its newsletter"));
                Save(host.Window(), "main-long-project");
            }
            return false;
        });
        if (!shot) Fail("the main window never waited for the user");
    }

    // Runs the real program on a seeded device; `act` is called each time it waits for the user
    // with the number of the wait, and returns false when it is done: the program is then closed.
    void RunProgram(const std::filesystem::path& root,
                    const std::function<bool(QtHost&, int wait)>& act,
                    const std::function<void(QtHost&, App*)>& watch = {}) {
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
        QtHost host(ProgramResources(), clock, zoom_, {});
        host_ = &host;
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
            QuorvellaMain(services, ProgramEnd::Tidy, [&](App* app) {
                if (watch) watch(host, app);
            });
        } catch (const StopRun&) {
            Fail("the program did not end on the close request");
        }
        host_ = nullptr;
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

    // One wait of the program for the user: a step acts on the main window or the top dialog;
    // false when what it expected was not there.
    using Step = std::function<bool(QtHost&, Dialog*)>;

    Step Command(int command) {
        return [this, command](QtHost& host, Dialog*) {
            if (input::Command(*host.Main(), command)) Fail("command " + std::to_string(command));
            return true;
        };
    }
    // Expects the dialog of `templateId` on top, shoots it (unless `picture` is empty) and
    // leaves it with `leave`.
    Step Visit(int templateId, std::string picture, std::function<void(Dialog&)> leave) {
        return [this, templateId, picture, leave](QtHost& host, Dialog* top) {
            if (top == nullptr || top->TemplateId() != templateId) {
                Fail("dialog " + std::to_string(templateId) + " did not open");
                return false;
            }
            if (!picture.empty()) ShootBothLayouts(host, picture);
            leave(*top);
            return true;
        };
    }
    static std::function<void(Dialog&)> Click(int id) {
        return [id](Dialog& d) { input::Click(d, id); };
    }

    // Register Time's calendar, opened in both layouts; the dialog is then cancelled.
    Step OpenCalendar() {
        return [this](QtHost& host, Dialog* top) {
            if (top == nullptr) return false;
            for (const bool landscape : {true, false}) {
                host.SetScreenSize(landscape ? kLandscapeScreen : kPortraitScreen);
                Calendar(host, kRegisterTimeDate,
                         landscape ? "calendar-landscape" : "calendar-portrait");
            }
            input::Click(*top, kRegisterTimeCancel);
            return true;
        };
    }

    // Runs the program through the steps, one a wait, and then closes it.
    void RunSteps(const std::filesystem::path& root, std::vector<Step> steps) {
        RunProgram(root, [&](QtHost& host, int wait) {
            return static_cast<size_t>(wait) < steps.size() && steps[wait](host, host.TopDialog());
        });
    }

    // The Projects book and the Project dialog of its first project; Register Time for a new
    // record; the three category dialogs; Delete by Range; the time report choosing, with one
    // category's total and with the list of every category; the exports of the time records
    // and of the balance; View Options.
    void DailyDialogs(const std::filesystem::path& root) {
        RunSteps(root,
                 {Command(kCmdProjects),
                  Visit(kProjectsBookTemplate, "book",
                        [](Dialog& d) { input::TapRow(d, kProjectsBookList, 0); }),
                  Visit(kProjectTemplate, "project", Click(kProjectBack)),
                  Visit(kProjectsBookTemplate, "", Click(kProjectsBookBack)), Command(kCmdNew),
                  Visit(kRegisterTimeTemplate, "register", Click(kRegisterTimeCancel)),
                  Command(kCmdNew), OpenCalendar(), Command(kCmdEditCategories),
                  Visit(kEditCategoriesTemplate, "categories", Click(kEditCategoriesNew)),
                  Visit(kNewCategoryTemplate, "category-new", Click(kNewCategoryCancel)),
                  Visit(kEditCategoriesTemplate, "",
                        [](Dialog& d) {
                            input::TapRow(d, kEditCategoriesList, 0);
                            input::Click(d, kEditCategoriesRename);
                        }),
                  Visit(kEditCategoryTemplate, "category-edit", Click(kEditCategoryCancel)),
                  Visit(kEditCategoriesTemplate, "", [](Dialog& d) { input::Done(d); }),
                  Command(kCmdDeleteByRange),
                  Visit(kDeleteByRangeTemplate, "range", Click(kDeleteByRangeCancel)),
                  Command(kCmdTimeReport),
                  Visit(kTimeReportTemplate, "report",
                        [](Dialog& d) {
                            input::PickDate(d, kTimeReportStart, MakeDate(2005, 10, 24));
                            input::Choose(d, kTimeReportCategory, u"Design");
                            input::Click(d, kTimeReportView);
                        }),
                  Visit(kTimeReportTemplate, "report-total",
                        [](Dialog& d) {
                            input::Click(d, kTimeReportReset);
                            input::SetChecked(d, kTimeReportAll, true);
                            input::Click(d, kTimeReportView);
                        }),
                  Visit(kTimeReportTemplate, "report-list", [](Dialog& d) { input::Done(d); }),
                  Command(kCmdExportTimeRecords),
                  Visit(kExportRecordsTemplate, "export-records",
                        Click(ExportControl(kExportRecordsFirst, kExportCancel))),
                  Command(kCmdViewOptions),
                  Visit(kViewOptionsTemplate, "view-options", Click(kViewOptionsCancel)),
                  // The balance's export opens from its report and comes back to it.
                  Command(kCmdProjectsBalance),
                  Visit(kProjectsBalanceTemplate, "",
                        [](Dialog& d) {
                            input::PickDate(d, kProjectsBalanceStart, MakeDate(2005, 10, 1));
                            input::Click(d, kProjectsBalanceReport);
                            input::Click(d, kProjectsBalanceExport);
                        }),
                  Visit(kExportReportTemplate, "export-balance",
                        Click(ExportControl(kExportReportFirst, kExportCancel))),
                  Visit(kProjectsBalanceTemplate, "", [](Dialog& d) { input::Done(d); })});
    }

    // The desktop's timer, running for an hour and 25 minutes: the window's menu and the
    // tray's, the title (drawn above the window, where the desktop's frame shows it), the
    // tray's pictures, and Stop's Register Time in both layouts.
    void Timer(const std::filesystem::path& root) {
        const DeviceFolders folders = DeviceFolders::UnderRoot(root);
        std::error_code made;
        std::filesystem::create_directories(folders.dataDir, made);
        std::string why;
        const int64_t now = *SecondsSinceEpoch(TheDay());
        if (!StartTimer(folders.dataDir, {now - 85 * 60, u"Website", u"Design", u"shop pages"},
                        why)) {
            return Fail("timer: " + why);
        }
        FixedClock clock(TheDay());
        std::unique_ptr<DesktopTimer> timer;
        std::unique_ptr<TimerTray> tray;
        std::unique_ptr<SyncWatch> sync;  // its items below the timer's
        const auto watch = [&](QtHost& host, App* app) {
            if (!tray) {
                timer = std::make_unique<DesktopTimer>(host, clock, folders.dataDir);
                tray = std::make_unique<TimerTray>(host, *timer);
                sync = std::make_unique<SyncWatch>(host);
            }
            tray->Attach(app);
            sync->Attach(app);
        };
        bool registered = false;
        RunProgram(
            root,
            [&](QtHost& host, int wait) {
                if (wait == 1 && host.TopDialog() != nullptr) {
                    ShootBothLayouts(host, "timer-register");
                    registered = true;
                    input::Click(*host.TopDialog(), kRegisterTimeCancel);
                    return true;
                }
                if (wait != 0 || !tray) return false;
                QMenu* menu = host.WindowMenu();
                menu->popup(host.Window()->mapToGlobal(QPoint(0, 20 * zoom_)));
                SaveWithPopup(host.Window(), menu, "timer-window-menu");
                menu->hide();
                TitledWindow(host.Window(), "timer-title");
                tray->TrayMenu().popup(QPoint(0, 0));
                Write(tray->TrayMenu().grab(), "timer-tray-menu");  // no part of the window
                tray->TrayMenu().hide();
                TrayPictures("timer-tray-pictures");
                for (QAction* item : menu->actions()) {
                    if (item->text() == QStringLiteral("Stop timer")) item->trigger();
                }
                return false;
            },
            watch);
        if (!registered) Fail("Stop did not open Register Time");
    }
    // A window of the desktop's own, beside the handheld's screen (whose controls the
    // accessibility walk compares against the top dialog's).
    void Shot(QWidget& window, const std::string& name) {
        QCoreApplication::processEvents();
        Write(window.grab(), name);
    }
    // The overview on the seeded records: the day's week with Monday's records listed, its
    // month, and a month a year earlier without records.
    void Overview(const std::filesystem::path& root) {
        std::unique_ptr<OverviewWindow> overview;
        App* running = nullptr;
        bool shot = false;
        RunProgram(
            root,
            [&](QtHost&, int) {
                if (shot || !overview) return false;
                shot = true;
                overview->Open();
                overview->ShowDay(0);
                Shot(*overview, "overview-week");
                // Save picture's two kinds, written beside the device and thrown away with it.
                for (const char* name : {"charts.png", "charts.svg"}) {
                    const std::filesystem::path file = root / name;
                    std::error_code size;
                    if (!overview->SavePicture(QString::fromStdString(file.string())) ||
                        std::filesystem::file_size(file, size) < 1000) {
                        Fail(std::string("overview: no picture ") + name);
                    }
                }
                overview->SetKind(PeriodKind::Month);
                Shot(*overview, "overview-month");
                FollowsABooking(*overview, *running);
                overview->Step(-12);
                if (!overview->Sums().Empty()) Fail("overview: a month without records has sums");
                Shot(*overview, "overview-empty");
                overview->hide();
                return false;
            },
            [&](QtHost& host, App* app) {
                if (!overview) overview = std::make_unique<OverviewWindow>(host);
                overview->Attach(app);
                running = app;
            });
        if (!shot) Fail("the overview never opened");
    }
    // A booking in the open overview's month is written into the charts drawn; they must look
    // as charts drawn afresh for the same records do (drawn again by going to the next month,
    // which has none, and back).
    void FollowsABooking(OverviewWindow& overview, App& app) {
        const TimeRecord* listed = app.state.timeRecords.First();
        if (listed == nullptr) return Fail("overview: no records");
        TimeRecord r;
        SetDate(r, overview.Sums().period.Day(3));
        SetMinutes(r, u"20");  // too little to change the order of the categories
        SetCategory(r, listed->category);
        SetMemo(r, u"");
        r.projectId = listed->projectId;
        uint32_t id = 0;
        if (!AddTimeRecord(app.store, r, id).ok()) return Fail("overview: no booking");
        overview.ChangeSoon();  // as the program's store tells it
        QCoreApplication::processEvents();
        const QImage followed = overview.grab().toImage();
        overview.Step(1);
        overview.Step(-1);
        if (overview.grab().toImage() != followed) Fail("overview: a booking drawn unlike anew");
        if (!DeleteTimeRecord(app.store, id).ok()) Fail("overview: the booking stays");
        overview.ChangeSoon();
        QCoreApplication::processEvents();
    }
    // The window under a strip with its title, as the desktop's frame shows it.
    void TitledWindow(QWidget* window, const std::string& name) {
        QCoreApplication::processEvents();
        const QPixmap inside = window->grab();
        const int strip = 14 * zoom_;
        QPixmap picture(inside.width(), inside.height() + strip);
        picture.fill(QColor(0x3C, 0x3C, 0x3C));
        QPainter painter(&picture);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, inside.width(), strip), Qt::AlignCenter,
                         window->windowTitle());
        painter.drawPixmap(0, strip, inside);
        painter.end();
        Write(picture, name);
    }
    // The tray's two pictures, stopped and running, at 16, 32 and 64 pixels.
    void TrayPictures(const std::string& name) {
        QPixmap picture(2 * (16 + 32 + 64 + 24), 72);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        int x = 4;
        for (const bool running : {false, true}) {
            for (int size : {16, 32, 64}) {
                painter.drawPixmap(x, 4, TimerTray::Picture(running).pixmap(size, size));
                x += size + 8;
            }
        }
        painter.end();
        Write(picture, name);
    }
    void Write(const QPixmap& picture, const std::string& name) {
        const std::filesystem::path file = outDir_ / (name + ".png");
        if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
            Fail("cannot write " + file.string());
        }
    }

    // Every dialog template on its own, portrait and landscape.
    void Dialogs() {
        FixedClock clock(TheDay());
        QtHost host(ProgramResources(), clock, zoom_, {});
        host_ = &host;
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
        host_ = nullptr;
    }

  private:
    std::filesystem::path outDir_;
    int zoom_;
    bool walk_;
    QtHost* host_ = nullptr;  // the window being shot
    bool failed_ = false;
};

int Usage() {
    std::cerr << "usage: quorvella-screenshots OUTDIR [--zoom N] [--accessibility]"
                 "   (N from 1 to 3, default 2)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path outDir;
    int zoom = 2;
    bool walk = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--accessibility") {
            walk = true;
        } else if (arg == "--zoom" && i + 1 < argc) {
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
    Shooter shooter(outDir, zoom, walk);
    shooter.MainWindow(root);
    std::filesystem::remove_all(root, error);
    shooter.Balance(root);
    std::filesystem::remove_all(root, error);
    shooter.DailyDialogs(root);
    std::filesystem::remove_all(root, error);
    shooter.Timer(root);
    std::filesystem::remove_all(root, error);
    shooter.Overview(root);
    shooter.Dialogs();
    shooter.Boxes();
    std::filesystem::remove_all(root, error);
    return shooter.Failed() ? 1 : 0;
}
