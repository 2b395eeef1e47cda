// The overview's window, charts and day list.
#include "desktop/overview_window.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "app/app.h"
#include "app/main_window.h"
#include "core/reports.h"
#include "desktop/desktop_texts.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_text.h"

namespace qv {
namespace {

QString Q(DesktopText text) {
    return ToQString(std::u16string(DesktopString(text)));
}

QString Duration(int64_t minutes, uint32_t timeViewType) {
    return ToQString(ReportTimeText(static_cast<int32_t>(minutes), timeViewType));
}

QString DateOf(const CalendarDate& date, uint32_t dateViewType) {
    TimeRecord r;
    SetDate(r, date);
    return ToQString(DateText(r, dateViewType).value_or(u""));
}

int FirstWeekday() {
    return static_cast<int>(QLocale().firstDayOfWeek());  // Qt counts Monday 1 to Sunday 7
}

// Okabe and Ito's eight colours, told apart with the common colour-vision deficiencies.
constexpr QRgb kPalette[] = {0xE69F00, 0x56B4E9, 0x009E73, 0xF0E442,
                             0x0072B2, 0xD55E00, 0xCC79A7, 0x000000};

}  // namespace

QColor OverviewWindow::ProjectColour(uint32_t projectId) {
    return QColor(kPalette[projectId % std::size(kPalette)]);
}

OverviewWindow::OverviewWindow(QtHost& host) : host_(host) {
    setWindowTitle(Q(DesktopText::OverviewTitle));
    // Sized for a desktop; larger, with larger words, as the handheld's screen is zoomed.
    const int zoom = std::max(1, host.Zoom());
    if (zoom > 2) {
        QFont scaled = font();
        scaled.setPointSizeF(scaled.pointSizeF() * zoom / 2.0);
        setFont(scaled);
    }
    resize(std::max(760, 450 * zoom), std::max(560, 320 * zoom));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    kind_ = new QComboBox;
    auto* kind = kind_;
    kind->addItems({Q(DesktopText::OverviewWeek), Q(DesktopText::OverviewMonth)});
    kind->setObjectName(QStringLiteral("kind"));
    auto* previous = new QPushButton(QStringLiteral("<"));
    auto* next = new QPushButton(QStringLiteral(">"));
    now_ = new QPushButton(Q(DesktopText::OverviewThisWeek));
    auto* now = now_;
    auto* save = new QPushButton(Q(DesktopText::OverviewSavePicture));
    title_ = new QLabel;
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    title_->setFont(big);
    bar->addWidget(kind);
    bar->addWidget(previous);
    bar->addWidget(title_, 1, Qt::AlignCenter);
    bar->addWidget(next);
    bar->addWidget(now);
    bar->addWidget(save);
    layout->addLayout(bar);
    totals_ = new QLabel;
    totals_->setWordWrap(true);
    layout->addWidget(totals_);

    pages_ = new QStackedWidget;
    charts_ = new QWidget;
    auto* chartRow = new QHBoxLayout(charts_);
    chartRow->setContentsMargins(0, 0, 0, 0);
    days_ = new QChartView;
    categories_ = new QChartView;
    for (QChartView* v : {days_, categories_}) v->setRenderHint(QPainter::Antialiasing);
    chartRow->addWidget(days_, 3);
    chartRow->addWidget(categories_, 2);
    empty_ = new QLabel(Q(DesktopText::OverviewEmpty));
    empty_->setAlignment(Qt::AlignCenter);
    pages_->addWidget(charts_);
    pages_->addWidget(empty_);
    layout->addWidget(pages_, 3);

    list_ = new QTableWidget(0, 4);
    list_->setHorizontalHeaderLabels(
        {Q(DesktopText::OverviewProject), Q(DesktopText::OverviewCategory),
         Q(DesktopText::OverviewDuration), Q(DesktopText::OverviewMemo)});
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dayTitle_ = new QLabel(Q(DesktopText::OverviewPickDay));
    layout->addWidget(dayTitle_);
    layout->addWidget(list_, 1);

    QObject::connect(kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        SetKind(index == 1 ? PeriodKind::Month : PeriodKind::Week);
    });
    QObject::connect(previous, &QPushButton::clicked, this, [this] { Step(-1); });
    QObject::connect(next, &QPushButton::clicked, this, [this] { Step(1); });
    QObject::connect(now, &QPushButton::clicked, this, [this] { ThisPeriod(); });
    QObject::connect(save, &QPushButton::clicked, this, [this] { AskForPicture(); });
    QObject::connect(list_, &QTableWidget::cellDoubleClicked, this,
                     [this](int row, int) { OpenRecord(row); });
}

OverviewWindow::~OverviewWindow() = default;

