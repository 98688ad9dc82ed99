#include "calc/commands/analysis_command.h"

#include <cmath>

#include "calc/circuit/band_pass.h"
#include "calc/commands/command_messages.h"
#include "calc/text/quantity_format.h"

namespace calc {

void ButtonTFClick(Form& form, CalcState& state) {
  state.Calculated = false;
  state.DesignMode = false;

  form.SetText(Field::EditFor, u"");
  form.SetText(Field::EditQr, u"");
  form.SetText(Field::EditHr, u"");

  // Every parsed value is kept, whatever follows. An R2 without a value is no fault: it
  // selects the circuit without R2.
  state.R1 = ParseField(form, Field::EditR1);
  state.R2 = ParseField(form, Field::EditR2);
  state.R3 = ParseField(form, Field::EditR3);
  state.C1 = ParseField(form, Field::EditC1);
  state.C2 = ParseField(form, Field::EditC2);

  const Circuit circuit{state.R1, state.R2, state.R3, state.C1, state.C2};
  if (const std::u16string_view warning = AnalysisInputWarning(circuit); !warning.empty()) {
    form.ShowWarning(warning);
  } else {
    // A FloatError leaves this function here: the result fields stay empty and the
    // output buttons keep their state.
    const TransferFunction result = Analyze(circuit);
    state.FoResult = result.Fo;
    state.QResult = result.Q;
    state.HResult = result.H;
    form.SetText(Field::EditFor, FormatDisplayed(result.Fo));
    form.SetText(Field::EditQr, FormatDisplayed(result.Q));
    form.SetText(Field::EditHr, FormatDisplayed(result.H));
    state.Calculated = true;
  }
  form.SetOutputEnabled(state.Calculated);
}

}  // namespace calc
