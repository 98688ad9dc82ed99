#include "calc/export/tolerance_csv.h"

#include <array>
#include <cmath>
#include <string_view>

#include "calc/circuit/circuit_parts.h"
#include "calc/text/number_text.h"

namespace calc {
namespace {

void AppendRow(std::string& out, std::string_view section, std::string_view figure,
               std::string_view statistic, const std::string& value) {
  out.append(section).append(",").append(figure).append(",").append(statistic).append(",");
  out.append(value).append("\r\n");
}

void AppendSensitivities(std::string& out, std::string_view section, const Sensitivities& s) {
  const std::array<std::pair<std::string_view, const PartSensitivities*>, 3> figures = {
      {{"fo", &s.Fo}, {"Q", &s.Q}, {"H", &s.H}}};
  for (const auto& [name, entries] : figures) {
    const PartValues values = PartsOf(*entries);
    for (int part = 0; part < kPartCount; ++part) {
      if (!std::isnan(values[part])) {
        AppendRow(out, section, name, kPartNames[part], ShortestText(values[part]));
      }
    }
    if (!std::isnan(entries->Gbw)) AppendRow(out, section, name, "GBW", ShortestText(entries->Gbw));
  }
}

}  // namespace

std::string TrialsCsv(const MonteCarloResult& run) {
  const bool has_r2 = !run.trials.empty() && run.trials.front().circuit.HasR2();
  std::string out =
      has_r2 ? "trial,R1,R2,R3,C1,C2,fo_hz,Q,H\r\n" : "trial,R1,R3,C1,C2,fo_hz,Q,H\r\n";
  out.reserve(out.size() + run.trials.size() * 160);
  std::int64_t index = 0;
  for (const Trial& trial : run.trials) {
    out.append(std::to_string(index++));
    const PartValues parts = PartsOf(trial.circuit);
    for (int part = 0; part < kPartCount; ++part) {
      if (part == kR2 && !has_r2) continue;
      out.append(",").append(ShortestText(parts[part]));
    }
    for (const double figure : {trial.figures.Fo, trial.figures.Q, trial.figures.H}) {
      out.append(",").append(ShortestText(figure));
    }
    out.append("\r\n");
  }
  return out;
}

std::string SummaryCsv(const Sensitivities& sensitivities,
                       const std::optional<Sensitivities>& model_sensitivities,
                       const WorstCase& worst_case, const MonteCarloResult& run) {
  std::string out = "section,figure,statistic,value\r\n";
  AppendSensitivities(out, "sensitivity", sensitivities);
  if (model_sensitivities) AppendSensitivities(out, "model_sensitivity", *model_sensitivities);
  const std::array<std::pair<std::string_view, const Range*>, 3> ranges = {
      {{"fo", &worst_case.Fo}, {"Q", &worst_case.Q}, {"H", &worst_case.H}}};
  for (const auto& [name, range] : ranges) {
    AppendRow(out, "worst_case", name, "min", ShortestText(range->min));
    AppendRow(out, "worst_case", name, "max", ShortestText(range->max));
  }
  const std::array<std::tuple<std::string_view, double, const Percentiles*>, 3> figures = {
      {{"fo", run.nominal.Fo, &run.Fo},
       {"Q", run.nominal.Q, &run.Q},
       {"H", run.nominal.H, &run.H}}};
  for (const auto& [name, nominal, p] : figures) {
    AppendRow(out, "monte_carlo", name, "nominal", ShortestText(nominal));
    AppendRow(out, "monte_carlo", name, "min", ShortestText(p->min));
    AppendRow(out, "monte_carlo", name, "p0_5", ShortestText(p->p0_5));
    AppendRow(out, "monte_carlo", name, "p5", ShortestText(p->p5));
    AppendRow(out, "monte_carlo", name, "p50", ShortestText(p->p50));
    AppendRow(out, "monte_carlo", name, "p95", ShortestText(p->p95));
    AppendRow(out, "monte_carlo", name, "p99_5", ShortestText(p->p99_5));
    AppendRow(out, "monte_carlo", name, "max", ShortestText(p->max));
  }
  AppendRow(out, "monte_carlo", "", "trials", std::to_string(run.trials.size()));
  AppendRow(out, "monte_carlo", "", "seed", std::to_string(run.seed));
  AppendRow(out, "monte_carlo", "", "distribution",
            run.settings.distribution == Distribution::kNormal ? "normal" : "uniform");
  for (int part = 0; part < kPartCount; ++part) {
    if (!run.trials.empty() && !HasPart(run.trials.front().circuit, part)) continue;
    AppendRow(out, "monte_carlo", kPartNames[part], "tolerance",
              ShortestText(run.settings.tolerances[part]));
  }
  const YieldLimits& limits = run.settings.limits;
  AppendRow(out, "monte_carlo", "fo", "limit", ShortestText(limits.Fo));
  AppendRow(out, "monte_carlo", "Q", "limit", ShortestText(limits.Q));
  AppendRow(out, "monte_carlo", "H", "limit", ShortestText(limits.H));
  AppendRow(out, "monte_carlo", "", "yield", ShortestText(run.yield.fraction));
  AppendRow(out, "monte_carlo", "", "yield_low", ShortestText(run.yield.low));
  AppendRow(out, "monte_carlo", "", "yield_high", ShortestText(run.yield.high));
  return out;
}

}  // namespace calc
