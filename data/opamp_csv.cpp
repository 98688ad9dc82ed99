#include "data/opamp_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

#include "calc/text/utf8.h"
#include "data/csv_reader.h"

namespace data {
namespace {

using calc::Diagnostic;
using calc::OpAmpPart;
using calc::Problem;

// What a column holds, and where it goes in the part.
enum class Kind { kText, kName, kCount, kPositive, kZeroOrMore, kYesNo };
struct Column {
  Kind kind;
  int power_of_ten = 0;  // the file's unit in SI base units: nV is -9
  std::string OpAmpPart::*text = nullptr;
  double OpAmpPart::*number = nullptr;
  std::optional<bool> OpAmpPart::*flag = nullptr;
};

Column Text(std::string OpAmpPart::*member) { return {Kind::kText, 0, member}; }
Column Number(Kind kind, double OpAmpPart::*member, int power_of_ten = 0) {
  return {kind, power_of_ten, nullptr, member};
}
Column Flag(std::optional<bool> OpAmpPart::*member) {
  return {Kind::kYesNo, 0, nullptr, nullptr, member};
}

// In the order of kOpAmpColumns.
const std::array<Column, kOpAmpColumns.size()>& Columns() {
  static const std::array<Column, kOpAmpColumns.size()> columns = {
      Column{Kind::kName, 0, &OpAmpPart::name},
      Text(&OpAmpPart::maker),
      Column{Kind::kCount},
      Text(&OpAmpPart::input_type),
      Number(Kind::kPositive, &OpAmpPart::gbw_hz),
      Number(Kind::kPositive, &OpAmpPart::a0),
      Number(Kind::kPositive, &OpAmpPart::slew_v_per_s, 6),
      Number(Kind::kZeroOrMore, &OpAmpPart::en_v_rthz, -9),
      Number(Kind::kZeroOrMore, &OpAmpPart::en_corner_hz),
      Number(Kind::kZeroOrMore, &OpAmpPart::in_a_rthz, -12),
      Number(Kind::kZeroOrMore, &OpAmpPart::in_corner_hz),
      Number(Kind::kZeroOrMore, &OpAmpPart::cin_diff_f, -12),
      Number(Kind::kZeroOrMore, &OpAmpPart::cin_cm_f, -12),
      Number(Kind::kPositive, &OpAmpPart::supply_min_v),
      Number(Kind::kPositive, &OpAmpPart::supply_max_v),
      Number(Kind::kZeroOrMore, &OpAmpPart::swing_low_v),
      Number(Kind::kZeroOrMore, &OpAmpPart::swing_high_v),
      Number(Kind::kPositive, &OpAmpPart::output_current_a, -3),
      Flag(&OpAmpPart::rail_to_rail_in),
      Flag(&OpAmpPart::rail_to_rail_out),
      Text(&OpAmpPart::source),
  };
  return columns;
}
constexpr std::size_t kSupplyMaxColumn = 14;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsUtf8(std::string_view text) {
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii || calc::Utf8ToUtf16(text).has_value();
}

// A cell as a warning quotes it, on one line: at most 40 bytes, cut between characters
// (the cell is UTF-8 by then) with "..." where it was cut, control characters (a quoted
// cell's line ends among them) as '?'.
std::string Quoted(std::string_view cell) {
  constexpr std::size_t kLongest = 40;
  std::size_t cut = cell.size();
  if (cut > kLongest) {
    cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80) --cut;
  }
  std::string quoted(cell.substr(0, cut));
  for (char& c : quoted) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return cut < cell.size() ? quoted + "..." : quoted;
}

// The double nearest the decimal `cell` times 10^power_of_ten: the power goes into the
// text's exponent before it is read, so the scaling rounds only once.
std::optional<double> ScaledNumber(std::string_view cell, int power_of_ten) {
  // A plus sign is allowed before a digit or point: "+5", not "+-5".
  if (cell.size() > 1 && cell[0] == '+' && cell[1] != '-' && cell[1] != '+') {
    cell.remove_prefix(1);
  }
  const char* const end = cell.data() + cell.size();
  double value = 0;
  const auto [stop, error] = std::from_chars(cell.data(), end, value, std::chars_format::general);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  if (power_of_ten == 0) return value;
  std::string_view mantissa = cell;
  long long exponent = power_of_ten;
  if (const std::size_t e = cell.find_first_of("eE"); e != std::string_view::npos) {
    mantissa = cell.substr(0, e);
    std::string_view written = cell.substr(e + 1);
    if (!written.empty() && written.front() == '+') written.remove_prefix(1);
    int own = 0;
    const auto [own_stop, own_error] =
        std::from_chars(written.data(), written.data() + written.size(), own);
    if (own_error != std::errc() || own_stop != written.data() + written.size()) {
      return std::nullopt;
    }
    exponent += own;
  }
  const std::string scaled = std::string(mantissa) + "e" + std::to_string(exponent);
  const auto [scaled_stop, scaled_error] = std::from_chars(
      scaled.data(), scaled.data() + scaled.size(), value, std::chars_format::general);
  if (scaled_error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool SameWord(std::string_view a, std::string_view b) { return calc::SameOpAmpName(a, b); }

// Reads the records of one file into parts.
class Reader {
 public:
  explicit Reader(std::string_view file) : file_(file) {}

  void Take(data::CsvRecord&& cells, std::int64_t line, bool unterminated) {
    ++records_;
    if (records_ == 1) {
      header_ok_ = CheckHeader(cells, line);
      return;
    }
    if (!header_ok_) return;
    if (std::optional<Diagnostic> fault = ReadRow(cells, line, unterminated)) {
      result_.warnings.push_back(std::move(*fault));
    }
  }

  CatalogueRead Finish() && {
    if (records_ == 0) result_.warnings.push_back({Problem::kCatalogueEmpty, {file_}});
    return std::move(result_);
  }

 private:
  Diagnostic At(Problem problem, std::int64_t line, std::vector<std::string> more = {}) const {
    Diagnostic diagnostic{problem, {file_, std::to_string(line)}};
    for (std::string& detail : more) diagnostic.details.push_back(std::move(detail));
    return diagnostic;
  }

  Diagnostic AtCell(Problem problem, std::int64_t line, std::size_t column,
                    std::string_view cell = {}) const {
    return At(problem, line,
              {std::to_string(column + 1), std::string(kOpAmpColumns[column]), Quoted(cell)});
  }

  bool CheckHeader(const data::CsvRecord& cells, std::int64_t line) {
    const std::size_t common = std::min(cells.size(), kOpAmpColumns.size());
    for (std::size_t i = 0; i < common; ++i) {
      const std::string_view found = Trimmed(cells[i]);
      if (found != kOpAmpColumns[i]) {
        const std::string shown = IsUtf8(found) ? Quoted(found) : std::string("?");
        result_.warnings.push_back(
            At(Problem::kCatalogueHeader, line,
               {std::to_string(i + 1), std::string(kOpAmpColumns[i]), shown}));
        return false;
      }
    }
    if (cells.size() != kOpAmpColumns.size()) {
      result_.warnings.push_back(
          At(Problem::kCatalogueHeaderColumns, line,
             {std::to_string(cells.size()), std::to_string(kOpAmpColumns.size())}));
      return false;
    }
    return true;
  }

  std::optional<Diagnostic> ReadRow(const data::CsvRecord& cells, std::int64_t line,
                                    bool unterminated) {
    std::size_t bytes = 0;
    for (const std::string& cell : cells) bytes += cell.size() + 1;
    if (bytes > kLongestRowBytes) {
      return At(Problem::kCatalogueLineTooLong, line, {std::to_string(kLongestRowBytes)});
    }
    if (unterminated) return At(Problem::kCatalogueUnterminated, line);
    if (cells.size() < kOpAmpColumns.size()) {
      return AtCell(Problem::kCatalogueMissingColumn, line, cells.size());
    }
    if (cells.size() > kOpAmpColumns.size()) {
      return At(Problem::kCatalogueExtraColumn, line,
                {std::to_string(kOpAmpColumns.size() + 1), std::to_string(kOpAmpColumns.size())});
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (!IsUtf8(cells[i])) return AtCell(Problem::kCatalogueNotUtf8, line, i);
    }

    OpAmpPart part;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (std::optional<Diagnostic> fault = ReadCell(part, i, Trimmed(cells[i]), line)) {
        return fault;
      }
    }
    if (part.supply_max_v < part.supply_min_v) {
      return AtCell(Problem::kCatalogueSupplyRange, line, kSupplyMaxColumn,
                    Trimmed(cells[kSupplyMaxColumn]));
    }
    for (std::size_t i = 0; i < result_.parts.size(); ++i) {
      if (calc::SameOpAmpName(result_.parts[i].name, part.name)) {
        return At(Problem::kCatalogueDuplicate, line,
                  {Quoted(part.name), std::to_string(lines_[i])});
      }
    }
    result_.parts.push_back(std::move(part));
    lines_.push_back(line);
    return std::nullopt;
  }

  std::optional<Diagnostic> ReadCell(OpAmpPart& part, std::size_t column, std::string_view cell,
                                     std::int64_t line) const {
    const Column& to = Columns()[column];
    switch (to.kind) {
      case Kind::kName:
        if (cell.empty()) return AtCell(Problem::kCatalogueNoName, line, column);
        part.*to.text = std::string(cell);
        return std::nullopt;
      case Kind::kText:
        part.*to.text = std::string(cell);
        return std::nullopt;
      case Kind::kCount: {
        if (cell.empty()) return std::nullopt;
        int count = 0;
        const auto [stop, error] = std::from_chars(cell.data(), cell.data() + cell.size(), count);
        if (error != std::errc() || stop != cell.data() + cell.size() || count < 1) {
          return AtCell(Problem::kCatalogueNotCount, line, column, cell);
        }
        part.channels = count;
        return std::nullopt;
      }
      case Kind::kPositive:
      case Kind::kZeroOrMore: {
        if (cell.empty()) return std::nullopt;
        const std::optional<double> value = ScaledNumber(cell, to.power_of_ten);
        if (!value) return AtCell(Problem::kCatalogueNotNumber, line, column, cell);
        if (to.kind == Kind::kPositive && !(*value > 0)) {
          return AtCell(Problem::kCatalogueNotPositive, line, column, cell);
        }
        if (to.kind == Kind::kZeroOrMore && !(*value >= 0)) {
          return AtCell(Problem::kCatalogueNegative, line, column, cell);
        }
        part.*to.number = *value;
        return std::nullopt;
      }
      case Kind::kYesNo:
        if (cell.empty()) return std::nullopt;
        if (SameWord(cell, "yes") || SameWord(cell, "no")) {
          part.*to.flag = SameWord(cell, "yes");
          return std::nullopt;
        }
        return AtCell(Problem::kCatalogueNotYesNo, line, column, cell);
    }
    return std::nullopt;
  }

  std::string file_;
  CatalogueRead result_;
  std::vector<std::int64_t> lines_;  // the line of each part read
  std::int64_t records_ = 0;
  bool header_ok_ = false;
};

}  // namespace

std::string ShownPath(const std::filesystem::path& path) {
  std::string text = path.string();
  if (calc::Utf8ToUtf16(text)) return text;
  for (char& c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return text;
}

CatalogueRead ReadOpAmpCsv(std::string text, std::string_view file) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (std::string_view(text).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.erase(0, kByteOrderMark.size());
  }
  Reader reader(file);
  std::istringstream input(std::move(text));
  const bool read = data::ReadCsvLines(
      input, [&reader](data::CsvRecord&& cells, std::int64_t line, bool unterminated) {
        reader.Take(std::move(cells), line, unterminated);
      });
  CatalogueRead result = std::move(reader).Finish();
  if (!read) result.warnings.push_back({Problem::kCatalogueUnreadable, {std::string(file)}});
  return result;
}

CatalogueRead ReadOpAmpFile(const std::filesystem::path& path) {
  const std::string shown = ShownPath(path);
  const auto failed = [&shown](Problem problem, std::vector<std::string> more = {}) {
    CatalogueRead result;
    Diagnostic diagnostic{problem, {shown}};
    for (std::string& detail : more) diagnostic.details.push_back(std::move(detail));
    result.warnings.push_back(std::move(diagnostic));
    return result;
  };
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return failed(Problem::kCatalogueUnreadable);
  std::ifstream file(path, std::ios::binary);
  if (!file) return failed(Problem::kCatalogueUnreadable);
  // Read up to one byte past the limit: a file may grow between a size check and the read.
  std::string text;
  std::array<char, 1 << 16> buffer;
  while (file && text.size() <= kLargestCatalogueBytes) {
    file.read(buffer.data(), buffer.size());
    text.append(buffer.data(), static_cast<std::size_t>(file.gcount()));
  }
  if (file.bad()) return failed(Problem::kCatalogueUnreadable);
  if (text.size() > kLargestCatalogueBytes) {
    return failed(Problem::kCatalogueTooLarge, {std::to_string(kLargestCatalogueBytes)});
  }
  return ReadOpAmpCsv(std::move(text), shown);
}

}  // namespace data
