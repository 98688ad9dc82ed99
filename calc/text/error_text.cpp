#include "calc/text/error_text.h"

namespace calc {

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // Any byte of a multi-byte UTF-8 character is above ".", as is the character's code.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace calc
