#include "cli/opamps_run.h"

#include <array>
#include <cmath>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "calc/export/csv_writer.h"
#include "calc/studies/response_study.h"
#include "calc/studies/suitability.h"
#include "calc/text/number_text.h"
#include "calc/text/quantity_format.h"
#include "cli/utf8.h"

namespace cli {
namespace {

struct Column {
  const char* name;
  double calc::StageOpAmp::*figure;
  double scale;  // to the unit the name gives
};

// The figures, in the units of their names.
constexpr std::array<Column, 13> kFigures = {{
    {"gbw_hz", &calc::StageOpAmp::gbw_hz, 1},
    {"a0", &calc::StageOpAmp::a0, 1},
    {"slew_v_per_us", &calc::StageOpAmp::slew_v_per_s, 1e-6},
    {"en_v_rthz", &calc::StageOpAmp::en_v_rthz, 1},
    {"en_corner_hz", &calc::StageOpAmp::en_corner_hz, 1},
    {"in_a_rthz", &calc::StageOpAmp::in_a_rthz, 1},
    {"in_corner_hz", &calc::StageOpAmp::in_corner_hz, 1},
    {"cin_f", &calc::StageOpAmp::cin_f, 1},
    {"swing_low_v", &calc::StageOpAmp::swing_low_v, 1},
    {"swing_high_v", &calc::StageOpAmp::swing_high_v, 1},
    {"output_current_a", &calc::StageOpAmp::output_current_a, 1},
    {"supply_min_v", &calc::StageOpAmp::supply_min_v, 1},
    {"supply_max_v", &calc::StageOpAmp::supply_max_v, 1},
}};

double FigureOf(const calc::StageOpAmp& op_amp, const Column& column) {
  return op_amp.*column.figure * column.scale;
}

// What each need holds the part to, in the unit korvane-cli writes it.
std::array<double, calc::kNeedCount> Required(const calc::PartSuitability& part) {
  return {part.required_gbw_hz, part.required_a0, part.required_slew_v_per_us, part.output_peak_v,
          calc::kMostOpAmpNoiseShare};
}

struct Listed {
  std::vector<calc::StageOpAmp> op_amps;
  std::optional<std::vector<calc::PartSuitability>> suitability;
};

void WriteJson(const Listed& listed, const std::vector<calc::OpAmpPart>& parts, std::ostream& out) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < listed.op_amps.size(); ++i) {
    nlohmann::ordered_json part;
    part["name"] = parts[i].name;
    part["maker"] = parts[i].maker;
    for (const Column& column : kFigures) {
      part[column.name] = FigureOf(listed.op_amps[i], column);  // NaN: null
    }
    if (listed.suitability) {
      const calc::PartSuitability& suits = (*listed.suitability)[i];
      const auto required = Required(suits);
      nlohmann::ordered_json needs;
      for (int n = 0; n < calc::kNeedCount; ++n) {
        needs[std::string(calc::kNeedNames[n])] = {
            {"verdict", calc::VerdictName(suits.verdicts[n])}, {"required", required[n]}};
      }
      part["needs"] = needs;
      part["suitable"] = suits.MeetsAll();
    }
    list.push_back(part);
  }
  out << nlohmann::ordered_json{{"parts", list}}.dump(2) << '\n';
}

void WriteCsv(const Listed& listed, const std::vector<calc::OpAmpPart>& parts, std::ostream& out) {
  std::vector<std::string> cells = {"name", "maker"};
  for (const Column& column : kFigures) {
    cells.push_back(column.name);
  }
  if (listed.suitability) {
    for (const std::string_view need : calc::kNeedNames) cells.push_back(std::string(need));
    cells.push_back("suitable");
  }
  std::string text;
  calc::AppendCsvRecord(text, cells);
  for (std::size_t i = 0; i < listed.op_amps.size(); ++i) {
    cells = {parts[i].name, parts[i].maker};
    for (const Column& column : kFigures) {
      const double value = FigureOf(listed.op_amps[i], column);
      cells.push_back(std::isnan(value) ? std::string() : calc::ShortestText(value));
    }
    if (listed.suitability) {
      const calc::PartSuitability& suits = (*listed.suitability)[i];
      for (const calc::Verdict verdict : suits.verdicts) {
        cells.push_back(std::string(calc::VerdictName(verdict)));
      }
      cells.push_back(suits.MeetsAll() ? "yes" : "no");
    }
    calc::AppendCsvRecord(text, cells);
  }
  out << text;
}

