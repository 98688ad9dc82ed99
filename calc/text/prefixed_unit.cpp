#include "calc/text/prefixed_unit.h"

#include <algorithm>
#include <cmath>

#include "calc/text/quantity_format.h"

namespace calc {
namespace {

constexpr int kLeastDecimals = 3;
constexpr int kMostDecimals = 15;

}  // namespace

std::u16string FormatPrefixedUnit(double value) {
  if (std::isnan(value)) return {};
  int decimals = kLeastDecimals;
  if (std::isfinite(value) && value != 0.0) {
    // Three significant digits: two more decimals than the place of the first digit.
    const double first_place = std::floor(std::log10(std::fabs(value)));
    decimals = static_cast<int>(
        std::clamp(2.0 - first_place, double{kLeastDecimals}, double{kMostDecimals}));
  }
  return FormatFixed(value, 0, decimals);
}

}  // namespace calc
