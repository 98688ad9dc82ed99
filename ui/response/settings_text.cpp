#include "ui/response/settings_text.h"

#include <cmath>

#include "calc/text/quantity_format.h"

namespace ui {

std::u16string PercentError(double value, double reference) {
  if (!std::isfinite(value) || !std::isfinite(reference) || reference == 0.0) return {};
  const double error = (value - reference) / reference * 100.0;
  std::u16string text = calc::FormatFixed(error, 0, 3);
  if (text.front() != u'-') text.insert(text.begin(), u'+');
  return text + u" %";
}

}  // namespace ui
