// A drop-down list that reports its opening and closing: the pick comes between them.
#pragma once

#include <QComboBox>

#include "platform/ui/dialog.h"

namespace qv {

class DropDown : public QComboBox {
  public:
    // `syncing` is the owner's flag that it is updating the widget itself.
    DropDown(Dialog& d, int id, const bool& syncing, QWidget* parent)
        : QComboBox(parent), d_(d), id_(id), syncing_(syncing) {}
    void showPopup() override;
    void hidePopup() override;

  protected:
    // A text longer than the box ends in "...".
    void paintEvent(QPaintEvent* e) override;

  private:
    Dialog& d_;
    int id_;
    const bool& syncing_;
};

}  // namespace qv
