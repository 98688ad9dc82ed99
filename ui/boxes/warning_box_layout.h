// Where the warning box puts its icon, message and button: dialog units of its font, as
// the platform's own message boxes are laid out.
#ifndef KORVANE_UI_BOXES_WARNING_BOX_LAYOUT_H
#define KORVANE_UI_BOXES_WARNING_BOX_LAYOUT_H

#include <QRect>
#include <QSize>

class QFontMetrics;

namespace ui {

// A font's dialog base units in pixels: the average width of the 52 Latin letters (rounded
// half up) and the character height. A horizontal dialog unit is a quarter of the first,
// a vertical one an eighth of the second.
struct DialogBaseUnits {
  int average_width = 0;
  int height = 0;

  int X(int units) const { return units * average_width / 4; }
  int Y(int units) const { return units * height / 8; }
};
DialogBaseUnits DialogBaseUnitsOf(const QFontMetrics& metrics);

struct WarningBoxLayout {
  QRect icon, message, button;
  QSize client;
};

// Margins of 8 units on every side, 10 between icon and message and between them and the
// button, a 50 x 14 unit button (widened to its caption plus 8 pixels when that is more)
// centred below; the client is as wide as the wider of the message block and the button
// plus the margins, and as high as the taller of message and icon, the gap, the button
// and the margins.
WarningBoxLayout LayOutWarningBox(const DialogBaseUnits& units, QSize icon, QSize message,
                                  int caption_width);

}  // namespace ui

#endif  // KORVANE_UI_BOXES_WARNING_BOX_LAYOUT_H
