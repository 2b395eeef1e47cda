// A date picker that takes a date typed as a person writes it: a click selects the whole day,
// month or year under the pointer, so digits replace it; a separator typed where the picker
// has already moved on by itself after a complete day or month is skipped, and a dash or a
// dot counts as the slash. Otherwise "01/12/26" would land the 12 in the year. With the whole
// text selected (Ctrl+A), typing starts a new date from its first part.
#pragma once

#include <QDateEdit>

namespace qv {

class DatePicker : public QDateEdit {
  public:
    explicit DatePicker(QWidget* parent);
    // The handheld's short date, day or month first: it fits the narrow pickers of the
    // landscape layouts. The calendar speaks at the picker's font, its arrows at `zoom`.
    void SetLook(bool monthFirst, int zoom);

  private:
    void PlaceCalendar(QWidget* popup) const;
    int zoom_ = 1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Tab leaves the picker, as on the handheld; Left and Right go between its parts.
    bool event(QEvent* e) override;
};

}  // namespace qv
