// The catalogue as a front end gets it: found where the program is, the user's file
// adding parts and overriding parts of the same name, and never failing.
#include "data/opamp_catalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/catalogue_files.h"
#include "data/opamp_csv.h"
#include "tests/data/built_catalogue.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using calc::Problem;

std::string Header() {
  std::string header;
  for (const std::string_view column : data::kOpAmpColumns) {
    header += header.empty() ? "" : ",";
    header += column;
  }
  return header + "\n";
}

std::string Row(const std::string& name, const std::string& gbw) {
  return name + ",Maker,1,bipolar," + gbw + ",1e5,1,10,,1,,,,10,30,1,1,20,no,no,mine\n";
}

// A scratch folder of the test's own.
fs::path Scratch(const std::string& name) {
  const fs::path folder = test_support::ScratchFolder() / name;
  fs::create_directories(folder);
  return folder;
}

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

TEST(CatalogueFiles, PlacesToLook) {
  EXPECT_EQ(
      data::ShippedCataloguePlaces("/opt/k/bin"),
      (std::vector<fs::path>{"/opt/k/bin/opamps.csv", "/opt/k/bin/../share/korvane/opamps.csv"}));
  EXPECT_TRUE(data::ShippedCataloguePlaces("").empty());
  struct Case {
    const char* name;
    const char* xdg;
    const char* home;
    std::optional<fs::path> expected;
  };
  const Case cases[] = {
      {"XDG_CONFIG_HOME", "/x", "/home/a", fs::path("/x/korvane/opamps.csv")},
      {"relative XDG_CONFIG_HOME is ignored", "rel", "/home/a",
       fs::path("/home/a/.config/korvane/opamps.csv")},
      {"empty XDG_CONFIG_HOME", "", "/home/a", fs::path("/home/a/.config/korvane/opamps.csv")},
      {"unset XDG_CONFIG_HOME", nullptr, "/home/a", fs::path("/home/a/.config/korvane/opamps.csv")},
      {"neither", nullptr, nullptr, std::nullopt},
      {"relative HOME", nullptr, "home", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(data::UserCataloguePath(c.xdg, c.home), c.expected);
  }
}

TEST(LoadOpAmpCatalogue, TheProgramFindsItsOwnCatalogue) {
  // The build tree puts the catalogue beside the executables, this test's too; a user
  // folder without a file of its own adds nothing.
  const fs::path config = Scratch("empty-config");
  ASSERT_EQ(::setenv("XDG_CONFIG_HOME", config.c_str(), 1), 0);
  const data::CataloguePlaces places = data::DefaultCataloguePlaces();
  EXPECT_EQ(places.user, config / "korvane" / "opamps.csv");
  const data::OpAmpCatalogue catalogue = data::LoadOpAmpCatalogue(places);
  EXPECT_TRUE(catalogue.warnings.empty());
  EXPECT_EQ(catalogue.parts.size(), 26U);

  // Installed, it lies in <prefix>/share/korvane beside <prefix>/bin.
  const fs::path prefix = Scratch("prefix");
  fs::create_directories(prefix / "bin");
  fs::create_directories(prefix / "share/korvane");
  fs::copy_file(BuiltCatalogue(), prefix / "share/korvane/opamps.csv", fs::copy_options::none);
  const data::OpAmpCatalogue installed =
      data::LoadOpAmpCatalogue({data::ShippedCataloguePlaces(prefix / "bin"), std::nullopt});
  EXPECT_TRUE(installed.warnings.empty());
  EXPECT_EQ(installed.parts.size(), 26U);
}

TEST(LoadOpAmpCatalogue, TheUsersFileAddsAndOverrides) {
  const fs::path folder = Scratch("merge");
  Write(folder / "bin/opamps.csv",
        Header() + Row("TL072", "3e6") + Row("NE5532", "10e6") + Row("LM358", "1e6"));
  // The user's tl072 replaces the shipped TL072 in its place; NEW1 and NEW2 follow; a bad row
  // of the user's is warned of by the user's file and line.
  Write(folder / "config/korvane/opamps.csv", Header() + Row("NEW1", "1e6") + Row("tl072", "5e6") +
                                                  Row("BAD", "-1") + Row("NEW2", "2e6"));
  const data::OpAmpCatalogue catalogue = data::LoadOpAmpCatalogue(
      {data::ShippedCataloguePlaces(folder / "bin"), folder / "config/korvane/opamps.csv"});
  std::vector<std::string> names;
  for (const calc::OpAmpPart& part : catalogue.parts) names.push_back(part.name);
  EXPECT_EQ(names, (std::vector<std::string>{"tl072", "NE5532", "LM358", "NEW1", "NEW2"}));
  EXPECT_EQ(catalogue.parts[0].gbw_hz, 5e6);
  ASSERT_EQ(catalogue.warnings.size(), 1U);
  EXPECT_EQ(catalogue.warnings[0].problem, Problem::kCatalogueNotPositive);
  EXPECT_EQ(catalogue.warnings[0].details[0], (folder / "config/korvane/opamps.csv").string());
  EXPECT_EQ(catalogue.warnings[0].details[1], "4");
}

TEST(LoadOpAmpCatalogue, WhatCannotBeReadIsWarnedOfAndLeftOut) {
  const fs::path folder = Scratch("faults");
  // No shipped file anywhere: the user's parts alone, and a warning naming where it looked.
  Write(folder / "config/opamps.csv", Header() + Row("MINE", "1e6"));
  const data::OpAmpCatalogue lost = data::LoadOpAmpCatalogue(
      {{folder / "a/opamps.csv", folder / "b/opamps.csv"}, folder / "config/opamps.csv"});
  ASSERT_EQ(lost.parts.size(), 1U);
  ASSERT_EQ(lost.warnings.size(), 1U);
  EXPECT_EQ(lost.warnings[0].problem, Problem::kCatalogueNotFound);
  EXPECT_EQ(lost.warnings[0].details[0],
            (folder / "a/opamps.csv").string() + ", " + (folder / "b/opamps.csv").string());

  // A user "file" that is a folder; a shipped file with a broken header.
  fs::create_directories(folder / "config/folder.csv");
  Write(folder / "bin/opamps.csv", "nonsense\n" + Row("X", "1e6"));
  const data::OpAmpCatalogue broken =
      data::LoadOpAmpCatalogue({{folder / "bin/opamps.csv"}, folder / "config/folder.csv"});
  EXPECT_TRUE(broken.parts.empty());
  ASSERT_EQ(broken.warnings.size(), 2U);
  EXPECT_EQ(broken.warnings[0].problem, Problem::kCatalogueHeader);
  EXPECT_EQ(broken.warnings[1].problem, Problem::kCatalogueUnreadable);
}

}  // namespace
