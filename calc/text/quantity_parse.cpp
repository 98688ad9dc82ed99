// Typed quantities are read in one pass over the text, without building a cleaned copy:
// a cursor steps over the digit-grouping commas and spaces, a small state machine checks
// the number's grammar as its characters arrive, and only the number itself is copied (as
// plain ASCII) for std::from_chars, which gives the nearest double. The pass stops at the
// first character it no longer needs, so any text, however long or hostile, costs linear
// time and no recursion; short texts need no heap memory.
#include "calc/text/quantity_parse.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "calc/numeric/exact_powers_of_ten.h"
#include "calc/numeric/quantity.h"

namespace calc {
namespace {

// An exponent written with more than this value is refused while it is read, so that a
// long run of exponent digits can never overflow the count.
constexpr int kMaxExponentDigitsValue = 1024;
// Exponent minus fraction digits: from here on no digits can make a representable value,
// and the text is refused whatever its digits are (zero included).
constexpr std::int64_t kFirstRefusedPowerOfTen = 632;

// Integers up to 2^53 are exact doubles, as are the powers of ten up to 10^22.
constexpr std::uint64_t kLargestExactInteger = std::uint64_t{1} << 53;

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Everything at or below the space: spaces, tabs, line breaks and other control characters.
bool IsBlankOrControl(char16_t c) { return c <= u' '; }

bool IsNumberChar(char16_t c) {
  return IsAsciiDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
}

// Walks the text as if every comma and space had been deleted from it: digit grouping
// ("1,000", "1 000 000") and stray spaces ("2 . 2 n") vanish wherever they stand.
class GroupingFreeCursor {
 public:
  GroupingFreeCursor(const char16_t* begin, const char16_t* end) : next_(begin), end_(end) {
    SkipDeleted();
  }
  bool AtEnd() const { return next_ == end_; }
  char16_t Peek() const { return *next_; }
  void Advance() {
    ++next_;
    SkipDeleted();
  }

 private:
  void SkipDeleted() {
    while (next_ != end_ && (*next_ == u',' || *next_ == u' ')) ++next_;
  }

  const char16_t* next_;
  const char16_t* end_;
};

// The number as ASCII for std::from_chars: inline for typical texts, on the heap only
// once it outgrows the inline space (megabytes of typed digits still read correctly).
class AsciiNumber {
 public:
  void Append(char c) {
    if (heap_.empty() && size_ < inline_.size()) {
      inline_[size_++] = c;
      return;
    }
    AppendToHeap(c);
  }
  void Append(std::int64_t value) {
    std::array<char, 24> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    for (const char* c = digits.data(); c != written.ptr; ++c) Append(*c);
  }
  const char* begin() const { return heap_.empty() ? inline_.data() : heap_.data(); }
  const char* end() const {
    return heap_.empty() ? inline_.data() + size_ : heap_.data() + heap_.size();
  }

 private:
  // Kept out of line so that the common inline step stays small enough to inline.
  [[gnu::noinline]] void AppendToHeap(char c) {
    if (heap_.empty()) heap_.assign(inline_.data(), size_);
    heap_.push_back(c);
  }

  std::array<char, 64> inline_{};
  std::size_t size_ = 0;
  std::string heap_;
};

// Reads the number part: an optional sign, digits with an optional full stop, and an
// optional exponent (E or e, optional sign, digits). At least one digit must stand before
// the exponent. Feed it every character of the run of number characters; any character
// that does not fit the grammar makes the whole number fail.
class DecimalNumberReader {
 public:
  // c is one of the number characters. False once the number can no longer be valid; the
  // caller may stop feeding then.
  bool Feed(char16_t c) {
    if (IsAsciiDigit(c)) return FeedDigit(static_cast<char>(c));
    switch (c) {
      case u'+':
      case u'-':
        return FeedSign(c == u'-');
      case u'.':
        return FeedPoint();
      default:  // e or E
        return FeedExponentMark();
    }
  }

  // A plain integer, "47" or "-4": its digits may be followed by a resistor-code fraction.
  bool IsPlainInteger() const { return state_ == State::kIntegerDigits; }

