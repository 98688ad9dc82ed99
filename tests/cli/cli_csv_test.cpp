// CSV in and out, and the batch loop: every input row gives exactly one output row, in
// order, whatever the row holds.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "calc/export/csv_writer.h"
#include "cli/batch/batch.h"
#include "cli/batch/csv_reader.h"

namespace {

struct Read {
  std::vector<cli::CsvRecord> records;
  std::vector<bool> unterminated;
};

Read ReadAll(const std::string& text) {
  std::istringstream input(text);
  Read read;
  EXPECT_TRUE(cli::ReadCsv(input, [&read](cli::CsvRecord&& record, bool unterminated) {
    read.records.push_back(std::move(record));
    read.unterminated.push_back(unterminated);
  }));
  return read;
}

TEST(Csv, ReadsQuotingLineEndsAndBytesAsTheyStand) {
  using Records = std::vector<cli::CsvRecord>;
  const Read read = ReadAll(
      "a, b ,\"c,\"\"d\"\"\"\r\n"  // spaces kept, quoted comma and quotes
      "\"multi\nline\",\r\n"       // a line end inside a quoted cell; an empty last cell
      "\n"                         // a blank line is no record
      + std::string("x\0y", 3) +
      ",\xFF\n"  // NUL and a byte that is not UTF-8
      "last");   // no line end at the end
  EXPECT_EQ(read.records, (Records{{"a", " b ", "c,\"d\""},
                                   {"multi\nline", ""},
                                   {std::string("x\0y", 3), "\xFF"},
                                   {"last"}}));
  EXPECT_EQ(read.unterminated, (std::vector<bool>{false, false, false, false}));
}

TEST(Csv, AnInputEndingInsideAQuoteIsToldWithItsRecord) {
  const Read read = ReadAll("a,b\n1,\"open\nstill open");
  ASSERT_EQ(read.records.size(), 2U);
  EXPECT_EQ(read.records[1], (cli::CsvRecord{"1", "open\nstill open"}));
  EXPECT_EQ(read.unterminated, (std::vector<bool>{false, true}));
  // A closed quote at the very end is complete.
  EXPECT_EQ(ReadAll("\"x\"").unterminated, (std::vector<bool>{false}));
}

TEST(Csv, WrittenFieldsReadBackUnchanged) {
  const cli::CsvRecord fields = {"plain",
                                 "",
                                 " 11.000k",
                                 "a,b",
                                 "say \"hi\"",
                                 "two\r\nlines",
                                 "Q値の誤差が大きい",
                                 std::string(1 << 20, 'x')};
  std::string text;
  calc::AppendCsvRecord(text, fields);
  EXPECT_EQ(text.substr(0, 21), "plain,,\" 11.000k\",\"a,");
  const Read read = ReadAll(text);
  ASSERT_EQ(read.records.size(), 1U);
  EXPECT_EQ(read.records[0], fields);
}

struct Batch {
  int exit_code;
  std::vector<cli::CsvRecord> rows;  // the header first
  std::string errors;
};

Batch RunBatch(cli::Command command, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, errors;
  Batch batch{cli::RunBatch(command, in, out, errors), {}, errors.str()};
  batch.rows = ReadAll(out.str()).records;
  return batch;
}

TEST(Batch, EveryInputRowGivesOneOutputRowInOrder) {
  std::string input = "r1,r2,r3,c1,c2\n";
  const int rows = 20000;  // more than one chunk of parallel work
  for (int i = 0; i < rows; ++i) {
    if (i % 1000 == 7) {
      input += "1k,2k\n";  // too few cells
    } else if (i % 1000 == 8) {
      input += "1k,,2k,1n,1n,extra\n";  // too many
    } else {
      input += std::to_string(i + 1) + ",,10k,1n,1n\n";
    }
  }
  const Batch batch = RunBatch(cli::Command::kAnalysis, input);
  EXPECT_EQ(batch.exit_code, 1);
  ASSERT_EQ(batch.rows.size(), rows + 1U);
  EXPECT_EQ(batch.rows[0].size(), 5U + 3 + 3 + 2);
  for (int i = 0; i < rows; ++i) {
    const cli::CsvRecord& row = batch.rows[i + 1];
    ASSERT_EQ(row.size(), 13U);
    if (i % 1000 == 7 || i % 1000 == 8) {
      EXPECT_EQ(row[12], "Row " + std::to_string(i + 1) + " has " + (i % 1000 == 7 ? "2" : "6") +
                             " cells; the header has 5.");
    } else {
      ASSERT_EQ(row[0], std::to_string(i + 1));
      EXPECT_EQ(row[12], "");
    }
  }
}

// Chunks are worked on while the next is read; one bad row in any of them must show in the
// exit code.
TEST(Batch, OneBadRowInAnyChunkMakesTheExitCodeOne) {
  const int rows = 20000;
  for (const int bad_row : {-1, 0, 9000, rows - 1}) {
    std::string input = "r1,r2,r3,c1,c2\n";
    for (int i = 0; i < rows; ++i) input += i == bad_row ? "0,,10k,1n,1n\n" : "1k,,10k,1n,1n\n";
    const Batch batch = RunBatch(cli::Command::kAnalysis, input);
    EXPECT_EQ(batch.exit_code, bad_row < 0 ? 0 : 1) << "bad row " << bad_row;
    ASSERT_EQ(batch.rows.size(), rows + 1U);
  }
}

// Standard input of `rows` analysis rows, made as the batch reads it; it notes how much
// output the batch had written when it first asked for the rows past `watched_row`.
class GrowingInput : public std::streambuf {
 public:
  GrowingInput(int rows, int watched_row, const std::ostringstream& out)
      : rows_(rows), watched_row_(watched_row), out_(out) {}
  std::size_t output_when_watched = 0;

