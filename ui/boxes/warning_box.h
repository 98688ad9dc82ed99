// The warning box that the commands use for input faults and the accuracy warning.
#ifndef KORVANE_UI_BOXES_WARNING_BOX_H
#define KORVANE_UI_BOXES_WARNING_BOX_H

#include <QString>

class QWidget;

namespace ui {

// How the user closed the box.
enum class WarningResult {
  kOk = 1,      // the "OK" button: a click, Enter, Space or Escape
  kClosed = 2,  // the title bar's close box
};

// Shows `text` modally in a box titled "Warning" with the warning icon and one "OK"
// button that is both default and escape; CR LF in the text starts a new line. The box
// opens centred over `owner`'s frame, pulled inside the owner's work area
// (PlaceWarningBox); without an owner it opens centred on the screen. Returns when the
// user has closed it.
WarningResult ShowWarning(QWidget* owner, const QString& text);

}  // namespace ui

#endif  // KORVANE_UI_BOXES_WARNING_BOX_H
