// One window of the model shown as Qt widgets: a control a widget at its template rectangle,
// times the zoom. Widget signals become calls of the input layer; the model's change notices
// update the widgets they name, with the widgets' own signals muted meanwhile.
#pragma once

#include <QWidget>
#include <map>
#include <utility>
#include <vector>

#include "platform/ui/dialog.h"

namespace qv {

class QtHost;
class RowsModel;

class DialogView : public QWidget, private DialogObserver {
  public:
    DialogView(QtHost& host, Dialog& dialog, QWidget* parent);
    ~DialogView() override;

    Dialog& Model() const { return dialog_; }
    // The widget of a named control, or null.
    QWidget* WidgetOf(int id) const;
    // Places every widget again (after a zoom or layout change) and follows the model's focus.
    void PlaceAll();
    void FollowFocus();
    // A modal dialog above the window: with no control to focus it holds the keys itself.
    void SetModal() { modal_ = true; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab goes round this window's controls that take input, in template order.
    bool focusNextPrevChild(bool next) override;

  private:
    struct Shown {
        int id;
        QWidget* widget;
        RowsModel* rows = nullptr;  // list views
    };
    void OnDialogChanged(const Dialog& dialog, DialogChange what, int id, int row) override;
    QWidget* Make(const ControlState& c, Shown& shown);
    void Sync(const ControlState& c, const Shown& shown, DialogChange what, int row);
    void SyncAll(const Shown& shown);
    void Place(const ControlState& c, QWidget* w) const;
    Shown* Find(int id);
    void AddControl(const ControlState& c);
    void ApplyDefaultButton();
    void NameInputs();  // the accessible names of fields and lists
    void SetTabOrder();
    // Escape: the dialog's leaving control, clicked as a person would; nothing without one.
    void Escape();

    QtHost& host_;
    Dialog& dialog_;
    std::vector<Shown> shown_;  // in the model's control order
    // The texts the behaviour paints and where, which name the fields beside them as labels do.
    std::vector<std::pair<std::u16string, Rect>> painted_;
    bool modal_ = false;
    bool syncing_ = false;  // the model is updating widgets: their signals are not input
};

}  // namespace qv
