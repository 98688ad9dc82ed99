// Copying the report to the system clipboard.
#ifndef KORVANE_UI_CLIPBOARD_COPY_H
#define KORVANE_UI_CLIPBOARD_COPY_H

#include <QString>

namespace ui {

// Replaces the clipboard's contents with `text` as one Unicode text, nothing added.
// Throws std::runtime_error, whose message the error box shows, when the clipboard
// does not take the text.
void CopyTextToClipboard(const QString& text);

}  // namespace ui

#endif  // KORVANE_UI_CLIPBOARD_COPY_H
