#include "calc/text/diagnostic.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "calc/commands/command_messages.h"
#include "calc/text/outcome.h"
#include "calc/text/utf8.h"

namespace {

TEST(FillDetails, FillsNumberedPlaceholdersAndKeepsTheRest) {
  struct Case {
    const char* name;
    const char* pattern;
    std::vector<std::string> details;
    const char* expected;
  };
  const Case cases[] = {
      {"header example", "needs {0}, not '{1}'", {"a", "b"}, "needs a, not 'b'"},
      {"repeated and reordered", "{1}{0}{1}", {"x", "y"}, "yxy"},
      {"missing detail stays", "GBW {0} {1}", {"10M"}, "GBW 10M {1}"},
      {"not a placeholder", "{x} {10} {", {"a"}, "{x} {10} {"},
      {"detail holding braces is not filled again", "{0}", {"{0}"}, "{0}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(calc::FillDetails(c.pattern, c.details), c.expected);
  }
}

TEST(Diagnostic, EveryProblemHasBothTexts) {
  for (int i = 0; i < static_cast<int>(calc::Problem::kCount); ++i) {
    SCOPED_TRACE(i);
    const calc::Diagnostic diagnostic{static_cast<calc::Problem>(i), {}};
    EXPECT_FALSE(calc::WindowText(diagnostic).empty());
    EXPECT_FALSE(calc::CliText(diagnostic).empty());
    EXPECT_EQ(calc::CliText(diagnostic).find('\n'), std::string::npos);
  }
  EXPECT_EQ(calc::WindowText({calc::Problem::kCancelled, {}}), u"中止しました");
}

// The tolerance analysis refuses a circuit that lacks a part with the analysis' own words.
TEST(Diagnostic, MissingPartsReadAsTheAnalysisWarning) {
  EXPECT_EQ(calc::WindowText({calc::Problem::kTolerancePartsMissing}),
            calc::kMissingComponentWarning);
}

TEST(Outcome, HoldsAValueOrADiagnostic) {
  const calc::Outcome<double> ok = 2.5;
  ASSERT_TRUE(ok.ok());
  EXPECT_EQ(*ok, 2.5);
  const calc::Outcome<double> failed = calc::Diagnostic{calc::Problem::kCancelled, {}};
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.diagnostic().problem, calc::Problem::kCancelled);
  EXPECT_THROW((void)failed.value(), std::bad_variant_access);
}

}  // namespace
