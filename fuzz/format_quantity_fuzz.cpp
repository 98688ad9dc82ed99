// Fuzzes FormatQuantity over every finite double (bit patterns, and decimal numbers that
// land on rounding halves and prefix boundaries). For each value the text must
// - have the designed shape: padded on the left to seven characters, an optional minus
//   sign, the integer digits, one full stop and three decimals, then the prefix letter
//   the magnitude calls for; or, from 1e29 on, the exponent form such as "  1E018T";
// - read back through ParseQuantity to the value, within half a unit of the last decimal
//   of the written prefix (plus the reader's own rounding).
// Infinities and NaN are formatted too, where nothing is checked but the absence of a crash.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz_support::Describe;
using fuzz_support::Printable;
using fuzz_support::Require;

// Prefix boundaries and letters; index 4 is "no prefix".
constexpr double kScales[9] = {1e-12, 1e-9, 1e-6, 1e-3, 1, 1e3, 1e6, 1e9, 1e12};
constexpr char16_t kLetters[9] = {u'p', u'n', u'u', u'm', 0, u'k', u'M', u'G', u'T'};

int PrefixIndex(double value) {
  if (value == 0) return 4;
  const double magnitude = std::fabs(value);
  int index = 0;
  while (index < 8 && magnitude >= kScales[index + 1]) ++index;
  return index;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

struct Shape {
  bool ok = false;
  bool exponent_form = false;
  bool negative = false;
  bool all_zero = true;  // every digit written is 0
};

// Reads "  -12.345" or "-1.25E031" (the text without its prefix letter).
Shape ReadNumberText(std::u16string_view text) {
  Shape shape;
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i > 0 && text.size() != 7) return shape;  // padding only up to seven characters
  if (text.size() < 7) return shape;
  if (i < text.size() && text[i] == u'-') {
    shape.negative = true;
    ++i;
  }
  const std::size_t int_begin = i;
  while (i < text.size() && IsDigit(text[i])) {
    if (text[i] != u'0') shape.all_zero = false;
    ++i;
  }
  const std::size_t int_digits = i - int_begin;
  if (int_digits == 0) return shape;
  if (int_digits > 1 && text[int_begin] == u'0') return shape;  // no leading zeros

  if (i < text.size() && text[i] == u'E') {
    // Exponent form without fraction: one digit, 'E', at least three exponent digits.
    shape.exponent_form = true;
  } else {
    if (i == text.size() || text[i] != u'.') return shape;
    ++i;
    const std::size_t fraction_begin = i;
    while (i < text.size() && IsDigit(text[i])) {
      if (text[i] != u'0') shape.all_zero = false;
      ++i;
    }
    const std::size_t fraction_digits = i - fraction_begin;
    if (i == text.size()) {
      shape.ok = fraction_digits == 3;
      return shape;
    }
    if (text[i] != u'E') return shape;
    // Exponent form with fraction: 1 to 16 digits, the last one not 0.
    shape.exponent_form = true;
    if (fraction_digits == 0 || fraction_digits > 16 || text[i - 1] == u'0') return shape;
  }
  if (int_digits != 1 || text[int_begin] == u'0') return shape;
  ++i;  // 'E'
  const std::size_t exponent_begin = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::size_t exponent_digits = i - exponent_begin;
  if (i != text.size() || exponent_digits < 3) return shape;
  if (exponent_digits > 3 && text[exponent_begin] == u'0') return shape;
  shape.ok = true;
  return shape;
}

void CheckFinite(double value) {
  const std::u16string text = calc::FormatQuantity(value, 8, 3);
  const auto context = [&] { return Describe(value) + " -> " + Printable(text); };
  const int index = PrefixIndex(value);

  std::u16string_view number = text;
  if (kLetters[index] != 0) {
    Require(!number.empty() && number.back() == kLetters[index],
            "the prefix letter is the one the magnitude calls for", context);
    number.remove_suffix(1);
  }
  const Shape shape = ReadNumberText(number);
  Require(shape.ok, "the text has the designed shape", context);
  if (shape.exponent_form) {
    Require(index == 8 && std::fabs(value) >= 9.9e28,
            "only magnitudes of about 1e29 and more take the exponent form", context);
  } else {
    Require(index != 8 || std::fabs(value) < 1.0001e29,
            "magnitudes from 1e29 on take the exponent form", context);
  }
  Require(!(shape.negative && shape.all_zero), "a value that rounds to zero has no minus sign",
          context);
  Require(shape.negative == (value < 0 && !shape.all_zero),
          "a minus sign exactly for negative values", context);

  const double read_back = calc::ParseQuantity(text);
  if (std::isnan(read_back)) {
    // The only text whose rounded value lies beyond the largest double.
    const std::u16string_view beyond = u"1.7976931348623158E296T";
    Require(number.substr(shape.negative ? 1 : 0) == beyond.substr(0, beyond.size() - 1) &&
                text.back() == u'T',
            "the text reads back as a number", context);
    return;
  }
  const double allowed = shape.exponent_form ? 1e-15 * std::fabs(value)
                                             : 0.0005 * kScales[index] + 1e-15 * std::fabs(value);
  Require(std::fabs(read_back - value) <= allowed, "the text reads back to the value",
          [&] { return context() + " reads back as " + Describe(read_back); });
}

// FormatFixed takes any width and any count of decimals from an outside caller: it must
// stay safe and small (widths beyond 1024 and decimals beyond 1000 are clamped), fill to
// the width, and write exactly the decimals asked for.
void CheckAnyLayout(double value, const std::uint8_t* bytes) {
  std::int16_t width, decimals;
  std::memcpy(&width, bytes, sizeof width);
  std::memcpy(&decimals, bytes + 2, sizeof decimals);
  const std::u16string text = calc::FormatFixed(value, width, decimals);
  const auto context = [&] {
    return "FormatFixed(" + Describe(value) + ", " + std::to_string(width) + ", " +
           std::to_string(decimals) + ") -> " + Printable(text);
  };
  Require(text.size() >= static_cast<std::size_t>(std::clamp<int>(width, 0, 1024)),
          "the text fills the width", context);
  Require(text.size() <= 1024 + 1000 + 400, "the text stays small", context);
  if (!std::isfinite(value)) return;
  const std::size_t point = text.find(u'.');
  const std::size_t exponent = text.find(u'E');
  if (exponent != std::u16string::npos) return;  // from 1e17 on: the exponent form
  const int expected = std::clamp<int>(decimals, 0, 1000);
  if (expected == 0) {
    Require(point == std::u16string::npos, "no decimals, no point", context);
  } else {
    Require(point != std::u16string::npos &&
                text.size() - point - 1 == static_cast<std::size_t>(expected),
            "exactly the decimals asked for", context);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t used = 0;
  const double value = fuzz_support::DecodeDouble(data, size, used);
  if (std::isfinite(value)) {
    CheckFinite(value);
  } else {
    const std::u16string text = calc::FormatQuantity(value, 8, 3);
    if (std::isnan(value)) {
      Require(text.empty(), "NaN is written as the empty text", [&] { return Printable(text); });
    }
  }
  if (size >= used + 4) CheckAnyLayout(value, data + used);
  return 0;
}
