#include "calc/commands/design_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "calc/commands/analysis_command.h"
#include "calc/commands/calc_state.h"
#include "calc/numeric/float_ops.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using testing_support::MemoryForm;
using Kind = calc::FloatError::Kind;
using Log = std::vector<std::string>;

const std::string kQWarning =
    "warning=\"Q値の誤差が大きい\r\nHまたはC2の値を微調整すると改善できます\"";
const std::string kFoWarning = "warning=\"foに値を入力してください\"";
const std::string kQMissingWarning = "warning=\"Qに値を入力してください\"";
const std::string kNotPositiveWarning = "warning=\"ゼロ以下の伝達関数パラメータは不正です\"";
const std::string kZrefWarning = "warning=\"標準Zに値を入力してください\"";

// The blanking of the result fields at the start of a design; a locked C2 keeps its text.
Log Cleared(bool locked = false) {
  Log log = {"EditFor=\"\"", "EditQr=\"\"", "EditHr=\"\"", "EditC1=\"\""};
  if (!locked) log.push_back("EditC2=\"\"");
  log.insert(log.end(), {"EditR1=\"\"", "EditR2=\"\"", "EditR3=\"\""});
  return log;
}

// The eight result texts in the order they are written.
struct Shown {
  const char *fo, *q, *h, *c1, *c2, *r1, *r2, *r3;
};

Log Results(const Shown& s) {
  auto line = [](const char* field, const char* text) {
    return std::string(field) + "=\"" + text + "\"";
  };
  return {line("EditFor", s.fo), line("EditQr", s.q),  line("EditHr", s.h),  line("EditC1", s.c1),
          line("EditC2", s.c2),  line("EditR1", s.r1), line("EditR2", s.r2), line("EditR3", s.r3)};
}

