// The circuit picture of the main window: the multiple-feedback band-pass stage whose
// component names (R1, R2, R3, C1, C2) every formula and report uses.
#ifndef KORVANE_UI_MAIN_WINDOW_CIRCUIT_PICTURE_H
#define KORVANE_UI_MAIN_WINDOW_CIRCUIT_PICTURE_H

#include <QWidget>

namespace ui {

// A black line drawing on white, painted on demand (nothing is prepared at start-up).
// IN, R1 to the summing node; R2 from there to ground; C1 up to the feedback line; C2 on
// to the inverting input, where R3 rises to the feedback line; the op-amp with minus
// above plus, plus to ground; the output dot with OUT and the line up to the top.
class CircuitPicture : public QWidget {
  Q_OBJECT

 public:
  explicit CircuitPicture(QWidget* parent = nullptr);

  // The drawing's natural size; the frame shows all but its last column and row.
  static constexpr QSize kDrawingSize{231, 114};

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_CIRCUIT_PICTURE_H
