#include "cli/command_options.h"

#include <map>
#include <string>

namespace cli {

void AddRunOptions(CLI::App& command, RunOptions& options) {
  const std::map<std::string, Format> formats = {
      {"text", Format::kText}, {"json", Format::kJson}, {"csv", Format::kCsv}};
  command.add_option("--format", options.format, "Output: text (the report), json or csv")
      ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case))
      ->default_str("text");
  command.add_flag("--batch", options.batch,
                   "Read CSV rows from standard input and write one CSV row per input row");
}

void AddCircuitOptions(CLI::App& command, AnalysisInput& input) {
  command.add_option("--r1", input.r1, "R1, input resistor (required)");
  command.add_option("--r2", input.r2, "R2, resistor to ground (leave out for none)");
  command.add_option("--r3", input.r3, "R3, feedback resistor (required)");
  command.add_option("--c1", input.c1, "C1, capacitor to the output (required)");
  command.add_option("--c2", input.c2, "C2, capacitor to the inverting input (required)");
}

void RequireCircuitOptions(const CLI::App& command) {
  for (const char* name : {"--r1", "--r3", "--c1", "--c2"}) {
    if (command.count(name) == 0) throw CLI::RequiredError(name);
  }
}

void AddDesignOptions(CLI::App& command, DesignInput& input) {
  command.add_option("--fo", input.fo, "Wanted centre frequency in Hz")->capture_default_str();
  command.add_option("--q", input.q, "Wanted quality factor")->capture_default_str();
  command.add_option("--h", input.h, "Wanted centre gain (empty: 1)")->capture_default_str();
  command
      .add_option("--zref", input.zref,
                  "Reference impedance in ohms: C2 is the series "
                  "capacitor whose impedance at fo comes nearest it")
      ->capture_default_str();
  command.add_option("--series-r", input.series_r, "E-series size for resistors (inf: none)")
      ->capture_default_str();
  command.add_option("--series-c", input.series_c, "E-series size for capacitors (inf: none)")
      ->capture_default_str();
  command
      .add_option_function<std::string>(
          "--c2",
          [&input](const std::string& text) {
            input.c2 = text;
            input.lock = true;
          },
          "Keep this C2 (the window's Lock box) instead of choosing one")
      ->type_name("TEXT");
}

NamedInputs NamedDesignInputs(const DesignInput& input) {
  return {{"fo", input.fo},
          {"q", input.q},
          {"h", input.h},
          {"zref", input.zref},
          {"series_r", input.series_r},
          {"series_c", input.series_c},
          {"lock", input.lock ? "1" : "0"},
          {"c2", input.c2}};
}

NamedInputs NamedCircuitInputs(const AnalysisInput& input) {
  return {{"r1", input.r1}, {"r2", input.r2}, {"r3", input.r3}, {"c1", input.c1}, {"c2", input.c2}};
}

}  // namespace cli
