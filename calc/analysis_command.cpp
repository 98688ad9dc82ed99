#include "calc/analysis_command.h"

#include <cmath>

#include "calc/band_pass.h"
#include "calc/quantity_format.h"
#include "calc/quantity_parse.h"

namespace calc {
namespace {

constexpr char16_t kMissingComponentWarning[] = u"R1,R2,R3,C1,C2,C3 に値をセットしてください";

double ParseField(const Form& form, Field field) { return ParseQuantity(form.Text(field)); }

}  // namespace

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

  if (std::isnan(state.R1) || std::isnan(state.C1) || std::isnan(state.C2) ||
      std::isnan(state.R3)) {
    form.ShowWarning(kMissingComponentWarning);
  } else {
    // A FloatError leaves this function here: the result fields stay empty and the
    // output buttons keep their state.
    AnalyzeBandPass(state, state.R1, state.R2, state.R3, state.C1, state.C2);
    form.SetText(Field::EditFor, FormatQuantity(state.FoResult, 8, 3));
    form.SetText(Field::EditQr, FormatQuantity(state.QResult, 8, 3));
    form.SetText(Field::EditHr, FormatQuantity(state.HResult, 8, 3));
    state.Calculated = true;
  }
  form.SetOutputEnabled(state.Calculated);
}

}  // namespace calc
