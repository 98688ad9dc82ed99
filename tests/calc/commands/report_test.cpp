#include "calc/commands/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "calc/commands/analysis_command.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/design_command.h"
#include "calc/numeric/float_ops.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using testing_support::MemoryForm;

using Texts = std::vector<std::pair<Field, std::u16string>>;

// The fields as the default design leaves them.
const Texts kAfterDefaultDesign = {{Field::EditFo, u"1k"},        {Field::EditQ, u"1.0"},
                                   {Field::EditR1, u" 11.000k"},  {Field::EditR2, u" 11.000k"},
                                   {Field::EditR3, u" 22.000k"},  {Field::EditC1, u" 15.000n"},
                                   {Field::EditC2, u" 15.000n"},  {Field::EditFor, u"964.575"},
                                   {Field::EditQr, u"1000.000m"}, {Field::EditHr, u"  1.000"}};

const std::u16string kDefaultDesignReport =
    u"2nd BPF\r\n"
    u"[Input data]\r\n"
    u"fo = 1kHz   Q = 1.0\r\n"
    u"R1 =  11.000k\u03A9  R2 =  11.000k\u03A9  R3 =  22.000k\u03A9\r\n"
    u"C1 =  15.000nF   C2 =  15.000nF\r\n"
    u"\r\n"
    u"[Result data]\r\n"
    u"fo = 964.575Hz   Q = 1000.000m   H=   1.000\r\n";

// The analysis example: the component texts as typed, the results as shown.
const Texts kAfterAnalysis = {{Field::EditR1, u"10k"},     {Field::EditR2, u"1k"},
                              {Field::EditR3, u"100k"},    {Field::EditC1, u"10n"},
                              {Field::EditC2, u"10n"},     {Field::EditFor, u"  1.669k"},
                              {Field::EditQr, u"  5.244"}, {Field::EditHr, u"  5.000"}};

const std::u16string kAnalysisReport =
    u"2nd BPF\r\n"
    u"[Input data]\r\n"
    u"R1 = 10k\u03A9  R2 = 1k\u03A9  R3 = 100k\u03A9\r\n"
    u"C1 = 10nF  C2 = 10nF\r\n"
    u"\r\n"
    u"[Result data]\r\n"
    u"fo =   1.669kHz   Q =   5.244   H=   5.000\r\n";

std::u16string ReportOf(const Texts& texts, bool design_mode) {
  MemoryForm form;
  for (const auto& [field, text] : texts) form.Set(field, text);
  calc::CalcState state;
  state.DesignMode = design_mode;
  return calc::BuildReport(form, state);
}

TEST(BuildReport, HeaderExamples) {
  EXPECT_EQ(ReportOf(kAfterDefaultDesign, true), kDefaultDesignReport);
  EXPECT_EQ(ReportOf(kAfterAnalysis, false), kAnalysisReport);
}

TEST(BuildReport, WorkedExamplesToTheCharacter) {
  const std::u16string design = ReportOf(kAfterDefaultDesign, true);
  EXPECT_EQ(design, kDefaultDesignReport);
  EXPECT_EQ(design.size(), 187u);
  const std::u16string analysis = ReportOf(kAfterAnalysis, false);
  EXPECT_EQ(analysis, kAnalysisReport);
  EXPECT_EQ(analysis.size(), 139u);
  // The ohm sign is the Greek capital omega, not U+2126.
  EXPECT_EQ(design.find(u'\u2126'), std::u16string::npos);
  EXPECT_EQ(std::count(design.begin(), design.end(), u'\u03A9'), 3);
}

TEST(BuildReport, EmptyFieldsLeaveLabelAndUnitSideBySide) {
  Texts without_r2 = kAfterAnalysis;
  without_r2[1].second = u"";
  without_r2[5].second = u"503.292";
  without_r2[6].second = u"  1.581";
  EXPECT_EQ(ReportOf(without_r2, false),
            u"2nd BPF\r\n"
            u"[Input data]\r\n"
            u"R1 = 10k\u03A9  R2 = \u03A9  R3 = 100k\u03A9\r\n"
            u"C1 = 10nF  C2 = 10nF\r\n"
            u"\r\n"
            u"[Result data]\r\n"
            u"fo = 503.292Hz   Q =   1.581   H=   5.000\r\n");

  // After the clear command every value field is empty: the fixed pieces alone.
  const Texts cleared = {{Field::EditFo, u""}, {Field::EditQ, u""}};
  EXPECT_EQ(ReportOf(cleared, true),
            u"2nd BPF\r\n"
            u"[Input data]\r\n"
            u"fo = Hz   Q = \r\n"
            u"R1 = \u03A9  R2 = \u03A9  R3 = \u03A9\r\n"
            u"C1 = F   C2 = F\r\n"
            u"\r\n"
            u"[Result data]\r\n"
            u"fo = Hz   Q =    H= \r\n");
  EXPECT_EQ(ReportOf(cleared, false),
            u"2nd BPF\r\n"
            u"[Input data]\r\n"
            u"R1 = \u03A9  R2 = \u03A9  R3 = \u03A9\r\n"
            u"C1 = F  C2 = F\r\n"
            u"\r\n"
            u"[Result data]\r\n"
            u"fo = Hz   Q =    H= \r\n");
}

