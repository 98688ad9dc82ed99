// The fonts of the two windows, with substitutes for faces that Linux does not have.
#ifndef KORVANE_UI_MAIN_WINDOW_WINDOW_FONTS_H
#define KORVANE_UI_MAIN_WINDOW_WINDOW_FONTS_H

#include <QFont>

namespace ui {

// The main window's 13-pixel Japanese Gothic face; IPAGothic has the same metrics
// (full-width glyphs twice as wide as Latin ones) where the Windows face is missing.
QFont MainWindowFont();

// The help text's 11-pixel sans face, with a Japanese face for what it lacks.
QFont HelpWindowFont();

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_WINDOW_FONTS_H