void OverviewWindow::AddWaysIn(QMenu& trayMenu) {
    QAction* item = host_.WindowMenu()->addAction(Q(DesktopText::OverviewItem));
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    item->setShortcutContext(Qt::ApplicationShortcut);
    host_.Window()->addAction(item);
    addAction(item);
    QObject::connect(item, &QAction::triggered, this, [this] { OpenAsked(); });
    auto* trayItem = new QAction(Q(DesktopText::OverviewItem), &trayMenu);
    const QList<QAction*> items = trayMenu.actions();
    trayMenu.insertAction(items.size() >= 2 ? items[items.size() - 2] : nullptr, trayItem);
    QObject::connect(trayItem, &QAction::triggered, this, [this] { OpenAsked(); });
}

bool OverviewWindow::OpenAsked() {
    if (model_.Running() == nullptr || !host_.TakesCommands()) {
        QApplication::beep();
        return false;
    }
    Open();
    return true;
}

void OverviewWindow::OpenWhenReady() {
    QTimer::singleShot(0, this, [this] {
        if (model_.Running() == nullptr) return;
        if (host_.TakesCommands()) {
            Open();
        } else if (host_.Main() != nullptr) {
            QTimer::singleShot(200, this, [this] { OpenWhenReady(); });
        }
    });
}

void OverviewWindow::Attach(App* app) {
    model_.Attach(app, FirstWeekday());
    shownDay_ = -1;
    if (app == nullptr) hide();
}

void OverviewWindow::Open() {
    if (model_.Running() == nullptr) return;
    Refresh();
    show();
    raise();
    activateWindow();
}

void OverviewWindow::ChangeSoon() {
    if (!isVisible()) return;
    readAgain_ = true;
    Soon();
}

void OverviewWindow::RecordAdded(const std::vector<PropValue>& props) {
    if (!isVisible()) return;  // opening reads every record
    if (!model_.Added(props)) readAgain_ = true;
    Soon();
}

// Once the current event is done: one read or drawing for all its changes.
void OverviewWindow::Soon() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        const bool readAgain = readAgain_;
        readAgain_ = false;
        if (!isVisible()) return;
        if (readAgain) {
            Refresh();
        } else {
            Redraw();
        }
    });
}

void OverviewWindow::SetKind(PeriodKind kind) {
    if (kind == model_.Shown().kind) return;
    model_.Show(PeriodHolding(model_.Shown().first, kind, FirstWeekday()));
    shownDay_ = -1;
    Redraw();
}

void OverviewWindow::Step(int steps) {
    model_.Show(Shifted(model_.Shown(), steps));
    shownDay_ = -1;
    Redraw();
}

void OverviewWindow::ThisPeriod() {
    model_.Show(model_.ThisPeriod(model_.Shown().kind));
    shownDay_ = -1;
    Redraw();
}

void OverviewWindow::Redraw() {
    if (model_.Running() == nullptr) return;
    model_.Resum();
    Draw();
    ShowDay(shownDay_);
}

void OverviewWindow::Refresh() {
    if (model_.Running() == nullptr) return;
    model_.Refresh();
    Draw();
    ShowDay(shownDay_);
}

void OverviewWindow::Draw() {
    const PeriodSums& sums = model_.Sums();
    const Period& period = model_.Shown();
    const AppSettings& settings = model_.Running()->state.settings;
    const uint32_t dates = settings.DateTypeView;
    const uint32_t times = settings.TimeTypeView;
    {
        const QSignalBlocker quiet(kind_);
        kind_->setCurrentIndex(period.kind == PeriodKind::Month ? 1 : 0);
    }
    now_->setText(Q(period.kind == PeriodKind::Week ? DesktopText::OverviewThisWeek
                                                    : DesktopText::OverviewThisMonth));
    title_->setText(DateOf(period.first, dates) + QStringLiteral(" - ") +
                    DateOf(period.Day(period.days - 1), dates));
    if (sums.Empty()) {
        totals_->clear();
        pages_->setCurrentWidget(empty_);
        drawn_ = {};  // the charts are drawn anew when there are sums again
        return;
    }
    QString totals =
        Q(DesktopText::OverviewTotal) + QStringLiteral(" ") + Duration(sums.total, times);
    for (const PeriodSums::ProjectSums& p : sums.projects) {
        totals += QStringLiteral("    ") + ToQString(p.name) + QStringLiteral(": ") +
                  Duration(p.total, times);
    }
    totals_->setText(totals);
    pages_->setCurrentWidget(charts_);

    if (!UpdateCharts()) BuildCharts();
}

