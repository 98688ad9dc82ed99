#include "calc/text/axis_ticks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "calc/numeric/exact_powers_of_ten.h"

namespace calc {
namespace {

// A tick at a range's end counts as inside it despite the rounding of the end's double.
constexpr double kEdgeSlack = 1e-9;
// Beyond this a mantissa's digits no longer tell ticks apart in a double.
constexpr double kMostMantissa = 1e15;
// No axis has room for more labels: a hostile count must not fill the memory.
constexpr int kMostTicks = 1000;

struct Prefix {
  int exponent;
  std::u16string_view symbol;
};
constexpr std::array<Prefix, 9> kPrefixes = {{{-12, u"p"},
                                              {-9, u"n"},
                                              {-6, u"\u00B5"},
                                              {-3, u"m"},
                                              {0, u""},
                                              {3, u"k"},
                                              {6, u"M"},
                                              {9, u"G"},
                                              {12, u"T"}}};

double PowerOfTen(int exponent) {
  if (exponent >= 0 && exponent <= kExactPowerLimit) return kExactPowersOfTen[exponent];
  return std::pow(10.0, exponent);
}

// The digits of `magnitude` x 10^exponent without exponent or trailing zeros.
std::u16string PlainDigits(std::uint64_t magnitude, int exponent) {
  std::u16string digits;
  for (std::uint64_t rest = magnitude; rest > 0; rest /= 10) {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + rest % 10));
  }
  if (digits.empty()) return u"0";
  if (exponent >= 0) return digits.append(static_cast<std::size_t>(exponent), u'0');
  const auto decimals = static_cast<std::size_t>(-exponent);
  if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, u'0');
  digits.insert(digits.size() - decimals, 1, u'.');
  while (digits.back() == u'0') digits.pop_back();
  if (digits.back() == u'.') digits.pop_back();
  return digits;
}

int DigitCount(std::uint64_t magnitude) {
  int count = 1;
  while (magnitude >= 10) {
    magnitude /= 10;
    ++count;
  }
  return count;
}

AxisTick Tick(DecimalNumber number, TickLabels labels) {
  return {number.Value(), NumberLabel(number, labels)};
}

std::vector<AxisTick> Labelled(const std::vector<DecimalNumber>& numbers) {
  std::vector<AxisTick> ticks;
  ticks.reserve(numbers.size());
  for (const DecimalNumber& number : numbers)
    ticks.push_back(Tick(number, TickLabels::kSiPrefixed));
  return ticks;
}

bool Inside(double value, double from, double to) {
  const double slack = (to - from) * kEdgeSlack;
  return value >= from - slack && value <= to + slack;
}

// Ticks d x 10^n for the given d, with n a multiple of `stride`, inside the range.
std::vector<DecimalNumber> DecadeTicks(double from, double to, std::initializer_list<int> digits,
                                       int stride) {
  std::vector<DecimalNumber> ticks;
  const int first = static_cast<int>(std::floor(std::log10(from))) - 1;
  const int last = static_cast<int>(std::floor(std::log10(to))) + 1;
  for (int n = first; n <= last; ++n) {
    if (n % stride != 0) continue;
    for (int d : digits) {
      const DecimalNumber number{d, n};
      const double value = number.Value();
      if (value >= from * (1 - kEdgeSlack) && value <= to * (1 + kEdgeSlack))
        ticks.push_back(number);
    }
  }
  return ticks;
}

// The multiples of `step` from `from` to `to`; none where their mantissas would outgrow a
// double's digits.
std::vector<AxisTick> Multiples(DecimalNumber step, double from, double to, TickLabels labels) {
  std::vector<AxisTick> ticks;
  const double size = step.Value();
  if (!(size > 0.0) || !std::isfinite(size)) return ticks;
  const double first = std::ceil(from / size - kEdgeSlack);
  const double last = std::floor(to / size + kEdgeSlack);
  if (!(std::abs(first) * step.mantissa < kMostMantissa) ||
      !(std::abs(last) * step.mantissa < kMostMantissa)) {
    return ticks;
  }
  for (auto k = static_cast<std::int64_t>(first); k <= static_cast<std::int64_t>(last); ++k) {
    const DecimalNumber number{k * step.mantissa, step.exponent};
    if (Inside(number.Value(), from, to)) ticks.push_back(Tick(number, labels));
  }
  return ticks;
}

}  // namespace

