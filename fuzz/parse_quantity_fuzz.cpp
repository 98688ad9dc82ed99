// Fuzzes ParseQuantity and ParseSeriesSize with hostile texts: huge, full of control
// characters, unpaired surrogates, full-width forms and thousands of commas. Besides "no
// crash, no hang, no undefined behaviour" it checks what must hold for every text:
// - ParseQuantity gives NaN or a finite number, never an infinity;
// - framing the text with control characters, or putting commas and spaces inside it,
//   changes nothing;
// - a plain number reads as the nearest double (as std::from_chars reads it) within the
//   exponent limits, and a malformed one, or one beyond the limits, as NaN;
// - a prefix letter after a plain number scales it exactly as its table says, and resistor
//   notation ("4k7") reads exactly as the decimal with the letter after it ("4.7k");
// - ParseSeriesSize agrees with a direct reading of its integer grammar.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/text/quantity_parse.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz_support::Describe;
using fuzz_support::Printable;
using fuzz_support::Require;

// Calls the parser on an exactly sized heap copy, so that reading one unit past the end
// of the text is caught by AddressSanitizer (a std::u16string would hide it behind its
// terminating zero).
template <typename Parse>
auto OnExactCopy(std::u16string_view text, Parse parse) {
  std::unique_ptr<char16_t[]> copy(new char16_t[text.size()]);
  std::copy(text.begin(), text.end(), copy.get());
  return parse(std::u16string_view(copy.get(), text.size()));
}

double Quantity(std::u16string_view text) {
  return OnExactCopy(text, [](std::u16string_view view) { return calc::ParseQuantity(view); });
}

bool SameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

bool IsNumberChar(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
}

// The text as the number reader sees it: controls trimmed, commas and spaces deleted.
std::u16string Core(std::u16string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= 0x20) ++begin;
  while (end > begin && text[end - 1] <= 0x20) --end;
  std::u16string core;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] != u',' && text[i] != u' ') core += text[i];
  }
  return core;
}

// The number grammar: sign, digits, optional fraction, optional exponent with at least
// one digit, and at least one digit before the exponent.
struct PlainNumber {
  std::string ascii;                // without a leading '+', for std::from_chars
  bool plain_integer;               // digits with an optional sign, nothing else
  long long exponent_digits_value;  // the exponent as written, without its sign (clamped)
  long long power_of_ten;           // exponent minus fraction digits (clamped)
};

std::optional<PlainNumber> ReadPlainNumber(std::u16string_view text) {
  std::size_t i = 0;
  PlainNumber number{{}, false, 0, 0};
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') number.ascii += '-';
    ++i;
  }
  long long mantissa_digits = 0, fraction_digits = 0;
  auto digit = [&](bool fraction) {
    number.ascii += static_cast<char>(text[i]);
    ++mantissa_digits;
    if (fraction) ++fraction_digits;
    ++i;
  };
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') digit(false);
  if (i < text.size() && text[i] == u'.') {
    number.ascii += '.';
    ++i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') digit(true);
  }
  if (mantissa_digits == 0) return std::nullopt;
  number.plain_integer = i == text.size() && number.ascii.find('.') == std::string::npos;
  long long exponent = 0;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    number.ascii += 'e';
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
      negative = text[i] == u'-';
      number.ascii += static_cast<char>(text[i]);
      ++i;
    }
    int exponent_digits = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
      exponent = std::min(exponent * 10 + (text[i] - u'0'), 1'000'000LL);
      number.ascii += static_cast<char>(text[i]);
      ++exponent_digits;
      ++i;
    }
    if (exponent_digits == 0) return std::nullopt;
    number.exponent_digits_value = exponent;
    if (negative) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;
  number.power_of_ten = exponent - fraction_digits;
  return number;
}

void CheckPlainNumber(std::u16string_view text, const std::u16string& core, double value) {
  const std::optional<PlainNumber> number = ReadPlainNumber(core);
  const auto context = [&] { return Printable(text) + " -> " + Describe(value); };
  if (!number) {
    Require(std::isnan(value), "a malformed number reads as NaN", context);
    return;
  }
  if (number->exponent_digits_value > 1024 || number->power_of_ten >= 632) {
    Require(std::isnan(value), "an exponent beyond the limits reads as NaN", context);
    return;
  }
  double expected = 0;
  const char* first = number->ascii.data();
  const char* last = first + number->ascii.size();
  const auto result = std::from_chars(first, last, expected);
  if (result.ec == std::errc::result_out_of_range) {
    Require(std::isnan(value) || value == 0, "a number out of range reads as NaN or zero", context);
    return;
  }
  if (result.ec != std::errc() || result.ptr != last) return;  // a form it does not take
  Require(SameDouble(value, expected), "a number reads as the nearest double",
          [&] { return context() + ", expected " + Describe(expected); });
}

// Each suffix after a plain number, with the exact scaling it must apply.
struct Suffix {
  std::u16string_view text;
  double factor;
  bool divide;
};
constexpr Suffix kSuffixes[] = {
    {u"p", 1e12, true},       {u"P", 1e12, true},     {u"\uFF50", 1e12, true},
    {u"n", 1e9, true},        {u"\uFF2E", 1e9, true}, {u"u", 1e6, true},
    {u"U", 1e6, true},        {u"\u03BC", 1e6, true}, {u"m", 1e3, true},
    {u"\uFF4D", 1e3, true},   {u"k", 1e3, false},     {u"K", 1e3, false},
    {u"\uFF4B", 1e3, false},  {u"M", 1e6, false},     {u"\uFF2D", 1e6, false},
    {u"g", 1e9, false},       {u"G", 1e9, false},     {u"t", 1e12, false},
    {u"\uFF34", 1e12, false}, {u"\tk", 1e3, false},   {u"kOhm", 1e3, false},
    {u"\u00B5", 1e6, true},   {u"\u3000k", 1, false}, {u"H", 1, false},
    {u"\u2126", 1, false},    {u"\xD800", 1, false},
};