// Whatever a field holds goes in whole and unchanged: edits made after the command,
// full-width characters, line breaks, a lone surrogate, very long texts. Fields the
// report does not show (H, reference impedance, series sizes) never appear.
TEST(BuildReport, FieldTextsAreCopiedVerbatim) {
  const std::u16string lone_surrogate(1, char16_t{0xDC00});
  const std::u16string long_text(5000, u'7');
  MemoryForm form;
  form.Set(Field::EditFo, u"１ｋ");
  form.Set(Field::EditQ, u" 0.707 ");
  form.Set(Field::EditH, u"HHH");
  form.Set(Field::EditStdR, u"ZZZ");
  form.Set(Field::ComboBoxER, u"EEE");
  form.Set(Field::EditR1, u"a\r\nb");
  form.Set(Field::EditR2, lone_surrogate);
  form.Set(Field::EditR3, long_text);
  form.Set(Field::EditC1, u"2.2μ");
  calc::CalcState state;
  state.DesignMode = true;
  state.Calculated = false;  // not looked at
  const std::u16string report = calc::BuildReport(form, state);
  EXPECT_EQ(report,
            u"2nd BPF\r\n"
            u"[Input data]\r\n"
            u"fo = １ｋHz   Q =  0.707 \r\n"
            u"R1 = a\r\nb\u03A9  R2 = " +
                lone_surrogate + u"\u03A9  R3 = " + long_text +
                u"\u03A9\r\n"
                u"C1 = 2.2μF   C2 = F\r\n"
                u"\r\n"
                u"[Result data]\r\n"
                u"fo = Hz   Q =    H= \r\n");
  EXPECT_EQ(report.find(u"HHH"), std::u16string::npos);
  EXPECT_EQ(report.find(u"ZZZ"), std::u16string::npos);
  EXPECT_EQ(report.find(u"EEE"), std::u16string::npos);
}

// From the commands to the report: the layout follows the command started last, even
// one that ended in an error.
TEST(BuildReport, AfterTheCommands) {
  MemoryForm form;
  calc::CalcState state;
  calc::ButtonCalcClick(form, state);
  EXPECT_EQ(calc::BuildReport(form, state), kDefaultDesignReport);

  // A design without R2 reports "R2 = Ω".
  form.Set(Field::EditH, u"2");
  calc::ButtonCalcClick(form, state);
  EXPECT_EQ(calc::BuildReport(form, state),
            u"2nd BPF\r\n"
            u"[Input data]\r\n"
            u"fo = 1kHz   Q = 1.0\r\n"
            u"R1 =   5.100k\u03A9  R2 = \u03A9  R3 =  22.000k\u03A9\r\n"
            u"C1 =  15.000nF   C2 =  15.000nF\r\n"
            u"\r\n"
            u"[Result data]\r\n"
            u"fo =   1.002kHz   Q =   1.038   H=   2.157\r\n");

  // An analysis that fails still switches to the analysis layout.
  form.Set(Field::EditR1, u"0");
  EXPECT_THROW(calc::ButtonTFClick(form, state), calc::FloatError);
  EXPECT_EQ(calc::BuildReport(form, state),
            u"2nd BPF\r\n"
            u"[Input data]\r\n"
            u"R1 = 0\u03A9  R2 = \u03A9  R3 =  22.000k\u03A9\r\n"
            u"C1 =  15.000nF  C2 =  15.000nF\r\n"
            u"\r\n"
            u"[Result data]\r\n"
            u"fo = Hz   Q =    H= \r\n");

  // The analysis example typed by the user.
  for (const auto& [field, text] : kAfterAnalysis) form.Set(field, text);
  form.Set(Field::EditFor, u"");
  calc::ButtonTFClick(form, state);
  EXPECT_EQ(calc::BuildReport(form, state), kAnalysisReport);
}

