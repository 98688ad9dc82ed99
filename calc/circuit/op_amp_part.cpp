#include "calc/circuit/op_amp_part.h"

#include <algorithm>
#include <numeric>

#include "calc/text/utf8.h"

namespace calc {
namespace {

char16_t FoldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The name as UTF-16 units with ASCII letters folded; a name that is not UTF-8 (a typed
// one: the catalogue's are checked) is compared byte by byte.
std::u16string Folded(std::string_view name) {
  std::u16string units = Utf8ToUtf16(name).value_or(std::u16string(name.begin(), name.end()));
  std::transform(units.begin(), units.end(), units.begin(), FoldAscii);
  return units;
}

// Suggestions are for names a person types; beyond this length none are sought, so that a
// hostile text costs no quadratic time.
constexpr std::size_t kLongestCompared = 256;

// The optimal string alignment distance: insertions, deletions, substitutions and swaps of
// neighbours, the typing slips a suggestion should forgive, each counting one.
std::size_t EditDistance(const std::u16string& a, const std::u16string& b) {
  std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  std::iota(previous.begin(), previous.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[b.size()];
}

}  // namespace

bool SameOpAmpName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return FoldAscii(static_cast<unsigned char>(x)) == FoldAscii(static_cast<unsigned char>(y));
  });
}

const OpAmpPart* FindOpAmpPart(std::span<const OpAmpPart> parts, std::string_view name) {
  const auto found = std::find_if(parts.begin(), parts.end(), [name](const OpAmpPart& part) {
    return SameOpAmpName(part.name, name);
  });
  return found == parts.end() ? nullptr : &*found;
}

std::vector<std::string> NearestOpAmpNames(std::span<const OpAmpPart> parts, std::string_view name,
                                           std::size_t count) {
  const std::u16string wanted = Folded(name);
  struct Near {
    std::size_t distance, index;
  };
  std::vector<Near> near;
  if (wanted.size() <= kLongestCompared) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const std::u16string candidate = Folded(parts[i].name);
      if (candidate.size() > kLongestCompared) continue;
      const std::size_t longer = std::max(wanted.size(), candidate.size());
      const std::size_t shorter = std::min(wanted.size(), candidate.size());
      const std::size_t allowed = std::max<std::size_t>(2, longer / 3);
      if (longer - shorter > allowed) continue;  // at least that many insertions
      const std::size_t distance = EditDistance(wanted, candidate);
      if (distance <= allowed) near.push_back({distance, i});
    }
  }
  std::stable_sort(near.begin(), near.end(),
                   [](const Near& a, const Near& b) { return a.distance < b.distance; });
  std::vector<std::string> names;
  for (std::size_t i = 0; i < near.size() && names.size() < count; ++i) {
    names.push_back(parts[near[i].index].name);
  }
  return names;
}

}  // namespace calc
