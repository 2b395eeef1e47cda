// The floor for the desktop window: a bare Qt Widgets program that reads every time record of a
// store file as qv-floor-scan does, sorts them by date and paints them once in a QTreeView over
// a table model (date, category, duration), offscreen, then ends. No handheld screen, no
// dialogs, no settings.
//
//   qv-qt-floor STORE_FILE      prints the number of records read
#include <sqlite3.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/objectstore/object_store.h"
#include "platform/objectstore/record_codec.h"

namespace {

struct Row {
    uint32_t dateKey;  // yyyymmdd
    QString category;
    QString duration;
};

class Rows : public QAbstractTableModel {
  public:
    explicit Rows(std::vector<Row> rows) : rows_(std::move(rows)) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        const Row& row = rows_[static_cast<size_t>(index.row())];
        switch (index.column()) {
            case 0:
                return QStringLiteral("%1/%2/%3")
                    .arg(row.dateKey % 100, 2, 10, QLatin1Char('0'))
                    .arg(row.dateKey / 100 % 100, 2, 10, QLatin1Char('0'))
                    .arg(row.dateKey / 10000 % 100, 2, 10, QLatin1Char('0'));
            case 1:
                return row.category;
            default:
                return row.duration;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const char* const kHeaders[] = {"Date", "Category", "Duration"};
        return QString::fromLatin1(kHeaders[section]);
    }

  private:
    std::vector<Row> rows_;
};

QString FromProp(const qv::PropValue& p) {
    if (!p.lpwstr) return {};
    return QString::fromUtf16(p.lpwstr->data(), static_cast<qsizetype>(p.lpwstr->size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv-qt-floor STORE_FILE\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
    sqlite3_stmt* rows = nullptr;
    const char* sql =
        "SELECT r.props FROM records r JOIN databases d ON r.db = d.oid "
        "WHERE d.name = ?1 ORDER BY r.sortkey, r.oid";
    if (sqlite3_prepare_v2(db, sql, -1, &rows, nullptr) != SQLITE_OK) return 1;
    static const char16_t kName[] = u"Brumo Quorvella";
    sqlite3_bind_blob(rows, 1, kName, sizeof kName - sizeof(char16_t), SQLITE_STATIC);
    std::vector<Row> records;
    std::vector<qv::PropValue> props;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(rows, 0));
        const size_t size = static_cast<size_t>(sqlite3_column_bytes(rows, 0));
        Row row{0, {}, {}};
        uint32_t day = 0, month = 0, year = 0;
        if (qv::DecodeRecord(data, size, props)) {
            for (const qv::PropValue& p : props) {
                if (p.propid == qv::PropId(2, qv::CEVT_UI4)) day = p.ulVal;
                if (p.propid == qv::PropId(3, qv::CEVT_UI4)) month = p.ulVal;
                if (p.propid == qv::PropId(4, qv::CEVT_UI4)) year = p.ulVal;
                if (p.propid == qv::PropId(5, qv::CEVT_LPWSTR)) row.category = FromProp(p);
                if (p.propid == qv::PropId(6, qv::CEVT_LPWSTR)) row.duration = FromProp(p);
            }
        }
        row.dateKey = year * 10000 + month * 100 + day;
        records.push_back(std::move(row));
    }
    sqlite3_finalize(rows);
    sqlite3_close(db);
    std::stable_sort(records.begin(), records.end(),
                     [](const Row& a, const Row& b) { return a.dateKey < b.dateKey; });
    const size_t count = records.size();

    Rows model(std::move(records));
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(480, 640);
    view.show();
    QCoreApplication::processEvents();
    view.viewport()->repaint();  // painted once, whatever the platform did with the show
    std::printf("%zu\n", count);
    return count == 0 ? 1 : 0;
}
