#include "ui/boxes/warning_box_layout.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>

namespace ui {

DialogBaseUnits DialogBaseUnitsOf(const QFontMetrics& metrics) {
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

WarningBoxLayout LayOutWarningBox(const DialogBaseUnits& units, QSize icon, QSize message,
                                  int caption_width) {
  const int margin_x = units.X(8), margin_y = units.Y(8);
  const int gap_x = units.X(10), gap_y = units.Y(10);
  const QSize button(std::max(units.X(50), caption_width + 8), units.Y(14));

  const int block_width = icon.width() + gap_x + message.width();
  const int block_height = std::max(icon.height(), message.height());
  WarningBoxLayout layout;
  layout.client = QSize(std::max(block_width, button.width()) + 2 * margin_x,
                        margin_y + block_height + gap_y + button.height() + margin_y);
  layout.icon = QRect(QPoint(margin_x, margin_y), icon);
  layout.message = QRect(QPoint(margin_x + icon.width() + gap_x, margin_y), message);
  layout.button =
      QRect(QPoint((layout.client.width() - button.width()) / 2, margin_y + block_height + gap_y),
            button);
  return layout;
}

}  // namespace ui
