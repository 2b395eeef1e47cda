// The keyboard's place, always drawn: a frame as thick as one handheld pixel at the zoom, just
// outside the widget that has the focus in the window, whatever the style draws itself.
#pragma once

#include <QPointer>
#include <QWidget>

namespace qv {

class FocusFrame : public QWidget {
  public:
    FocusFrame(QWidget* window, int zoom);
    QWidget* Target() const { return target_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Follow(QWidget* now);
    void Place();

    QPointer<QWidget> target_;
    int zoom_;
};

}  // namespace qv
