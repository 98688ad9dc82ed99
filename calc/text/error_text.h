// How an error's message reads in the error box, in the window and in the command-line
// tool alike.
#ifndef KORVANE_CALC_TEXT_ERROR_TEXT_H
#define KORVANE_CALC_TEXT_ERROR_TEXT_H

#include <string>
#include <string_view>

namespace calc {

// The message (UTF-8) with a full stop appended when its last character's code lies above
// "." (so a message ending in a letter becomes a sentence, one ending in "." or a blank
// stays). "Floating point overflow" -> "Floating point overflow."; "" -> "".
std::string ErrorBoxText(std::string_view message);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_ERROR_TEXT_H
