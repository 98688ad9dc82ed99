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
    ProblemTexts{Problem::kCatalogueNotFound, "オペアンプ一覧が見つかりません: {0}",
                 "the op-amp catalogue was not found: looked for {0}"},
    ProblemTexts{Problem::kCatalogueUnreadable, "{0}: 読み込めません", "{0}: cannot be read"},
    ProblemTexts{Problem::kCatalogueTooLarge, "{0}: {1}バイトを超えるため読み込みません",
                 "{0}: larger than {1} bytes, not read"},
    ProblemTexts{Problem::kCatalogueEmpty, "{0}: ファイルが空です", "{0}: the file is empty"},
    ProblemTexts{
        Problem::kCatalogueHeader,
        "{0} {1}行 {2}列: 見出しは「{3}」のはずが「{4}」です。このファイルは読み込みません",
        "{0}, line {1}, column {2}: the header needs '{3}' here, not '{4}'; the file is not read"},
    ProblemTexts{Problem::kCatalogueHeaderColumns,
                 "{0} {1}行: 見出しの列は{2}個ですが、{3}個必要です。このファイルは読み込みません",
                 "{0}, line {1}: the header has {2} columns, not {3}; the file is not read"},
    ProblemTexts{Problem::kCatalogueLineTooLong,
                 "{0} {1}行: {2}バイトを超える行です。この行を読み飛ばします",
                 "{0}, line {1}: longer than {2} bytes; the row is skipped"},
    ProblemTexts{
        Problem::kCatalogueUnterminated,
        "{0} {1}行: 引用符で始まる欄がファイルの終わりまで閉じていません。この行を読み飛ばします",
        "{0}, line {1}: a quoted field is still open at the end of the file; the row is skipped"},
    ProblemTexts{Problem::kCatalogueMissingColumn,
                 "{0} {1}行 {2}列 ({3}): 欄がありません。この行を読み飛ばします",
                 "{0}, line {1}, column {2} ({3}): missing; the row is skipped"},
    ProblemTexts{Problem::kCatalogueExtraColumn,
                 "{0} {1}行 {2}列: 見出しの{3}列より多い欄があります。この行を読み飛ばします",
                 "{0}, line {1}, column {2}: beyond the header's {3} columns; the row is skipped"},
    ProblemTexts{Problem::kCatalogueNotUtf8,
                 "{0} {1}行 {2}列 ({3}): UTF-8 の文字列ではありません。この行を読み飛ばします",
                 "{0}, line {1}, column {2} ({3}): not UTF-8 text; the row is skipped"},
    ProblemTexts{Problem::kCatalogueNoName,
                 "{0} {1}行 {2}列 ({3}): 名前が空です。この行を読み飛ばします",
                 "{0}, line {1}, column {2} ({3}): no name; the row is skipped"},
    ProblemTexts{Problem::kCatalogueNotNumber,
                 "{0} {1}行 {2}列 ({3}): 「{4}」は数値ではありません。この行を読み飛ばします",
                 "{0}, line {1}, column {2} ({3}): '{4}' is not a number; the row is skipped"},
    ProblemTexts{
        Problem::kCatalogueNotPositive,
        "{0} {1}行 {2}列 ({3}): 「{4}」は正の値でなければなりません。この行を読み飛ばします",
        "{0}, line {1}, column {2} ({3}): '{4}' must be above zero; the row is skipped"},
    ProblemTexts{
        Problem::kCatalogueNegative,
        "{0} {1}行 {2}列 ({3}): 「{4}」は0以上でなければなりません。この行を読み飛ばします",
        "{0}, line {1}, column {2} ({3}): '{4}' must not be negative; the row is skipped"},
    ProblemTexts{
        Problem::kCatalogueNotYesNo,
        "{0} {1}行 {2}列 ({3}): 「{4}」は yes でも no でもありません。この行を読み飛ばします",
        "{0}, line {1}, column {2} ({3}): '{4}' is not yes or no; the row is skipped"},
    ProblemTexts{
        Problem::kCatalogueNotCount,
        "{0} {1}行 {2}列 ({3}): 「{4}」は1以上の整数ではありません。この行を読み飛ばします",
        "{0}, line {1}, column {2} ({3}): '{4}' is not a whole number from 1; the row is skipped"},
    ProblemTexts{
        Problem::kCatalogueSupplyRange,
        "{0} {1}行 {2}列 ({3}): 「{4}」が supply_min_v より小さい値です。この行を読み飛ばします",
        "{0}, line {1}, column {2} ({3}): '{4}' lies below supply_min_v; the row is skipped"},
    ProblemTexts{Problem::kCatalogueDuplicate,
                 "{0} {1}行: 「{2}」は{3}行にもあります。この行を読み飛ばします",
                 "{0}, line {1}: '{2}' is already on line {3}; the row is skipped"},
    ProblemTexts{Problem::kStageParts, "R1, R3, C1, C2 (R2 があれば R2 も) には正の値が必要です",
                 "R1, R3, C1 and C2, and R2 when there is one, need positive values"},
    ProblemTexts{Problem::kOpAmpFigures,
                 "オペアンプの GBW と A0 には正の値、入力容量には0以上の値が必要です",
                 "the op-amp needs a positive GBW and A0 and an input capacitance of zero or more"},
    ProblemTexts{Problem::kAnalysisFrequencies, "周波数には正の値が必要です",
                 "the frequencies must be positive"},
    ProblemTexts{Problem::kNoPeak, "応答のピークが見つかりません",
                 "the response has no peak to measure"},
    ProblemTexts{Problem::kNoiseTemperature, "温度は絶対零度 (-273.15℃) より高くしてください",
                 "the temperature must lie above absolute zero (-273.15 °C)"},
    ProblemTexts{Problem::kNoiseFigures,
                 "オペアンプの雑音密度とコーナー周波数には0以上の値が必要です",
                 "the op-amp's noise densities and corner frequencies must be zero or more"},
    ProblemTexts{Problem::kNoiseBand, "雑音帯域には、下限が上限より低い正の周波数が必要です",
                 "the noise band needs two positive frequencies, the lower first"},
    ProblemTexts{Problem::kInputAmplitude, "入力振幅には正の値が必要です",
                 "the input amplitude must be positive"},
    ProblemTexts{Problem::kLoad, "負荷抵抗には正の値が必要です",
                 "the load must be a positive resistance"},
    ProblemTexts{Problem::kOutputRoom,
                 "電源電圧が出力の振幅余裕に足りません "
                 "(電源電圧は出力と電源との差の2倍より大きくしてください)",
                 "the supply leaves the output no room: it must exceed twice the output's swing to "
                 "the rails"},
    ProblemTexts{Problem::kSlewRate, "スルーレートには正の値が必要です",
                 "the slew rate must be positive"},
    ProblemTexts{Problem::kOutputCurrent, "出力電流には正の値が必要です",
                 "the output current must be positive"},
    ProblemTexts{Problem::kInputClips, "入力 {0}V (ピーク) では出力がクリップします (最大 {1}V)",
                 "an input of {0}V peak clips the output: it takes at most {1}V"},
    ProblemTexts{Problem::kInputSlews,
                 "入力 {0}V (ピーク) では出力がスルーレートで制限されます (最大 {1}V)",
                 "an input of {0}V peak makes the output slew: it takes at most {1}V"},
    ProblemTexts{Problem::kOutputCurrentShort,
                 "ピークでの出力電流 {0}A がオペアンプの出力電流 {1}A を超えます",
                 "the output must drive {0}A at the peak, more than the op-amp's {1}A"},
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
