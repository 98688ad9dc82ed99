// Fuzzes SnapToSeries over arbitrary doubles and series sizes, negative and huge ones
// included. It returns a double or throws calc::FloatError, nothing else; and when it
// returns for a finite value, the result is finite (an unchecked division or overflow
// would leak an infinity or NaN), keeps the sign, and lies within a few series steps of
// the value. x == 0 and n == 0 return x itself.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <string>

#include "calc/circuit/preferred_values.h"
#include "calc/numeric/float_ops.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz_support::Describe;
using fuzz_support::Fail;
using fuzz_support::Require;

constexpr std::int32_t kSizes[] = {0,
                                   1,
                                   2,
                                   3,
                                   6,
                                   10,
                                   12,
                                   24,
                                   25,
                                   48,
                                   96,
                                   192,
                                   384,
                                   1000,
                                   -1,
                                   -3,
                                   -6,
                                   -24,
                                   -192,
                                   std::numeric_limits<std::int32_t>::max(),
                                   std::numeric_limits<std::int32_t>::min()};

// The byte after the value picks the size: below 0x80 one of kSizes, else the next four
// bytes are the size itself.
std::int32_t DecodeSize(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 24;
  if (data[0] < 0x80) return kSizes[data[0] % (sizeof kSizes / sizeof kSizes[0])];
  std::uint8_t bytes[4] = {};
  std::memcpy(bytes, data + 1, std::min<std::size_t>(size - 1, sizeof bytes));
  std::uint32_t pattern;
  std::memcpy(&pattern, bytes, sizeof pattern);
  return static_cast<std::int32_t>(pattern);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t used = 0;
  const double x = fuzz_support::DecodeDouble(data, size, used);
  const std::int32_t n = DecodeSize(data + used, size - used);
  const auto context = [&] {
    return "SnapToSeries(" + Describe(x) + ", " + std::to_string(n) + ")";
  };

  double snapped;
  try {
    snapped = calc::SnapToSeries(x, n);
  } catch (const calc::FloatError&) {
    Require(x != 0 && n != 0, "x == 0 and n == 0 return x without computing", context);
    return 0;
  } catch (const std::exception& error) {
    Fail("SnapToSeries throws FloatError and nothing else", context() + ": " + error.what());
  } catch (...) {
    Fail("SnapToSeries throws FloatError and nothing else", context());
  }
  const auto outcome = [&] { return context() + " -> " + Describe(snapped); };

  if (x == 0 || n == 0 || std::isnan(x)) {
    Require(std::memcmp(&snapped, &x, sizeof x) == 0 || (std::isnan(x) && std::isnan(snapped)),
            "x == 0 and n == 0 return x itself", outcome);
    return 0;
  }
  if (!std::isfinite(x)) return 0;
  Require(std::isfinite(snapped), "a finite value snaps to a finite value", outcome);
  // Below about 1e-300 the decade scale loses precision, and the result may round to zero.
  if (std::fabs(x) < 1e-300) return 0;
  Require(std::signbit(snapped) == std::signbit(x) && snapped != 0,
          "the snapped value keeps the sign", outcome);
  const double ratio = snapped / x;
  Require(ratio >= 1e-3 && ratio <= 1e3, "the snapped value stays near the value", outcome);
  return 0;
}
