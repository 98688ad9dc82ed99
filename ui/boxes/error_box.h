// The generic error box and the one guard that every event handler runs inside.
//
// Qt's event loop is not exception-safe, so no exception may leave a handler: each
// handler body runs in RunGuarded, which shows whatever escapes (a floating-point error
// from a command, a clipboard or printing failure) and lets the program go on.
#ifndef KORVANE_UI_BOXES_ERROR_BOX_H
#define KORVANE_UI_BOXES_ERROR_BOX_H

#include <QString>
#include <exception>
#include <string>
#include <utility>

namespace ui {

// The message to show for `error`: for an error that wraps others (std::nested_exception),
// the innermost message that is not empty, else the error's own.
//   ErrorMessage(std::runtime_error("Printing in progress")) -> "Printing in progress"
std::string ErrorMessage(const std::exception& error);

// The box's text: the message with "." appended when it is not empty and its last
// character's code is greater than that of ".".
//   "Floating point overflow" -> "Floating point overflow."; "Done." -> "Done.";
//   "" -> ""; "Error -" -> "Error -" ("-" comes before ".")
QString ErrorBoxText(const QString& message);

// The application title: the executable's file name without folder, cut before its first
// ".", every character after the first in lower case.
//   "/usr/bin/korvane" -> "korvane"; "C:/Tools/KORVANE.EXE" -> "Korvane"; "/opt/.x" -> ""
QString ApplicationTitle(const QString& executable_path);

// Shows the critical error box, modal over the active window, captioned with the
// application title of the running executable, with one "OK" button.
void ShowErrorBox(const QString& message);

// Runs `action`; an exception that escapes it is shown in the error box.
template <typename Action>
void RunGuarded(Action&& action) noexcept {
  try {
    std::forward<Action>(action)();
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromStdString(ErrorMessage(error)));
  } catch (...) {
    ShowErrorBox(QString());
  }
}

}  // namespace ui

#endif  // KORVANE_UI_BOXES_ERROR_BOX_H
