// Fixed-point texts are built from an 18-digit decimal form of the magnitude, and the
// rounding half away from zero is decided on those digits, never on the binary value.
// That is why 1.0005 (held as 1.000499999...) still shows as "1.001": the 18-digit form
// of its double is 100050000000000000. The texts are assembled as ASCII in a buffer on
// the stack and widened once at the end.
#include "calc/text/quantity_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "calc/numeric/exact_powers_of_ten.h"

namespace calc {
namespace {

// Callers outside the program may ask for anything; these bounds keep every text and
// its allocation small. More places than this show nothing a double holds anyway.
constexpr int kMaxDecimals = 1000;
constexpr int kMaxWidth = 1024;

constexpr int kFormDigits = 18;   // digits of the decimal form
constexpr int kMaxRetained = 17;  // significant digits a text may show

// 10^0 .. 10^18 as integers, for rounding the 18-digit form.
constexpr auto kIntegerPowersOfTen = [] {
  std::array<std::uint64_t, kFormDigits + 1> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& entry : powers) {
    entry = power;
    power *= 10;
  }
  return powers;
}();

// Floor division by 2^16 for the digit-count estimate, negative products included.
int FloorDiv65536(int numerator) {
  return numerator >= 0 ? numerator / 65536 : -((-numerator + 65535) / 65536);
}

// magnitude × 10^power rounded once to the nearest double. Inside the range of exact
// powers of ten one IEEE operation does that. Outside it, the magnitude's exact decimal
// expansion (at most 767 significant digits) is shifted by the power in text and read
// back, which rounds the exact product once as well.
double ScaledByPowerOfTen(double magnitude, int power) {
  if (power >= 0 && power <= kExactPowerLimit) return magnitude * kExactPowersOfTen[power];
  if (power < 0 && -power <= kExactPowerLimit) return magnitude / kExactPowersOfTen[-power];

  std::array<char, 800> text{};
  const auto written = std::to_chars(text.data(), text.data() + text.size() - 8, magnitude,
                                     std::chars_format::scientific, 770);
  char* exponent_mark = std::find(text.data(), written.ptr, 'e');
  int exponent = 0;
  std::from_chars(exponent_mark + (exponent_mark[1] == '+' ? 2 : 1), written.ptr, exponent);
  const auto shifted =
      std::to_chars(exponent_mark + 1, text.data() + text.size(), exponent + power);
  double product = 0.0;
  std::from_chars(text.data(), shifted.ptr, product);
  return product;
}

// The digits a fixed-point text shows: `digits[0 .. count)` are significant, the first
// one standing at the place 10^(integer_digits - 1). No digits means the value is zero.
struct RoundedDigits {
  std::array<char, kFormDigits> digits{};
  int count = 0;
  int integer_digits = 0;
};

// The magnitude rounded half away from zero at `decimals` places, decided on its
// 18-digit decimal form; at most 17 significant digits are kept.
RoundedDigits RoundToDecimals(double magnitude, int decimals) {
  RoundedDigits rounded;
  if (magnitude == 0.0) return rounded;

  // E estimates the count of integer digits; it may come out one too small, which the
  // check on m below corrects.
  int e = FloorDiv65536(std::ilogb(magnitude) * 19728) + 1;
  if (e + 1 + decimals < 0) return rounded;  // no digit is kept even if e is one too small

  // The product lies between 10^16 and 10^19, where every double is a whole number, so
  // rounding it to an integer changes nothing.
  double m = ScaledByPowerOfTen(magnitude, kFormDigits - e);
  if (m >= 1e18) {
    m = m / 10.0;
    ++e;
  }
  const int keep = std::min(e + decimals, kMaxRetained);
  if (keep < 0) return rounded;

  // Rounding half away from zero on the 18 digits of m, done on the integer: digit
  // keep + 1 is 5 or more exactly when the dropped part reaches half of the unit kept.
  const auto whole = static_cast<std::uint64_t>(m);  // m < 10^18
  const std::uint64_t unit = kIntegerPowersOfTen[kFormDigits - keep];
  std::uint64_t kept = whole / unit;
  if (whole % unit >= unit / 2) ++kept;
  if (kept == 0) return rounded;  // only zeros retained: the value is zero
  rounded.integer_digits = e;
  if (kept == kIntegerPowersOfTen[keep]) {  // carried out of the first digit: a single 1
    rounded.digits[0] = '1';
    rounded.count = 1;
    ++rounded.integer_digits;
    return rounded;
  }
  rounded.count = keep;
  for (int i = keep - 1; i >= 0; --i) {
    rounded.digits[i] = static_cast<char>('0' + kept % 10);
    kept /= 10;
  }
  return rounded;
}

// Room for a sign, 17 integer digits, the point and the most decimals, or an exponent form.
using TextBuffer = std::array<char, kMaxDecimals + 32>;

// Writes "1E018" or "-1.5E017": the digits with trailing zeros dropped, then E and the
// power of ten of the first digit with at least three digits.
char* WriteExponentForm(const RoundedDigits& rounded, char* out) {
  int shown = rounded.count;
  while (shown > 1 && rounded.digits[shown - 1] == '0') --shown;
  *out++ = rounded.digits[0];
  if (shown > 1) {
    *out++ = '.';
    out = std::copy(rounded.digits.begin() + 1, rounded.digits.begin() + shown, out);
  }
  *out++ = 'E';
  const int power = rounded.integer_digits - 1;
  *out++ = static_cast<char>('0' + power / 100 % 10);
  *out++ = static_cast<char>('0' + power / 10 % 10);
  *out++ = static_cast<char>('0' + power % 10);
  return out;
}

char* WriteFixedForm(const RoundedDigits& rounded, int decimals, char* out) {
  const auto digit_at = [&rounded](int index) {  // 0 beyond the retained digits
    return index >= 0 && index < rounded.count ? rounded.digits[index] : '0';
  };
  const int e = rounded.integer_digits;
  if (rounded.count == 0 || e <= 0) {
    *out++ = '0';
  } else {
    for (int i = 0; i < e; ++i) *out++ = digit_at(i);
  }
  if (decimals == 0) return out;
  *out++ = '.';
  // Decimal place j (1-based) holds digit index e + j - 1; negative indexes are the
  // zeros between the point and the first significant digit.
  for (int place = 1; place <= decimals; ++place) *out++ = digit_at(e + place - 1);
  return out;
}

// The value's fixed-point (or, from 10^17 on, exponent-form) text, unpadded, as ASCII.
std::string_view WriteNumber(double value, int decimals, TextBuffer& buffer) {
  char* out = buffer.data();
  if (std::isinf(value)) {
    return value < 0 ? "-INF" : "INF";
  }
  if (std::isnan(value)) return "NAN";
  const RoundedDigits rounded = RoundToDecimals(std::fabs(value), decimals);
  if (rounded.count != 0 && std::signbit(value)) *out++ = '-';
  if (rounded.integer_digits > kMaxRetained && rounded.count != 0) {
    out = WriteExponentForm(rounded, out);
  } else {
    out = WriteFixedForm(rounded, decimals, out);
  }
  return std::string_view(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
}

// The number filled with spaces on the left to `width` characters, then the suffix.
std::u16string Padded(std::string_view number, int width, std::u16string_view suffix) {
  const std::size_t filled =
      std::max(number.size(), static_cast<std::size_t>(std::clamp(width, 0, kMaxWidth)));
  // Sized once and written in place: this runs for every result a command shows.
  std::u16string text(filled + suffix.size(), u' ');
  char16_t* out = text.data() + (filled - number.size());
  out = std::copy(number.begin(), number.end(), out);
  std::copy(suffix.begin(), suffix.end(), out);
  return text;
}

struct SiPrefix {
  double scale;  // the double nearest the power of ten: 1e-9 is not exact
  std::u16string_view symbol;
};

constexpr std::array<SiPrefix, 9> kPrefixes = {{{1e-12, u"p"},
                                                {1e-9, u"n"},
                                                {1e-6, u"u"},
                                                {1e-3, u"m"},
                                                {1.0, u""},
                                                {1e3, u"k"},
                                                {1e6, u"M"},
                                                {1e9, u"G"},
                                                {1e12, u"T"}}};
constexpr std::size_t kNoPrefix = 4;

// The prefix for a magnitude, chosen before any rounding: the largest whose scale the
// magnitude reaches, pico below that, tera above.
std::size_t PrefixIndexFor(double magnitude) {
  if (magnitude == 0.0 || std::isinf(magnitude)) return kNoPrefix;
  std::size_t index = 0;
  while (index + 1 < kPrefixes.size() && magnitude >= kPrefixes[index + 1].scale) ++index;
  return index;
}

}  // namespace

std::u16string FormatFixed(double value, int width, int decimals) {
  TextBuffer buffer;
  const std::string_view number = WriteNumber(value, std::clamp(decimals, 0, kMaxDecimals), buffer);
  return Padded(number, width, u"");
}

std::u16string FormatQuantity(double value, int width, int decimals) {
  if (std::isnan(value)) return u"";
  const SiPrefix& prefix = kPrefixes[PrefixIndexFor(std::fabs(value))];
  TextBuffer buffer;
  const std::string_view number =
      WriteNumber(value / prefix.scale, std::clamp(decimals, 0, kMaxDecimals), buffer);
  // The number fills width - 1 characters and the prefix letter follows it.
  return Padded(number, std::clamp(width, 1, kMaxWidth) - 1, prefix.symbol);
}

}  // namespace calc
