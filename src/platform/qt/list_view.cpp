#include "platform/qt/list_view.h"

#include <QKeyEvent>
#include <QTimer>

#include "platform/qt/qt_text.h"
#include "platform/ui/user_input.h"

namespace qv {

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    const ControlState* c = List();
    if (c == nullptr || index.row() >= static_cast<int>(c->rows.size())) return {};
    const ListRow& row = c->rows[index.row()];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {  // a screen reader reads it
        if (index.column() >= static_cast<int>(row.cells.size())) return {};
        return ToQString(row.cells[index.column()]);
    }
    if (role == Qt::DecorationRole && index.column() == 0 && row.image >= 0) {
        return ListImage(row.image, zoom_);
    }
    return {};
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const ControlState* c = List();
    if (orientation != Qt::Horizontal || c == nullptr ||
        section >= static_cast<int>(c->columns.size())) {
        return {};
    }
    const ListColumn& column = c->columns[section];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return ToQString(column.header);
    if (role == Qt::DecorationRole && column.headerImage >= 0) {
        return ListImage(column.headerImage, zoom_);
    }
    return {};
}

void RowsModel::RowsChanged() {
    if (resetPending_) return;
    resetPending_ = true;
    QTimer::singleShot(0, this, [this] { ResetNow(); });
}

void RowsModel::ResetNow() {
    resetPending_ = false;
    const ControlState* c = List();
    beginResetModel();
    shownRows_ = c ? static_cast<int>(c->rows.size()) : 0;
    shownColumns_ = c ? static_cast<int>(c->columns.size()) : 0;
    endResetModel();
}

void RowsModel::RowChanged(int row) {
    // A reset on its way redraws every row anyway.
    if (!resetPending_ && row >= 0 && row < shownRows_) {
        Q_EMIT dataChanged(index(row, 0), index(row, shownColumns_ - 1));
    }
}

void RowsModel::HeaderChanged() {
    const ControlState* c = List();
    if (c != nullptr && static_cast<int>(c->columns.size()) != shownColumns_) {
        ResetNow();
    } else if (shownColumns_ > 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, shownColumns_ - 1);
    }
}

void ListView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        const int row = currentIndex().isValid() ? currentIndex().row() : d_.SelectedRow(id_);
        if (row >= 0) input::EnterRow(d_, id_, row);
        e->accept();
        return;
    }
    QTreeView::keyPressEvent(e);
}

}  // namespace qv
