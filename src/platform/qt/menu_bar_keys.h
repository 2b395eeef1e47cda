// The menu bar from the keyboard. F10, or Alt pressed and released alone, puts the keyboard on
// the bar's first button; Left and Right move along it, Enter or Down opens a menu (a button
// without one runs its command) and Escape leaves it, the focus going back where it was.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QToolButton;
class QWidget;

namespace qv {

class MenuBarKeys : public QObject {
  public:
    // `allowed`: whether the bar takes the keyboard now (the main window has it, no dialog is
    // open).
    MenuBarKeys(QWidget* window, QWidget* bar, std::function<bool()> allowed);
    void Enter();
    void Leave();
    bool Active() const { return active_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::vector<QToolButton*> Buttons() const;
    void Move(QToolButton* from, int step);
    void Open(QToolButton* button);

    QWidget* window_;
    QWidget* bar_;
    std::function<bool()> allowed_;
    QPointer<QWidget> back_;  // where the focus goes back to
    bool active_ = false;
    bool altAlone_ = false;  // Alt is down and nothing else was pressed since
};

}  // namespace qv
