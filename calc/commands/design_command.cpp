#include "calc/commands/design_command.h"

#include <cmath>

#include "calc/circuit/band_pass.h"
#include "calc/commands/command_messages.h"
#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"

namespace calc {
namespace {

// Blanks the result fields in the order the window shows them; a locked C2 stays.
void ClearDesignResults(Form& form) {
  form.SetText(Field::EditFor, u"");
  form.SetText(Field::EditQr, u"");
  form.SetText(Field::EditHr, u"");
  form.SetText(Field::EditC1, u"");
  if (!form.LockChecked()) form.SetText(Field::EditC2, u"");
  form.SetText(Field::EditR1, u"");
  form.SetText(Field::EditR2, u"");
  form.SetText(Field::EditR3, u"");
}

// Writes fo, Q, H, C1, C2, R1, R2, R3 in that order; an omitted R2 gives an empty EditR2.
void ShowDesignResults(Form& form, const CalcState& state) {
  form.SetText(Field::EditFor, FormatDisplayed(state.FoResult));
  form.SetText(Field::EditQr, FormatDisplayed(state.QResult));
  form.SetText(Field::EditHr, FormatDisplayed(state.HResult));
  form.SetText(Field::EditC1, FormatDisplayed(state.C1));
  form.SetText(Field::EditC2, FormatDisplayed(state.C2));
  form.SetText(Field::EditR1, FormatDisplayed(state.R1));
  form.SetText(Field::EditR2, FormatDisplayed(state.R2));  // empty when R2 is left out
  form.SetText(Field::EditR3, FormatDisplayed(state.R3));
}

// Everything after the target checks.
void RunDesign(Form& form, CalcState& state) {
  ClearDesignResults(form);

  // Checked even when a locked C2 makes the reference impedance unnecessary.
  const double Zref = ParseField(form, Field::EditStdR);
  if (std::isnan(Zref)) {
    form.ShowWarning(kZrefMissingWarning);
    return;
  }
  state.SeriesC = ParseSeriesSize(form.Text(Field::ComboBoxEC));
  state.SeriesR = ParseSeriesSize(form.Text(Field::ComboBoxER));

  DesignRequest request{state.Fo, state.Q, state.H, Zref, state.SeriesR, state.SeriesC};
  if (form.LockChecked()) request.LockedC2 = ParseField(form, Field::EditC2);
  state.C2 = ChooseC2(request);

  state.Calculated = true;
  const DesignResult result = DesignAroundC2(request, state.C2);
  state.R1 = result.Snapped.R1;
  state.R2 = result.Snapped.R2;
  state.R3 = result.Snapped.R3;
  state.C1 = result.Snapped.C1;
  state.FoResult = result.Achieved.Fo;
  state.QResult = result.Achieved.Q;
  state.HResult = result.Achieved.H;
  // Warned before anything is shown, while the result fields are still empty.
  if (result.QMissed) form.ShowWarning(kQErrorWarning);
  ShowDesignResults(form, state);
}

}  // namespace

void ButtonCalcClick(Form& form, CalcState& state) {
  state.Calculated = false;
  state.DesignMode = true;

  state.Fo = ParseField(form, Field::EditFo);
  state.Q = ParseField(form, Field::EditQ);
  state.H = ParseField(form, Field::EditH);
  // No gain given means unity gain, and the field says so, even if a warning follows.
  if (std::isnan(state.H)) form.SetText(Field::EditH, kDefaultGainText);
  state.H = GainOrUnity(state.H);

  if (const std::u16string_view warning = DesignTargetWarning(state.Fo, state.Q);
      !warning.empty()) {
    form.ShowWarning(warning);
  } else {
    // A FloatError leaves this function here, so the output buttons keep their state.
    RunDesign(form, state);
  }
  form.SetOutputEnabled(state.Calculated);
}

}  // namespace calc