 protected:
  int_type underflow() override {
    if (next_row_ > rows_) return traits_type::eof();
    if (next_row_ == watched_row_) output_when_watched = out_.str().size();
    line_ = next_row_ == 0 ? "r1,r2,r3,c1,c2\n" : std::to_string(next_row_) + "k,,10k,1n,1n\n";
    ++next_row_;
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_.front());
  }

 private:
  int rows_, watched_row_, next_row_ = 0;
  const std::ostringstream& out_;
  std::string line_;
};

// A long batch streams: rows are written while later ones are still unread, so its
// memory stays that of a few chunks however long the input.
TEST(Batch, WritesEarlyRowsBeforeTheInputIsReadToTheEnd) {
  constexpr int kRows = 100000;
  std::ostringstream out, errors;
  GrowingInput source(kRows, kRows / 2, out);
  std::istream in(&source);
  EXPECT_EQ(cli::RunBatch(cli::Command::kAnalysis, in, out, errors), 0) << errors.str();
  EXPECT_GT(source.output_when_watched, std::size_t{100000});
  const Read read = ReadAll(out.str());
  ASSERT_EQ(read.records.size(), kRows + 1U);
  EXPECT_EQ(read.records.back()[0], std::to_string(kRows) + "k");
}

TEST(Batch, ColumnsInAnyOrderAndTheLockCell) {
  const Batch batch = RunBatch(cli::Command::kDesign,
                               "\xEF\xBB\xBF"
                               "c2,lock,fo,q,h,zref,series_r,series_c\n"
                               "4.3n,1,1k,1,1,10k,24,6\n"
                               "4.3n,0,1k,1,1,10k,24,6\n"
                               "4.3n,yes,1k,1,1,10k,24,6\n");
  ASSERT_EQ(batch.rows.size(), 4U);
  EXPECT_EQ(batch.rows[0][0], "c2");            // the byte-order mark is not part of the name
  EXPECT_EQ(batch.rows[1][8 + 4], "  4.300n");  // c2_result: kept
  EXPECT_EQ(batch.rows[2][8 + 4], " 15.000n");  // chosen
  EXPECT_EQ(batch.rows.back().back(), "The lock cell must be 1, 0 or empty.");
  EXPECT_EQ(batch.exit_code, 1);
}

TEST(Batch, HeadersThatCannotWorkAreUsageErrors) {
  const struct {
    const char* input;
    int exit_code;
    const char* message;
  } cases[] = {
      {"", 2, "the input is empty"},
      {"r1,r2,r3,c1\n1,2,3,4\n", 2, "lacks the column 'c2'"},
      {"r1,r2,r3,c1,c2,r1\n", 2, "'r1' appears twice"},
      {"r1,r2,r3,c1,c2,fo\n", 2, "unknown column 'fo'"},
      {"\"r1,r2\n", 2, "quoted header"},
      {"r1,r2,r3,c1,c2\n", 1, "no rows"},
      {"r1,r2,r3,c1,c2\n10k,,100k,10n,10n\n", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const Batch batch = RunBatch(cli::Command::kAnalysis, c.input);
    EXPECT_EQ(batch.exit_code, c.exit_code);
    EXPECT_NE(batch.errors.find(c.message), std::string::npos) << batch.errors;
    if (c.exit_code == 2) {
      EXPECT_TRUE(batch.rows.empty());
    }
  }
}

TEST(Batch, HostileCellsGetAnErrorRowAndTheBatchGoesOn) {
  const std::string huge(1 << 20, '9');
  const Batch batch = RunBatch(cli::Command::kAnalysis, "r1,r2,r3,c1,c2\n" + huge +
                                                            ",,10k,1n,1n\n"
                                                            "\xC3\x28,,10k,1n,1n\n" +
                                                            std::string("1k\0,,10k,1n,1n\n", 15) +
                                                            "10k,,100k,10n,10n\n"
                                                            "\"never closed,,\n");
  ASSERT_EQ(batch.rows.size(), 6U);
  EXPECT_EQ(batch.rows[1][0], huge);
  // A million nines lie beyond every double: no value, as in the window.
  EXPECT_EQ(batch.rows[1][11], "R1,R2,R3,C1,C2,C3 に値をセットしてください");
  EXPECT_EQ(batch.rows[2][12], "The r1 text is not valid UTF-8.");
  EXPECT_EQ(batch.rows[4][5], "503.292");
  EXPECT_EQ(batch.rows[5][12], "The input ends inside a quoted cell.");
  EXPECT_EQ(batch.exit_code, 1);
}

}  // namespace
