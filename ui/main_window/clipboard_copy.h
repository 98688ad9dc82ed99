// Copying the report to the system clipboard.
#ifndef KORVANE_UI_MAIN_WINDOW_CLIPBOARD_COPY_H
#define KORVANE_UI_MAIN_WINDOW_CLIPBOARD_COPY_H

#include <QString>
#include <stdexcept>

namespace ui {

// The clipboard did not take the text; the message is the text the error box shows.
class ClipboardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replaces the clipboard's contents (the CLIPBOARD selection on X11) with `text` as one
// Unicode text: exactly its characters, line ends and all, nothing added.
// CopyTextToClipboard(u"2nd BPF\r\n") -> another program pasting reads "2nd BPF\r\n".
// Throws ClipboardError("Out of system resources") when the clipboard does not take the
// text; the clipboard then keeps what it held.
void CopyTextToClipboard(const QString& text);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_CLIPBOARD_COPY_H
