// The powers of ten a double holds exactly, for reading and writing decimal texts with
// one correctly rounded multiplication or division.
#ifndef KORVANE_CALC_NUMERIC_EXACT_POWERS_OF_TEN_H
#define KORVANE_CALC_NUMERIC_EXACT_POWERS_OF_TEN_H

#include <array>
#include <cmath>

namespace calc {

inline constexpr int kExactPowerLimit = 22;  // 10^22 is the largest held exactly
inline constexpr std::array<double, kExactPowerLimit + 1> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The double nearest 10^k, as the literal "1e<k>" reads, for k within +-kExactPowerLimit:
// one exact value, or one correctly rounded division of two. Beyond, pow's.
inline double NearestPowerOfTen(int k) {
  if (k >= 0 && k <= kExactPowerLimit) return kExactPowersOfTen[k];
  if (k < 0 && -k <= kExactPowerLimit) return 1.0 / kExactPowersOfTen[-k];
  return std::pow(10.0, k);
}

}  // namespace calc

#endif  // KORVANE_CALC_NUMERIC_EXACT_POWERS_OF_TEN_H
