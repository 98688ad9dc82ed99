// The design's rules tested where they turn, through the command as the window runs it:
// each case sits on an input where the outcome visibly changes, so a wrong threshold, a
// reversed comparison or two swapped fields show. Expected values come from the formulas
// worked by hand (fo = sqrt((1/R1 + 1/R2) / (R3 C1 C2)) / 2 pi and so on) for the snapped
// parts, not from the code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/commands/analysis_command.h"
#include "calc/commands/design_command.h"
#include "calc/commands/report.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using testing_support::MemoryForm;

std::string Text(const MemoryForm& form, Field field) {
  return MemoryForm::ToUtf8(form.Text(field));
}

// R2 is left out only when it would exceed 1000 R1. With C2 locked at 10 nF, Q = 1 and fo
// chosen so that R1 || R2 is 100 ohms, R1 snaps to 100 and the gain sets R2 / R1.
TEST(DesignRules, R2IsLeftOutOnlyAboveAThousandTimesR1) {
  struct Case {
    const char* name;
    const char16_t* H;
    const char* r2;  // as shown; empty when left out
    const char* fo;
    const char* q;
  } const cases[] = {
      // R2 = 51 k = 510 R1: kept. fo = sqrt((1/100 + 1/51k) / (390 (10n)^2)) / 2 pi.
      {"510 R1", u"1.996078", " 51.000k", " 80.670k", "988.388m"},
      // R2 = 100 k = 1000 R1 exactly (both held exactly): kept.
      {"1000 R1", u"1.998", "100.000k", " 80.632k", "987.914m"},
      // R2 = 110 k = 1100 R1: left out, and fo and Q are those without R2.
      {"1100 R1", u"1.99818", "", " 80.591k", "987.421m"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    form.Set(Field::EditFo, u"79.5774715459k");
    form.Set(Field::EditQ, u"1");
    form.Set(Field::EditH, c.H);
    form.Set(Field::EditC2, u"10n");
    form.SetLock(true);
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(Text(form, Field::EditR1), "100.000");
    EXPECT_EQ(Text(form, Field::EditR2), c.r2);
    EXPECT_EQ(Text(form, Field::EditR3), "390.000");
    EXPECT_EQ(Text(form, Field::EditFor), c.fo);
    EXPECT_EQ(Text(form, Field::EditQr), c.q);
    EXPECT_TRUE(form.warnings().empty());
  }
}

// C1 = C2 up to H = 2 Q^2 (4.5 for Q = 1.5, exact in doubles); above it C1 = C2 / (H/Q^2 - 1)
// snapped. A locked C2 off the series (4.3 nF with E6) shows which: unsnapped it stays
// 4.3 nF, snapped it becomes 4.7 nF.
TEST(DesignRules, C1EqualsTheLockedC2UpToHEqualTwoQSquared) {
  struct Case {
    const char16_t* H;
    const char* c1;
    const char* r1;
    bool q_warning;
  } const cases[] = {
      {u"4.4999999", "  4.300n", " 12.000k", false},
      {u"4.5", "  4.300n", " 12.000k", false},
      {u"4.5000001", "  4.700n", " 11.000k", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(MemoryForm::ToUtf8(c.H));
    MemoryForm form;
    form.Set(Field::EditQ, u"1.5");
    form.Set(Field::EditH, c.H);
    form.Set(Field::EditC2, u"4.3n");
    form.SetLock(true);
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(Text(form, Field::EditC1), c.c1);
    EXPECT_EQ(Text(form, Field::EditC2), "  4.300n");
    EXPECT_EQ(Text(form, Field::EditR1), c.r1);
    EXPECT_EQ(Text(form, Field::EditR2), "");  // m = H or less: no R2 either way
    EXPECT_EQ(form.warnings().size(), c.q_warning ? 1U : 0U);
  }
}

// The accuracy warning comes when the snapped circuit's Q misses the wanted one by more
// than 3 %. With C2 locked at 10 nF and H <= 2 Q^2, C1 = C2 and the E24 resistors alone
// set the miss: Q = sqrt((1/R1 + 1/R2) R3) / 2, worked by hand for the parts shown (each
// ideal value lies more than 1 % inside its E24 step, so the snapping is not in doubt).
TEST(DesignRules, QWarningOnlyBeyondAThreePerCentMiss) {
  struct Case {
    const char* name;
    const char16_t* fo;
    const char16_t* q;
    const char16_t* h;
    const char* r1;
    const char* r2;
    const char* r3;
    const char* fo_result;
    const char* q_result;
    const char* h_result;
    bool warned;
  } const cases[] = {
      // 36 k, 560, 150 k: fo 1749.977 Hz, Q 8.24657 (3.08 % above 8), H 150/72.
      {"3.08 %", u"1.77k", u"8", u"2", " 36.000k", "560.000", "150.000k", "  1.750k", "  8.247",
       "  2.083", true},
      // 13 k, 1.8 k, 27 k: fo 2435.910 Hz, Q 2.06621 (3.31 % above 2), H 27/26.
      {"3.31 %", u"2.45k", u"2", u"1", " 13.000k", "  1.800k", " 27.000k", "  2.436k", "  2.066",
       "  1.038", true},
      // 16 k, 1.1 k, 62 k: fo 1992.352 Hz, Q 3.88068 (2.98 % below 4), H 62/32.
      {"2.98 %", u"1.99k", u"4", u"2", " 16.000k", "  1.100k", " 62.000k", "  1.992k", "  3.881",
       "  1.938", false},
      // 15 k, 150, 56 k: fo 5518.756 Hz, Q 9.70910 (2.91 % below 10), H 56/30.
      {"2.91 %", u"5.55k", u"10", u"2", " 15.000k", "150.000", " 56.000k", "  5.519k", "  9.709",
       "  1.867", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    form.Set(Field::EditFo, c.fo);
    form.Set(Field::EditQ, c.q);
    form.Set(Field::EditH, c.h);
    form.Set(Field::EditC2, u"10n");
    form.SetLock(true);
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);
    EXPECT_EQ(Text(form, Field::EditR1), c.r1);
    EXPECT_EQ(Text(form, Field::EditR2), c.r2);
    EXPECT_EQ(Text(form, Field::EditR3), c.r3);
    EXPECT_EQ(Text(form, Field::EditC1), " 10.000n");
    EXPECT_EQ(Text(form, Field::EditFor), c.fo_result);
    EXPECT_EQ(Text(form, Field::EditQr), c.q_result);
    EXPECT_EQ(Text(form, Field::EditHr), c.h_result);
    ASSERT_EQ(form.warnings().size(), c.warned ? 1U : 0U);
    if (c.warned) {
      EXPECT_EQ(MemoryForm::ToUtf8(form.warnings().front()),
                "Q値の誤差が大きい\r\nHまたはC2の値を微調整すると改善できます");
    }
    EXPECT_TRUE(form.output_enabled());  // the results stand, warned or not
  }
}

// Every value of the report distinct, C1 != C2: a swap of any two fields changes the text.
TEST(DesignRules, ReportsPutEachFieldInItsPlace) {
  MemoryForm design;
  design.Set(Field::EditQ, u"1.5");
  design.Set(Field::EditH, u"5");
  design.Set(Field::EditC2, u"4.3n");
  design.SetLock(true);
  calc::CalcState state;
  calc::ButtonCalcClick(design, state);
  // R1 15 k, R2 390 k, R3 130 k, C1 3.3 nF: fo 975.005 Hz, Q 1.48696, H 4.90351.
  EXPECT_EQ(MemoryForm::ToUtf8(calc::BuildReport(design, state)),
            "2nd BPF\r\n"
            "[Input data]\r\n"
            "fo = 1kHz   Q = 1.5\r\n"
            "R1 =  15.000k\u03A9  R2 = 390.000k\u03A9  R3 = 130.000k\u03A9\r\n"
            "C1 =   3.300nF   C2 =   4.300nF\r\n"
            "\r\n"
            "[Result data]\r\n"
            "fo = 975.005Hz   Q =   1.487   H=   4.904\r\n");

  MemoryForm analysis;
  analysis.Set(Field::EditR1, u"1.1k");
  analysis.Set(Field::EditR2, u"22k");
  analysis.Set(Field::EditR3, u"330k");
  analysis.Set(Field::EditC1, u"4.7n");
  analysis.Set(Field::EditC2, u"6.8n");
  calc::ButtonTFClick(analysis, state);
  // fo 1514.11 Hz, Q 8.72491, H 177.391.
  EXPECT_EQ(MemoryForm::ToUtf8(calc::BuildReport(analysis, state)),
            "2nd BPF\r\n"
            "[Input data]\r\n"
            "R1 = 1.1k\u03A9  R2 = 22k\u03A9  R3 = 330k\u03A9\r\n"
            "C1 = 4.7nF  C2 = 6.8nF\r\n"
            "\r\n"
            "[Result data]\r\n"
            "fo =   1.514kHz   Q =   8.725   H= 177.391\r\n");
}

}  // namespace