  // Digits standing after a prefix letter in resistor notation ("4k7"): they are read as
  // the fraction of the integer before the letter.
  void AppendFractionDigit(char digit) {
    if (state_ == State::kIntegerDigits) {
      ascii_.Append('.');
      state_ = State::kFractionDigits;
    }
    FeedDigit(digit);
  }

  // The value rounded to the nearest double; NaN when the grammar or the range limits
  // refuse the number. A value below the smallest subnormal becomes zero with its sign.
  // Called once, after the last character: it completes the ASCII copy with the exponent.
  double Value() {
    if (!valid_ || mantissa_digits_ == 0) return kNoValue;
    if (state_ == State::kExponentStart || state_ == State::kExponentSign) return kNoValue;
    const std::int64_t exponent = exponent_negative_ ? -exponent_ : exponent_;
    const std::int64_t power_of_ten = exponent - fraction_digits_;
    if (power_of_ten >= kFirstRefusedPowerOfTen) return kNoValue;
    if (small_mantissa_ <= kLargestExactInteger && power_of_ten >= -kExactPowerLimit &&
        power_of_ten <= kExactPowerLimit) {
      // Both operands are exact doubles, so the one rounding of the multiplication or
      // division gives the nearest double: the common short texts need no from_chars.
      const double mantissa = static_cast<double>(small_mantissa_);
      const double value = power_of_ten >= 0 ? mantissa * kExactPowersOfTen[power_of_ten]
                                             : mantissa / kExactPowersOfTen[-power_of_ten];
      return negative_ ? -value : value;
    }
    if (exponent != 0) {
      ascii_.Append('e');
      ascii_.Append(exponent);
    }
    double value = 0.0;
    const auto result = std::from_chars(ascii_.begin(), ascii_.end(), value);
    if (result.ec == std::errc::result_out_of_range) {
      // from_chars does not say which way the range was left; the place of the first
      // significant digit does (a number that underflows has at least its first digit
      // after the point).
      if (LeadingDigitPowerOfTen(exponent) > 0) return kNoValue;
      return negative_ ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != ascii_.end() || !std::isfinite(value)) {
      return kNoValue;
    }
    return value;
  }

 private:
  enum class State {
    kStart,           // nothing yet
    kSign,            // after the leading sign
    kIntegerDigits,   // in the digits before the point
    kFractionDigits,  // after the point
    kExponentStart,   // after E or e
    kExponentSign,    // after the exponent's sign
    kExponentDigits,  // in the exponent's digits
  };

  bool Fail() {
    valid_ = false;
    return false;
  }

  bool FeedDigit(char digit) {
    switch (state_) {
      case State::kStart:
      case State::kSign:
        state_ = State::kIntegerDigits;
        [[fallthrough]];
      case State::kIntegerDigits:
        NoteSignificantDigit(digit, integer_digits_, true);
        ++integer_digits_;
        break;
      case State::kFractionDigits:
        NoteSignificantDigit(digit, fraction_digits_, false);
        ++fraction_digits_;
        break;
      case State::kExponentStart:
      case State::kExponentSign:
        state_ = State::kExponentDigits;
        [[fallthrough]];
      case State::kExponentDigits:
        // Leading zeros keep the value at zero however many there are.
        exponent_ = exponent_ * 10 + (digit - '0');
        if (exponent_ > kMaxExponentDigitsValue) return Fail();
        return true;
    }
    ++mantissa_digits_;
    ascii_.Append(digit);
    if (small_mantissa_ <= kLargestExactInteger)
      small_mantissa_ = small_mantissa_ * 10 + (digit - '0');
    return true;
  }

  bool FeedSign(bool negative) {
    if (state_ == State::kStart) {
      state_ = State::kSign;
      negative_ = negative;
      if (negative) ascii_.Append('-');  // from_chars takes no plus sign
      return true;
    }
    if (state_ == State::kExponentStart) {
      state_ = State::kExponentSign;
      exponent_negative_ = negative;
      return true;
    }
    return Fail();
  }