std::string Shown(double value) {
  if (std::isnan(value)) return "-";
  const std::string text = Utf16ToUtf8(calc::FormatDisplayed(value));
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "-" : text.substr(first);
}

void WriteText(const Listed& listed, const std::vector<calc::OpAmpPart>& parts, std::ostream& out) {
  const auto cell = [&out](const std::string& text, int width) {
    out << std::right << std::setw(width) << text;
  };
  out << std::left << std::setw(12) << "name";
  for (const char* heading : {"GBW", "A0", "SR V/us", "en", "in", "Cin", "swing", "Iout"}) {
    cell(heading, 9);
  }
  if (listed.suitability) {
    for (const std::string_view need : calc::kNeedNames) cell(std::string(need), 8);
    cell("suits", 7);
  }
  out << '\n';
  for (std::size_t i = 0; i < listed.op_amps.size(); ++i) {
    const calc::StageOpAmp& op_amp = listed.op_amps[i];
    out << std::left << std::setw(12) << parts[i].name;
    for (const double value :
         {op_amp.gbw_hz, op_amp.a0, op_amp.slew_v_per_s / 1e6, op_amp.en_v_rthz, op_amp.in_a_rthz,
          op_amp.cin_f, std::fmax(op_amp.swing_low_v, op_amp.swing_high_v),
          op_amp.output_current_a}) {
      cell(Shown(value), 9);
    }
    if (listed.suitability) {
      const calc::PartSuitability& suits = (*listed.suitability)[i];
      for (const calc::Verdict verdict : suits.verdicts) {
        cell(std::string(calc::VerdictName(verdict)), 8);
      }
      cell(suits.MeetsAll() ? "yes" : "no", 7);
    }
    out << '\n';
  }
  if (listed.suitability) {
    out << "needs: gbw and a0 keep the figures within the tolerance with the part's own A0 and\n"
           "Cin; slew at the peak for --amplitude; swing: the output's peak within the rails\n"
           "of --supply (and --supply within the part's range); noise: the op-amp adds no\n"
           "more noise power over the band than the resistors. unknown: a figure is blank.\n";
  }
}

}  // namespace

int RunOpAmps(const OpAmpsInput& input, Format format, std::ostream& out, std::ostream& errors) {
  const std::vector<calc::OpAmpPart>& parts = CliCatalogue(errors);
  if (input.names) {
    for (const calc::OpAmpPart& part : parts) out << part.name << '\n';
    out.flush();
    return 0;
  }
  Listed listed;
  for (const calc::OpAmpPart& part : parts) listed.op_amps.push_back(calc::StageOpAmpOf(part));
  if (input.has_circuit) {
    const calc::Outcome<CircuitSource> source = ReadCircuitSource(input.circuit);
    if (!source) {
      WriteDiagnostic(source.diagnostic(), errors);
      return 1;
    }
    if (source->warning) WriteDiagnostic(*source->warning, errors);
    const calc::Outcome<calc::StageConditions> conditions = ReadConditionOptions(input);
    if (!conditions) {
      WriteDiagnostic(conditions.diagnostic(), errors);
      return 1;
    }
    const calc::Outcome<std::u16string> tolerance_text = DecodeInput("tolerance", input.tolerance);
    if (!tolerance_text) {
      WriteDiagnostic(tolerance_text.diagnostic(), errors);
      return 1;
    }
    const calc::Outcome<double> tolerance = calc::ParseResponseTolerance(*tolerance_text);
    if (!tolerance) {
      WriteDiagnostic(tolerance.diagnostic(), errors);
      return 1;
    }
    calc::Outcome<std::vector<calc::PartSuitability>> suitability =
        calc::RunSuitabilityStudy({source->circuit, *conditions, *tolerance}, parts);
    if (!suitability) {
      WriteDiagnostic(suitability.diagnostic(), errors);
      return 1;
    }
    listed.suitability = *std::move(suitability);
  }
  switch (format) {
    case Format::kJson:
      WriteJson(listed, parts, out);
      break;
    case Format::kCsv:
      WriteCsv(listed, parts, out);
      break;
    case Format::kText:
      WriteText(listed, parts, out);
      break;
  }
  out.flush();
  return 0;
}

}  // namespace cli
