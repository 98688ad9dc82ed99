// The font the report is printed in.
#ifndef KORVANE_UI_PRINTING_PRINT_FONT_H
#define KORVANE_UI_PRINTING_PRINT_FONT_H

#include <QFont>
#include <QString>

namespace ui {

// The face asked for first: full-width M, full-width S, a blank, U+660E U+671D.
inline const QString kPrintFontFace = QStringLiteral(u"ＭＳ 明朝");
// The Mincho face that stands in where the first is not installed (Debian's IPA fonts).
inline const QString kPrintFontFallbackFace = QStringLiteral(u"IPAMincho");
inline constexpr int kPrintFontPointSize = 9;

// A regular 9 point font with the families [kPrintFontFace, kPrintFontFallbackFace]; the
// first one that is installed is used. Point sizes scale with the device it is used on.
// On a system without "ＭＳ 明朝": QFontInfo(PrintFont()).family() -> "IPAMincho".
QFont PrintFont();

}  // namespace ui

#endif  // KORVANE_UI_PRINTING_PRINT_FONT_H