Log Join(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Shown kDefaultResults = {"964.575",  "1000.000m", "  1.000",  " 15.000n",
                               " 15.000n", " 11.000k",  " 11.000k", " 22.000k"};

using Typed = std::vector<std::pair<Field, std::u16string>>;

void Type(MemoryForm& form, const Typed& typed) {
  for (const auto& [field, text] : typed) form.Set(field, text);
}

TEST(ButtonCalcClick, HeaderExamples) {
  MemoryForm form;
  calc::CalcState state;
  calc::ButtonCalcClick(form, state);
  EXPECT_EQ(form.Log(), Join({Cleared(), Results(kDefaultResults), {"output=on"}}));
}

TEST(ButtonCalcClick, DefaultDesign) {
  MemoryForm form;
  calc::CalcState state;
  calc::ButtonCalcClick(form, state);
  EXPECT_EQ(form.Log(), Join({Cleared(), Results(kDefaultResults), {"output=on"}}));
  EXPECT_TRUE(state.Calculated);
  EXPECT_TRUE(state.DesignMode);
  EXPECT_EQ(state.SeriesR, 24);
  EXPECT_EQ(state.SeriesC, 6);
  // 1.5 x exp(-8 ln 10), not the double nearest 15 nF: the last digits reach the results.
  EXPECT_EQ(state.C2, 1.4999999999999492e-08);
  EXPECT_EQ(state.C1, state.C2);
  EXPECT_EQ(state.R1, 11000.0);
  EXPECT_EQ(state.R2, 11000.0);
  EXPECT_EQ(state.R3, 22000.0);
  EXPECT_EQ(state.QResult, 0.9999999999999999);
  EXPECT_EQ(state.Fo, 1000.0);
  EXPECT_EQ(state.H, 1.0);
  // The targets are never rewritten.
  EXPECT_EQ(form.Text(Field::EditFo), u"1k");
  EXPECT_EQ(form.Text(Field::EditQ), u"1.0");
  EXPECT_EQ(form.Text(Field::EditStdR), u"10k");
}

TEST(ButtonCalcClick, DesignsFromTheTypedTargets) {
  struct Case {
    const char* name;
    Typed typed;
    Shown shown;
    bool q_warning;
  };
  const Case cases[] = {
      {"no snapping",
       {{Field::ComboBoxER, u"∞"}, {Field::ComboBoxEC, u"∞"}},
       {"  1.000k", "  1.000", "  1.000", " 15.915n", " 15.915n", " 10.000k", " 10.000k",
        " 20.000k"},
       false},
      {"resistor size not an integer",
       {{Field::ComboBoxER, u"E24"}},
       {"1000.000", "  1.000", "  1.000", " 15.000n", " 15.000n", " 10.610k", " 10.610k",
        " 21.221k"},
       false},
      {"high gain: C1 below C2",
       {{Field::EditH, u"4"}},
       {"  1.032k", "997.997m", "  3.993", "  4.700n", " 15.000n", "  8.200k", "180.000k",
        " 43.000k"},
       false},
      // m comes out a hair above H, R2 is computed and then dropped as above 1000 R1.
      {"R2 left out above 1000 R1",
       {{Field::EditQ, u"2"}, {Field::EditH, u"10"}},
       {"  1.002k", "  1.926", "  9.273", " 10.000n", " 15.000n", "  3.300k", "", " 51.000k"},
       true},
      {"H exactly 2 Q^2: no R2",
       {{Field::EditH, u"2"}},
       {"  1.002k", "  1.038", "  2.157", " 15.000n", " 15.000n", "  5.100k", "", " 22.000k"},
       true},
      {"negative reference impedance",
       {{Field::EditStdR, u"-10k"}},
       {"682.058", "707.107m", "  1.000", "-15.000n", "-15.000n", "-11.000k", "", "-22.000k"},
       true},
      {"10 kHz, Q 5, H 2",
       {{Field::EditFo, u"10k"}, {Field::EditQ, u"5"}, {Field::EditH, u"2"}},
       {"  9.840k", "  5.101", "  2.037", "  1.500n", "  1.500n", " 27.000k", "  1.100k",
        "110.000k"},
       false},
      {"E12 resistors, E3 capacitors",
       {{Field::ComboBoxER, u"12"}, {Field::ComboBoxEC, u"3"}},
       {"  1.013k", "  1.050", "  1.103", " 22.000n", " 22.000n", "  6.800k", "  6.800k",
        " 15.000k"},
       true},
      // Beyond the worked examples; expectations evaluated by hand, step by step.
      {"sizes typed in hex",
       {{Field::ComboBoxER, u"$18"}, {Field::ComboBoxEC, u"0x6"}},
       kDefaultResults,
       false},
      {"E96 resistors, E12 capacitors, Q 0.707 needs no R2",
       {{Field::EditQ, u"0.707"}, {Field::ComboBoxER, u"96"}, {Field::ComboBoxEC, u"12"}},
       {"  1.000k", "707.107m", "  1.000", " 15.000n", " 15.000n", "  7.500k", "", " 15.000k"},
       false},
      {"negative sizes step away",
       {{Field::ComboBoxER, u"-24"}, {Field::ComboBoxEC, u"-6"}},
       {"884.194", "  1.000", "  1.000", " 10.000n", " 10.000n", " 18.000k", " 18.000k",
        " 36.000k"},
       false},
      {"sizes at the 32-bit limits",
       {{Field::ComboBoxER, u"2147483647"}, {Field::ComboBoxEC, u"-2147483648"}},
       {"999.717", "  1.000", "  1.000", " 16.000n", " 16.000n", "  9.950k", "  9.950k",
        " 19.900k"},
       false},
      {"50 Hz, Q 10, E192 and E24",
       {{Field::EditFo, u"50"},
        {Field::EditQ, u"10"},
        {Field::EditStdR, u"47k"},
        {Field::ComboBoxER, u"192"},
        {Field::ComboBoxEC, u"24"}},
       {" 50.270", "  9.998", "990.426m", " 68.000n", " 68.000n", "470.000k", "  2.340k",
        "931.000k"},
       false},
      {"100 kHz, Q 0.5, E48 and E6",
       {{Field::EditFo, u"100k"},
        {Field::EditQ, u"0.5"},
        {Field::EditStdR, u"1k"},
        {Field::ComboBoxER, u"48"}},
       {" 99.317k", "504.704m", "  1.018", "470.000p", "  1.500n", "  1.690k", " 34.800k",
        "  2.260k"},
       false},
      {"gain 100, Q 3",
       {{Field::EditFo, u"2k"},
        {Field::EditQ, u"3"},
        {Field::EditH, u"100"},
        {Field::EditStdR, u"22k"},
        {Field::ComboBoxEC, u"12"}},
       {"  1.987k", "  3.011", " 99.707", "390.000p", "  3.900n", "  6.200k", "", "680.000k"},
       false},
      {"Q 0.3, gain 0.5",
       {{Field::EditQ, u"0.3"}, {Field::EditH, u"0.5"}},
       {"973.466", "297.802m", "491.803m", "  3.300n", " 15.000n", " 30.000k", "", " 18.000k"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    calc::CalcState state;
    Type(form, c.typed);
    calc::ButtonCalcClick(form, state);
    // The Q warning comes while the result fields are still empty.
    Log expected = Cleared();
    if (c.q_warning) expected.push_back(kQWarning);
    expected = Join({expected, Results(c.shown), {"output=on"}});
    EXPECT_EQ(form.Log(), expected);
    EXPECT_TRUE(state.Calculated);
    EXPECT_TRUE(form.output_enabled());
  }
}

TEST(ButtonCalcClick, EmptyGainMeansUnity) {
  MemoryForm form;
  calc::CalcState state;
  form.Set(Field::EditH, u"");
  calc::ButtonCalcClick(form, state);
  EXPECT_EQ(form.Log(),
            Join({{"EditH=\"1.0\""}, Cleared(), Results(kDefaultResults), {"output=on"}}));
  EXPECT_EQ(state.H, 1.0);
}

TEST(ButtonCalcClick, LockedC2) {
  struct Case {
    const char* name;
    Typed typed;
    Shown shown;
  };
  const Case cases[] = {
      {"10 nF, used as typed",
       {{Field::EditC2, u"10n"}},
       {"979.531", "  1.016", "  1.031", " 10.000n", " 10.000n", " 16.000k", " 16.000k",
        " 33.000k"}},
      {"12 nF is no E6 value and stays",
       {{Field::EditC2, u"12n"}},
       {"  1.001k", "  1.019", "  1.038", " 12.000n", " 12.000n", " 13.000k", " 13.000k",
        " 27.000k"}},
      {"empty C2 is chosen as if unlocked", {{Field::EditC2, u""}}, kDefaultResults},
      {"reference impedance 0 is not used",
       {{Field::EditC2, u"10n"}, {Field::EditStdR, u"0"}},
       {"979.531", "  1.016", "  1.031", " 10.000n", " 10.000n", " 16.000k", " 16.000k",
        " 33.000k"}},
      {"4.7 nF with E48 resistors",
       {{Field::EditC2, u"4.7n"}, {Field::ComboBoxER, u"48"}},
       {"  1.007k", "  1.013", "  1.026", "  4.700n", "  4.700n", " 33.200k", " 33.200k",
        " 68.100k"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    form.SetLock(true);
    calc::CalcState state;
    Type(form, c.typed);
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(form.Log(), Join({Cleared(/*locked=*/true), Results(c.shown), {"output=on"}}));
  }
}

// R2 is left out once it would exceed 1000 R1; at exactly 1000 R1 it stays. Each case lies
// where the outcome turns, and fo and Q follow the circuit that is kept.
TEST(ButtonCalcClick, R2LeftOutOnlyAbove1000TimesR1) {
  struct Case {
    const char* name;
    Typed typed;
    Shown shown;
  };
  const Case cases[] = {
      {"529 R1: kept",
       {{Field::EditQ, u"1.55"}, {Field::EditH, u"10.05"}},
       {"  1.019k", "  1.558", " 10.152", "  4.700n", " 15.000n", "  5.100k", "  2.700M",
        " 68.000k"}},
      {"exactly 1000 R1: kept",
       {{Field::EditQ, u"1.55"}, {Field::EditH, u"10.06"}},
       {"  1.018k", "  1.557", " 10.152", "  4.700n", " 15.000n", "  5.100k", "  5.100M",
        " 68.000k"}},
      // The snapped 20 MOhm is 20000000.000000581, a hair above 1000 x 20 kOhm.
      {"1000.00000000003 R1: left out",
       {{Field::EditQ, u"0.5"}, {Field::EditH, u"8.22"}},
       {"999.020", "514.903m", "  8.727", "470.000p", " 15.000n", " 20.000k", "", "180.000k"}},
      {"1100 R1: left out",
       {{Field::EditQ, u"0.8"}, {Field::EditH, u"2.68"}},
       {"999.020", "808.685m", "  2.741", "  4.700n", " 15.000n", " 10.000k", "", " 36.000k"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    calc::CalcState state;
    Type(form, c.typed);
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(form.Log(), Join({Cleared(), Results(c.shown), {"output=on"}}));
  }
}

// C1 = C2 up to a gain of exactly 2 Q^2 (4.5 at Q 1.5, exact in binary); above it C1 is
// computed and snapped. A locked C2 off the E6 series shows which branch ran: only the
// computed C1 is snapped. At exactly 2 Q^2 the gain also needs no R2.
TEST(ButtonCalcClick, C1BelowC2OnlyAboveTwiceQSquared) {
  struct Case {
    const char* name;
    const char16_t* gain;
    Shown shown;
  };
  const Case cases[] = {
      {"just below",
       u"4.49",
       {"  1.025k", "  1.507", "  4.535", " 12.000n", " 12.000n", "  4.300k", "  2.000M",
        " 39.000k"}},
      {"exactly 2 Q^2",
       u"4.5",
       {"  1.024k", "  1.506", "  4.535", " 12.000n", " 12.000n", "  4.300k", "", " 39.000k"}},
      {"just above",
       u"4.51",
       {"  1.025k", "  1.510", "  4.599", " 10.000n", " 12.000n", "  5.100k", " 56.000k",
        " 43.000k"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    form.SetLock(true);
    calc::CalcState state;
    Type(form, {{Field::EditQ, u"1.5"}, {Field::EditH, c.gain}, {Field::EditC2, u"12n"}});
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(form.Log(), Join({Cleared(/*locked=*/true), Results(c.shown), {"output=on"}}));
  }
}

// A fault in the targets warns before anything is cleared: an earlier design stays shown.
TEST(ButtonCalcClick, TargetFaultsWarnAndKeepEarlierResults) {
  struct Case {
    const char* name;
    Typed typed;
    Log log;
  };
  const Case cases[] = {
      {"fo empty", {{Field::EditFo, u""}}, {kFoWarning, "output=off"}},
      {"fo empty, H empty: H becomes 1.0 first",
       {{Field::EditFo, u""}, {Field::EditH, u""}},
       {"EditH=\"1.0\"", kFoWarning, "output=off"}},
      {"fo and Q unreadable: fo first",
       {{Field::EditFo, u"abc"}, {Field::EditQ, u"?"}},
       {kFoWarning, "output=off"}},
      {"Q empty", {{Field::EditQ, u""}}, {kQMissingWarning, "output=off"}},
      {"fo zero", {{Field::EditFo, u"0"}}, {kNotPositiveWarning, "output=off"}},
      {"fo negative zero", {{Field::EditFo, u"-0"}}, {kNotPositiveWarning, "output=off"}},
      {"Q negative", {{Field::EditQ, u"-1"}}, {kNotPositiveWarning, "output=off"}},
      {"Q missing wins over fo negative",
       {{Field::EditFo, u"-1k"}, {Field::EditQ, u""}},
       {kQMissingWarning, "output=off"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);  // an earlier design, still shown
    form.ClearEvents();
    Type(form, c.typed);
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(form.Log(), c.log);
    EXPECT_EQ(form.Text(Field::EditR1), u" 11.000k");
    EXPECT_EQ(form.Text(Field::EditQr), u"1000.000m");
    EXPECT_FALSE(state.Calculated);
    EXPECT_TRUE(state.DesignMode);
    EXPECT_FALSE(form.output_enabled());
  }
}

TEST(ButtonCalcClick, MissingReferenceImpedanceWarnsAfterClearing) {
  for (const bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "locked" : "unlocked");
    MemoryForm form;
    form.SetLock(locked);
    form.Set(Field::EditC2, u"10n");
    form.Set(Field::EditStdR, u"");
    form.SetOutputState(true);
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(form.Log(), Join({Cleared(locked), {kZrefWarning, "output=off"}}));
    EXPECT_EQ(form.Text(Field::EditC2), locked ? u"10n" : u"");
    EXPECT_FALSE(state.Calculated);
    EXPECT_FALSE(form.output_enabled());
  }
}

// Values that pass the checks but cannot be computed end the command at the faulting
// operation: the results stay blank and the output buttons keep their earlier state.
TEST(ButtonCalcClick, FloatingPointFaultsLeaveTheButtonsAlone) {
  struct Case {
    const char* name;
    Typed typed;
    Kind kind;
    bool calculated;  // true when the fault came after C2 was chosen
  };
  const Case cases[] = {
      {"reference impedance 0", {{Field::EditStdR, u"0"}}, Kind::kDivisionByZero, false},
      {"gain 0", {{Field::EditH, u"0"}}, Kind::kDivisionByZero, true},
      {"negative gain", {{Field::EditH, u"-1"}}, Kind::kInvalidOperation, true},
      {"tiny reference impedance: C2 overflows",
       {{Field::EditStdR, u"1e-320"}},
       Kind::kOverflow,
       false},
      {"fo so small that C2 overflows",
       {{Field::EditFo, u"1e-300"}, {Field::EditStdR, u"1e-10"}},
       Kind::kOverflow,
       false},
  };
  for (const bool enabled_before : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << (enabled_before ? ", enabled" : ""));
      MemoryForm form;
      form.SetOutputState(enabled_before);
      calc::CalcState state;
      Type(form, c.typed);
      try {
        calc::ButtonCalcClick(form, state);
        ADD_FAILURE() << "no FloatError";
      } catch (const calc::FloatError& error) {
        EXPECT_EQ(error.kind(), c.kind);
      }
      EXPECT_EQ(form.Log(), Cleared());
      EXPECT_EQ(form.output_enabled(), enabled_before);
      EXPECT_EQ(state.Calculated, c.calculated);
      EXPECT_TRUE(state.DesignMode);
    }
  }
}

TEST(ButtonCalcClick, LockedZeroC2IsAnInvalidOperation) {
  MemoryForm form;
  form.SetLock(true);
  form.Set(Field::EditC2, u"0");
  calc::CalcState state;
  try {
    calc::ButtonCalcClick(form, state);
    ADD_FAILURE() << "no FloatError";
  } catch (const calc::FloatError& error) {
    EXPECT_STREQ(error.what(), "Invalid floating point operation");
  }
  EXPECT_EQ(form.Log(), Cleared(/*locked=*/true));
  EXPECT_EQ(form.Text(Field::EditC2), u"0");
}

// The analysis of the texts a design has just written shows the same three results, as
// long as the texts hold the components (no capacitor below a picofarad, which the texts
// cannot show) and no result lies exactly on a rounding edge (see the next test).
TEST(ButtonCalcClick, AnalysisOfTheDesignGivesTheSameResults) {
  const char16_t* sizes[] = {u"3", u"6", u"12", u"24", u"48", u"96", u"192"};
  struct Target {
    const char16_t *fo, *q, *h, *zref;
  };
  const Target targets[] = {
      {u"1k", u"1.0", u"1.0", u"10k"},   {u"10k", u"5", u"2", u"10k"},
      {u"50", u"10", u"1", u"47k"},      {u"100k", u"0.5", u"1", u"1k"},
      {u"2k", u"3", u"100", u"22k"},     {u"1k", u"2", u"9", u"10k"},
      {u"440", u"0.707", u"4", u"4.7k"}, {u"3.3k", u"1.5", u"0.2", u"100k"},
      {u"20", u"1", u"1", u"1M"},        {u"1M", u"2", u"3", u"200"},
  };
  for (const char16_t* r_size : sizes) {
    for (const char16_t* c_size : sizes) {
      for (const Target& t : targets) {
        MemoryForm form;
        Type(form, {{Field::EditFo, t.fo},
                    {Field::EditQ, t.q},
                    {Field::EditH, t.h},
                    {Field::EditStdR, t.zref},
                    {Field::ComboBoxER, r_size},
                    {Field::ComboBoxEC, c_size}});
        calc::CalcState state;
        calc::ButtonCalcClick(form, state);
        const std::u16string designed[] = {form.Text(Field::EditFor), form.Text(Field::EditQr),
                                           form.Text(Field::EditHr)};
        calc::ButtonTFClick(form, state);
        SCOPED_TRACE(testing::Message()
                     << "E" << MemoryForm::ToUtf8(r_size) << "/E" << MemoryForm::ToUtf8(c_size)
                     << " fo " << MemoryForm::ToUtf8(t.fo) << " Q " << MemoryForm::ToUtf8(t.q)
                     << " H " << MemoryForm::ToUtf8(t.h));
        EXPECT_EQ(form.Text(Field::EditFor), designed[0]);
        EXPECT_EQ(form.Text(Field::EditQr), designed[1]);
        EXPECT_EQ(form.Text(Field::EditHr), designed[2]);
      }
    }
  }
}

// The texts keep three decimals of each component and drop the last digits that the far
// decades' scales (exp(d ln 10)) leave in the designed values. Where an achieved value is
// exactly a half of the last shown digit, or exactly 1 (just below 1 it shows with the
// milli prefix), those dropped digits decide the text, and the analysis of the texts
// shows a neighbouring one.
TEST(ButtonCalcClick, AnalysisOfTheDesignWhereDroppedDigitsDecide) {
  struct Case {
    const char* name;
    Typed typed;
    Shown designed;
    const char *fo, *q, *h;  // the analysis of the designed texts
  };
  const Case cases[] = {
      // H = 53 k / (3.2 k (10 n / 15 n + 1)) = 9.9375 exactly: the designed capacitors
      // give 9.937500000000018, the texts " 10.000n" and " 15.000n" a hair below.
      {"H on a half",
       {{Field::EditQ, u"2"}, {Field::EditH, u"10"}, {Field::ComboBoxER, u"192"}},
       {"997.842", "  1.994", "  9.938", " 10.000n", " 15.000n", "  3.200k", "", " 53.000k"},
       "997.842",
       "  1.994",
       "  9.937"},
      // Q is exactly 1: 0.9999999999999953 from the designed values, 1 from the texts.
      {"Q of exactly 1",
       {{Field::EditFo, u"47k"},
        {Field::EditQ, u"1"},
        {Field::EditH, u"100"},
        {Field::EditStdR, u"1k"},
        {Field::ComboBoxER, u"192"},
        {Field::ComboBoxEC, u"96"}},
       {" 46.810k", "1000.000m", "100.000", " 34.000p", "  3.400n", "  1.000k", "100.000k",
        "101.000k"},
       " 46.810k",
       "  1.000",
       "100.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    Type(form, c.typed);
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(form.Log(), Join({Cleared(), Results(c.designed), {"output=on"}}));
    calc::ButtonTFClick(form, state);
    EXPECT_EQ(MemoryForm::ToUtf8(form.Text(Field::EditFor)), c.fo);
    EXPECT_EQ(MemoryForm::ToUtf8(form.Text(Field::EditQr)), c.q);
    EXPECT_EQ(MemoryForm::ToUtf8(form.Text(Field::EditHr)), c.h);
  }
}

// No text in any field may take the command outside its designed outcomes: a warning,
// a FloatError, or results with the output enabled.
TEST(ButtonCalcClick, HostileTextsEndInADesignedOutcome) {
  const std::u16string texts[] = {u"",
                                  u"0",
                                  u"-0",
                                  u"1e308",
                                  u"-1e308",
                                  u"1e-320",
                                  u"4.9e-324",
                                  u"1e-300",
                                  u"2147483647",
                                  u"-2147483648",
                                  u"9223372036854775808",
                                  u"$FFFFFFFF",
                                  u"∞",
                                  u"１",
                                  u"-1k",
                                  u"1T",
                                  u"1p",
                                  std::u16string(1, char16_t{0xD800}),  // a lone surrogate
                                  std::u16string(100000, u'9'),
                                  u"1e1025"};
  const Field fields[] = {Field::EditFo,     Field::EditQ,      Field::EditH, Field::EditStdR,
                          Field::ComboBoxER, Field::ComboBoxEC, Field::EditC2};
  for (const bool locked : {false, true}) {
    for (const Field field : fields) {
      for (const std::u16string& text : texts) {
        SCOPED_TRACE(testing::Message() << MemoryForm::FieldName(field) << " = \""
                                        << MemoryForm::ToUtf8(text.substr(0, 20)) << "\"");
        MemoryForm form;
        form.SetLock(locked);
        form.Set(field, text);
        calc::CalcState state;
        bool raised = false;
        try {
          calc::ButtonCalcClick(form, state);
        } catch (const calc::FloatError&) {
          raised = true;
        }
        ASSERT_FALSE(form.events().empty());
        const auto& last = form.events().back();
        if (raised) {
          EXPECT_NE(last.kind, MemoryForm::Event::Kind::kOutputEnabled);
        } else {
          ASSERT_EQ(last.kind, MemoryForm::Event::Kind::kOutputEnabled);
          EXPECT_EQ(last.enabled, state.Calculated);
        }
      }
    }
  }
}

}  // namespace
