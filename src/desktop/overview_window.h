// The overview: a window of its own beside the handheld's screen with a week's or a month's
// hours per day (stacked by project) and per category, the totals, and a day's records. It
// reads the records beside the program's state and follows every change while it is open.
#pragma once

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QWidget>
#include <memory>
#include <vector>

#include "desktop/overview_model.h"

namespace qv {

struct App;
class QtHost;

class OverviewWindow : public QWidget {
  public:
    explicit OverviewWindow(QtHost& host);
    ~OverviewWindow() override;

    // The ways in: an item of the window's menu with Ctrl+O anywhere in the program, and one in
    // the tray's menu before its last two items. Refused (a beep) while a dialog is open.
    void AddWaysIn(QMenu& trayMenu);
    // Opens the window when the program takes commands; false (and a beep) otherwise.
    bool OpenAsked();
    // Opens the window once the program waits for the user (start-up may still show a message).
    void OpenWhenReady();

    // The running program, or null once it has ended (the window closes then).
    void Attach(App* app);
    // Shows the window on the current period (kept when it was open) and brings it forward.
    void Open();
    // Something may have changed in the records or the views: read again soon, once.
    void ChangeSoon();
    // A record was stored with these properties: taken in without reading every record again
    // (read again when it cannot be), and drawn soon.
    void RecordAdded(const std::vector<PropValue>& props);
    // Reads the records and draws the period now.
    void Refresh();

    void SetKind(PeriodKind kind);
    void Step(int steps);
    void ThisPeriod();
    // The day's records listed under the charts (index in the period; -1 lists none).
    void ShowDay(int day);
    // Writes the charts as a PNG picture, or as SVG when the name ends in ".svg".
    bool SavePicture(const QString& file);

    const PeriodSums& Sums() const { return model_.Sums(); }
    int ListedRecords() const { return list_->rowCount(); }
    // The colour of a project's bars: the same from one period to the next.
    static QColor ProjectColour(uint32_t projectId);

  private:
    struct ChartShape {
        Period period;
        uint32_t times = 0;
        std::vector<std::pair<uint32_t, std::u16string>> projects;  // identifier, name
        std::vector<std::u16string> categories;
        friend bool operator==(const ChartShape&, const ChartShape&) = default;
    };

    void Draw();
    ChartShape ShapeOf(const PeriodSums& sums) const;
    // New charts for the sums, or the numbers written into the charts drawn when their shape is
    // the same (false, nothing changed, when it is not).
    void BuildCharts();
    bool UpdateCharts();
    void SetHourRanges(const PeriodSums& sums);
    static QString CategoryLabel(const PeriodSums::CategorySum& c, uint32_t times);
    void Soon();
    // Another period of the records read last.
    void Redraw();
    void AskForPicture();
    void OpenRecord(int row);

    QtHost& host_;
    OverviewModel model_;
    int shownDay_ = -1;
    bool pending_ = false;
    bool readAgain_ = false;  // a change the records read last do not hold
    QPushButton* now_;
    QComboBox* kind_;
    QLabel* title_;
    QLabel* dayTitle_;
    QLabel* totals_;
    QStackedWidget* pages_;
    QWidget* charts_;
    QChartView* days_;
    QChartView* categories_;
    ChartShape drawn_;
    std::vector<QBarSet*> projectSets_;
    QBarSet* categorySet_ = nullptr;
    QBarCategoryAxis* categoryAxis_ = nullptr;
    QValueAxis* hours_ = nullptr;
    QValueAxis* categoryHours_ = nullptr;
    int64_t rangedDay_ = -1;  // the greatest minutes the axes were last ranged for
    int64_t rangedCategory_ = -1;
    QLabel* empty_;
    QTableWidget* list_;
    std::vector<OverviewModel::DayRecord> listed_;
};

}  // namespace qv
