#include "calc/text/diagnostic.h"

#include <array>
#include <cstddef>

#include "calc/text/utf8.h"

namespace calc {
namespace {

struct ProblemTexts {
  Problem problem;
  std::string_view window;  // UTF-8 Japanese
  std::string_view cli;     // English
};

// One row per problem, in the order of the enumeration.
constexpr std::array kProblemTexts = {
    ProblemTexts{Problem::kCancelled, "中止しました", "stopped"},
};
static_assert(kProblemTexts.size() == static_cast<std::size_t>(Problem::kCount),
              "every problem needs its row of texts");

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kProblemTexts.size(); ++i) {
    if (kProblemTexts[i].problem != static_cast<Problem>(i)) return false;
  }
  return true;
}
static_assert(RowsInOrder(), "rows must follow the order of Problem");

const ProblemTexts& TextsOf(Problem problem) {
  const auto index = static_cast<std::size_t>(problem);
  return index < kProblemTexts.size() ? kProblemTexts[index] : kProblemTexts[0];
}

}  // namespace

std::string FillDetails(std::string_view pattern, const std::vector<std::string>& details) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
        pattern[i + 1] >= '0' && pattern[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(pattern[i + 1] - '0');
      if (index < details.size()) {
        text += details[index];
        i += 2;
        continue;
      }
    }
    text += pattern[i];
  }
  return text;
}

std::u16string WindowText(const Diagnostic& diagnostic) {
  return Utf8ToUtf16(FillDetails(TextsOf(diagnostic.problem).window, diagnostic.details))
      .value_or(u"");
}

std::string CliText(const Diagnostic& diagnostic) {
  return FillDetails(TextsOf(diagnostic.problem).cli, diagnostic.details);
}

}  // namespace calc