// What the charts are drawn for, beside their numbers: while it stays, a change of the numbers
// is written into the bars and labels drawn, which costs a fraction of new charts.
OverviewWindow::ChartShape OverviewWindow::ShapeOf(const PeriodSums& sums) const {
    ChartShape shape{model_.Shown(), model_.Running()->state.settings.TimeTypeView, {}, {}};
    for (const PeriodSums::ProjectSums& p : sums.projects) {
        shape.projects.emplace_back(p.projectId, p.name);
    }
    for (const PeriodSums::CategorySum& c : sums.categories) shape.categories.push_back(c.name);
    return shape;
}

QString OverviewWindow::CategoryLabel(const PeriodSums::CategorySum& c, uint32_t times) {
    return ToQString(c.name) + QStringLiteral(" (") + Duration(c.minutes, times) +
           QStringLiteral(")");
}

void OverviewWindow::SetHourRanges(const PeriodSums& sums) {
    const Period& period = model_.Shown();
    int64_t mostInADay = 60;
    for (int i = 0; i < period.days; ++i) {
        int64_t day = 0;
        for (const PeriodSums::ProjectSums& p : sums.projects)
            day += p.perDay[static_cast<size_t>(i)];
        mostInADay = std::max(mostInADay, day);
    }
    const int64_t mostInACategory = std::max<int64_t>(60, sums.categories.front().minutes);
    // Each new range lays the chart out again: only a new greatest value sets it.
    if (mostInADay != rangedDay_) {
        rangedDay_ = mostInADay;
        hours_->setRange(0, static_cast<double>(mostInADay) / 60.0);
        hours_->applyNiceNumbers();
    }
    if (mostInACategory != rangedCategory_) {
        rangedCategory_ = mostInACategory;
        categoryHours_->setRange(0, static_cast<double>(mostInACategory) / 60.0);
        categoryHours_->applyNiceNumbers();
    }
}

bool OverviewWindow::UpdateCharts() {
    const PeriodSums& sums = model_.Sums();
    if (days_->chart() == nullptr || !(ShapeOf(sums) == drawn_)) return false;
    const uint32_t times = drawn_.times;
    for (size_t i = 0; i < sums.projects.size(); ++i) {
        QBarSet* set = projectSets_[i];
        const std::vector<int64_t>& perDay = sums.projects[i].perDay;
        for (size_t day = 0; day < perDay.size(); ++day) {
            const double value = static_cast<double>(perDay[day]) / 60.0;
            if (set->at(static_cast<int>(day)) != value) set->replace(static_cast<int>(day), value);
        }
    }
    // Largest first, from the top down: the axis and the set run from the bottom up.
    const QStringList labels = categoryAxis_->categories();
    for (size_t i = 0; i < sums.categories.size(); ++i) {
        const int at = static_cast<int>(sums.categories.size() - 1 - i);
        const double value = static_cast<double>(sums.categories[i].minutes) / 60.0;
        if (categorySet_->at(at) != value) categorySet_->replace(at, value);
        const QString label = CategoryLabel(sums.categories[i], times);
        if (labels[at] != label) categoryAxis_->replace(labels[at], label);
    }
    SetHourRanges(sums);
    return true;
}

