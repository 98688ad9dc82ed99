#include "calc/studies/setting_texts.h"

#include <cmath>

#include "calc/text/quantity_parse.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

bool IsBlank(char16_t c) { return c <= u' ' || c == u'\u3000'; }

}  // namespace

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

Outcome<double> ParsePercent(std::u16string_view text) {
  std::u16string_view number = TrimBlanks(text);
  if (!number.empty() && (number.back() == u'%' || number.back() == u'％')) {
    number.remove_suffix(1);
  }
  const double percent = ParseQuantity(number);
  if (std::isnan(percent)) return Diagnostic{Problem::kNotANumber, {Utf16ToUtf8(text)}};
  return percent / 100.0;
}

Outcome<double> ParsePositiveQuantity(std::u16string_view text) {
  const double value = ParseQuantity(text);
  if (!(std::isfinite(value) && value > 0.0)) {
    return Diagnostic{Problem::kNotPositive, {Utf16ToUtf8(text)}};
  }
  return value;
}

}  // namespace calc
