// The help window: a fixed Japanese help text in an editable, word-wrapped box.
#ifndef KORVANE_UI_HELP_FORM_HELP_H
#define KORVANE_UI_HELP_FORM_HELP_H

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

namespace ui {

// The 22 lines of the help text, as the window first shows them.
QStringList HelpTextLines();

// FormHelp. Created hidden with the main window and kept for the program's life: closing
// it only hides it, so what the user typed into it, its place and its size survive until
// the program ends. Its text box is built the first time it is shown.
class TFormHelp : public QWidget {
  Q_OBJECT

 public:
  explicit TFormHelp(QWidget* main_window);

  // Shows the window without blocking the main window and brings it to the front. The
  // first time, it is placed centred over the main window and kept off the work area's
  // left and top edges (PlaceHelpWindow); later it opens where it was left.
  void ShowInFront();

  // Memo1; nullptr until the window was first shown.
  QPlainTextEdit* memo() const { return memo_; }

 private:
  void BuildContents();
  void PlaceOverMainWindow();

  QWidget* main_window_;
  QPlainTextEdit* memo_ = nullptr;
  bool placed_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_HELP_FORM_HELP_H
