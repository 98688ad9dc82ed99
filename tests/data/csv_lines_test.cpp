// The line each CSV record starts on, which the catalogue's warnings name.
#include "data/csv_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::int64_t> LinesOf(const std::string& text) {
  std::istringstream input(text);
  std::vector<std::int64_t> lines;
  EXPECT_TRUE(data::ReadCsvLines(
      input, [&lines](data::CsvRecord&&, std::int64_t line, bool) { lines.push_back(line); }));
  return lines;
}

TEST(ReadCsvLines, CountsEveryKindOfLineEnd) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::int64_t> lines;
  };
  const Case cases[] = {
      {"LF", "a\nb\nc", {1, 2, 3}},
      {"CR LF", "a\r\nb\r\nc\r\n", {1, 2, 3}},
      {"lone CR", "a\rb\rc", {1, 2, 3}},
      {"blank lines are counted, not read", "a\n\n\r\n\nb\n", {1, 5}},
      {"a quoted field over three lines", "a\n\"x\ny\r\nz\",1\nb\n", {1, 2, 5}},
      {"no line end at the end", "a\nb", {1, 2}},
      {"an open quote at the end", "a\n\"b\nc", {1, 2}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LinesOf(c.text), c.lines);
  }
}

TEST(ReadCsvLines, CountsAcrossTheReadBuffersEdges) {
  // The reader takes 64 KiB at a time: a CR LF split over two reads is one line end, and a
  // record over the edge keeps the line it began on.
  const std::size_t edge = 1 << 16;
  std::string text = "a\r\n" + std::string(edge - 4, 'x') + "\r\nb\r\n";
  ASSERT_EQ(text[edge - 1], '\r');
  EXPECT_EQ(LinesOf(text), (std::vector<std::int64_t>{1, 2, 3}));
  std::string across = "a\n" + std::string(edge, 'y') + "\nb\n";
  EXPECT_EQ(LinesOf(across), (std::vector<std::int64_t>{1, 2, 3}));
}

}  // namespace
