// Reading catalogue files: the shipped one whole, figures in SI base units to the last
// digit and blanks as figures not known; and hostile files, whose bad rows are warned of by
// file, line and column while the rest loads.
#include "data/opamp_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/catalogue_files.h"
#include "tests/data/built_catalogue.h"
#include "tests/support/scratch_folder.h"

namespace {

using calc::Problem;

const std::string kHeader =
    "name,maker,channels,input_type,gbw_hz,a0_v_per_v,slew_v_per_us,en_1khz_nv_rthz,"
    "en_corner_hz,in_1khz_pa_rthz,in_corner_hz,cin_diff_pf,cin_cm_pf,supply_min_v,"
    "supply_max_v,swing_low_v,swing_high_v,output_current_ma,rail_to_rail_in,"
    "rail_to_rail_out,source\n";
const std::string kGoodRow = "GOOD1,Maker,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n";

const calc::OpAmpPart* Named(const data::CatalogueRead& read, const char* name) {
  return calc::FindOpAmpPart(read.parts, name);
}

TEST(ReadOpAmpFile, TheShippedCatalogueLoadsWholeAndExact) {
  const data::CatalogueRead read = data::ReadOpAmpFile(BuiltCatalogue());
  EXPECT_TRUE(read.warnings.empty()) << calc::CliText(read.warnings.front());
  ASSERT_EQ(read.parts.size(), 26U);
  EXPECT_EQ(read.parts.front().name, "TL072");
  EXPECT_EQ(read.parts.back().name, "OPA2350");

  const calc::OpAmpPart& tl072 = *Named(read, "TL072");
  EXPECT_EQ(tl072.maker, "Texas Instruments");
  EXPECT_EQ(tl072.channels, 2);
  EXPECT_EQ(tl072.input_type, "jfet");
  EXPECT_EQ(tl072.gbw_hz, 3e6);
  EXPECT_EQ(tl072.a0, 2e5);
  EXPECT_EQ(tl072.slew_v_per_s, 13e6);
  EXPECT_EQ(tl072.en_v_rthz, 18e-9);  // the nearest double, not 18 x 1e-9
  EXPECT_EQ(tl072.in_a_rthz, 1e-14);
  EXPECT_EQ(tl072.supply_min_v, 10.0);
  EXPECT_EQ(tl072.supply_max_v, 30.0);
  EXPECT_EQ(tl072.swing_low_v, 1.5);
  EXPECT_EQ(tl072.output_current_a, 0.04);
  EXPECT_EQ(tl072.rail_to_rail_in, false);
  EXPECT_EQ(tl072.source.rfind("TI SLOS080M TL07xC/I at ±15 V", 0), 0U);
  // Blanks are figures not known.
  EXPECT_TRUE(std::isnan(tl072.en_corner_hz));
  EXPECT_TRUE(std::isnan(tl072.cin_diff_f));

  const calc::OpAmpPart& op27 = *Named(read, "op27");
  EXPECT_EQ(op27.en_corner_hz, 2.7);
  EXPECT_EQ(op27.in_corner_hz, 140.0);
  EXPECT_EQ(op27.en_v_rthz, 3.2e-9);
  EXPECT_EQ(op27.in_a_rthz, 0.4e-12);
  EXPECT_TRUE(std::isnan(op27.output_current_a));
  const calc::OpAmpPart& ad8065 = *Named(read, "AD8065");
  EXPECT_EQ(ad8065.cin_diff_f, 4.5e-12);
  EXPECT_EQ(ad8065.cin_cm_f, 2.1e-12);
  EXPECT_EQ(ad8065.in_a_rthz, 1e-15);
  EXPECT_TRUE(std::isnan(ad8065.en_v_rthz));
  const calc::OpAmpPart& mcp6002 = *Named(read, "MCP6002");
  EXPECT_EQ(mcp6002.in_a_rthz, 6e-16);
  EXPECT_EQ(mcp6002.slew_v_per_s, 0.6e6);
  EXPECT_EQ(mcp6002.supply_max_v, 6.0);
  EXPECT_EQ(mcp6002.rail_to_rail_in, true);
  const calc::OpAmpPart& opa211 = *Named(read, "OPA211");
  EXPECT_TRUE(std::isnan(opa211.a0));
  EXPECT_TRUE(std::isnan(opa211.swing_low_v));
  EXPECT_FALSE(opa211.rail_to_rail_in.has_value());
  EXPECT_EQ(opa211.rail_to_rail_out, true);
  EXPECT_EQ(Named(read, "LM6172")->slew_v_per_s, 3e9);
}

TEST(ReadOpAmpCsv, CellsInEveryFormTheyMayTake) {
  const data::CatalogueRead read = data::ReadOpAmpCsv(
      "\xEF\xBB\xBF" + kHeader +  // a byte order mark, as spreadsheets save UTF-8
          " Spaced ,  M ,\t2 , , 4.7e6 ,1E5,0.5,1.5e+0,,0.001,,,,+5,3.3e1,0,0,1e1,YES,No,\n",
      "mine.csv");
  EXPECT_TRUE(read.warnings.empty()) << calc::CliText(read.warnings.front());
  ASSERT_EQ(read.parts.size(), 1U);
  const calc::OpAmpPart& part = read.parts[0];
  EXPECT_EQ(part.name, "Spaced");
  EXPECT_EQ(part.maker, "M");
  EXPECT_EQ(part.channels, 2);
  EXPECT_EQ(part.gbw_hz, 4.7e6);
  EXPECT_EQ(part.a0, 1e5);
  EXPECT_EQ(part.en_v_rthz, 1.5e-9);
  EXPECT_EQ(part.in_a_rthz, 1e-15);
  EXPECT_EQ(part.supply_max_v, 33.0);
  EXPECT_EQ(part.output_current_a, 0.01);
  EXPECT_EQ(part.rail_to_rail_in, true);
  EXPECT_EQ(part.rail_to_rail_out, false);
}

TEST(ReadOpAmpCsv, BadRowsAreNamedAndSkippedAndTheRestLoads) {
  struct Case {
    const char* name;
    std::string row;
    Problem problem;
    std::vector<std::string> details;  // after the file and the line (2)
  };
  const std::string megabyte(1 << 20, 'z');
  const Case cases[] = {
      {"missing column",
       "SHORT,M,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no\n",
       Problem::kCatalogueMissingColumn,
       {"21", "source", ""}},
      {"one too many",
       kGoodRow.substr(0, kGoodRow.size() - 1) + ",extra\n",
       Problem::kCatalogueExtraColumn,
       {"22", "21"}},
      {"not a number",
       "BAD,M,1,bipolar,3 MHz,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNotNumber,
       {"5", "gbw_hz", "3 MHz"}},
      {"infinity is no figure",
       "BAD,M,1,bipolar,inf,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNotNumber,
       {"5", "gbw_hz", "inf"}},
      {"negative GBW",
       "BAD,M,1,bipolar,-1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNotPositive,
       {"5", "gbw_hz", "-1e6"}},
      {"zero output current",
       "BAD,M,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,0,no,no,x\n",
       Problem::kCatalogueNotPositive,
       {"18", "output_current_ma", "0"}},
      {"negative noise",
       "BAD,M,1,bipolar,1e6,1e5,1,-10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNegative,
       {"8", "en_1khz_nv_rthz", "-10"}},
      {"not yes or no",
       "BAD,M,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,maybe,no,x\n",
       Problem::kCatalogueNotYesNo,
       {"19", "rail_to_rail_in", "maybe"}},
      {"half a channel",
       "BAD,M,2.5,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNotCount,
       {"3", "channels", "2.5"}},
      {"supplies the wrong way round",
       "BAD,M,1,bipolar,1e6,1e5,1,10,,1,,,,30,10,1,1,20,no,no,x\n",
       Problem::kCatalogueSupplyRange,
       {"15", "supply_max_v", "10"}},
      {"no name",
       " ,M,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNoName,
       {"1", "name", ""}},
      {"not UTF-8",
       "BAD,M\xFF,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNotUtf8,
       {"2", "maker", ""}},
      {"a line of a megabyte",
       "BIG,M,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no," + megabyte + "\n",
       Problem::kCatalogueLineTooLong,
       {"65536"}},
      {"a long cell is quoted short",
       "BAD,M,1,bipolar," + std::string(100, '9') + "x" + ",1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueNotNumber,
       {"5", "gbw_hz", std::string(40, '9') + "..."}},
      // The row on line 2 comes first: GOOD1 on line 3 is the one skipped.
      {"same name again, in another case",
       "good1,M,1,bipolar,1e6,1e5,1,10,,1,,,,10,30,1,1,20,no,no,x\n",
       Problem::kCatalogueDuplicate,
       {"GOOD1", "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The bad row on line 2 between good rows: the good rows load.
    const data::CatalogueRead read =
        data::ReadOpAmpCsv(kHeader + c.row + kGoodRow + "GOOD2" + kGoodRow.substr(5), "user.csv");
    ASSERT_EQ(read.warnings.size(), 1U);
    std::vector<std::string> details = {"user.csv", "2"};
    if (c.problem == Problem::kCatalogueDuplicate) details[1] = "3";
    details.insert(details.end(), c.details.begin(), c.details.end());
    EXPECT_EQ(read.warnings[0].problem, c.problem);
    EXPECT_EQ(read.warnings[0].details, details);
    EXPECT_NE(Named(read, "GOOD1"), nullptr);
    EXPECT_NE(Named(read, "GOOD2"), nullptr);
  }
}

TEST(ReadOpAmpCsv, WholeFileFaults) {
  struct Case {
    const char* name;
    std::string text;
    Problem problem;
    std::vector<std::string> details;
  };
  const Case cases[] = {
      {"empty", "", Problem::kCatalogueEmpty, {"f.csv"}},
      {"a byte order mark alone", "\xEF\xBB\xBF\n\n", Problem::kCatalogueEmpty, {"f.csv"}},
      {"no header", kGoodRow, Problem::kCatalogueHeader, {"f.csv", "1", "1", "name", "GOOD1"}},
      {"reordered header",
       "maker,name" + kHeader.substr(10) + kGoodRow,
       Problem::kCatalogueHeader,
       {"f.csv", "1", "1", "name", "maker"}},
      {"short header",
       "name,maker\n" + kGoodRow,
       Problem::kCatalogueHeaderColumns,
       {"f.csv", "1", "2", "21"}},
      {"header not UTF-8",
       "\xC3(" + kHeader,
       Problem::kCatalogueHeader,
       {"f.csv", "1", "1", "name", "?"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const data::CatalogueRead read = data::ReadOpAmpCsv(c.text, "f.csv");
    EXPECT_TRUE(read.parts.empty());
    ASSERT_EQ(read.warnings.size(), 1U);
    EXPECT_EQ(read.warnings[0].problem, c.problem);
    EXPECT_EQ(read.warnings[0].details, c.details);
  }
  // A quoted field left open swallows the rest: that row is warned of, what came before it
  // stays.
  const data::CatalogueRead open =
      data::ReadOpAmpCsv(kHeader + kGoodRow + "OPEN,\"M\n" + kGoodRow, "f.csv");
  ASSERT_EQ(open.warnings.size(), 1U);
  EXPECT_EQ(open.warnings[0].problem, Problem::kCatalogueUnterminated);
  EXPECT_EQ(open.warnings[0].details, (std::vector<std::string>{"f.csv", "3"}));
  EXPECT_EQ(open.parts.size(), 1U);
}

TEST(ReadOpAmpFile, FilesThatCannotBeRead) {
  const std::filesystem::path folder = test_support::ScratchFolder();
  std::filesystem::create_directories(folder / "a folder");
  const std::filesystem::path huge = folder / "huge.csv";
  {
    std::ofstream file(huge, std::ios::binary);
    file << kHeader;
    const std::string block(1 << 20, '\n');
    for (int i = 0; i < 17; ++i) file << block;
  }
  struct Case {
    const char* name;
    std::filesystem::path path;
    Problem problem;
  };
  const Case cases[] = {
      {"missing", folder / "missing.csv", Problem::kCatalogueUnreadable},
      {"a folder", folder / "a folder", Problem::kCatalogueUnreadable},
      {"beyond 16 MiB", huge, Problem::kCatalogueTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const data::CatalogueRead read = data::ReadOpAmpFile(c.path);
    ASSERT_EQ(read.warnings.size(), 1U);
    EXPECT_EQ(read.warnings[0].problem, c.problem);
    EXPECT_EQ(read.warnings[0].details.front(), c.path.string());
  }
  EXPECT_EQ(data::ShownPath("/tmp/caf\xE9.csv"), "/tmp/caf?.csv");
  EXPECT_EQ(data::ShownPath("/tmp/café.csv"), "/tmp/café.csv");
}

}  // namespace
