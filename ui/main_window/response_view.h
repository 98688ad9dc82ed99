// What the main window hands to the response window, and the window as the main window
// sees it. The response window itself lives in a module loaded on first use (Qt Charts
// stay out of the calculator's start-up), so the main window knows it only through this
// interface.
#ifndef KORVANE_UI_MAIN_WINDOW_RESPONSE_VIEW_H
#define KORVANE_UI_MAIN_WINDOW_RESPONSE_VIEW_H

#include <optional>

#include "calc/circuit/circuit.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/form.h"

class QWidget;

namespace ui {

// The circuit the main window shows, as analysed, and the wanted transfer function when
// the design inputs are readable.
struct ResponseSubject {
  calc::Circuit circuit;
  calc::TransferFunction analysed;  // fo, Q and H of `circuit`
  std::optional<calc::TransferFunction> target;
};

// The subject after the last command: nothing when it showed no result (a warning or an
// error), so that no stale curve stays on screen. The target comes from EditFo, EditQ and
// EditH as they read now; an empty H means unity gain, as in the design.
std::optional<ResponseSubject> CurrentSubject(const calc::Form& form, const calc::CalcState& state);

class ResponseView {
 public:
  virtual ~ResponseView() = default;
  // The top-level window; the main window is its parent and deletes it.
  virtual QWidget* Window() = 0;
  // Shows `subject`'s curves and figures, or that there is no result.
  virtual void ShowSubject(const std::optional<ResponseSubject>& subject) = 0;
};

// Makes the response window as a child window of `parent`.
using ResponseViewFactory = ResponseView* (*)(QWidget* parent);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_RESPONSE_VIEW_H
