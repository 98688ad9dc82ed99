#include "ui/main_window/clickable_label.h"

#include <QMouseEvent>

namespace ui {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) Q_EMIT clicked();
}

}  // namespace ui
