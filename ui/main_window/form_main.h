// The calculator's main window, FormMain.
//
// Layers: the window holds the field texts and the buttons; the commands in calc/ read
// the texts through calc::Form, keep numbers in calc::CalcState and write result texts
// back. The window computes nothing itself: its handlers call a command, the report, the
// clipboard or the printer, each inside RunGuarded so that an error is shown in the
// error box and the program goes on.
#ifndef KORVANE_UI_MAIN_WINDOW_FORM_MAIN_H
#define KORVANE_UI_MAIN_WINDOW_FORM_MAIN_H

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "calc/commands/calc_state.h"
#include "calc/commands/form.h"
#include "ui/main_window/printing_loader.h"
#include "ui/main_window/response_loader.h"
#include "ui/main_window/tab_order.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace ui {

class ClickableLabel;
class TFormHelp;

// The main window's push buttons, in the order of their table.
enum class ButtonId { kClr, kCalc, kTF, kPrint, kCopy, kExit, kResponse };
inline constexpr std::size_t kButtonCount = 7;

class TFormMain : public QWidget, public calc::Form {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* parent = nullptr);
  ~TFormMain() override;

  // calc::Form over the window's controls.
  std::u16string Text(calc::Field field) const override;
  void SetText(calc::Field field, std::u16string_view text) override;
  bool LockChecked() const override;
  void SetOutputEnabled(bool enabled) override;
  void ShowWarning(std::u16string_view text) override;

  const calc::CalcState& calc_state() const { return state_; }
  TFormHelp* help_window() const { return form_help_; }
  // The response window, made on the first click of its button; nullptr before.
  ResponseView* response_view() const { return response_view_; }
  // How that window is made: by default from its module beside the executable.
  void SetResponseViewFactory(ResponseViewFactory factory) { response_factory_ = factory; }
  // Types `texts` into R1, R2, R3, C1 and C2 and runs the analysis command as its button
  // does: the window, its report, copy and print then carry that set.
  void ApplyCircuit(const CircuitTexts& texts);

 Q_SIGNALS:
  // After the design or the analysis command: `completed` is false when an error stopped it.
  void CommandFinished(bool completed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Construction, in this order.
  void CreateFields();
  void CreateButtons();
  void CreateLabels();
  void CreatePicture();
  void SetTabOrder();
  void ConnectHandlers();
  void FormCreate();

  // Handlers.
  void ButtonCalcClick();
  void ButtonTFClick();
  void ButtonPrintClick();
  void ButtonCopyClick();
  void ButtonClrClick();
  void ButtonExitClick();
  void ButtonResponseClick();
  void ShowResponse(bool command_completed);
  void Label19Click();
  bool EditFoKeyDown(QObject* field, int key);  // true when the key was consumed
  void MoveFocus(QObject* from, TabDirection direction);

  QString ReportText() const;
  QPushButton* Button(ButtonId id) const;

  calc::CalcState state_;
  std::unique_ptr<ReportPrinting> printer_;  // made from its module at the first print
  std::array<QLineEdit*, calc::kFieldCount> field_edits_{};  // nullptr for the two lists
  QComboBox* combo_er_ = nullptr;
  QComboBox* combo_ec_ = nullptr;
  QCheckBox* check_lock_ = nullptr;
  std::array<QPushButton*, kButtonCount> buttons_{};
  ClickableLabel* help_label_ = nullptr;
  std::vector<QWidget*> tab_order_;
  TFormHelp* form_help_ = nullptr;
  ResponseView* response_view_ = nullptr;
  ResponseViewFactory response_factory_ = &LoadResponseView;
  bool placed_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_FORM_MAIN_H
