// The warnings of the tolerance analysis, in one place for the window and the command line.
#ifndef KORVANE_CALC_STUDIES_TOLERANCE_MESSAGES_H
#define KORVANE_CALC_STUDIES_TOLERANCE_MESSAGES_H

#include <string_view>

namespace calc {

inline constexpr std::u16string_view kToleranceCircuitWarning = u"公差解析には正の部品値が必要です";
inline constexpr std::u16string_view kToleranceMissingWarning = u"公差に値を入力してください";
inline constexpr std::u16string_view kToleranceRangeWarning =
    u"公差は0%以上100%未満で入力してください";
inline constexpr std::u16string_view kTrialCountWarning =
    u"試行回数は1以上1000000以下の整数で入力してください";
inline constexpr std::u16string_view kSeedWarning =
    u"シードは0以上18446744073709551615以下の整数で入力してください";
inline constexpr std::u16string_view kOpAmpWarning =
    u"オペアンプのGBWとA0には正の値を入力してください";
inline constexpr std::u16string_view kYieldLimitWarning =
    u"歩留まりの許容範囲は0%より大きい値で入力してください";

}  // namespace calc

#endif  // KORVANE_CALC_STUDIES_TOLERANCE_MESSAGES_H
