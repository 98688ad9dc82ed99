// A label that acts on a click, for the main window's "Help".
#ifndef KORVANE_UI_MAIN_WINDOW_CLICKABLE_LABEL_H
#define KORVANE_UI_MAIN_WINDOW_CLICKABLE_LABEL_H

#include <QLabel>

namespace ui {

// Shows the pointing hand and emits clicked() when the left button is pressed and
// released over it.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(QWidget* parent = nullptr);

 Q_SIGNALS:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_CLICKABLE_LABEL_H
