#include <iostream>
#include <memory>

#include "cli/batch/batch.h"
#include "cli/subcommands/command_options.h"
#include "cli/subcommands/subcommands.h"

namespace cli {

void AddDesignSubcommand(CLI::App& app, int& exit_code) {
  struct Settings {
    DesignInput input;
    RunOptions run;
  };
  auto settings = std::make_shared<Settings>();
  CLI::App* command = app.add_subcommand(
      "design", "Choose C2 and C1, compute and snap R1, R2, R3, and analyse the result");
  AddDesignOptions(*command, settings->input);
  AddRunOptions(*command, settings->run);
  command->footer(
      "Values are typed as in the window: 1k, 4.7n, 4k7, 1.2e-6, full-width forms too.\n"
      "Batch columns: fo,q,h,zref,series_r,series_c,lock,c2 (lock: 1 keeps the row's c2;\n"
      "0 or empty lets the design choose C2). Output adds r1_result .. h_result (the texts\n"
      "the window shows), r1_value .. h_value (full doubles), warning and error.");
  command->callback([settings, &exit_code] {
    if (settings->run.batch) {
      exit_code = RunBatch(Command::kDesign, std::cin, std::cout, std::cerr);
      return;
    }
    exit_code =
        PrintOutcome("design", NamedDesignInputs(settings->input), RunDesign(settings->input),
                     settings->run.format, std::cout, std::cerr);
  });
}

}  // namespace cli