// A front end without a window builds the same report from values: the design from the
// targets as typed, the analysis from the component texts as typed.
TEST(BuildReportFromValues, EqualsTheWindowsReportAfterTheSameCommand) {
  struct Case {
    const char* name;
    std::vector<std::pair<Field, std::u16string>> texts;
    bool lock;
  };
  const Case designs[] = {
      {"default design, with R2", {}, false},
      {"no R2", {{Field::EditH, u"2"}}, false},
      {"locked C2 off the series", {{Field::EditC2, u"4.3n"}, {Field::EditQ, u" 2.5"}}, true},
      {"E192 both, high gain",
       {{Field::ComboBoxER, u"192"},
        {Field::ComboBoxEC, u"192"},
        {Field::EditH, u"7"},
        {Field::EditFo, u"12.5k"}},
       false},
  };
  for (const Case& c : designs) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    for (const auto& [field, text] : c.texts) form.Set(field, text);
    form.SetLock(c.lock);
    calc::CalcState state;
    calc::ButtonCalcClick(form, state);

    calc::DesignRequest request{state.Fo, state.Q, state.H, 10e3, state.SeriesR, state.SeriesC};
    if (c.lock) request.LockedC2 = calc::ParseField(form, Field::EditC2);
    const calc::DesignResult result = calc::Design(request);
    EXPECT_EQ(calc::BuildDesignReport(form.Text(Field::EditFo), form.Text(Field::EditQ), result),
              calc::BuildReport(form, state));
  }

  const Case analyses[] = {
      {"with R2",
       {{Field::EditR1, u"8.2k"},
        {Field::EditR2, u"180k"},
        {Field::EditR3, u"43k"},
        {Field::EditC1, u"4.7n"},
        {Field::EditC2, u"15n"}},
       false},
      {"without R2, texts kept as typed",
       {{Field::EditR1, u" 5k1"},
        {Field::EditR3, u"２２ｋ"},
        {Field::EditC1, u"15n"},
        {Field::EditC2, u"0.015u"}},
       false},
  };
  for (const Case& c : analyses) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    for (const auto& [field, text] : c.texts) form.Set(field, text);
    calc::CalcState state;
    calc::ButtonTFClick(form, state);

    const calc::CircuitTexts typed{form.Text(Field::EditR1), form.Text(Field::EditR2),
                                   form.Text(Field::EditR3), form.Text(Field::EditC1),
                                   form.Text(Field::EditC2)};
    const calc::TransferFunction result =
        calc::Analyze({state.R1, state.R2, state.R3, state.C1, state.C2});
    EXPECT_EQ(calc::BuildAnalysisReport(typed, result), calc::BuildReport(form, state));
  }
}

// Every value in these runs differs from every other (C1 != C2, fo wanted != fo achieved),
// so a field put in another's place, in either layout, changes the report.
TEST(BuildReport, EveryFieldInItsPlace) {
  struct Case {
    const char* name;
    Texts typed;
    bool design;
    std::u16string report;
  };
  const Case cases[] = {
      {"analysis",
       {{Field::EditR1, u"10k"},
        {Field::EditR2, u"1k"},
        {Field::EditR3, u"100k"},
        {Field::EditC1, u"22n"},
        {Field::EditC2, u"4.7n"}},
       false,
       u"2nd BPF\r\n"
       u"[Input data]\r\n"
       u"R1 = 10k\u03A9  R2 = 1k\u03A9  R3 = 100k\u03A9\r\n"
       u"C1 = 22nF  C2 = 4.7nF\r\n"
       u"\r\n"
       u"[Result data]\r\n"
       u"fo =   1.642kHz   Q =   3.994   H=   1.760\r\n"},
      {"design",
       {{Field::EditFo, u"100k"},
        {Field::EditQ, u"0.5"},
        {Field::EditStdR, u"1k"},
        {Field::ComboBoxER, u"48"}},
       true,
       u"2nd BPF\r\n"
       u"[Input data]\r\n"
       u"fo = 100kHz   Q = 0.5\r\n"
       u"R1 =   1.690k\u03A9  R2 =  34.800k\u03A9  R3 =   2.260k\u03A9\r\n"
       u"C1 = 470.000pF   C2 =   1.500nF\r\n"
       u"\r\n"
       u"[Result data]\r\n"
       u"fo =  99.317kHz   Q = 504.704m   H=   1.018\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryForm form;
    for (const auto& [field, text] : c.typed) form.Set(field, text);
    calc::CalcState state;
    if (c.design) {
      calc::ButtonCalcClick(form, state);
    } else {
      calc::ButtonTFClick(form, state);
    }
    EXPECT_EQ(calc::BuildReport(form, state), c.report);
  }
}

}  // namespace
