// Reading one op-amp catalogue file: a CSV table of parts under a fixed header, its figures
// in the units the header names. A bad row is skipped with a warning that names the file,
// the line and the column; the rest loads.
#ifndef KORVANE_DATA_OPAMP_CSV_H
#define KORVANE_DATA_OPAMP_CSV_H

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "calc/circuit/op_amp_part.h"
#include "calc/text/diagnostic.h"

namespace data {

// The header every catalogue file starts with, in this order.
inline constexpr std::array<std::string_view, 21> kOpAmpColumns = {
    "name",         "maker",         "channels",          "input_type",      "gbw_hz",
    "a0_v_per_v",   "slew_v_per_us", "en_1khz_nv_rthz",   "en_corner_hz",    "in_1khz_pa_rthz",
    "in_corner_hz", "cin_diff_pf",   "cin_cm_pf",         "supply_min_v",    "supply_max_v",
    "swing_low_v",  "swing_high_v",  "output_current_ma", "rail_to_rail_in", "rail_to_rail_out",
    "source"};

// A file larger than this is not read at all, and a row longer than this is skipped: a
// catalogue of a few hundred parts is tens of kilobytes, its longest rows a kilobyte.
inline constexpr std::size_t kLargestCatalogueBytes = 16 << 20;
inline constexpr std::size_t kLongestRowBytes = 64 << 10;

struct CatalogueRead {
  std::vector<calc::OpAmpPart> parts;  // in the file's order
  std::vector<calc::Diagnostic> warnings;
};

// The parts in `text`, the whole of a catalogue file, which `file` names in the warnings.
// Around each cell, blanks are ignored. A UTF-8 byte order mark before the header is
// skipped. Numbers are plain decimals ("3000000", "0.01", "1.5e6", "+5") and are scaled to SI
// base units exactly: "18" in en_1khz_nv_rthz is the double nearest 18e-9, not 18 x 1e-9.
// An empty cell is a figure not known; yes/no cells take either word in any case.
// A header that differs from kOpAmpColumns refuses the whole file (kCatalogueHeader); a row
// is skipped for the first fault found in it, in this order: longer than kLongestRowBytes,
// a quoted field left open, a column missing or one too many, a cell that is not UTF-8, an
// empty name, a cell that is not what its column holds (gbw, A0, slew rate, supplies and
// output current positive; noise, corners, capacitances and swings zero or more; channels a
// whole number from 1), supply_max_v below supply_min_v, a name (calc::SameOpAmpName)
// already on an earlier row, which keeps the earlier one.
CatalogueRead ReadOpAmpCsv(std::string text, std::string_view file);

// ReadOpAmpCsv on the file at `path`: kCatalogueUnreadable when it is not a regular file or
// cannot be read, kCatalogueTooLarge beyond kLargestCatalogueBytes, kCatalogueEmpty when it
// holds no record at all.
CatalogueRead ReadOpAmpFile(const std::filesystem::path& path);

// A path as a warning shows it: its text, with any byte that is not part of UTF-8 shown as
// '?', so that a warning's text is always well-formed.
std::string ShownPath(const std::filesystem::path& path);

}  // namespace data

#endif  // KORVANE_DATA_OPAMP_CSV_H
