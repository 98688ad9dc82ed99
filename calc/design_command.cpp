#include "calc/design_command.h"

#include <cmath>

#include "calc/band_pass.h"
#include "calc/float_ops.h"
#include "calc/preferred_values.h"
#include "calc/quantity_format.h"
#include "calc/quantity_parse.h"

namespace calc {
namespace {

constexpr char16_t kFoMissingWarning[] = u"foに値を入力してください";
constexpr char16_t kQMissingWarning[] = u"Qに値を入力してください";
constexpr char16_t kNotPositiveWarning[] = u"ゼロ以下の伝達関数パラメータは不正です";
constexpr char16_t kZrefMissingWarning[] = u"標準Zに値を入力してください";

double ParseField(const Form& form, Field field) { return ParseQuantity(form.Text(field)); }

void ShowQuantity(Form& form, Field field, double value) {
  form.SetText(field, FormatQuantity(value, 8, 3));
}

}  // namespace

void ButtonCalcClick(Form& form, CalcState& state) {
  state.Calculated = false;
  state.DesignMode = true;

  state.Fo = ParseField(form, Field::EditFo);
  state.Q = ParseField(form, Field::EditQ);
  state.H = ParseField(form, Field::EditH);
  // No gain given means unity gain, and the field says so, even if a warning follows.
  if (std::isnan(state.H)) {
    form.SetText(Field::EditH, u"1.0");
    state.H = 1.0;
  }

  if (std::isnan(state.Fo)) {
    form.ShowWarning(kFoMissingWarning);
  } else if (std::isnan(state.Q)) {
    form.ShowWarning(kQMissingWarning);
  } else if (state.Fo <= 0.0 || state.Q <= 0.0) {
    form.ShowWarning(kNotPositiveWarning);
  } else {
    // A FloatError leaves this function here, so the output buttons keep their state.
    RunDesign(form, state);
  }
  form.SetOutputEnabled(state.Calculated);
}

void RunDesign(Form& form, CalcState& state) {
  ClearDesignResults(form);

  // Checked even when a locked C2 makes the reference impedance unnecessary.
  const double Zref = ParseField(form, Field::EditStdR);
  if (std::isnan(Zref)) {
    form.ShowWarning(kZrefMissingWarning);
    return;
  }
  ReadSeriesChoice(form, state);

  // A locked C2 with a value is used exactly as typed; otherwise C2 is the series
  // capacitor whose impedance at fo is nearest the reference impedance.
  state.C2 = ParseField(form, Field::EditC2);
  if (!form.LockChecked() || std::isnan(state.C2)) {
    state.C2 = SnapToSeries(Div(1.0, Mul(Mul(state.Fo, kTwoPi), Zref)), state.SeriesC);
  }

  state.Calculated = true;
  DesignBandPass(form, state, state.Fo, state.Q, state.H, state.SeriesR, state.SeriesC);
  ShowDesignResults(form, state);
}

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

void ReadSeriesChoice(const Form& form, CalcState& state) {
  state.SeriesC = ParseSeriesSize(form.Text(Field::ComboBoxEC));
  state.SeriesR = ParseSeriesSize(form.Text(Field::ComboBoxER));
}

void ShowDesignResults(Form& form, const CalcState& state) {
  ShowQuantity(form, Field::EditFor, state.FoResult);
  ShowQuantity(form, Field::EditQr, state.QResult);
  ShowQuantity(form, Field::EditHr, state.HResult);
  ShowQuantity(form, Field::EditC1, state.C1);
  ShowQuantity(form, Field::EditC2, state.C2);
  ShowQuantity(form, Field::EditR1, state.R1);
  ShowQuantity(form, Field::EditR2, state.R2);  // empty when R2 is left out
  ShowQuantity(form, Field::EditR3, state.R3);
}

}  // namespace calc