void OverviewWindow::BuildCharts() {
    const PeriodSums& sums = model_.Sums();
    const Period& period = model_.Shown();
    drawn_ = ShapeOf(sums);
    const uint32_t times = drawn_.times;
    projectSets_.clear();
    rangedDay_ = rangedCategory_ = -1;
    auto* stacked = new QStackedBarSeries;
    for (const PeriodSums::ProjectSums& p : sums.projects) {
        auto* set = new QBarSet(ToQString(p.name));
        projectSets_.push_back(set);
        set->setColor(ProjectColour(p.projectId));
        for (int64_t m : p.perDay) set->append(static_cast<double>(m) / 60.0);
        stacked->append(set);
    }
    QObject::connect(stacked, &QStackedBarSeries::clicked, this,
                     [this](int index, QBarSet*) { ShowDay(index); });
    QStringList dayNames;
    const QLocale locale;
    for (int i = 0; i < period.days; ++i) {
        const CalendarDate d = period.Day(i);
        if (period.kind == PeriodKind::Week) {
            dayNames << locale.dayName(Weekday(d), QLocale::ShortFormat) + QStringLiteral("<br>") +
                            QString::number(d.day);
        } else {
            dayNames << QString::number(d.day);
        }
    }
    auto* dayChart = new QChart;
    dayChart->addSeries(stacked);
    auto* dayAxis = new QBarCategoryAxis;
    dayAxis->append(dayNames);
    dayChart->addAxis(dayAxis, Qt::AlignBottom);
    if (period.kind == PeriodKind::Month) {
        // Too narrow a bar for its number: every fifth day is numbered on an axis of its own,
        // the bars' day k centred on k.
        dayAxis->setLabelsVisible(false);
        auto* numbers = new QValueAxis;
        numbers->setRange(0.5, period.days + 0.5);
        numbers->setTickType(QValueAxis::TicksDynamic);
        numbers->setTickAnchor(0);
        numbers->setTickInterval(5);
        numbers->setLabelFormat(QStringLiteral("%d"));
        numbers->setGridLineVisible(false);
        dayChart->addAxis(numbers, Qt::AlignBottom);
    }
    stacked->attachAxis(dayAxis);
    auto* hours = new QValueAxis;
    hours_ = hours;
    hours->setLabelFormat(QStringLiteral("%.0f h"));
    dayChart->addAxis(hours, Qt::AlignLeft);
    stacked->attachAxis(hours);
    dayChart->legend()->setAlignment(Qt::AlignBottom);
    dayChart->setTitle(Q(DesktopText::OverviewPerDay));
    QChart* oldDays = days_->chart();
    days_->setChart(dayChart);
    delete oldDays;

    // Largest first, from the top down.
    auto* perCategory = new QHorizontalBarSeries;
    auto* set = new QBarSet(Q(DesktopText::OverviewCategory));
    categorySet_ = set;
    set->setColor(QColor(0x0072B2));
    QStringList names;
    for (auto c = sums.categories.rbegin(); c != sums.categories.rend(); ++c) {
        set->append(static_cast<double>(c->minutes) / 60.0);
        names << CategoryLabel(*c, times);
    }
    perCategory->append(set);
    auto* categoryChart = new QChart;
    categoryChart->addSeries(perCategory);
    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis_ = categoryAxis;
    categoryAxis->append(names);
    categoryChart->addAxis(categoryAxis, Qt::AlignLeft);
    perCategory->attachAxis(categoryAxis);
    auto* categoryHours = new QValueAxis;
    categoryHours_ = categoryHours;
    categoryHours->setLabelFormat(QStringLiteral("%.0f h"));
    categoryChart->addAxis(categoryHours, Qt::AlignBottom);
    perCategory->attachAxis(categoryHours);
    SetHourRanges(sums);
    categoryChart->legend()->hide();
    categoryChart->setTitle(Q(DesktopText::OverviewPerCategory));
    QChart* oldCategories = categories_->chart();
    categories_->setChart(categoryChart);
    delete oldCategories;
}

void OverviewWindow::ShowDay(int day) {
    list_->setRowCount(0);
    shownDay_ = day;
    listed_ = model_.Day(day);
    if (day < 0 || day >= model_.Shown().days) {
        dayTitle_->setText(Q(DesktopText::OverviewPickDay));
        return;
    }
    const CalendarDate date = model_.Shown().Day(day);
    dayTitle_->setText(QLocale().dayName(Weekday(date)) + QStringLiteral(" ") +
                       DateOf(date, model_.Running()->state.settings.DateTypeView));
    const uint32_t times = model_.Running()->state.settings.TimeTypeView;
    list_->setRowCount(static_cast<int>(listed_.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const OverviewModel::DayRecord& r = listed_[static_cast<size_t>(row)];
        const QString cells[] = {ToQString(r.project), ToQString(r.category),
                                 Duration(r.minutes, times), ToQString(r.memo)};
        for (int c = 0; c < 4; ++c) list_->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
}

void OverviewWindow::OpenRecord(int row) {
    if (row < 0 || static_cast<size_t>(row) >= listed_.size() || model_.Running() == nullptr ||
        !host_.TakesCommands()) {
        QApplication::beep();
        return;
    }
    const uint32_t projectId = listed_[static_cast<size_t>(row)].projectId;
    const uint32_t recordId = listed_[static_cast<size_t>(row)].recordId;
    host_.Raise();
    QTimer::singleShot(0, this, [this, projectId, recordId] {
        App* app = model_.Running();
        if (app == nullptr || app->mainWindow == nullptr || !host_.TakesCommands() ||
            !app->mainWindow->OpenRecord(projectId, recordId)) {
            QApplication::beep();
        }
    });
}

bool OverviewWindow::SavePicture(const QString& file) {
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(pages_->size());
        svg.setViewBox(QRect(QPoint(0, 0), pages_->size()));
        svg.setTitle(title_->text());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        pages_->currentWidget()->render(&painter);
        return painter.end();
    }
    return pages_->currentWidget()->grab().save(file, "PNG");
}

void OverviewWindow::AskForPicture() {
    const QString file =
        QFileDialog::getSaveFileName(this, Q(DesktopText::OverviewSavePicture), QString(),
                                     QStringLiteral("PNG (*.png);;SVG (*.svg)"));
    if (file.isEmpty()) return;
    if (!SavePicture(file)) QApplication::beep();
}

}  // namespace qv
