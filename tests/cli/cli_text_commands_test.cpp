// The command-line runs must show what the window shows: the same result texts, the same
// warning, the same error, for any texts. The window's side is the real command over an
// in-memory form.
#include "cli/text_commands.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calc/commands/analysis_command.h"
#include "calc/commands/design_command.h"
#include "calc/commands/report.h"
#include "calc/numeric/float_ops.h"
#include "calc/text/error_text.h"
#include "cli/utf8.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using testing_support::MemoryForm;

struct WindowOutcome {
  std::vector<std::string> texts;
  std::string warning;  // the last one shown; a command shows at most one
  std::string error;
  std::string report;
};

std::u16string Utf16(const std::string& text) { return *cli::Utf8ToUtf16(text); }

WindowOutcome Finish(MemoryForm& form, const calc::CalcState& state,
                     std::initializer_list<Field> result_fields, auto&& command) {
  WindowOutcome outcome;
  try {
    command();
  } catch (const calc::FloatError& error) {
    outcome.error = calc::ErrorBoxText(error.what());
  }
  for (const Field field : result_fields)
    outcome.texts.push_back(MemoryForm::ToUtf8(form.Text(field)));
  EXPECT_LE(form.warnings().size(), 1U);
  if (!form.warnings().empty()) outcome.warning = MemoryForm::ToUtf8(form.warnings().back());
  if (outcome.error.empty() && state.Calculated) {
    outcome.report = MemoryForm::ToUtf8(calc::BuildReport(form, state));
  }
  return outcome;
}

WindowOutcome DesignInWindow(const cli::DesignInput& input) {
  MemoryForm form;
  form.Set(Field::EditFo, Utf16(input.fo));
  form.Set(Field::EditQ, Utf16(input.q));
  form.Set(Field::EditH, Utf16(input.h));
  form.Set(Field::EditStdR, Utf16(input.zref));
  form.Set(Field::ComboBoxER, Utf16(input.series_r));
  form.Set(Field::ComboBoxEC, Utf16(input.series_c));
  form.Set(Field::EditC2, Utf16(input.c2));
  form.SetLock(input.lock);
  calc::CalcState state;
  return Finish(form, state,
                {Field::EditR1, Field::EditR2, Field::EditR3, Field::EditC1, Field::EditC2,
                 Field::EditFor, Field::EditQr, Field::EditHr},
                [&] { calc::ButtonCalcClick(form, state); });
}

WindowOutcome AnalysisInWindow(const cli::AnalysisInput& input) {
  MemoryForm form;
  form.Set(Field::EditR1, Utf16(input.r1));
  form.Set(Field::EditR2, Utf16(input.r2));
  form.Set(Field::EditR3, Utf16(input.r3));
  form.Set(Field::EditC1, Utf16(input.c1));
  form.Set(Field::EditC2, Utf16(input.c2));
  calc::CalcState state;
  return Finish(form, state, {Field::EditFor, Field::EditQr, Field::EditHr},
                [&] { calc::ButtonTFClick(form, state); });
}

void ExpectSameOutcome(const cli::CommandOutcome& cli_outcome, const WindowOutcome& window) {
  ASSERT_EQ(cli_outcome.results.size(), window.texts.size());
  for (std::size_t i = 0; i < window.texts.size(); ++i) {
    EXPECT_EQ(cli_outcome.results[i].text, window.texts[i]) << cli_outcome.results[i].name;
  }
  EXPECT_EQ(cli_outcome.warning, window.warning);
  EXPECT_EQ(cli_outcome.error, window.error);
  EXPECT_EQ(cli_outcome.report, window.report);
}

// Each outcome once: results, every warning, a fault in choosing C2 and one in the design,
// a locked C2 kept through a warning, a Q miss shown with its results.
TEST(RunDesign, ShowsWhatTheWindowShows) {
  const cli::DesignInput defaults;
  std::vector<cli::DesignInput> cases(16, defaults);
  cases[1].fo = "";
  cases[2].q = "x";
  cases[3].fo = "-1k";
  cases[4].q = "0";
  cases[5].h = "";                               // becomes 1
  cases[6].zref = "";                            // warning after the results are blanked
  cases[7].zref = "0";                           // C2 = 1 / 0
  cases[8].h = "0";                              // fault inside the design
  cases[9].h = "10", cases[9].q = "2";           // Q missed, results shown
  cases[10].lock = true, cases[10].c2 = "4.3n";  // kept off the series
  cases[11].lock = true, cases[11].c2 = "4.3n", cases[11].zref = "";   // kept through a warning
  cases[12].lock = false, cases[12].c2 = "4.3n", cases[12].fo = "";    // typed, never blanked
  cases[13].lock = false, cases[13].c2 = "4.3n", cases[13].zref = "";  // typed, then blanked
  cases[14].series_r = "∞", cases[14].series_c = "$C0";
  cases[15].lock = true, cases[15].c2 = "";  // Lock without a C2: chosen as usual
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectSameOutcome(cli::RunDesign(cases[i]), DesignInWindow(cases[i]));
  }
}

