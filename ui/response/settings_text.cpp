#include "ui/response/settings_text.h"

#include <cmath>
#include <limits>

#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"

namespace ui {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

std::u16string_view TrimRight(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

double ParsePositive(std::u16string_view text) {
  const double value = calc::ParseQuantity(text);
  return std::isfinite(value) && value > 0.0 ? value : std::numeric_limits<double>::quiet_NaN();
}

double ParseTolerance(std::u16string_view text) {
  std::u16string_view trimmed = TrimRight(text);
  double scale = 1.0;
  if (!trimmed.empty() && (trimmed.back() == u'%' || trimmed.back() == u'\uFF05')) {
    trimmed.remove_suffix(1);
    scale = 100.0;
  }
  // A prefix letter after a percentage ("1k%") makes no sense but reads as a number;
  // the fraction must still be below one to be a tolerance.
  const double value = ParsePositive(trimmed) / scale;
  return value < 1.0 ? value : std::numeric_limits<double>::quiet_NaN();
}

std::u16string PercentError(double value, double reference) {
  if (!std::isfinite(value) || !std::isfinite(reference) || reference == 0.0) return {};
  const double error = (value - reference) / reference * 100.0;
  std::u16string text = calc::FormatFixed(error, 0, 3);
  if (text.front() != u'-') text.insert(text.begin(), u'+');
  return text + u" %";
}

}  // namespace ui
