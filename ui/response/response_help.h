// The response window's own help: its pages, the zoom and the read-out, the exports, the
// tolerance run and korvane-cli. A window of its own beside the response window, opened
// with the ヘルプ button or F1 at the topic of the page in front. (The main window's help
// is another window with a fixed text of its own.)
#ifndef KORVANE_UI_RESPONSE_RESPONSE_HELP_H
#define KORVANE_UI_RESPONSE_RESPONSE_HELP_H

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace ui {

enum class HelpTopic { kResponse, kZoom, kExports, kTolerance, kCommandLine };

// The anchor of a topic in the help text: "response", "zoom", "exports", "tolerance",
// "cli".
QString HelpAnchor(HelpTopic topic);

// The help text as HTML, one section per topic under its anchor.
QString ResponseHelpHtml();

class ResponseHelp : public QWidget {
  Q_OBJECT

 public:
  explicit ResponseHelp(QWidget* response_window);

  // Shows the window in front, scrolled to `topic`; the first time it is placed beside
  // the response window within the work area.
  void ShowTopic(HelpTopic topic);

  QTextBrowser* browser() const { return browser_; }

 private:
  QWidget* response_window_;
  QTextBrowser* browser_;
  bool placed_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_HELP_H
