#include "cli/subcommands/command_options.h"

#include <string>
#include <string_view>
#include <vector>

namespace cli {

void AddFormatOption(CLI::App& command, Format& format) {
  command
      .add_option_function<std::string>(
          "--format",
          [&format](const std::string& name) {
            format = name == "json" ? Format::kJson : name == "csv" ? Format::kCsv : Format::kText;
          },
          "Output: text (the report), json or csv")
      ->transform(CLI::IsMember({"text", "json", "csv"}, CLI::ignore_case).description(""))
      ->option_text("text|json|csv")
      ->default_str("text");
}

void AddRunOptions(CLI::App& command, RunOptions& options) {
  AddFormatOption(command, options.format);
  command.add_flag("--batch", options.batch,
                   "Read CSV rows from standard input and write one CSV row per input row");
}

void AddCircuitOptions(CLI::App& command, AnalysisInput& input, std::string_view required) {
  const std::string note = " (" + std::string(required) + ")";
  command.add_option("--r1", input.r1, "R1, input resistor" + note);
  command.add_option("--r2", input.r2, "R2, resistor to ground (leave out for none)");
  command.add_option("--r3", input.r3, "R3, feedback resistor" + note);
  command.add_option("--c1", input.c1, "C1, capacitor to the output" + note);
  command.add_option("--c2", input.c2, "C2, capacitor to the inverting input" + note);
}

void RequireCircuitOptions(const CLI::App& command) {
  for (const char* name : {"--r1", "--r3", "--c1", "--c2"}) {
    if (command.count(name) == 0) throw CLI::RequiredError(name);
  }
}

void AddDesignOptions(CLI::App& command, DesignInput& input) {
  AddDesignTargetOptions(command, input);
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

void AddDesignTargetOptions(CLI::App& command, DesignInput& input) {
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
}

NamedInputs NamedDesignInputs(const DesignInput& input) {
  return {{std::string(keys::kFo), input.fo}, {std::string(keys::kQ), input.q},
          {std::string(keys::kH), input.h},   {"zref", input.zref},
          {"series_r", input.series_r},       {"series_c", input.series_c},
          {"lock", input.lock ? "1" : "0"},   {std::string(keys::kParts[4]), input.c2}};
}

NamedInputs NamedCircuitInputs(const AnalysisInput& input) {
  const auto& k = keys::kParts;
  return {{std::string(k[0]), input.r1},
          {std::string(k[1]), input.r2},
          {std::string(k[2]), input.r3},
          {std::string(k[3]), input.c1},
          {std::string(k[4]), input.c2}};
}

void AddCircuitSourceOptions(CLI::App& command, CircuitOptions& options) {
  command.add_flag("--design", options.design,
                   "The circuit is the design's result for --fo .. --series-c (and --c2 kept)");
  AddCircuitOptions(command, options.parts, "required without --design");
  AddDesignTargetOptions(command, options.design_input);
}

void CheckCircuitSourceOptions(const CLI::App& command, CircuitOptions& options) {
  const std::vector<const char*> design_only = {"--fo",   "--q",        "--h",
                                                "--zref", "--series-r", "--series-c"};
  const std::vector<const char*> parts_only = {"--r1", "--r2", "--r3", "--c1"};
  for (const char* name : options.design ? parts_only : design_only) {
    if (command.count(name) > 0) {
      throw CLI::ValidationError(name,
                                 options.design ? "not used with --design" : "needs --design");
    }
  }
  if (!options.design) RequireCircuitOptions(command);
  if (options.design && command.count("--c2") > 0) {
    options.design_input.c2 = options.parts.c2;
    options.design_input.lock = true;
  }
}

}  // namespace cli
