#include "calc/studies/stage_op_amp.h"

#include <cmath>

namespace calc {
namespace {

bool Known(double value) { return !std::isnan(value); }

double OrZero(double value) { return Known(value) ? value : 0.0; }

}  // namespace

StageOpAmp StageOpAmpOf(const OpAmpPart& part) {
  StageOpAmp op_amp;
  op_amp.name = part.name;
  op_amp.gbw_hz = part.gbw_hz;
  op_amp.a0 = part.a0;
  if (Known(part.cin_diff_f) || Known(part.cin_cm_f)) {
    op_amp.cin_f = OrZero(part.cin_diff_f) + OrZero(part.cin_cm_f);
  }
  op_amp.en_v_rthz = part.en_v_rthz;
  op_amp.en_corner_hz = part.en_corner_hz;
  op_amp.in_a_rthz = part.in_a_rthz;
  op_amp.in_corner_hz = part.in_corner_hz;
  op_amp.slew_v_per_s = part.slew_v_per_s;
  op_amp.swing_low_v = part.swing_low_v;
  op_amp.swing_high_v = part.swing_high_v;
  op_amp.output_current_a = part.output_current_a;
  op_amp.supply_min_v = part.supply_min_v;
  op_amp.supply_max_v = part.supply_max_v;
  return op_amp;
}

StageOpAmp WithTypedFigures(StageOpAmp base, const StageOpAmp& typed) {
  bool changed = false;
  const auto take = [&changed](double& figure, double typed_figure) {
    if (Known(typed_figure) && !(figure == typed_figure)) {
      figure = typed_figure;
      changed = true;
    }
  };
  take(base.gbw_hz, typed.gbw_hz);
  take(base.a0, typed.a0);
  take(base.cin_f, typed.cin_f);
  take(base.en_v_rthz, typed.en_v_rthz);
  take(base.en_corner_hz, typed.en_corner_hz);
  take(base.in_a_rthz, typed.in_a_rthz);
  take(base.in_corner_hz, typed.in_corner_hz);
  take(base.slew_v_per_s, typed.slew_v_per_s);
  take(base.swing_low_v, typed.swing_low_v);
  take(base.swing_high_v, typed.swing_high_v);
  take(base.output_current_a, typed.output_current_a);
  take(base.supply_min_v, typed.supply_min_v);
  take(base.supply_max_v, typed.supply_max_v);
  if (changed) base.name.clear();
  return base;
}

std::optional<OpAmp> OpAmpModelOf(const StageOpAmp& op_amp) {
  if (!Known(op_amp.gbw_hz) || !Known(op_amp.a0)) return std::nullopt;
  return OpAmp{op_amp.a0, op_amp.gbw_hz, OrZero(op_amp.cin_f)};
}

OpAmpNoise OpAmpNoiseOf(const StageOpAmp& op_amp) {
  return {OrZero(op_amp.en_v_rthz), OrZero(op_amp.en_corner_hz), OrZero(op_amp.in_a_rthz),
          OrZero(op_amp.in_corner_hz)};
}

OutputLimits OutputLimitsOf(const StageOpAmp& op_amp, double supply_v) {
  OutputLimits limits;
  limits.supply_v = supply_v;
  limits.swing_low_v = OrZero(op_amp.swing_low_v);
  limits.swing_high_v = OrZero(op_amp.swing_high_v);
  limits.slew_v_per_s = op_amp.slew_v_per_s;
  limits.output_current_a = op_amp.output_current_a;
  return limits;
}

}  // namespace calc