TEST(RunAnalysis, ShowsWhatTheWindowShows) {
  const std::vector<cli::AnalysisInput> cases = {
      {"10k", "1k", "100k", "10n", "10n"},
      {"8.2k", "", "43k", "4.7n", "15n"},  // no R2
      {"", "1k", "100k", "10n", "10n"},    // warning
      {"10k", "1k", "", "10n", "10n"},
      {"0", "1k", "100k", "10n", "10n"},  // division by zero
      {"-10k", "", "20k", "10n", "10n"},  // square root of a negative
      {"１０ｋ", "abc", "４k7", "10n", "10µ"},
  };
  for (const cli::AnalysisInput& input : cases) {
    SCOPED_TRACE(input.r1 + "," + input.r2 + "," + input.r3 + "," + input.c1 + "," + input.c2);
    ExpectSameOutcome(cli::RunAnalysis(input), AnalysisInWindow(input));
  }
}

// Seeded random combinations of texts a user or a script may type, hostile ones included.
TEST(RunCommands, AgreeWithTheWindowOnRandomTexts) {
  const std::vector<std::string> quantities = {
      "1k",  "10k", "4.7n", "4k7", "0",    "-1",    "",    " ",     "abc",  "1e300", "1e-300", "2",
      "0.5", "100", "15n",  "1m",  "２ｋ", "1,000", "nan", "1e999", "100M", "3.3p",  "-4.7n",  "∞"};
  const std::vector<std::string> sizes = {"24", "6",   "3",          "192",         "∞", "0",  "-6",
                                          "x",  "$18", "2147483647", "-2147483648", "",  "12 "};
  std::mt19937 random(20261210);
  const auto pick = [&random](const std::vector<std::string>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
  };
  for (int run = 0; run < 3000; ++run) {
    cli::DesignInput design{pick(quantities),  pick(quantities), pick(quantities),
                            pick(quantities),  pick(sizes),      pick(sizes),
                            random() % 2 == 0, pick(quantities)};
    SCOPED_TRACE(design.fo + "|" + design.q + "|" + design.h + "|" + design.zref + "|" +
                 design.series_r + "|" + design.series_c + "|" + design.c2);
    ExpectSameOutcome(cli::RunDesign(design), DesignInWindow(design));

    const cli::AnalysisInput analysis{pick(quantities), pick(quantities), pick(quantities),
                                      pick(quantities), pick(quantities)};
    ExpectSameOutcome(cli::RunAnalysis(analysis), AnalysisInWindow(analysis));
    if (HasFailure()) return;  // one reported mismatch says enough
  }
}

// The values are the doubles the window's state holds, not the three-decimal texts.
TEST(RunDesign, CarriesTheFullValues) {
  const cli::CommandOutcome outcome = cli::RunDesign({});
  EXPECT_EQ(outcome.results[1].value, 11000.0);                 // R2
  EXPECT_EQ(outcome.results[3].value, 1.4999999999999492e-08);  // C1
  EXPECT_EQ(outcome.results[6].value, 0.9999999999999999);      // Q
  cli::DesignInput gain_two;
  gain_two.h = "2";
  const cli::CommandOutcome no_r2 = cli::RunDesign(gain_two);
  EXPECT_TRUE(no_r2.results[1].text.empty());
  EXPECT_TRUE(std::isnan(no_r2.results[1].value));
}

TEST(RunCommands, TextsThatAreNotUtf8AreAnError) {
  cli::DesignInput design;
  design.zref = "10\xC0\x80k";  // an overlong NUL
  const cli::CommandOutcome outcome = cli::RunDesign(design);
  EXPECT_EQ(outcome.error, "The zref text is not valid UTF-8.");
  EXPECT_TRUE(outcome.report.empty());
  for (const cli::ResultField& field : outcome.results) EXPECT_TRUE(field.text.empty());
  EXPECT_EQ(cli::RunAnalysis({"1k", "\xED\xA0\x80", "1k", "1n", "1n"}).error,
            "The r2 text is not valid UTF-8.");  // an encoded surrogate
}

}  // namespace
