// A list view of a model's window: its rows as a table model over the model's rows, and the
// view that reports taps and Enter.
#pragma once

#include <QAbstractTableModel>
#include <QTreeView>

#include "platform/ui/dialog.h"

namespace qv {

// The rows of a list view as a table model over the model's rows: no widget item per row. A
// change of the rows resets the table once, after the change is complete.
class RowsModel : public QAbstractTableModel {
  public:
    RowsModel(const Dialog& dialog, int id, int zoom, QObject* parent)
        : QAbstractTableModel(parent), dialog_(dialog), id_(id), zoom_(zoom) {}

    const ControlState* List() const { return dialog_.Find(id_); }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : shownRows_;
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : shownColumns_;
    }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rows or columns changed: one reset when the program is done changing them.
    void RowsChanged();
    void ResetNow();
    void RowChanged(int row);
    void HeaderChanged();
    bool Pending() const { return resetPending_; }

  private:
    const Dialog& dialog_;
    int id_;
    int zoom_;
    int shownRows_ = 0;
    int shownColumns_ = 0;
    bool resetPending_ = false;
};

// A list view: a tap selects and notifies, Enter notifies the selected row, a header tap.
class ListView : public QTreeView {
  public:
    ListView(Dialog& d, int id, QWidget* parent) : QTreeView(parent), d_(d), id_(id) {}
    void keyPressEvent(QKeyEvent* e) override;

  private:
    Dialog& d_;
    int id_;
};

}  // namespace qv
