#include "ui/main_window/field_edit.h"

#include <QFocusEvent>

namespace ui {

void FieldEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  switch (event->reason()) {
    case Qt::MouseFocusReason:         // the click places the caret
    case Qt::ActiveWindowFocusReason:  // back from another window: keep what was selected
    case Qt::PopupFocusReason:         // back from a context menu
    case Qt::MenuBarFocusReason:
      break;
    default:
      selectAll();
      break;
  }
}

}  // namespace ui
