#include <iostream>
#include <memory>

#include "cli/batch/batch.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/subcommands.h"

namespace cli {

void AddAnalyzeSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    AnalysisInput input;
    RunOptions run;
  };
  auto settings = std::make_shared<Settings>();
  CLI::App* command =
      app.add_subcommand("analyze", "Compute fo, Q and H of the circuit R1, R2, R3, C1, C2");
  AddCircuitOptions(*command, settings->input);
  AddRunOptions(*command, settings->run);
  command->footer(
      "Batch columns: r1,r2,r3,c1,c2 (an empty r2 leaves R2 out). Output adds fo_result,\n"
      "q_result, h_result, fo_value, q_value, h_value, warning and error.");
  command->callback([settings, command, &exit_code] {
    if (settings->run.batch) {
      exit_code = RunBatch(Command::kAnalysis, std::cin, std::cout, std::cerr);
      return;
    }
    RequireCircuitOptions(*command);
    exit_code =
        PrintOutcome("analyze", NamedCircuitInputs(settings->input), RunAnalysis(settings->input),
                     settings->run.format, std::cout, std::cerr);
  });
}

}  // namespace cli
