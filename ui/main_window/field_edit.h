// A one-line field of the main window.
#ifndef KORVANE_UI_MAIN_WINDOW_FIELD_EDIT_H
#define KORVANE_UI_MAIN_WINDOW_FIELD_EDIT_H

#include <QLineEdit>

namespace ui {

// Selects its whole text when it gets the focus from the keyboard or the program (Tab,
// Enter, an arrow key, start-up), so that typing replaces the value; a mouse click
// places the caret instead. Getting the focus back with its window keeps the selection.
class FieldEdit : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

 protected:
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_FIELD_EDIT_H