double DecimalNumber::Value() const {
  const auto m = static_cast<double>(mantissa);
  // A division by an exact power gives the double nearest the decimal: 2 / 1000 == 0.002.
  if (exponent < 0 && -exponent <= kExactPowerLimit) return m / kExactPowersOfTen[-exponent];
  return m * PowerOfTen(exponent);
}

std::u16string NumberLabel(DecimalNumber number, TickLabels labels) {
  if (number.mantissa == 0) return u"0";
  // The magnitude as unsigned: the most negative mantissa has no positive counterpart.
  const std::uint64_t magnitude = number.mantissa < 0
                                      ? 0 - static_cast<std::uint64_t>(number.mantissa)
                                      : static_cast<std::uint64_t>(number.mantissa);
  std::u16string_view symbol;
  int exponent = number.exponent;
  if (labels == TickLabels::kSiPrefixed) {
    const int magnitude_exponent = DigitCount(magnitude) - 1 + number.exponent;
    const int thousands =
        magnitude_exponent >= 0 ? magnitude_exponent / 3 : -((-magnitude_exponent + 2) / 3);
    const Prefix& prefix = kPrefixes[static_cast<std::size_t>(std::clamp(thousands, -4, 4) + 4)];
    symbol = prefix.symbol;
    exponent -= prefix.exponent;
  }
  std::u16string text = number.mantissa < 0 ? u"-" : u"";
  text += PlainDigits(magnitude, exponent);
  text += symbol;
  return text;
}

DecimalNumber NiceStep(double span, int max_ticks) {
  if (!(span > 0.0) || !std::isfinite(span)) return {};
  // With n ticks the step is at least span / (n - 1).
  const double least = span / (std::clamp(max_ticks, 2, kMostTicks) - 1);
  int exponent = static_cast<int>(std::floor(std::log10(least)));
  for (int tries = 0; tries < 3; ++tries, ++exponent) {
    for (int mantissa : {1, 2, 5}) {
      const DecimalNumber step{mantissa, exponent};
      if (step.Value() >= least * (1 - kEdgeSlack)) return step;
    }
  }
  return {1, exponent};
}

std::vector<AxisTick> LinearTicks(double from, double to, int max_ticks, TickLabels labels) {
  if (!std::isfinite(from) || !std::isfinite(to) || !(to > from)) return {};
  DecimalNumber step = NiceStep(to - from, max_ticks);
  // A step near the span may miss the range; three finer steps are at most a quarter of
  // it, which puts two ticks into any range.
  for (int finer = 0; finer <= 3 && step.mantissa != 0; ++finer) {
    std::vector<AxisTick> ticks = Multiples(step, from, to, labels);
    if (ticks.size() >= 2) return ticks;
    step = step.mantissa == 1 ? DecimalNumber{5, step.exponent - 1}
                              : DecimalNumber{step.mantissa == 5 ? 2 : 1, step.exponent};
  }
  return {};
}

std::vector<AxisTick> LogTicks(double from, double to, int max_ticks) {
  if (!(from > 0.0) || !std::isfinite(to) || !(to > from)) return {};
  const auto most = static_cast<std::size_t>(std::clamp(max_ticks, 2, kMostTicks));
  const auto linear = [&] { return LinearTicks(from, to, max_ticks, TickLabels::kSiPrefixed); };
  // Less than a factor of two looks linear: evenly spaced steps read best there.
  if (to / from < 2.0) return linear();

  std::vector<DecimalNumber> denser = DecadeTicks(from, to, {1, 2, 5}, 1);
  if (denser.size() <= most) return denser.size() >= 2 ? Labelled(denser) : linear();
  std::vector<DecimalNumber> choice = DecadeTicks(from, to, {1, 3}, 1);
  // Then every decade, every 2nd, 5th, 10th ...: a double spans fewer than 700 decades,
  // so the last stride leaves one tick at most.
  for (int stride : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}) {
    if (choice.size() <= most) break;
    denser = std::move(choice);
    choice = DecadeTicks(from, to, {1}, stride);
  }
  // Too few to label the view: the denser choice, though it has more than asked for.
  if (choice.size() < 2) choice = std::move(denser);
  return Labelled(choice);
}

}  // namespace calc
