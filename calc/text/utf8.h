// UTF-8 as files, terminals and scripts hold text; UTF-16 as the core and the window do.
#ifndef KORVANE_CALC_TEXT_UTF8_H
#define KORVANE_CALC_TEXT_UTF8_H

#include <optional>
#include <string>
#include <string_view>

namespace calc {

// The UTF-16 form of well-formed UTF-8; nothing for ill-formed input (overlong forms,
// surrogates, truncated or stray bytes, values above U+10FFFF).
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// UTF-8 of a UTF-16 text; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_UTF8_H