void CheckPrefixes(std::u16string_view text, double value) {
  for (const Suffix& suffix : kSuffixes) {
    const std::u16string scaled_text = std::u16string(text) + std::u16string(suffix.text);
    const double scaled = Quantity(scaled_text);
    double expected = suffix.divide ? value / suffix.factor : value * suffix.factor;
    if (std::isinf(expected)) expected = std::numeric_limits<double>::quiet_NaN();
    Require(SameDouble(scaled, expected), "a prefix letter scales exactly", [&] {
      return Printable(scaled_text) + " -> " + Describe(scaled) + ", expected " +
             Describe(expected);
    });
  }
}

// Resistor notation after a plain integer: "4k7" reads exactly as "4.7k", "4R7" as "4.7".
void CheckResistorNotation(std::u16string_view text) {
  constexpr std::u16string_view kLetters[] = {u"k",      u"M",      u"n", u"p",
                                              u"\u00B5", u"\uFF4B", u"R", u"r"};
  for (std::u16string_view letter : kLetters) {
    const std::u16string coded = std::u16string(text) + std::u16string(letter) + u"47";
    const bool scales = letter != u"R" && letter != u"r";
    const std::u16string decimal =
        std::u16string(text) + u".47" + (scales ? std::u16string(letter) : std::u16string());
    const double coded_value = Quantity(coded);
    const double decimal_value = Quantity(decimal);
    Require(SameDouble(coded_value, decimal_value), "resistor notation reads as the decimal", [&] {
      return Printable(coded) + " -> " + Describe(coded_value) + ", " + Printable(decimal) +
             " -> " + Describe(decimal_value);
    });
  }
}

void CheckFramingIsIgnored(std::u16string_view text, double value) {
  const std::u16string framed = u"\t \r\n" + std::u16string(text) + u" \x01\x1F";
  const double framed_value = Quantity(framed);
  Require(SameDouble(framed_value, value), "control characters around the text are ignored", [&] {
    return Printable(framed) + " -> " + Describe(framed_value) + ", unframed " + Describe(value);
  });

  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= 0x20) ++begin;
  while (end > begin && text[end - 1] <= 0x20) --end;
  if (begin == end) return;
  // A comma before the first character and "," or " ," between all the others.
  std::u16string spread(text.substr(0, begin));
  spread += u',';
  for (std::size_t i = begin; i < end; ++i) {
    if (i > begin) spread += (i % 2 == 0) ? u"," : u" ,";
    spread += text[i];
  }
  spread += text.substr(end);
  const double spread_value = Quantity(spread);
  Require(SameDouble(spread_value, value), "commas and spaces inside the text are ignored", [&] {
    return Printable(spread) + " -> " + Describe(spread_value) + ", plain " + Describe(value);
  });
}

// ParseSeriesSize's grammar read directly: leading spaces, a sign, then decimal digits or
// a hexadecimal number after "$", "x", "X", "0x" or "0X", and nothing after the digits.
// The sign applies to a hexadecimal 32-bit pattern in wrapping arithmetic.
std::int32_t ReferenceSeriesSize(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  bool hex = false;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' &&
             (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return 0;
  std::uint64_t magnitude = 0;
  int significant = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    int digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (hex && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (hex && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return 0;
    }
    if (magnitude != 0 || digit != 0) ++significant;
    if (hex && significant > 8) return 0;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (!hex && magnitude > 2'147'483'648ull) return 0;
  }
  if (hex) {
    const std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  if (magnitude > 2'147'483'647ull) return 0;
  return static_cast<std::int32_t>(magnitude);
}

void CheckSeriesSize(std::u16string_view text) {
  const std::int32_t size =
      OnExactCopy(text, [](std::u16string_view view) { return calc::ParseSeriesSize(view); });
  const std::int32_t expected = ReferenceSeriesSize(text);
  Require(size == expected, "ParseSeriesSize reads whole numbers and nothing else", [&] {
    return Printable(text) + " -> " + std::to_string(size) + ", expected " +
           std::to_string(expected);
  });
}

void CheckText(std::u16string_view text) {
  const double value = Quantity(text);
  Require(!std::isinf(value), "ParseQuantity gives NaN or a finite number",
          [&] { return Printable(text) + " -> " + Describe(value); });
  if (!std::isnan(value)) {
    Require(
        std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }),
        "a number needs an ASCII digit",
        [&] { return Printable(text) + " -> " + Describe(value); });
  }
  CheckSeriesSize(text);
  // Huge texts are there to show that one parse takes linear time; the checks below parse
  // the text dozens of times and find nothing there that a text of a few thousand units
  // would not show.
  if (text.size() > 4096) return;
  CheckFramingIsIgnored(text, value);

  const std::u16string core = Core(text);
  if (!core.empty() && std::all_of(core.begin(), core.end(), IsNumberChar)) {
    CheckPlainNumber(text, core, value);
    if (!std::isnan(value)) CheckPrefixes(text, value);
    const std::optional<PlainNumber> number = ReadPlainNumber(core);
    if (number && number->plain_integer && text.back() > 0x20) CheckResistorNotation(text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const std::u16string& text : fuzz_support::DecodeTexts(data, size, 2)) CheckText(text);
  return 0;
}
