// What the main window hands to the response window, and the window as the main window
// sees it. The response window itself lives in a module loaded on first use (Qt Charts
// stay out of the calculator's start-up), so the main window knows it only through this
// interface.
#ifndef KORVANE_UI_MAIN_WINDOW_RESPONSE_VIEW_H
#define KORVANE_UI_MAIN_WINDOW_RESPONSE_VIEW_H

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "calc/circuit/circuit.h"
#include "calc/circuit/circuit_parts.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/form.h"
#include "calc/commands/report.h"
#include "calc/studies/preferred_value_search_inputs.h"

class QWidget;

namespace ui {

// Where the circuit shown came from: the design command, the analysis command on parts
// typed, or a set of parts applied from a search (written into R1..C2 and analysed).
enum class SubjectSource { kDesign, kAnalysis, kApplied };

// The circuit the main window shows, as analysed, and the transfer function it was made
// for: only a design's (or an applied set's) circuit has a target to be judged against.
struct ResponseSubject {
  calc::Circuit circuit;
  calc::TransferFunction analysed;  // fo, Q and H of `circuit`
  std::optional<calc::TransferFunction> target;
  SubjectSource source = SubjectSource::kAnalysis;
  // The design fields as they read now (fo .. series, Lock and C2): the joint search's
  // inputs.
  calc::DesignTexts design{};
  calc::CircuitTexts typed{};  // R1 .. C2 as the main window's fields write them

  // The 適用 path: after writing a found set into R1..C2 and running the analysis command,
  // it marks the subject that command gave as applied, for the target the search served.
  void MarkApplied(const std::optional<calc::TransferFunction>& searched_for) {
    source = SubjectSource::kApplied;
    target = searched_for;
  }
};

// The subject after the last command: nothing when it showed no result (a warning or an
// error). After a design the target comes from EditFo, EditQ and EditH as they read now
// (an empty H means unity gain, as in the design); after an analysis there is none, since
// the parts typed need not have been chosen for the wanted figures.
std::optional<ResponseSubject> CurrentSubject(const calc::Form& form, const calc::CalcState& state);

// The texts of R1, R2, R3, C1 and C2 (R2 empty for none).
using CircuitTexts = std::array<std::u16string, calc::kPartCount>;
// Types the texts into the main window's part fields and runs the analysis command there,
// as its button does; the main window provides it.
using CircuitApplier = std::function<void(const CircuitTexts& texts)>;

class ResponseView {
 public:
  virtual ~ResponseView() = default;
  // The top-level window; the main window is its parent and deletes it.
  virtual QWidget* Window() = 0;
  // Shows `subject`'s curves and figures, or that there is no result.
  virtual void ShowSubject(const std::optional<ResponseSubject>& subject) = 0;
  // How the window writes a set of parts back into the main window.
  virtual void SetCircuitApplier(CircuitApplier apply) = 0;
  // The last command gave no result (a warning or an error): the curves stay those of the
  // last good circuit, and the window says so.
  virtual void ShowCommandFailed() = 0;
  // クリア emptied the main window's fields: nothing is shown, and the window says why.
  virtual void ShowCleared() = 0;
};

// Makes the response window as a child window of `parent`.
using ResponseViewFactory = ResponseView* (*)(QWidget* parent);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_RESPONSE_VIEW_H
