// The stage's settings as typed: what each takes and how each refusal reads, in a table of
// the texts users type, including those that slipped through before (a negative slew rate,
// an amplitude beyond any stage, an empty GBW).
#include "calc/studies/stage_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/numeric/quantity.h"
#include "calc/text/diagnostic.h"
#include "calc/text/utf8.h"

namespace {

using calc::Problem;
using calc::StageSetting;

struct Case {
  StageSetting setting;
  std::u16string_view text;
  double value;     // NaN: refused
  Problem problem;  // when refused
};

constexpr double kRefused = std::numeric_limits<double>::quiet_NaN();

TEST(StageSettingsTest, ReadsOrRefusesEachText) {
  const Case cases[] = {
      {StageSetting::kGbw, u"10M", 10e6, {}},
      {StageSetting::kGbw, u"", kRefused, Problem::kSettingEmpty},
      {StageSetting::kGbw, u"  ", kRefused, Problem::kSettingEmpty},
      {StageSetting::kGbw, u"abc", kRefused, Problem::kSettingNotNumber},
      {StageSetting::kGbw, u"0", kRefused, Problem::kSettingNotPositive},
      {StageSetting::kA0, u"200k", 200e3, {}},
      {StageSetting::kSlew, u"-1", kRefused, Problem::kSettingNotPositive},
      {StageSetting::kSlew, u"13", 13, {}},
      {StageSetting::kAmplitude, u"1e308", kRefused, Problem::kSettingTooLarge},
      {StageSetting::kAmplitude, u"1e999", kRefused, Problem::kSettingNotNumber},
      {StageSetting::kAmplitude, u"1k", 1000, {}},
      {StageSetting::kAmplitude, u"1.001k", kRefused, Problem::kSettingTooLarge},
      {StageSetting::kCin, u"7p", 7 / 1e12, {}},
      {StageSetting::kCin, u"0", 0, {}},
      {StageSetting::kEn, u"18n", 18 / 1e9, {}},
      {StageSetting::kEn, u"-1n", kRefused, Problem::kSettingNegative},
      // Femto, which the calculator's own quantities never needed: not 10 A/sqrt(Hz).
      {StageSetting::kIn, u"10f", 10 / 1e15, {}},
      {StageSetting::kIn, u"2.5fA", 2.5 / 1e15, {}},
      {StageSetting::kIn, u"1e-14", 1e-14, {}},
      {StageSetting::kCin, u"7pF", 7 / 1e12, {}},
      {StageSetting::kCin, u"1F", kRefused, Problem::kSettingTooLarge},  // F the farad
      {StageSetting::kSlew, u"\u22121", kRefused, Problem::kSettingNotNumber},
      {StageSetting::kIn, u"0.01p", 0.01 / 1e12, {}},
      {StageSetting::kEnCorner, u"0", 0, {}},
      {StageSetting::kInCorner, u"-5", kRefused, Problem::kSettingNegative},
      {StageSetting::kSwing, u"1.5", 1.5, {}},
      {StageSetting::kSupply, u"0", kRefused, Problem::kSettingNotPositive},
      {StageSetting::kLoad, u"2k", 2000, {}},
      {StageSetting::kTemperature, u"-40", -40, {}},
      {StageSetting::kTemperature, u"0", 0, {}},
      {StageSetting::kTemperature, u"-273.15", kRefused, Problem::kSettingTemperature},
      {StageSetting::kTemperature, u"-300", kRefused, Problem::kSettingTemperature},
      {StageSetting::kBandLow, u"100", 100, {}},
      {StageSetting::kBandHigh, u"-1k", kRefused, Problem::kSettingNotPositive},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(calc::Utf16ToUtf8(c.text) + " for " + std::string(calc::RuleOf(c.setting).option));
    const calc::Outcome<double> read = calc::ReadStageSetting(c.setting, c.text);
    if (std::isnan(c.value)) {
      ASSERT_FALSE(read.ok());
      EXPECT_EQ(read.diagnostic().problem, c.problem);
      EXPECT_EQ(calc::SeverityOf(c.problem), calc::Severity::kWarning);
    } else {
      ASSERT_TRUE(read.ok()) << calc::CliText(read.diagnostic());
      EXPECT_EQ(*read, c.value);
    }
  }
}

// Each front end names the setting in its own words: the window its label, korvane-cli
// its option; both quote the text as typed.
TEST(StageSettingsTest, RefusalsNameTheFieldAndTheOption) {
  const calc::Diagnostic slew = calc::ReadStageSetting(StageSetting::kSlew, u"-1").diagnostic();
  EXPECT_EQ(calc::CliText(slew), "--slew needs a positive number, not '-1'");
  EXPECT_EQ(calc::WindowText(slew), u"SRには正の値を入力してください (「-1」)");

  const calc::Diagnostic amplitude =
      calc::ReadStageSetting(StageSetting::kAmplitude, u"1e308").diagnostic();
  EXPECT_EQ(calc::CliText(amplitude), "--amplitude must be at most 1000, not '1e308'");
  EXPECT_EQ(calc::WindowText(amplitude), u"入力振幅は1000以下で入力してください (「1e308」)");

  const calc::Diagnostic gbw = calc::ReadStageSetting(StageSetting::kGbw, u"").diagnostic();
  EXPECT_EQ(calc::CliText(gbw), "--gbw needs a value");
  EXPECT_EQ(calc::WindowText(gbw), u"GBWに値を入力してください");
}

}  // namespace

namespace {

// A figure filled into a field reads back as the same double, and reads as a designer
// writes it where a prefixed text does that.
TEST(StageSettingsTest, FieldTextsReadBackExactly) {
  const struct {
    double value;
    std::u16string_view text;
  } cases[] = {{3e6, u"3M"},  {2e5, u"200k"},     {1.8e-8, u"18n"}, {1e-14, u"10f"},
               {13, u"13"},   {0, u"0"},          {7e-12, u"7p"},   {0.04, u"40m"},
               {1.5, u"1.5"}, {2.5e-12, u"2.5p"}, {5.5e-6, u"5.5µ"}};
  for (const auto& c : cases) {
    EXPECT_EQ(calc::StageSettingText(c.value), c.text) << c.value;
  }
  EXPECT_EQ(calc::StageSettingText(calc::kNoValue), u"");
  for (const double value : {1.0 / 3.0, 3.16e7, 0.1 + 0.2, 6.02214076e23, 1e-300, 123456789.0}) {
    const std::u16string text = calc::StageSettingText(value);
    const calc::Outcome<double> back = calc::ReadStageSetting(StageSetting::kGbw, text);
    if (value > 1e12) continue;  // beyond the GBW's range, but the text still reads
    ASSERT_TRUE(back.ok()) << calc::Utf16ToUtf8(text);
    EXPECT_EQ(*back, value) << calc::Utf16ToUtf8(text);
  }
}

}  // namespace
