// Where a plot's axis puts its labelled ticks and what the labels say. Tick values are
// decimal numbers (a whole mantissa times a power of ten), so a label is written from
// the digits themselves and never shows a double's rounding ("0.30000000000000004").
#ifndef KORVANE_CALC_TEXT_AXIS_TICKS_H
#define KORVANE_CALC_TEXT_AXIS_TICKS_H

#include <cstdint>
#include <string>
#include <vector>

namespace calc {

// mantissa x 10^exponent.
struct DecimalNumber {
  std::int64_t mantissa = 0;
  int exponent = 0;
  double Value() const;
  friend bool operator==(const DecimalNumber&, const DecimalNumber&) = default;
};

struct AxisTick {
  double value;          // where the tick goes
  std::u16string label;  // what it says
  friend bool operator==(const AxisTick&, const AxisTick&) = default;
};

enum class TickLabels {
  kPlain,       // decimals as they are: "-0.5", "135", "10000"
  kSiPrefixed,  // with an SI prefix letter from p to T: "500m", "1k", "2.5M"
};

// A decimal number's text: no exponent, no trailing zeros after the point, "-" for
// negatives, and zero as "0"; with kSiPrefixed the prefix of its magnitude's thousands.
// NumberLabel({25, 2}, kSiPrefixed) -> "2.5k"; NumberLabel({-5, -1}, kPlain) -> "-0.5";
// NumberLabel({1, 6}, kSiPrefixed) -> "1M"; NumberLabel({1, 15}, kSiPrefixed) -> "1000T".
std::u16string NumberLabel(DecimalNumber number, TickLabels labels);

// The smallest step of 1, 2 or 5 times a power of ten that puts at most `max_ticks`
// multiples of itself into a span of `span` (max_ticks is taken into 2 ... 1000); {0, 0}
// for a span that is not a positive finite number.
// NiceStep(50, 6) -> {1, 1} (10); NiceStep(0.7, 8) -> {1, -1} (0.1); NiceStep(360, 9) -> {5, 1}.
DecimalNumber NiceStep(double span, int max_ticks);

// Ticks of a linear axis from `from` to `to`: the multiples of NiceStep(to - from,
// max_ticks) between them, ends included; when fewer than two of them fall inside, those
// of the next finer steps (2 after 5, 1 after 2, 0.5 after 1), which may be more than
// max_ticks. Empty when the range is empty or not finite, or too narrow for its values'
// digits.
// LinearTicks(-50, 10, 7, kPlain) -> -50, -40, ..., 10.
std::vector<AxisTick> LinearTicks(double from, double to, int max_ticks, TickLabels labels);

// Ticks of a logarithmic axis from `from` to `to` (0 < from < to), at most `max_ticks`
// (taken into 2 ... 1000), labelled with SI prefixes: the densest of 1, 2 and 5 in every
// decade; 1 and 3; every decade; every 2nd, 5th, 10th ... decade that fits. When the one
// that fits has fewer than two ticks, the denser one before it, though it has more. A view
// of less than a factor of two, or one where not even 1, 2 and 5 fall twice, gets
// LinearTicks with prefixes instead: every view has labelled ticks. Empty for a range
// that is not positive, finite and ascending.
// LogTicks(10, 1e5, 6) -> "10", "100", "1k", "10k", "100k";
// LogTicks(100, 1000, 6) -> "100", "200", "500", "1k";
// LogTicks(950, 1050, 6) -> "960", "980", "1k", "1.02k", "1.04k".
std::vector<AxisTick> LogTicks(double from, double to, int max_ticks);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_AXIS_TICKS_H
