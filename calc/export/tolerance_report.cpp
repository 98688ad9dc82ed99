#include "calc/export/tolerance_report.h"

#include <array>
#include <cmath>
#include <string_view>

#include "calc/circuit/circuit_parts.h"
#include "calc/text/quantity_format.h"

namespace calc {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

// A label padded to the width of the figure column.
std::u16string Label(std::u16string_view name) {
  std::u16string label(name);
  label.resize(6, u' ');
  return label;
}

// Every column of a table: right-aligned in ten characters, so that the widest figure
// text ("1000.000m") keeps a blank before it.
std::u16string Cell(std::u16string_view text) {
  std::u16string cell(text.size() < 10 ? 10 - text.size() : 1, u' ');
  return cell.append(text);
}

// A figure's cell: a text without a prefix letter gets a blank in the letter's place, so
// that the decimal points line up ("  1.026k" over " 909.548 ").
// A value as the window writes it, without the field's padding: "1.000k".
std::u16string Shown(double value) {
  std::u16string text = FormatDisplayed(value);
  const std::size_t first = text.find_first_not_of(u' ');
  return first == std::u16string::npos ? std::u16string() : text.substr(first);
}

std::u16string FigureCell(double value) {
  std::u16string text = FormatDisplayed(value);
  if (!text.empty() && text.back() >= u'0' && text.back() <= u'9') text.push_back(u' ');
  return Cell(text);
}

// A fraction as a percentage with two decimals: 0.0123 -> "1.23%".
std::u16string Percent(double fraction) { return FormatFixed(fraction * 100.0, 0, 2) + u"%"; }

void AppendSensitivityTable(std::u16string& out, std::u16string_view title, const Circuit& circuit,
                            const Sensitivities& s, bool with_gbw) {
  out.append(title).append(kLineEnd);
  out.append(Label(u""));
  for (int part = 0; part < kPartCount; ++part) {
    if (HasPart(circuit, part)) out.append(Cell(Ascii(kPartNames[part])));
  }
  if (with_gbw) out.append(Cell(u"GBW"));
  out.append(kLineEnd);
  const std::array<std::pair<std::u16string_view, const PartSensitivities*>, 3> rows = {
      {{u"fo", &s.Fo}, {u"Q", &s.Q}, {u"H", &s.H}}};
  for (const auto& [name, entries] : rows) {
    out.append(Label(name));
    const PartValues values = PartsOf(*entries);
    for (int part = 0; part < kPartCount; ++part) {
      if (HasPart(circuit, part)) out.append(Cell(FormatFixed(values[part], 0, 4)));
    }
    if (with_gbw) out.append(Cell(FormatFixed(entries->Gbw, 0, 4)));
    out.append(kLineEnd);
  }
}

}  // namespace

std::u16string BuildToleranceReport(const Circuit& circuit, const Sensitivities& sensitivities,
                                    const std::optional<Sensitivities>& model_sensitivities,
                                    const WorstCase& worst_case, const MonteCarloResult& run) {
  std::u16string out = u"2nd BPF tolerance";
  out.append(kLineEnd).append(u"[Circuit]").append(kLineEnd);
  out.append(u"R1 = ").append(FormatDisplayed(circuit.R1)).append(u"Ω  R2 = ");
  out.append(FormatDisplayed(circuit.R2)).append(u"Ω  R3 = ").append(FormatDisplayed(circuit.R3));
  out.append(u"Ω").append(kLineEnd);
  out.append(u"C1 = ").append(FormatDisplayed(circuit.C1)).append(u"F  C2 = ");
  out.append(FormatDisplayed(circuit.C2)).append(u"F").append(kLineEnd);

  const ToleranceSettings& settings = run.settings;
  out.append(u"[Tolerance]").append(kLineEnd);
  for (int part = 0; part < kPartCount; ++part) {
    if (!HasPart(circuit, part)) continue;
    if (part != kR1) out.append(u"  ");
    out.append(Ascii(kPartNames[part])).append(u" ±").append(Percent(settings.tolerances[part]));
  }
  out.append(kLineEnd);
  out.append(settings.distribution == Distribution::kNormal ? u"normal (tolerance = 3 sigma)"
                                                            : u"uniform");
  out.append(u", trials ").append(Ascii(std::to_string(run.trials.size())));
  out.append(u", seed ").append(Ascii(std::to_string(run.seed))).append(kLineEnd);

  AppendSensitivityTable(out, u"[Sensitivity]", circuit, sensitivities, false);
  if (model_sensitivities) {
    AppendSensitivityTable(out, u"[Sensitivity with op-amp]", circuit, *model_sensitivities, true);
  }

  out.append(u"[Worst case]").append(kLineEnd);
  out.append(Label(u"")).append(Cell(u"min")).append(Cell(u"max")).append(kLineEnd);
  const std::array<std::pair<std::u16string_view, const Range*>, 3> ranges = {
      {{u"fo", &worst_case.Fo}, {u"Q", &worst_case.Q}, {u"H", &worst_case.H}}};
  for (const auto& [name, range] : ranges) {
    out.append(Label(name)).append(FigureCell((range->min)));
    out.append(FigureCell((range->max))).append(kLineEnd);
  }

  out.append(u"[Monte Carlo]").append(kLineEnd);
  out.append(Label(u""));
  for (const std::u16string_view heading :
       {u"nominal", u"min", u"0.5%", u"5%", u"50%", u"95%", u"99.5%", u"max"}) {
    out.append(Cell(heading));
  }
  out.append(kLineEnd);
  const std::array<std::tuple<std::u16string_view, double, const Percentiles*>, 3> figures = {
      {{u"fo", run.nominal.Fo, &run.Fo},
       {u"Q", run.nominal.Q, &run.Q},
       {u"H", run.nominal.H, &run.H}}};
  for (const auto& [name, nominal, p] : figures) {
    out.append(Label(name));
    for (const double value : {nominal, p->min, p->p0_5, p->p5, p->p50, p->p95, p->p99_5, p->max}) {
      out.append(FigureCell((value)));
    }
    out.append(kLineEnd);
  }

  out.append(u"[Yield]").append(kLineEnd);
  out.append(u"limits fo ±").append(Percent(settings.limits.Fo)).append(u"  Q ±");
  out.append(Percent(settings.limits.Q)).append(u"  H ±").append(Percent(settings.limits.H));
  out.append(kLineEnd);
  out.append(run.CentredOnTarget() ? u"about the design's target fo = "
                                   : u"about the nominal circuit's fo = ");
  out.append(Shown(run.centre.Fo)).append(u"  Q = ").append(Shown(run.centre.Q));
  out.append(u"  H = ").append(Shown(run.centre.H)).append(kLineEnd);
  out.append(u"yield = ").append(Percent(run.yield.fraction)).append(u"  (95% interval ");
  out.append(Percent(run.yield.low)).append(u" - ").append(Percent(run.yield.high));
  out.append(u")").append(kLineEnd);
  return out;
}

}  // namespace calc
