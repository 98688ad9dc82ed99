#include "calc/commands/analysis_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calc/commands/calc_state.h"
#include "calc/numeric/float_ops.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using testing_support::MemoryForm;
using Kind = calc::FloatError::Kind;
using Log = std::vector<std::string>;

constexpr char kMissingWarning[] = "warning=\"R1,R2,R3,C1,C2,C3 に値をセットしてください\"";

struct Components {
  std::u16string r1, r2, r3, c1, c2;
};

void TypeComponents(MemoryForm& form, const Components& typed) {
  form.Set(Field::EditR1, typed.r1);
  form.Set(Field::EditR2, typed.r2);
  form.Set(Field::EditR3, typed.r3);
  form.Set(Field::EditC1, typed.c1);
  form.Set(Field::EditC2, typed.c2);
}

// What every run starts with: the three result fields blanked.
const std::vector<std::string> kClearResults = {"EditFor=\"\"", "EditQr=\"\"", "EditHr=\"\""};

std::vector<std::string> Then(std::vector<std::string> first,
                              const std::vector<std::string>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

TEST(ButtonTFClick, HeaderExamples) {
  MemoryForm form;
  calc::CalcState state;
  TypeComponents(form, {u"11k", u"11k", u"22k", u"15n", u"15n"});
  calc::ButtonTFClick(form, state);
  EXPECT_EQ(form.Log(), Then(kClearResults, {"EditFor=\"964.575\"", "EditQr=\"1000.000m\"",
                                             "EditHr=\"  1.000\"", "output=on"}));
}

TEST(ButtonTFClick, ShowsTheTransferFunction) {
  struct Case {
    const char* name;
    Components typed;
    const char *fo, *q, *h;
  };
  const Case cases[] = {
      {"1 kHz, Q 1, H 1",
       {u"10k", u"10k", u"20k", u"15.915n", u"15.915n"},
       "  1.000k",
       "  1.000",
       "  1.000"},
      // ((R1 + R2) / (R1 R2)) R3 comes out a hair below 4: Q = 0.9999999999999999.
      {"grouping decides the prefix",
       {u"11k", u"11k", u"22k", u"15n", u"15n"},
       "964.575",
       "1000.000m",
       "  1.000"},
      {"no R2", {u"5.1k", u"", u"22k", u"15n", u"15n"}, "  1.002k", "  1.038", "  2.157"},
      {"high gain design",
       {u"8.2k", u"180k", u"43k", u"4.7n", u"15n"},
       "  1.032k",
       "997.997m",
       "  3.993"},
      {"unreadable R2 means no R2",
       {u"10k", u"abc", u"20k", u"10n", u"10n"},
       "  1.125k",
       "707.107m",
       "  1.000"},
      {"sub-unit results", {u"1k", u"1k", u"1k", u"1u", u"1u"}, "225.079", "707.107m", "500.000m"},
      {"negative R1 with R2 is computed",
       {u"-10k", u"1k", u"20k", u"10n", u"10n"},
       "  3.376k",
       "  2.121",
       " -1.000"},
      {"report example",
       {u"10k", u"1k", u"100k", u"10n", u"10n"},
       "  1.669k",
       "  5.244",
       "  5.000"},
      {"report example without R2",
       {u"10k", u"", u"100k", u"10n", u"10n"},
       "503.292",
       "  1.581",
       "  5.000"},
      // Beyond the worked examples; expectations evaluated by hand in the same grouping.
      {"grouped digits and blanks",
       {u"1,000", u" 1k ", u"10 000", u"100n", u"0.1u"},
       "711.763",
       "  2.236",
       "  5.000"},
      {"full-width prefixes",
       {u"10ｋ", u"10Ｋ", u"20k", u"10ｎ", u"10Ｎ"},
       "  1.592k",
       "  1.000",
       "  1.000"},
      {"unequal capacitors",
       {u"4.7k", u"470", u"100k", u"1n", u"3.3n"},
       " 13.403k",
       "  6.463",
       " 16.329"},
      {"negative R1 and R3 without R2",
       {u"-10k", u"", u"-20k", u"10n", u"10n"},
       "  1.125k",
       "707.107m",
       "  1.000"},
      {"tera and pico", {u"1T", u"1T", u"1T", u"1p", u"1P"}, "225.079m", "707.107m", "500.000m"},
      {"micro-farad C2, low Q",
       {u"2.2k", u"", u"4.7k", u"22n", u"47u"},
       " 48.674",
       " 31.608m",
       "  2.135"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    calc::CalcState state;
    state.DesignMode = true;
    TypeComponents(form, c.typed);
    calc::ButtonTFClick(form, state);
    EXPECT_EQ(form.Log(),
              Then(kClearResults,
                   {std::string("EditFor=\"") + c.fo + "\"", std::string("EditQr=\"") + c.q + "\"",
                    std::string("EditHr=\"") + c.h + "\"", "output=on"}));
    EXPECT_TRUE(state.Calculated);
    EXPECT_FALSE(state.DesignMode);
    EXPECT_TRUE(form.output_enabled());
    // The component fields stay as typed.
    EXPECT_EQ(form.Text(Field::EditR1), c.typed.r1);
    EXPECT_EQ(form.Text(Field::EditC2), c.typed.c2);
  }
}

TEST(ButtonTFClick, KeepsTheParsedComponents) {
  MemoryForm form;
  calc::CalcState state;
  TypeComponents(form, {u"8.2k", u"", u"43k", u"4.7n", u"15n"});
  calc::ButtonTFClick(form, state);
  EXPECT_EQ(state.R1, 8200.0);
  EXPECT_TRUE(std::isnan(state.R2));
  EXPECT_EQ(state.R3, 43000.0);
  EXPECT_EQ(state.C1, 4.7 / 1e9);
  EXPECT_EQ(state.C2, 15.0 / 1e9);
}

TEST(ButtonTFClick, MissingComponentWarnsAndDisablesOutput) {
  struct Case {
    const char* name;
    Components typed;
  };
  const Case cases[] = {
      {"R1 empty", {u"", u"10k", u"20k", u"10n", u"10n"}},
      {"R3 unreadable", {u"10k", u"10k", u"k", u"10n", u"10n"}},
      {"C1 empty", {u"10k", u"10k", u"20k", u"", u"10n"}},
      {"C2 blank", {u"10k", u"10k", u"20k", u"10n", u"   "}},
      {"everything empty", {u"", u"", u"", u"", u""}},
      {"full-width digits hold no number", {u"１０k", u"", u"20k", u"10n", u"10n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    form.Set(Field::EditFor, u"  1.000k");  // results of an earlier run
    form.Set(Field::EditQr, u"  1.000");
    form.Set(Field::EditHr, u"  1.000");
    form.SetOutputState(true);
    calc::CalcState state;
    state.Calculated = true;
    TypeComponents(form, c.typed);
    calc::ButtonTFClick(form, state);
    EXPECT_EQ(form.Log(), Then(kClearResults, {kMissingWarning, "output=off"}));
    EXPECT_EQ(form.Text(Field::EditFor), u"");
    EXPECT_FALSE(state.Calculated);
    EXPECT_FALSE(form.output_enabled());
  }
}

// A value that passes the checks but cannot be computed ends the command at the faulting
// operation: the result fields stay blank and the output buttons keep their state.
TEST(ButtonTFClick, FloatingPointFaultLeavesTheButtonsAlone) {
  struct Case {
    const char* name;
    Components typed;
    Kind kind;
  };
  const Case cases[] = {
      {"R1 zero", {u"0", u"10k", u"20k", u"10n", u"10n"}, Kind::kDivisionByZero},
      {"R2 zero is a value", {u"10k", u"0", u"20k", u"10n", u"10n"}, Kind::kDivisionByZero},
      {"C1 zero", {u"10k", u"", u"20k", u"0", u"10n"}, Kind::kDivisionByZero},
      {"R3 zero", {u"10k", u"10k", u"0", u"10n", u"10n"}, Kind::kDivisionByZero},
      {"negative R1 without R2", {u"-10k", u"", u"20k", u"10n", u"10n"}, Kind::kInvalidOperation},
      {"conductance sum below zero",
       {u"10k", u"-5k", u"20k", u"10n", u"10n"},
       Kind::kInvalidOperation},
      {"C1 = -C2 after valid square roots",
       {u"10k", u"10k", u"-20k", u"-10n", u"10n"},
       Kind::kDivisionByZero},
      {"product beyond the double range",
       {u"1e-300", u"1e-300", u"1k", u"1n", u"1n"},
       Kind::kOverflow},
  };
  for (const bool enabled_before : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << (enabled_before ? ", enabled" : ""));
      MemoryForm form;
      form.SetOutputState(enabled_before);
      calc::CalcState state;
      state.Calculated = true;
      state.DesignMode = true;
      TypeComponents(form, c.typed);
      try {
        calc::ButtonTFClick(form, state);
        ADD_FAILURE() << "no FloatError";
      } catch (const calc::FloatError& error) {
        EXPECT_EQ(error.kind(), c.kind);
      }
      EXPECT_EQ(form.Log(), kClearResults);
      EXPECT_EQ(form.output_enabled(), enabled_before);
      EXPECT_FALSE(state.Calculated);
      EXPECT_FALSE(state.DesignMode);
    }
  }
}

TEST(ButtonTFClick, ErrorMessagesAreTheUsersTexts) {
  MemoryForm form;
  calc::CalcState state;
  TypeComponents(form, {u"0", u"10k", u"20k", u"10n", u"10n"});
  EXPECT_THROW(
      {
        try {
          calc::ButtonTFClick(form, state);
        } catch (const calc::FloatError& error) {
          EXPECT_STREQ(error.what(), "Floating point division by zero");
          throw;
        }
      },
      calc::FloatError);
}

// No text in any component field may take the command outside its designed outcomes: a
// warning, a FloatError, or three results with the output enabled.
TEST(ButtonTFClick, HostileTextsEndInADesignedOutcome) {
  const std::u16string texts[] = {u"",
                                  u"0",
                                  u"-0",
                                  u"1e308",
                                  u"-1e308",
                                  u"1e-320",
                                  u"4.9e-324",
                                  u"1e-300",
                                  u"1.7976931348623157e308",
                                  u"-1k",
                                  u"1T",
                                  u"1p",
                                  u"∞",
                                  std::u16string(1, char16_t{0xD800}),
                                  std::u16string(100000, u'9'),
                                  u"1e1025"};
  const Field fields[] = {Field::EditR1, Field::EditR2, Field::EditR3, Field::EditC1,
                          Field::EditC2};
  for (const Field field : fields) {
    for (const std::u16string& text : texts) {
      SCOPED_TRACE(testing::Message() << MemoryForm::FieldName(field) << " = \""
                                      << MemoryForm::ToUtf8(text.substr(0, 20)) << "\"");
      MemoryForm form;
      TypeComponents(form, {u"10k", u"10k", u"20k", u"10n", u"10n"});
      form.Set(field, text);
      calc::CalcState state;
      bool raised = false;
      try {
        calc::ButtonTFClick(form, state);
      } catch (const calc::FloatError&) {
        raised = true;
      }
      const Log log = form.Log();
      if (raised) {
        EXPECT_EQ(log, kClearResults);
      } else if (state.Calculated) {
        ASSERT_EQ(log.size(), 7u);
        EXPECT_EQ(log.back(), "output=on");
      } else {
        EXPECT_EQ(log, Then(kClearResults, {kMissingWarning, "output=off"}));
      }
    }
  }
}

TEST(ButtonTFClick, SecondClickGivesTheSameTexts) {
  MemoryForm form;
  calc::CalcState state;
  TypeComponents(form, {u"8.2k", u"180k", u"43k", u"4.7n", u"15n"});
  calc::ButtonTFClick(form, state);
  const std::vector<std::string> first = form.Log();
  form.ClearEvents();
  calc::ButtonTFClick(form, state);
  EXPECT_EQ(form.Log(), first);
}

}  // namespace
