#include <iostream>
#include <memory>
#include <vector>

#include "calc/studies/tolerance_inputs.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/subcommands.h"
#include "cli/tolerance_run.h"

namespace cli {

void AddToleranceSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    ToleranceInput input;
    Format format = Format::kText;
  };
  auto settings = std::make_shared<Settings>();
  ToleranceInput& input = settings->input;
  CLI::App* command = app.add_subcommand(
      "tolerance",
      "Sensitivities, worst case and a Monte Carlo run of the circuit built from real parts");
  AddCircuitSourceOptions(*command, input.circuit);
  AddFormatOption(*command, settings->format);
  command->add_option("--tol-r", input.tol_r, "Tolerance of every resistor")->capture_default_str();
  command->add_option("--tol-c", input.tol_c, "Tolerance of every capacitor")
      ->capture_default_str();
  for (int part = 0; part < calc::kPartCount; ++part) {
    command->add_option(std::string(kPartToleranceOptions[part]), input.tol_part[part],
                        "This part's tolerance, overriding its kind's");
  }
  command
      ->add_option_function<std::string>(
          "--distribution",
          [&input](const std::string& name) {
            input.distribution =
                name == "normal" ? calc::Distribution::kNormal : calc::Distribution::kUniform;
          },
          "How each part spreads about its value: uniform, evenly within its tolerance; or "
          "normal, with the tolerance as 3 sigma (cut there). Default: uniform")
      ->transform(CLI::IsMember({"uniform", "normal"}, CLI::ignore_case).description(""))
      ->option_text("uniform|normal")
      ->default_str("uniform");
  command->add_option("--trials", input.trials, "Monte Carlo trials, 1 to 1000000")
      ->capture_default_str();
  command->add_option("--seed", input.seed,
                      "Seed, 0 to 2^64-1; the same seed repeats the same trials "
                      "(default: a new one, shown in the output)");
  command
      ->add_option("--limit-fo", input.limit_fo,
                   "Yield limit on fo, +- about the target with --design, else about the "
                   "nominal circuit's fo")
      ->capture_default_str();
  command->add_option("--limit-q", input.limit_q, "Yield limit on Q")->capture_default_str();
  command->add_option("--limit-h", input.limit_h, "Yield limit on H")->capture_default_str();
  command->add_option("--gbw", input.gbw,
                      "Op-amp gain-bandwidth product in Hz: adds the sensitivities of the "
                      "measured peak, bandwidth Q and peak gain with this op-amp");
  command->add_option("--a0", input.a0, "Op-amp DC gain (with --gbw)")->capture_default_str();
  command->footer(
      "Tolerances and limits are per cent, a bare number too (\"1\" = \"1%\", \"0.5\" = 0.5 %).\n"
      "Without --design the circuit is --r1 .. --c2 as for analyze; with it, --c2 is the\n"
      "design's kept C2.\n"
      "The yield counts the trials whose fo, Q and H all lie within the limits: about the\n"
      "wanted --fo, --q and --h with --design (what the parts must meet),\n"
      "about the nominal circuit's own figures without it; the outputs say which.\n"
      "Formats: text, the report; json, {\"sensitivity\", \"worst_case\", \"monte_carlo\",\n"
      "\"yield_centre\": {\"about\": \"target\" or \"nominal\", \"fo\", \"q\", \"h\"}, \"yield\",\n"
      "\"yield_interval\"}, and \"model_sensitivity\" with --gbw; csv, the trials (part values\n"
      "and fo, Q, H) one row each.\n"
      "Percentiles interpolate linearly between order statistics; the yield interval is\n"
      "the 95 % Wilson interval.");
  command->callback([settings, command, &exit_code] {
    CheckCircuitSourceOptions(*command, settings->input.circuit);
    exit_code =
        RunTolerance(settings->input, settings->format, calc::NewSeed(), std::cout, std::cerr);
  });
}

}  // namespace cli
