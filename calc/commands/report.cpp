// The report copies the texts it is given as they stand, blanks included; the window's
// report formats no number, so it always says what the window shows.
#include "calc/commands/report.h"

#include <initializer_list>

#include "calc/text/quantity_format.h"

namespace calc {
namespace {

// The texts a report shows, in the fields' roles. The targets appear in the design
// report only.
struct ReportTexts {
  std::u16string_view fo, q;
  std::u16string_view r1, r2, r3, c1, c2;
  std::u16string_view fo_result, q_result, h_result;
};

void Append(std::u16string& report, std::initializer_list<std::u16string_view> pieces) {
  for (const std::u16string_view piece : pieces) report += piece;
}

// "Ω" is U+03A9 GREEK CAPITAL LETTER OMEGA, the only character outside ASCII here.
std::u16string Assemble(bool design, const ReportTexts& t) {
  std::u16string report;
  report.reserve(256);
  Append(report, {u"2nd BPF\r\n", u"[Input data]\r\n"});
  if (design) Append(report, {u"fo = ", t.fo, u"Hz   Q = ", t.q, u"\r\n"});
  Append(report, {u"R1 = ", t.r1, u"\u03A9  R2 = ", t.r2, u"\u03A9  R3 = ", t.r3, u"\u03A9\r\n"});
  // The design report has one blank more before C2.
  Append(report, {u"C1 = ", t.c1, design ? u"F   C2 = " : u"F  C2 = ", t.c2, u"F\r\n"});
  Append(report, {u"\r\n", u"[Result data]\r\n"});
  Append(report, {u"fo = ", t.fo_result, u"Hz   Q = ", t.q_result, u"   H= ", t.h_result, u"\r\n"});
  return report;
}

}  // namespace

std::u16string BuildReport(const Form& form, const CalcState& state) {
  const std::u16string fo = form.Text(Field::EditFo), q = form.Text(Field::EditQ);
  const std::u16string r1 = form.Text(Field::EditR1), r2 = form.Text(Field::EditR2),
                       r3 = form.Text(Field::EditR3);
  const std::u16string c1 = form.Text(Field::EditC1), c2 = form.Text(Field::EditC2);
  const std::u16string fo_result = form.Text(Field::EditFor), q_result = form.Text(Field::EditQr),
                       h_result = form.Text(Field::EditHr);
  return Assemble(state.DesignMode, {fo, q, r1, r2, r3, c1, c2, fo_result, q_result, h_result});
}

std::u16string BuildDesignReport(std::u16string_view fo_typed, std::u16string_view q_typed,
                                 const DesignResult& result) {
  const Circuit& c = result.Snapped;
  const std::u16string r1 = FormatDisplayed(c.R1), r2 = FormatDisplayed(c.R2),
                       r3 = FormatDisplayed(c.R3);
  const std::u16string c1 = FormatDisplayed(c.C1), c2 = FormatDisplayed(c.C2);
  const std::u16string fo = FormatDisplayed(result.Achieved.Fo),
                       q = FormatDisplayed(result.Achieved.Q),
                       h = FormatDisplayed(result.Achieved.H);
  return Assemble(true, {fo_typed, q_typed, r1, r2, r3, c1, c2, fo, q, h});
}

std::u16string BuildAnalysisReport(const CircuitTexts& typed, const TransferFunction& result) {
  const std::u16string fo = FormatDisplayed(result.Fo), q = FormatDisplayed(result.Q),
                       h = FormatDisplayed(result.H);
  return Assemble(false, {{}, {}, typed.R1, typed.R2, typed.R3, typed.C1, typed.C2, fo, q, h});
}

}  // namespace calc
