// UTF-8 on the command line and in CSV files, UTF-16 in the core.
#ifndef KORVANE_CLI_UTF8_H
#define KORVANE_CLI_UTF8_H

#include <string>
#include <string_view>

#include "calc/text/diagnostic.h"
#include "calc/text/outcome.h"
#include "calc/text/utf8.h"

namespace cli {

using calc::Utf16ToUtf8;
using calc::Utf8ToUtf16;

// The error for an input (named as its option or column) whose text is not UTF-8:
// CliText(NotUtf8Error("zref")) -> "The zref text is not valid UTF-8."
calc::Diagnostic NotUtf8Error(std::string_view name);

// The UTF-16 form of the input `name`'s text, or NotUtf8Error(name).
calc::Outcome<std::u16string> DecodeInput(std::string_view name, std::string_view text);

}  // namespace cli

#endif  // KORVANE_CLI_UTF8_H
