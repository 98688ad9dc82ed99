#include "ui/main_window/response_view.h"

#include <cmath>

#include "calc/commands/command_messages.h"
#include "calc/text/quantity_parse.h"

namespace ui {
namespace {

bool IsPositive(double value) { return std::isfinite(value) && value > 0.0; }

}  // namespace

std::optional<ResponseSubject> CurrentSubject(const calc::Form& form,
                                              const calc::CalcState& state) {
  if (!state.Calculated) return std::nullopt;
  ResponseSubject subject;
  subject.circuit = {state.R1, state.R2, state.R3, state.C1, state.C2};
  subject.analysed = {state.FoResult, state.QResult, state.HResult};
  calc::DesignTexts& design = subject.design;
  design.fo = form.Text(calc::Field::EditFo);
  design.q = form.Text(calc::Field::EditQ);
  design.h = form.Text(calc::Field::EditH);
  design.zref = form.Text(calc::Field::EditStdR);
  design.series_r = form.Text(calc::Field::ComboBoxER);
  design.series_c = form.Text(calc::Field::ComboBoxEC);
  design.lock = form.LockChecked();
  design.c2 = form.Text(calc::Field::EditC2);
  if (!IsPositive(subject.analysed.Fo) || !IsPositive(subject.analysed.Q)) return std::nullopt;
  subject.typed = {form.Text(calc::Field::EditR1), form.Text(calc::Field::EditR2),
                   form.Text(calc::Field::EditR3), form.Text(calc::Field::EditC1),
                   form.Text(calc::Field::EditC2)};
  subject.source = state.DesignMode ? SubjectSource::kDesign : SubjectSource::kAnalysis;
  if (subject.source != SubjectSource::kDesign) return subject;

  const double fo = calc::ParseQuantity(form.Text(calc::Field::EditFo));
  const double q = calc::ParseQuantity(form.Text(calc::Field::EditQ));
  const double gain = calc::GainOrUnity(calc::ParseQuantity(form.Text(calc::Field::EditH)));
  if (IsPositive(fo) && IsPositive(q) && IsPositive(gain)) {
    subject.target = calc::TransferFunction{fo, q, gain};
  }
  return subject;
}

}  // namespace ui
