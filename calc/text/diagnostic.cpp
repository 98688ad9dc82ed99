#include "calc/text/diagnostic.h"

#include <array>
#include <cstddef>

#include "calc/text/utf8.h"

namespace calc {
namespace {

struct ProblemTexts {
  Problem problem;
  std::string_view window;  // UTF-8 Japanese
  std::string_view cli;     // English
};

// One row per problem, in the order of the enumeration.
constexpr std::array kProblemTexts = {
    ProblemTexts{Problem::kCancelled, "中止しました", "stopped"},
    ProblemTexts{Problem::kSearchValueNotPositive, "{0}には正の値を入力してください",
                 "{0} needs a positive value"},
    ProblemTexts{Problem::kSearchCinNegative, "入力容量は0以上の値で入力してください",
                 "the input capacitance needs a value of 0 or more"},
    ProblemTexts{Problem::kSearchSeriesNotStandard,
                 "{0}のE系列は3, 6, 12, 24, 48, 96, 192または∞を選んでください",
                 "the {0} series must be E3, E6, E12, E24, E48, E96, E192 or unsnapped"},
    ProblemTexts{Problem::kSearchAllowanceNotPositive,
                 "{0}の許容誤差は0%より大きい値で入力してください",
                 "the {0} allowance must be above 0 %"},
    ProblemTexts{Problem::kSearchStepsOutOfRange, "探索幅は0以上6以下の整数で入力してください",
                 "the search width must be a whole number of steps from 0 to 6"},
    ProblemTexts{Problem::kSearchTopOutOfRange, "候補数は1以上1000以下の整数で入力してください",
                 "the number of sets must be a whole number from 1 to 1000"},
    ProblemTexts{Problem::kSearchToleranceOutOfRange, "{0}の公差は0%以上100%未満で入力してください",
                 "the {0} tolerance must be 0 % or more and below 100 %"},
    ProblemTexts{Problem::kSearchTrialsOutOfRange,
                 "試行回数は1以上1000000以下の整数で入力してください",
                 "the trial count must be a whole number from 1 to 1000000"},
    ProblemTexts{Problem::kSearchArithmeticFault, "この目標では計算できません: {0}",
                 "this target cannot be computed: {0}"},
    ProblemTexts{Problem::kSearchNoContinuousDesign,
                 "このオペアンプでは設計のC1, C2で目標に届く抵抗値がありません",
                 "no resistors reach the target with the design's C1 and C2 on this op-amp"},
    ProblemTexts{Problem::kSearchNoPairReachesTarget,
                 "このオペアンプではどのC1, C2の組でも目標に届きません",
                 "no pair of C1 and C2 reaches the target on this op-amp; only the design's own "
                 "set is ranked"},
};
static_assert(kProblemTexts.size() == static_cast<std::size_t>(Problem::kCount),
              "every problem needs its row of texts");

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kProblemTexts.size(); ++i) {
    if (kProblemTexts[i].problem != static_cast<Problem>(i)) return false;
  }
  return true;
}
static_assert(RowsInOrder(), "rows must follow the order of Problem");

const ProblemTexts& TextsOf(Problem problem) {
  const auto index = static_cast<std::size_t>(problem);
  return index < kProblemTexts.size() ? kProblemTexts[index] : kProblemTexts[0];
}

}  // namespace

std::string FillDetails(std::string_view pattern, const std::vector<std::string>& details) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
        pattern[i + 1] >= '0' && pattern[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(pattern[i + 1] - '0');
      if (index < details.size()) {
        text += details[index];
        i += 2;
        continue;
      }
    }
    text += pattern[i];
  }
  return text;
}

std::u16string WindowText(const Diagnostic& diagnostic) {
  return Utf8ToUtf16(FillDetails(TextsOf(diagnostic.problem).window, diagnostic.details))
      .value_or(u"");
}

std::string CliText(const Diagnostic& diagnostic) {
  return FillDetails(TextsOf(diagnostic.problem).cli, diagnostic.details);
}

}  // namespace calc