  bool FeedPoint() {
    if (state_ != State::kStart && state_ != State::kSign && state_ != State::kIntegerDigits) {
      return Fail();
    }
    if (integer_digits_ == 0) ascii_.Append('0');
    ascii_.Append('.');
    state_ = State::kFractionDigits;
    return true;
  }

  bool FeedExponentMark() {
    if (mantissa_digits_ == 0) return Fail();
    if (state_ != State::kIntegerDigits && state_ != State::kFractionDigits) return Fail();
    state_ = State::kExponentStart;
    return true;
  }

  void NoteSignificantDigit(char digit, std::int64_t index, bool in_integer_part) {
    if (digit == '0' || has_significant_digit_) return;
    has_significant_digit_ = true;
    significant_index_ = index;
    significant_in_integer_part_ = in_integer_part;
  }

  // The power of ten of the first significant digit's place (1 for "12", -1 for "0.05").
  std::int64_t LeadingDigitPowerOfTen(std::int64_t exponent) const {
    if (!has_significant_digit_) return std::numeric_limits<std::int64_t>::min();
    if (significant_in_integer_part_) return integer_digits_ - 1 - significant_index_ + exponent;
    return exponent - (significant_index_ + 1);
  }

  State state_ = State::kStart;
  bool valid_ = true;
  bool negative_ = false;
  bool exponent_negative_ = false;
  std::int64_t integer_digits_ = 0;
  std::int64_t fraction_digits_ = 0;
  std::int64_t mantissa_digits_ = 0;
  // The mantissa's digits as an integer while it stays exact in a double; once above
  // 2^53 it is no longer used (and stops growing before it could overflow).
  std::uint64_t small_mantissa_ = 0;
  std::int64_t exponent_ = 0;
  bool has_significant_digit_ = false;
  bool significant_in_integer_part_ = false;
  std::int64_t significant_index_ = 0;
  AsciiNumber ascii_;
};

// The SI prefixes a value may carry, each with the letters typed for it. Case matters
// only between m (milli) and M (mega); upper-case P is pico too. What an input method
// types is read as these letters first (see TableSpelling); no other letter is a prefix.
struct SiPrefix {
  std::u16string_view letters;  // ASCII, and the micro sign
  double power_of_ten;          // an exact double
  // Small prefixes divide by their power of ten, so that "22n" is exactly 22 / 1e9 and
  // not 22 times the inexact double nearest 1e-9.
  bool divides;
};
constexpr SiPrefix kSiPrefixes[] = {
    {u"pP", 1e12, true},       // pico
    {u"nN", 1e9, true},        // nano
    {u"uU\u00B5", 1e6, true},  // micro
    {u"m", 1e3, true},         // milli
    {u"kK", 1e3, false},       // kilo
    {u"M", 1e6, false},        // mega
    {u"gG", 1e9, false},       // giga
    {u"tT", 1e12, false},      // tera
};

// A typed letter as the table spells it: the full-width forms U+FF01 ... U+FF5E (ｋ, Ｍ)
// as their ASCII letters, and the Greek mu as the micro sign, which look alike.
constexpr char16_t TableSpelling(char16_t c) {
  constexpr char16_t kFirstFullWidth = u'\uFF01', kLastFullWidth = u'\uFF5E';
  if (c >= kFirstFullWidth && c <= kLastFullWidth) {
    return static_cast<char16_t>(c - (kFirstFullWidth - u'!'));
  }
  return c == u'\u03BC' ? u'\u00B5' : c;
}

// The table turned around once, at compile time: for each code unit of Latin-1 its row in
// kSiPrefixes plus one, 0 for none. Reading a prefix then costs a single look-up.
constexpr std::size_t kLatin1Size = 0x100;
constexpr std::array<std::uint8_t, kLatin1Size> kPrefixRowOfLetter = [] {
  std::array<std::uint8_t, kLatin1Size> rows{};
  for (std::size_t row = 0; row < std::size(kSiPrefixes); ++row) {
    for (const char16_t letter : kSiPrefixes[row].letters) {
      // at(): a letter beyond Latin-1 stops the compilation here.
      rows.at(letter) = static_cast<std::uint8_t>(row + 1);
    }
  }
  return rows;
}();

// The prefix `c` stands for, or none.
const SiPrefix* PrefixOf(char16_t c) {
  c = TableSpelling(c);
  if (c >= kLatin1Size || kPrefixRowOfLetter[c] == 0) return nullptr;
  return &kSiPrefixes[kPrefixRowOfLetter[c] - 1];
}

// Letters that may stand for the point in resistor notation: a prefix letter ("4k7",
// "2n2") or R for a plain number of ohms ("4R7"; ASCII only, as schematics write it).
bool CanStandForPoint(char16_t c) { return PrefixOf(c) != nullptr || c == u'R' || c == u'r'; }

double Scaled(double value, const SiPrefix* prefix) {
  if (prefix == nullptr) return value;
  return prefix->divides ? value / prefix->power_of_ten : value * prefix->power_of_ten;
}

}  // namespace

double ParseQuantity(std::u16string_view text) {
  const char16_t* begin = text.data();
  const char16_t* end = text.data() + text.size();
  while (begin != end && IsBlankOrControl(*begin)) ++begin;
  while (end != begin && IsBlankOrControl(*(end - 1))) --end;

  GroupingFreeCursor cursor(begin, end);
  DecimalNumberReader number;
  for (; !cursor.AtEnd() && IsNumberChar(cursor.Peek()); cursor.Advance()) {
    if (!number.Feed(cursor.Peek())) return kNoValue;
  }

  // The suffix starts at the first character that cannot belong to a number; blanks and
  // control characters before it are skipped, and only its first character counts.
  while (!cursor.AtEnd() && IsBlankOrControl(cursor.Peek())) cursor.Advance();
  if (cursor.AtEnd()) return number.Value();
  const char16_t letter = cursor.Peek();
  if (number.IsPlainInteger() && CanStandForPoint(letter)) {
    cursor.Advance();
    for (; !cursor.AtEnd() && IsAsciiDigit(cursor.Peek()); cursor.Advance()) {
      number.AppendFractionDigit(static_cast<char>(cursor.Peek()));
    }
  }
  const double value = number.Value();
  if (std::isnan(value)) return kNoValue;
  const double scaled = Scaled(value, PrefixOf(letter));
  return std::isinf(scaled) ? kNoValue : scaled;
}

std::int32_t ParseSeriesSize(std::u16string_view text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == u' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
    negative = text[at] == u'-';
    ++at;
  }
  const std::u16string_view rest = text.substr(at);
  const bool hex_marked =
      rest.starts_with(u'$') || rest.starts_with(u'x') || rest.starts_with(u'X');
  const bool hex_zero_marked = rest.starts_with(u"0x") || rest.starts_with(u"0X");
  const std::u16string_view digits = rest.substr(hex_zero_marked ? 2 : hex_marked ? 1 : 0);
  if (digits.empty()) return 0;

  if (hex_marked || hex_zero_marked) {
    // At most eight significant hexadecimal digits, read as a 32-bit pattern; the sign
    // wraps in unsigned arithmetic, so "-$80000000" is -2147483648 without overflow.
    std::uint32_t pattern = 0;
    int significant = 0;
    for (const char16_t c : digits) {
      std::uint32_t digit = 0;
      if (IsAsciiDigit(c)) {
        digit = c - u'0';
      } else if (c >= u'a' && c <= u'f') {
        digit = c - u'a' + 10;
      } else if (c >= u'A' && c <= u'F') {
        digit = c - u'A' + 10;
      } else {
        return 0;
      }
      if (significant > 0 || digit != 0) ++significant;
      if (significant > 8) return 0;
      pattern = (pattern << 4) | digit;
    }
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }

  // Decimal: the magnitude may reach 2^31 only with a minus sign.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (const char16_t c : digits) {
    if (!IsAsciiDigit(c)) return 0;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > limit) return 0;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace calc
