// What the program does before it opens a window: answer --help and --version on standard
// output, refuse unknown options, and say so plainly when there is no display to open a
// window on (instead of the toolkit's abort).
#ifndef KORVANE_APP_COMMAND_LINE_H
#define KORVANE_APP_COMMAND_LINE_H

#include <optional>

class QCoreApplication;

namespace app {

// The exit code when the program should end without a window; nothing when it should go
// on to open one.
std::optional<int> HandleCommandLine(int argc, char* argv[]);

// With the window's application made (it has taken the toolkit's options): sets the
// program's name and version and ends the program with a message on an unknown option.
void CheckRemainingOptions(const QCoreApplication& application);

}  // namespace app

#endif  // KORVANE_APP_COMMAND_LINE_H
