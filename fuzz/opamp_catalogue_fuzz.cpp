// The op-amp catalogue reader on any bytes as the text of a user's file. Checks: every part
// read has a name, unique without regard to ASCII case, UTF-8 texts and figures that its
// column allows (or none); every warning reads as one line of UTF-8 in both languages; and
// no more parts and row warnings than the text has records.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "calc/text/utf8.h"
#include "data/csv_reader.h"
#include "data/opamp_csv.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz_support::Require;

bool Utf8(const std::string& text) { return calc::Utf8ToUtf16(text).has_value(); }

// No value, or a number the column holds.
bool Positive(double value) { return std::isnan(value) || (value > 0 && std::isfinite(value)); }
bool ZeroOrMore(double value) { return std::isnan(value) || (value >= 0 && std::isfinite(value)); }

void CheckPart(const calc::OpAmpPart& p) {
  Require(!p.name.empty(), "a part has a name", [] { return std::string(); });
  for (const std::string* text : {&p.name, &p.maker, &p.input_type, &p.source}) {
    Require(Utf8(*text), "a part's texts are UTF-8", [&] { return p.name; });
  }
  Require(!p.channels || *p.channels >= 1, "channels from 1", [&] { return p.name; });
  for (const double v :
       {p.gbw_hz, p.a0, p.slew_v_per_s, p.supply_min_v, p.supply_max_v, p.output_current_a}) {
    Require(Positive(v), "positive figures", [&] { return fuzz_support::Describe(v); });
  }
  for (const double v : {p.en_v_rthz, p.en_corner_hz, p.in_a_rthz, p.in_corner_hz, p.cin_diff_f,
                         p.cin_cm_f, p.swing_low_v, p.swing_high_v}) {
    Require(ZeroOrMore(v), "figures of zero or more", [&] { return fuzz_support::Describe(v); });
  }
  Require(!(p.supply_max_v < p.supply_min_v), "supplies in order", [&] { return p.name; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const data::CatalogueRead read = data::ReadOpAmpCsv(text, "fuzz.csv");
  for (std::size_t i = 0; i < read.parts.size(); ++i) {
    CheckPart(read.parts[i]);
    for (std::size_t j = 0; j < i; ++j) {
      Require(!calc::SameOpAmpName(read.parts[i].name, read.parts[j].name), "unique names",
              [&] { return read.parts[i].name; });
    }
  }
  for (const calc::Diagnostic& warning : read.warnings) {
    const std::string cli = calc::CliText(warning);
    Require(Utf8(cli) && cli.find_first_of("\r\n") == std::string::npos,
            "a warning is one line of UTF-8", [&] { return cli; });
    Require(!calc::WindowText(warning).empty(), "a warning has its window text",
            [&] { return cli; });
  }
  std::istringstream in(text);
  std::size_t records = 0;
  data::ReadCsv(in, [&records](data::CsvRecord&&, bool) { ++records; });
  Require(read.parts.size() + read.warnings.size() <= records + 1, "one outcome a record at most",
          [&] { return std::to_string(records); });
  return 0;
}
