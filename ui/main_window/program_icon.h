// The program icon: a black resonance peak over a light-grey logarithmic grid.
#ifndef KORVANE_UI_MAIN_WINDOW_PROGRAM_ICON_H
#define KORVANE_UI_MAIN_WINDOW_PROGRAM_ICON_H

#include <QIcon>

namespace ui {

// Drawn at whatever size is asked for, when it is asked for; packaging/korvane.svg is the
// same picture for the desktop.
QIcon ProgramIcon();

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_PROGRAM_ICON_H
