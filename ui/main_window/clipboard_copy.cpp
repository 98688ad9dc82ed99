#include "ui/main_window/clipboard_copy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ui {

void CopyTextToClipboard(const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Plain text alone: no rich-text or other formats that a paste could prefer.
  auto* data = new QMimeData;
  data->setText(text);
  clipboard->setMimeData(data, QClipboard::Clipboard);  // the clipboard takes ownership
  // The platform does not report a refusal (on X11 another client may keep the selection
  // when our timestamp is older than its own), so read the clipboard back: while another
  // program owns it, this asks that program for its text.
  if (clipboard->text(QClipboard::Clipboard) != text) {
    throw ClipboardError("Out of system resources");
  }
}

}  // namespace ui
