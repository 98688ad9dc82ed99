// Telling op-amp parts apart by name, and the names suggested for one not found.
#include "calc/circuit/op_amp_part.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<calc::OpAmpPart> Parts(std::initializer_list<const char*> names) {
  std::vector<calc::OpAmpPart> parts;
  for (const char* name : names) {
    calc::OpAmpPart part;
    part.name = name;
    parts.push_back(part);
  }
  return parts;
}

TEST(SameOpAmpName, IgnoresTheCaseOfAsciiLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"tl072", "TL072", true}, {"TL072", "TL072A", false}, {"OPA1612", "opa1612", true},
      {"", "", true},           {"TL072", "TL082", false},  {"ＴＬ072", "tl072", false},
      {"Öpa", "öPA", false},  // only ASCII letters fold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(calc::SameOpAmpName(c.a, c.b), c.same);
  }
}

TEST(FindOpAmpPart, FindsByNameInAnyCase) {
  const auto parts = Parts({"TL072", "NE5532"});
  ASSERT_NE(calc::FindOpAmpPart(parts, "ne5532"), nullptr);
  EXPECT_EQ(calc::FindOpAmpPart(parts, "ne5532")->name, "NE5532");
  EXPECT_EQ(calc::FindOpAmpPart(parts, "NE553"), nullptr);
}

TEST(NearestOpAmpNames, SuggestsTheCloseNamesNearestFirst) {
  struct Case {
    const char* typed;
    std::vector<std::string> expected;
  };
  const auto parts = Parts({"TL072", "TL082", "NE5532", "OPA1612", "OPA1656", "OPA1641"});
  const Case cases[] = {
      {"TL027", {"TL072", "TL082"}},  // a swap is one slip, TL082 two
      {"tl027", {"TL072", "TL082"}},  // case is no slip
      {"NE5523", {"NE5532"}},
      {"LM741", {}},                                 // nothing close
      {"OPA16", {"OPA1612", "OPA1656", "OPA1641"}},  // catalogue order among equals
      {"", {}},
      {"\xff\xfe", {}},  // not UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(calc::NearestOpAmpNames(parts, c.typed), c.expected);
  }
  EXPECT_EQ(calc::NearestOpAmpNames(parts, "OPA16", 2),
            (std::vector<std::string>{"OPA1612", "OPA1656"}));
  // A hostile text is not compared at all (and costs no quadratic time).
  EXPECT_TRUE(calc::NearestOpAmpNames(parts, std::string(1 << 20, 'T')).empty());
}

}  // namespace
