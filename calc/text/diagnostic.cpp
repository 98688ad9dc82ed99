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

    // Reading an op-amp catalogue: a bad row is skipped and the rest still loads.
    {Problem::kCatalogueNotFound, "オペアンプ一覧が見つかりません: {0}",
     "the op-amp catalogue was not found: looked for {0}", kWarning},
    {Problem::kCatalogueUnreadable, "{0}: 読み込めません", "{0}: cannot be read", kWarning},
    {Problem::kCatalogueTooLarge, "{0}: {1}バイトを超えるため読み込みません",
     "{0}: larger than {1} bytes, not read", kWarning},
    {Problem::kCatalogueEmpty, "{0}: ファイルが空です", "{0}: the file is empty", kWarning},
    {Problem::kCatalogueHeader,
     "{0} {1}行 {2}列: 見出しは「{3}」のはずが「{4}」です。このファイルは読み込みません",
     "{0}, line {1}, column {2}: the header needs '{3}' here, not '{4}'; the file is not read",
     kWarning},
    {Problem::kCatalogueHeaderColumns,
     "{0} {1}行: 見出しの列は{2}個ですが、{3}個必要です。このファイルは読み込みません",
     "{0}, line {1}: the header has {2} columns, not {3}; the file is not read", kWarning},
    {Problem::kCatalogueLineTooLong, "{0} {1}行: {2}バイトを超える行です。この行を読み飛ばします",
     "{0}, line {1}: longer than {2} bytes; the row is skipped", kWarning},
    {Problem::kCatalogueUnterminated,
     "{0} {1}行: 引用符で始まる欄がファイルの終わりまで閉じていません。この行を読み飛ばします",
     "{0}, line {1}: a quoted field is still open at the end of the file; the row is skipped",
     kWarning},
    {Problem::kCatalogueMissingColumn,
     "{0} {1}行 {2}列 ({3}): 欄がありません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): missing; the row is skipped", kWarning},
    {Problem::kCatalogueExtraColumn,
     "{0} {1}行 {2}列: 見出しの{3}列より多い欄があります。この行を読み飛ばします",
     "{0}, line {1}, column {2}: beyond the header's {3} columns; the row is skipped", kWarning},
    {Problem::kCatalogueNotUtf8,
     "{0} {1}行 {2}列 ({3}): UTF-8 の文字列ではありません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): not UTF-8 text; the row is skipped", kWarning},
    {Problem::kCatalogueNoName, "{0} {1}行 {2}列 ({3}): 名前が空です。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): no name; the row is skipped", kWarning},
    {Problem::kCatalogueNotNumber,
     "{0} {1}行 {2}列 ({3}): 「{4}」は数値ではありません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): '{4}' is not a number; the row is skipped", kWarning},
    {Problem::kCatalogueNotPositive,
     "{0} {1}行 {2}列 ({3}): 「{4}」は正の値でなければなりません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): '{4}' must be above zero; the row is skipped", kWarning},
    {Problem::kCatalogueNegative,
     "{0} {1}行 {2}列 ({3}): 「{4}」は0以上でなければなりません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): '{4}' must not be negative; the row is skipped", kWarning},
    {Problem::kCatalogueNotYesNo,
     "{0} {1}行 {2}列 ({3}): 「{4}」は yes でも no でもありません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): '{4}' is not yes or no; the row is skipped", kWarning},
    {Problem::kCatalogueNotCount,
     "{0} {1}行 {2}列 ({3}): 「{4}」は1以上の整数ではありません。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): '{4}' is not a whole number from 1; the row is skipped",
     kWarning},
    {Problem::kCatalogueSupplyRange,
     "{0} {1}行 {2}列 ({3}): 「{4}」が supply_min_v より小さい値です。この行を読み飛ばします",
     "{0}, line {1}, column {2} ({3}): '{4}' lies below supply_min_v; the row is skipped",
     kWarning},
    {Problem::kCatalogueDuplicate, "{0} {1}行: 「{2}」は{3}行にもあります。この行を読み飛ばします",
     "{0}, line {1}: '{2}' is already on line {3}; the row is skipped", kWarning},

    // What the stage's analyses (noise, headroom) are given, then the headroom's warnings.
    {Problem::kStageParts, "R1, R3, C1, C2 (R2 があれば R2 も) には正の値が必要です",
     "R1, R3, C1 and C2, and R2 when there is one, need positive values"},
    {Problem::kOpAmpFigures, "オペアンプの GBW と A0 には正の値、入力容量には0以上の値が必要です",
     "the op-amp needs a positive GBW and A0 and an input capacitance of zero or more"},
    {Problem::kAnalysisFrequencies, "周波数には正の値が必要です",
     "the frequencies must be positive"},
    {Problem::kNoPeak, "応答のピークが見つかりません", "the response has no peak to measure"},
    {Problem::kNoiseTemperature, "温度は絶対零度 (-273.15℃) より高くしてください",
     "the temperature must lie above absolute zero (-273.15 °C)"},
    {Problem::kNoiseFigures, "オペアンプの雑音密度とコーナー周波数には0以上の値が必要です",
     "the op-amp's noise densities and corner frequencies must be zero or more"},
    {Problem::kNoiseBand, "雑音帯域には、下限が上限より低い正の周波数が必要です",
     "the noise band needs two positive frequencies, the lower first"},
    {Problem::kInputAmplitude, "入力振幅には正の値が必要です",
     "the input amplitude must be positive"},
    {Problem::kLoad, "負荷抵抗には正の値が必要です", "the load must be a positive resistance"},
    {Problem::kOutputRoom,
     "電源電圧が出力の振幅余裕に足りません "
     "(電源電圧は出力と電源との差の2倍より大きくしてください)",
     "the supply leaves the output no room: it must exceed twice the output's swing to "
     "the rails"},
    {Problem::kSlewRate, "スルーレートには正の値が必要です", "the slew rate must be positive"},
    {Problem::kOutputCurrent, "出力電流には正の値が必要です",
     "the output current must be positive"},
    {Problem::kInputClips, "入力 {0}V (ピーク) では出力がクリップします (最大 {1}V)",
     "an input of {0}V peak clips the output: it takes at most {1}V", kWarning},
    {Problem::kInputSlews, "入力 {0}V (ピーク) では出力がスルーレートで制限されます (最大 {1}V)",
     "an input of {0}V peak makes the output slew: it takes at most {1}V", kWarning},
    {Problem::kOutputCurrentShort, "ピークでの出力電流 {0}A がオペアンプの出力電流 {1}A を超えます",
     "the output must drive {0}A at the peak, more than the op-amp's {1}A", kWarning},

    // The joint search of preferred values: its inputs, then what its result warns of.
    {Problem::kSearchValueNotPositive, "{0}には正の値を入力してください",
     "{0} needs a positive value", kWarning},
    {Problem::kSearchCinNegative, "入力容量は0以上の値で入力してください",
     "the input capacitance needs a value of 0 or more", kWarning},
    {Problem::kSearchSeriesNotStandard,
     "{0}のE系列は3, 6, 12, 24, 48, 96, 192または∞を選んでください",
     "the {0} series must be E3, E6, E12, E24, E48, E96, E192 or unsnapped", kWarning},
    {Problem::kSearchAllowanceNotPositive, "{0}の許容誤差は0%より大きい値で入力してください",
     "the {0} allowance must be above 0 %", kWarning},
    {Problem::kSearchStepsOutOfRange, "探索幅は0以上6以下の整数で入力してください",
     "the search width must be a whole number of steps from 0 to 6", kWarning},
    {Problem::kSearchTopOutOfRange, "候補数は1以上1000以下の整数で入力してください",
     "the number of sets must be a whole number from 1 to 1000", kWarning},
    {Problem::kSearchToleranceOutOfRange, "{0}の公差は0%以上100%未満で入力してください",
     "the {0} tolerance must be 0 % or more and below 100 %", kWarning},
    {Problem::kSearchTrialsOutOfRange, "試行回数は1以上1000000以下の整数で入力してください",
     "the trial count must be a whole number from 1 to 1000000", kWarning},
    {Problem::kSearchArithmeticFault, "この目標では計算できません: {0}",
     "this target cannot be computed: {0}"},
    {Problem::kSearchNoContinuousDesign,
     "このオペアンプでは設計のC1, C2で目標に届く抵抗値がありません",
     "no resistors reach the target with the design's C1 and C2 on this op-amp", kWarning},
    {Problem::kSearchNoPairReachesTarget, "このオペアンプではどのC1, C2の組でも目標に届きません",
     "no pair of C1 and C2 reaches the target on this op-amp; only the design's own "
     "set is ranked",
     kWarning},
    {Problem::kSearchYieldTooLarge,
     "歩留まりの試行は{0}組 × {1}回で、{2}回を超えます。候補数か試行回数を減らしてください",
     "the yield run of {0} sets x {1} trials exceeds {2} trials; ask for fewer sets or trials",
     kWarning},
    {Problem::kGbwShortReach,
     "このGBWで許容誤差内に収まるのは fo {0}Hz なら Q {1} まで、Q {2} なら fo {3}Hz までです。"
     "より速いオペアンプを選ぶか、「最適化」ページで作れる部品の組を探してください",
     "the op-amp's GBW holds the tolerance up to Q {1} at fo {0}Hz, or up to fo {3}Hz at Q {2}; "
     "choose a faster op-amp, or search for buildable parts (korvane-cli optimize, the "
     "window's 最適化 page)",
     kWarning},

    // The stage's settings as typed: the window names the field, korvane-cli the option.
    {Problem::kSettingEmpty, "{1}に値を入力してください", "--{0} needs a value", kWarning},
    {Problem::kSettingNotNumber, "{1}の「{2}」は数値として読めません",
     "--{0}: '{2}' is not a number", kWarning},
    {Problem::kSettingNotPositive, "{1}には正の値を入力してください (「{2}」)",
     "--{0} needs a positive number, not '{2}'", kWarning},
    {Problem::kSettingNegative, "{1}には0以上の値を入力してください (「{2}」)",
     "--{0} needs a number of zero or more, not '{2}'", kWarning},
    {Problem::kSettingTemperature, "{1}は絶対零度 (-273.15℃) より高くしてください (「{2}」)",
     "--{0} must lie above absolute zero (-273.15 °C), not '{2}'", kWarning},
    {Problem::kSettingTooLarge, "{1}は{3}以下で入力してください (「{2}」)",
     "--{0} must be at most {3}, not '{2}'", kWarning},

    {Problem::kUnknownOpAmp, "オペアンプ「{0}」は一覧にありません",
     "unknown op-amp '{0}'; 'korvane-cli opamps --names' lists them"},
    {Problem::kUnknownOpAmpNear, "オペアンプ「{0}」は一覧にありません (近い名前: {1})",
     "unknown op-amp '{0}'; did you mean {1}?"},
    {Problem::kOpAmpLacksFigure, "オペアンプ「{0}」の一覧には{1}がありません",
     "the catalogue gives no {1} for '{0}': give --{1}"},
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
