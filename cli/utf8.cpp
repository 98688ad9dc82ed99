#include "cli/utf8.h"

#include <optional>

namespace cli {

calc::Diagnostic NotUtf8Error(std::string_view name) {
  return {calc::Problem::kNotUtf8, {std::string(name)}};
}

calc::Outcome<std::u16string> DecodeInput(std::string_view name, std::string_view text) {
  std::optional<std::u16string> utf16 = Utf8ToUtf16(text);
  if (!utf16) return NotUtf8Error(name);
  return *std::move(utf16);
}

}  // namespace cli
