#include <iostream>
#include <memory>

#include "calc/studies/tolerance_inputs.h"
#include "cli/optimize_run.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/subcommands.h"

namespace cli {

void AddOptimizeSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    OptimizeInput input;
    Format format = Format::kText;
  };
  auto settings = std::make_shared<Settings>();
  OptimizeInput& input = settings->input;
  CLI::App* command = app.add_subcommand(
      "optimize",
      "Search the preferred values around the design for the sets that best hit the target");
  AddDesignOptions(*command, input.design);
  command
      ->add_option("--steps", input.steps, "Preferred values on each side of each centre, 0 to 6")
      ->capture_default_str();
  command->add_option("--top", input.top, "How many sets to rank, 1 to 1000")
      ->capture_default_str();
  command->add_option("--allow-fo", input.allow_fo, "Allowance on fo, +- of the target")
      ->capture_default_str();
  command->add_option("--allow-q", input.allow_q, "Allowance on Q")->capture_default_str();
  command->add_option("--allow-h", input.allow_h, "Allowance on H")->capture_default_str();
  command->add_option("--gbw", input.gbw,
                      "Op-amp gain-bandwidth product in Hz: sets are judged by the measured "
                      "peak, bandwidth Q and peak gain on this op-amp (without it: ideal)");
  command->add_option("--a0", input.a0, "Op-amp DC gain (with --gbw)")->capture_default_str();
  command->add_option("--cin", input.cin, "Op-amp input capacitance in farads (with --gbw)")
      ->capture_default_str();
  command
      ->add_option("--opamp", input.opamp,
                   "An op-amp of the catalogue by name; --gbw, --a0 and --cin given beside it "
                   "take the place of its own")
      ->type_name("NAME");
  command->add_option("--tol-r", input.tol_r, "Tolerance of every resistor")->capture_default_str();
  command->add_option("--tol-c", input.tol_c, "Tolerance of every capacitor")
      ->capture_default_str();
  command->add_option("--trials", input.trials, "Yield trials per set, 1 to 1000000")
      ->capture_default_str();
  command->add_option("--seed", input.seed,
                      "Seed of the yield run, 0 to 2^64-1 (default: a new one)");
  command
      ->add_option_function<std::string>(
          "--rank",
          [&input](const std::string& name) {
            input.ranking = name == "yield" ? calc::Ranking::kYield : calc::Ranking::kScore;
          },
          "Order of the sets: score, or yield (highest first, then score)")
      ->transform(CLI::IsMember({"score", "yield"}, CLI::ignore_case).description(""))
      ->option_text("score|yield")
      ->default_str("score");
  AddFormatOption(*command, settings->format);
  command->add_option("--bom", input.bom, "Write the best set's parts list (CSV) to this file");
  command->footer(
      "Allowances and tolerances are per cent, a bare number too (\"1\" = \"1%\").\n"
      "A set's score is the largest of its fo, Q and H errors, each over its allowance; a\n"
      "score of 1 or less meets every allowance. With --trials, --seed or --rank yield, each\n"
      "ranked set and the design's own get a yield: the share of Monte Carlo boards (the same\n"
      "trials for every set) within the allowances, with its 95 % interval.\n"
      "Figures are those the analysis gives for each set's texts as the window writes them.\n"
      "Formats: text, the table; json, {\"reference\", \"candidates\", \"continuous\",\n"
      "\"lowest_gbw_hz\" (with --gbw), \"searched\"}, each set {\"r1\" .. \"c2\" (r2 null when\n"
      "left out), \"texts\", \"fo\", \"q\", \"h\", \"fo_error\", \"q_error\", \"h_error\" "
      "(fractions),\n"
      "\"score\", \"yield\", \"yield_interval\"}; csv, one row per set, the design's own first.\n"
      "--bom: designator, value_text, value, series, tolerance (RFC 4180, CR LF).\n"
      "Exit status 2 when a setting is refused (nothing is searched), 1 with a warning.");
  command->callback([settings, command, &exit_code] {
    for (const char* name : {"--a0", "--cin"}) {
      if (command->count(name) > 0 && command->count("--gbw") == 0 &&
          command->count("--opamp") == 0) {
        throw CLI::ValidationError(name, "needs --gbw or --opamp");
      }
    }
    OptimizeInput& run = settings->input;
    // A part's own A0 and input capacitance count unless one is typed.
    if (!run.opamp.empty()) {
      if (command->count("--a0") == 0) run.a0.clear();
      if (command->count("--cin") == 0) run.cin.clear();
    }
    run.yield = command->count("--trials") > 0 || command->count("--seed") > 0;
    exit_code = RunOptimize(run, settings->format, calc::NewSeed(), std::cout, std::cerr);
  });
}

}  // namespace cli
