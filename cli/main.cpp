// korvane-cli: the calculator's two commands without a window, for scripts and batch runs.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/subcommands/subcommands.h"

namespace {

constexpr const char* kDescription =
    "Designs and analyses the second-order multiple-feedback (MFB) band-pass filter:\n"
    "one op-amp, R1 from the input to the summing node, R2 from there to ground, C1 to\n"
    "the output, C2 to the inverting input, R3 from the inverting input to the output.\n"
    "Results are those of the calculator's window, to the last digit.";

constexpr const char* kFooter =
    "Formats:\n"
    "  text  the report the window copies to the clipboard (LF line ends)\n"
    "  json  {\"command\", \"inputs\": {name: text}, \"results\": {name: {\"text\": as shown,\n"
    "        \"value\": full double or null}}, \"warning\", \"error\", \"report\"}\n"
    "  csv   a header and one row: the inputs, <name>_result, <name>_value, warning, error\n"
    "Batch (--batch): CSV with a header on standard input (RFC 4180, UTF-8), one output\n"
    "row per input row, in order; a row that cannot run carries its error.\n"
    "Exit status: 0 every result clean; 1 a warning or an error in some row (messages also\n"
    "on standard error for a single run); 2 a usage error (unknown option, missing value,\n"
    "a batch header with unknown or missing columns).\n"
    "Examples:\n"
    "  korvane-cli design --fo 1k --q 5 --h 2 --series-r 96\n"
    "  korvane-cli analyze --r1 10k --r2 1k --r3 100k --c1 10n --c2 10n --format json\n"
    "  korvane-cli design --batch < targets.csv > designs.csv\n"
    "  korvane-cli tolerance --design --fo 1k --q 5 --h 2 --tol-c 2% --seed 1\n"
    "  korvane-cli noise --design --fo 1k --q 5 --opamp NE5532 --format json\n"
    "  korvane-cli opamps --design --fo 10k --q 10 --h 10 --supply 10\n"
    "  korvane-cli optimize --fo 10k --q 8 --h 4 --gbw 10M --bom parts.csv";

// The first word of the command line when it names no subcommand, or empty. korvane-cli
// itself takes no values, so that word is where a subcommand belongs.
std::string UnknownSubcommand(const CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word.starts_with('-')) continue;
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->check_name(std::string(word))) return {};
    }
    // Shown on a terminal: control characters would move its cursor or worse.
    std::string shown(word);
    for (char& c : shown) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
    return shown;
  }
  return {};
}

// "design, analyze, ..." in the order of --help.
std::string SubcommandNames(const CLI::App& app) {
  std::string names;
  for (const CLI::App* command : app.get_subcommands({})) {
    if (!names.empty()) names += ", ";
    names += command->get_name();
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(kDescription, "korvane-cli");
  app.set_version_flag("--version", "korvane-cli " KORVANE_VERSION);
  app.require_subcommand(1);
  app.footer(kFooter);
  int exit_code = 0;
  cli::AddDesignSubcommand(app, exit_code);
  cli::AddAnalyzeSubcommand(app, exit_code);
  cli::AddToleranceSubcommand(app, exit_code);
  cli::AddResponseSubcommand(app, exit_code);
  cli::AddNetlistSubcommand(app, exit_code);
  cli::AddNoiseSubcommand(app, exit_code);
  cli::AddOpAmpsSubcommand(app, exit_code);
  cli::AddOptimizeSubcommand(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
    if (const std::string unknown = UnknownSubcommand(app, argc, argv); !unknown.empty()) {
      std::cerr << "korvane-cli: unknown subcommand '" << unknown << "'; the subcommands are "
                << SubcommandNames(app) << "; see 'korvane-cli --help'\n";
      return 2;
    }
    std::cerr << "korvane-cli: " << error.what() << "; see 'korvane-cli --help'\n";
    return 2;
  }
  return exit_code;
}
