// Running a deck through ngspice in batch mode and reading back what it prints, for the
// tests that hold the core's figures to the simulator's.
#ifndef KORVANE_TESTS_SUPPORT_NGSPICE_RUN_H
#define KORVANE_TESTS_SUPPORT_NGSPICE_RUN_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace test_support {

inline bool NgspiceAvailable() { return std::system("command -v ngspice >/dev/null 2>&1") == 0; }

struct NgspiceRun {
  int status = -1;
  std::string output;  // what ngspice printed on its standard output
};

// Runs `ngspice -b` on `deck`, kept as <name>.cir in ScratchFolder().
inline NgspiceRun RunNgspice(const std::string& deck, const std::string& name) {
  const std::filesystem::path folder = ScratchFolder();
  const std::filesystem::path deck_path = folder / (name + ".cir");
  const std::filesystem::path output_path = folder / (name + ".out");
  std::ofstream(deck_path) << deck;
  const std::string command = "ngspice -b '" + deck_path.string() + "' >'" + output_path.string() +
                              "' 2>'" + output_path.string() + ".err'";
  NgspiceRun run;
  run.status = std::system(command.c_str());
  std::ostringstream text;
  text << std::ifstream(output_path).rdbuf();
  run.output = text.str();
  return run;
}

// The rows of the .print table whose first column after the index (and the frequency, in
// a sweep's table) is `column`: each row's numbers after its index. ngspice repeats a
// table's header on every page; rows follow the header last seen.
inline std::vector<std::vector<double>> PrintedTable(const std::string& output,
                                                     std::string_view column) {
  std::vector<std::vector<double>> rows;
  std::istringstream lines(output);
  std::string line;
  bool inside = false;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    if (first == "Index") {
      inside = false;
      for (std::string word; words >> word;) inside = inside || word == column;
      continue;
    }
    if (!inside || first.find_first_not_of("0123456789") != std::string::npos) continue;
    std::vector<double> row;
    for (double value; words >> value;) row.push_back(value);
    rows.push_back(row);
  }
  return rows;
}

// The numbers of a file ngspice's wrdata wrote with wr_singlescale and wr_vecnames set: one
// row a point, the scale first; the header line is skipped.
inline std::vector<std::vector<double>> WrittenColumns(const std::filesystem::path& path) {
  std::vector<std::vector<double>> rows;
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  while (std::getline(file, line)) {
    std::istringstream words(line);
    std::vector<double> row;
    for (double value; words >> value;) row.push_back(value);
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

}  // namespace test_support

#endif  // KORVANE_TESTS_SUPPORT_NGSPICE_RUN_H
