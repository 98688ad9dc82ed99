#include "cli/utf8.h"

namespace cli {

std::string NotUtf8Error(std::string_view name) {
  return "The " + std::string(name) + " text is not valid UTF-8.";
}

}  // namespace cli
