#include "calc/export/search_report.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "calc/circuit/circuit_parts.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/quantity_format.h"
#include "calc/text/utf8.h"

namespace calc {
namespace {

constexpr std::string_view kHeadings[kSearchColumns] = {
    "R1", "R2",       "R3",      "C1",      "C2",    "fo",    "Q",
    "H",  "fo error", "Q error", "H error", "score", "yield", "95% interval"};

std::u16string Value(double value) {
  if (std::isnan(value)) return {};
  return std::u16string(TrimBlanks(FormatDisplayed(value)));
}

std::u16string Fixed(double value, int decimals) {
  if (std::isnan(value)) return {};
  return FormatFixed(value, 0, decimals);
}

// A signed percentage: a rise carries its "+", a figure on target none.
std::u16string ErrorPercent(double error) {
  if (std::isnan(error)) return {};
  const std::u16string number = FormatFixed(error * 100.0, 0, 2);
  return (error > 0.0 && number != u"0.00" ? u"+" : u"") + number + u"%";
}

std::u16string Percent(double fraction) {
  if (std::isnan(fraction)) return {};
  return Fixed(fraction * 100.0, 1) + u"%";
}

// The display width of a UTF-8 cell: the texts here are ASCII but for the prefix "µ".
std::size_t Width(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

SearchRowTexts SearchRow(const ScoredSet& set) {
  SearchRowTexts row;
  for (int part = 0; part < kPartCount; ++part) {
    row[part] = std::u16string(TrimBlanks(set.texts[part]));
  }
  const auto cell = [&row](SearchColumn column) -> std::u16string& {
    return row[static_cast<std::size_t>(column)];
  };
  cell(SearchColumn::kFo) = Value(set.figures.Fo);
  cell(SearchColumn::kQ) = Value(set.figures.Q);
  cell(SearchColumn::kH) = Value(set.figures.H);
  cell(SearchColumn::kFoError) = ErrorPercent(set.errors.Fo);
  cell(SearchColumn::kQError) = ErrorPercent(set.errors.Q);
  cell(SearchColumn::kHError) = ErrorPercent(set.errors.H);
  cell(SearchColumn::kScore) = Fixed(set.score, 3);
  if (set.yield && !std::isnan(set.yield->fraction)) {
    cell(SearchColumn::kYield) = Percent(set.yield->fraction);
    cell(SearchColumn::kYieldInterval) =
        Fixed(set.yield->low * 100.0, 1) + u"-" + Percent(set.yield->high);
  }
  return row;
}

std::string SearchReport(const PreferredValueSearch& search) {
  std::string out = "Searched " + std::to_string(search.searched) + " sets.\n";
  if (search.continuous) {
    out += "Continuous design for the design's C1 and C2:";
    const PartValues parts = PartsOf(*search.continuous);
    for (int part = 0; part < kPartCount; ++part) {
      if (!HasPart(*search.continuous, part)) continue;
      out += ' ';
      out += kPartNames[part];
      out += ' ';
      out += Utf16ToUtf8(Value(parts[part]));
    }
    out += '\n';
  }
  if (search.lowest_gbw_hz) {
    out += "Lowest GBW for the design's C1 and C2: " + Utf16ToUtf8(Value(*search.lowest_gbw_hz)) +
           "Hz\n";
  }

  // Columns without a value in any row (the yield without a yield run) are left out.
  std::vector<std::vector<std::string>> table{{"set"}};
  for (const std::string_view heading : kHeadings) table[0].emplace_back(heading);
  const auto add = [&table](std::string name, const ScoredSet& set) {
    std::vector<std::string> row{std::move(name)};
    for (const std::u16string& text : SearchRow(set)) row.push_back(Utf16ToUtf8(text));
    table.push_back(std::move(row));
  };
  add("reference", search.reference);
  for (std::size_t i = 0; i < search.sets.size(); ++i) add(std::to_string(i + 1), search.sets[i]);
  const std::size_t columns = table[0].size();
  std::vector<std::size_t> widths(columns, 0);
  std::vector<bool> used(columns, false);
  for (std::size_t row = 0; row < table.size(); ++row) {
    for (std::size_t column = 0; column < columns; ++column) {
      widths[column] = std::max(widths[column], Width(table[row][column]));
      if (row > 0 && !table[row][column].empty()) used[column] = true;
    }
  }
  for (const std::vector<std::string>& row : table) {
    std::string line;
    for (std::size_t column = 0; column < columns; ++column) {
      if (!used[column]) continue;
      if (!line.empty()) line += "  ";
      // The set's name to the left, the numbers to the right, as a table of figures reads.
      const std::string pad(widths[column] - Width(row[column]), ' ');
      line += column == 0 ? row[column] + pad : pad + row[column];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + '\n';
  }
  return out;
}

}  // namespace calc
