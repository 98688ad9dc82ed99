// The program's version as the main window's caption shows it.
#ifndef KORVANE_UI_MAIN_WINDOW_VERSION_TEXT_H
#define KORVANE_UI_MAIN_WINDOW_VERSION_TEXT_H

#include <QString>
#include <cstdint>

namespace ui {

// The most significant version word of a file version: major in the high 16 bits, minor
// in the low 16 bits. All ones (65535.65535) stands for "no readable version".
inline constexpr std::uint32_t kUnreadableVersionWord = 0xFFFFFFFFu;

// The build's own version word, compiled in from the project version; all ones when the
// build has no version or a number does not fit in 16 bits.
//   version 2.5.0.0 -> 0x00020005
std::uint32_t BuildVersionWord();

// Major number, ".", minor number padded to at least two digits.
//   VersionText(0x00020005) -> "2.05"; VersionText(0x0003000E) -> "3.14";
//   VersionText(0x0001007B) -> "1.123"; VersionText(0xFFFFFFFF) -> "65535.65535"
QString VersionText(std::uint32_t version_word);

// MainWindowCaption(0x00020005) -> "Korvane Ver2.05"
QString MainWindowCaption(std::uint32_t version_word);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_VERSION_TEXT_H
