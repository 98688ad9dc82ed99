#include "calc/text/diagnostic.h"

#include <cstddef>
#include <iterator>

#include "calc/text/utf8.h"

namespace calc {
namespace {

struct ProblemTexts {
  Problem problem;
  std::string_view window;  // UTF-8 Japanese
  std::string_view cli;     // English, but where korvane-cli has always written the window's
  Severity severity = Severity::kError;
};

constexpr Severity kWarning = Severity::kWarning;

// One row per problem, in the order of the enumeration. The tolerance analysis' warnings
// read the same in korvane-cli as in the window, as they always have: scripts match them.
constexpr ProblemTexts kProblemTexts[] = {
    {Problem::kCancelled, "中止しました", "stopped"},
    {Problem::kNotANumber, "「{0}」は数値として読めません", "'{0}' is not a number"},
    {Problem::kNotPositive, "「{0}」は正の数値ではありません", "'{0}' is not a positive number"},
    {Problem::kFieldNotPositive, "{0}に正の値を入力してください",
     "{0} needs a positive value, not '{1}'", kWarning},
    {Problem::kOptionNotPositive, "{0} には正の値が必要です (「{1}」)",
     "--{0} needs a positive number, not '{1}'"},
    {Problem::kNotUtf8, "{0} の文字列が UTF-8 として正しくありません",
     "The {0} text is not valid UTF-8."},

    // The analysis' own warning (calc/commands/command_messages.h), for a circuit that
    // lacks a part; a test holds the two texts together.
    {Problem::kTolerancePartsMissing, "R1,R2,R3,C1,C2,C3 に値をセットしてください",
     "R1,R2,R3,C1,C2,C3 に値をセットしてください", kWarning},
    {Problem::kToleranceCircuit, "公差解析には正の部品値が必要です",
     "公差解析には正の部品値が必要です", kWarning},
    {Problem::kToleranceMissing, "公差に値を入力してください", "公差に値を入力してください",
     kWarning},
    {Problem::kToleranceRange, "公差は0%以上100%未満で入力してください",
     "公差は0%以上100%未満で入力してください", kWarning},
    {Problem::kTrialCount, "試行回数は1以上1000000以下の整数で入力してください",
     "試行回数は1以上1000000以下の整数で入力してください", kWarning},
    {Problem::kSeed, "シードは0以上18446744073709551615以下の整数で入力してください",
     "シードは0以上18446744073709551615以下の整数で入力してください", kWarning},
    {Problem::kYieldLimit, "歩留まりの許容範囲は0%より大きい値で入力してください",
     "歩留まりの許容範囲は0%より大きい値で入力してください", kWarning},
    {Problem::kToleranceOpAmp, "オペアンプのGBWとA0には正の値を入力してください",
     "オペアンプのGBWとA0には正の値を入力してください", kWarning},

    {Problem::kDesignWarning, "{0}", "{0}", kWarning},
    {Problem::kDesignError, "{0}", "{0}"},

    {Problem::kNoCentreFrequency,
     "回路に中心周波数がありません: R1, R2, R3, C1, C2 を確認してください",
     "The circuit has no centre frequency: check R1, R2, R3, C1 and C2."},
    {Problem::kFrequencyOrder, "上限の周波数は下限より高くしてください",
     "--to must lie above --from"},
    {Problem::kPointCount, "周波数の点数は2以上{0}以下の整数にしてください",
     "--points needs a whole number from 2 to {0}"},
    {Problem::kResponseTolerance,
     "許容誤差は0%より大きく100%未満で入力してください (数字だけなら%とみなします)",
     "--tolerance needs a percentage above 0 and below 100, not '{0}'"},
    {Problem::kGbwShort, "オペアンプのGBWが不足しています (必要 {0}Hz 以上)",
     "the op-amp's GBW is too low: {0}Hz or more is needed", kWarning},
    {Problem::kA0Short, "A0が不足しています (必要 {0} 以上)",
     "the op-amp's A0 is too low for the tolerance at any GBW: {0} or more is needed", kWarning},
    {Problem::kSlewShort, "オペアンプのスルーレートが不足しています (必要 {0} V/µs 以上)",
     "the op-amp's slew rate is too low: {0} V/us or more is needed", kWarning},
    {Problem::kFiguresNotFound,
     "回路の -3 dB 点が見つからないため、必要GBWと必要A0を求められません",
     "the circuit's response has no -3 dB points to hold: no required GBW or A0", kWarning},

    {Problem::kLockCell, "Lock の欄は 1、0 または空欄にしてください",
     "The lock cell must be 1, 0 or empty."},
    {Problem::kUnterminatedCell, "入力が引用符の中で終わっています",
     "The input ends inside a quoted cell."},
    {Problem::kCellCount, "{0} 行目の欄は {1} 個ですが、見出しは {2} 個です",
     "Row {0} has {1} cells; the header has {2}."},
};
static_assert(std::size(kProblemTexts) == static_cast<std::size_t>(Problem::kCount),
              "every problem needs its row of texts");

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < std::size(kProblemTexts); ++i) {
    if (kProblemTexts[i].problem != static_cast<Problem>(i)) return false;
  }
  return true;
}
static_assert(RowsInOrder(), "rows must follow the order of Problem");

const ProblemTexts& TextsOf(Problem problem) {
  const auto index = static_cast<std::size_t>(problem);
  return index < std::size(kProblemTexts) ? kProblemTexts[index] : kProblemTexts[0];
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

Severity SeverityOf(Problem problem) { return TextsOf(problem).severity; }

std::u16string WindowText(const Diagnostic& diagnostic) {
  return Utf8ToUtf16(FillDetails(TextsOf(diagnostic.problem).window, diagnostic.details))
      .value_or(u"");
}

std::string CliText(const Diagnostic& diagnostic) {
  return FillDetails(TextsOf(diagnostic.problem).cli, diagnostic.details);
}

}  // namespace calc
