#include "ui/main_window/form_main.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <limits>
#include <memory>

#include "calc/commands/analysis_command.h"
#include "calc/commands/design_command.h"
#include "calc/commands/report.h"
#include "ui/boxes/error_box.h"
#include "ui/boxes/warning_box.h"
#include "ui/help/form_help.h"
#include "ui/main_window/circuit_picture.h"
#include "ui/main_window/clickable_label.h"
#include "ui/main_window/clipboard_copy.h"
#include "ui/main_window/field_edit.h"
#include "ui/main_window/program_icon.h"
#include "ui/main_window/version_text.h"
#include "ui/main_window/window_fonts.h"
#include "ui/main_window/window_placement.h"

namespace ui {
namespace {

using calc::Field;

// One row per control, in the layout's units: pixels of the client area.
struct EditRow {
  Field field;
  const char* name;
  QRect bounds;
  QStringView text;        // initial text
  QStringView hint;        // tool tip, empty for none
  bool tab_stop;           // the result fields take focus only from a click
  QStringView accessible;  // what a screen reader calls it
};

constexpr EditRow kEdits[] = {
    {Field::EditFo, "EditFo", {44, 35, 81, 21}, u"1k", u"", true, u"指定値 fo"},
    {Field::EditQ, "EditQ", {44, 62, 81, 21}, u"1.0", u"", true, u"指定値 Q"},
    {Field::EditH, "EditH", {44, 89, 81, 21}, u"1.0", u"", true, u"指定値 H"},
    {Field::EditR1, "EditR1", {44, 143, 81, 21}, u"", u"", true, u"R1"},
    {Field::EditR2, "EditR2", {44, 170, 81, 21}, u"", u"", true, u"R2"},
    {Field::EditR3, "EditR3", {44, 197, 81, 21}, u"", u"", true, u"R3"},
    {Field::EditFor, "EditFor", {163, 35, 81, 21}, u"", u"", false, u"結果 fo"},
    {Field::EditQr, "EditQr", {163, 62, 81, 21}, u"", u"", false, u"結果 Q"},
    {Field::EditHr, "EditHr", {163, 89, 81, 21}, u"", u"", false, u"結果 H"},
    {Field::EditC1, "EditC1", {163, 143, 81, 21}, u"", u"", true, u"C1"},
    {Field::EditC2, "EditC2", {163, 170, 81, 21}, u"", u"", true, u"C2"},
    {Field::EditStdR,
     "EditStdR",
     {287, 119, 50, 21},
     u"10k",
     u"回路インピーダンスの目安",
     true,
     u"参照Z"},
};

struct ComboRow {
  Field field;
  const char* name;
  QRect bounds;
  QStringView text;
  QStringView accessible;
};

constexpr ComboRow kCombos[] = {
    {Field::ComboBoxER, "ComboBoxER", {287, 32, 50, 21}, u"24", u"Ｅ系列 R"},
    {Field::ComboBoxEC, "ComboBoxEC", {287, 59, 50, 21}, u"6", u"Ｅ系列 C"},
};

// The series sizes E3 to E192, and infinity for values left unsnapped.
constexpr QStringView kSeriesItems[] = {u"3", u"6", u"12", u"24", u"48", u"96", u"192", u"∞"};

struct ButtonRow {
  ButtonId id;
  const char* name;
  QRect bounds;
  QStringView caption;
  QStringView hint;
  bool enabled;
};

constexpr ButtonRow kButtons[] = {
    {ButtonId::kClr, "ButtonClr", {282, 197, 55, 25}, u"クリア", u"", true},
    {ButtonId::kCalc, "ButtonCalc", {21, 359, 67, 25}, u"定数計算", u"定数計算を実行します", true},
    {ButtonId::kTF, "ButtonTF", {92, 359, 67, 25}, u"伝達関数", u"伝達関数計算を実行します", true},
    {ButtonId::kPrint,
     "ButtonPrint",
     {163, 359, 55, 25},
     u"印刷",
     u"結果をテキストで印刷します",
     false},
    {ButtonId::kCopy,
     "ButtonCopy",
     {222, 359, 55, 25},
     u"コピー",
     u"結果をテキストでクリップボードにコピーします",
     false},
    {ButtonId::kExit, "ButtonExit", {282, 359, 55, 25}, u"終了", u"", true},
    {ButtonId::kResponse,
     "ButtonResponse",
     {282, 228, 55, 25},
     u"特性",
     u"周波数特性を表示します",
     true},
};

enum class Align { kCentre, kRight, kSizedToText };

struct LabelRow {
  const char* name;
  QRect bounds;
  QStringView caption;
  Align align;
  QStringView hint;
};

constexpr LabelRow kLabels[] = {
    {"Label17", {44, 16, 81, 13}, u"指定値", Align::kCentre, u"要求する伝達関数"},
    {"Label16", {163, 16, 81, 13}, u"結果", Align::kCentre, u"結果の伝達関数"},
    {"Label18", {262, 16, 85, 13}, u"Ｅ系列指定", Align::kCentre, u""},
    {"Label2", {22, 38, 20, 13}, u"fo", Align::kRight, u""},
    {"Label3", {22, 65, 20, 13}, u"Q", Align::kRight, u""},
    {"LabelH", {22, 92, 20, 13}, u"H", Align::kRight, u""},
    {"Label21", {141, 38, 20, 13}, u"fo", Align::kRight, u""},
    {"Label22", {141, 65, 20, 13}, u"Q", Align::kRight, u""},
    {"Label4", {141, 92, 20, 13}, u"H", Align::kRight, u""},
    {"Label10", {265, 35, 20, 13}, u"R", Align::kRight, u""},
    {"Label13", {265, 62, 20, 13}, u"C", Align::kRight, u""},
    {"Label1", {290, 102, 35, 13}, u"参照Z", Align::kSizedToText, u""},
    {"LabelR", {44, 126, 81, 13}, u"結果", Align::kCentre, u""},
    {"LabelC", {163, 126, 81, 13}, u"結果", Align::kCentre, u""},
    {"LabelR1", {21, 146, 21, 13}, u"R1", Align::kRight, u""},
    {"LabelR2", {22, 173, 20, 13}, u"R2", Align::kRight, u""},
    {"LabelR3", {22, 200, 20, 13}, u"R3", Align::kRight, u""},
    {"LabelC1", {141, 146, 20, 13}, u"C1", Align::kRight, u""},
    {"LabelC2", {141, 173, 20, 13}, u"C2", Align::kRight, u""},
};

constexpr LabelRow kHelpLabel{
    "Label19", {287, 333, 50, 13}, u"Help", Align::kCentre, u"クリックでヘルプを表示します"};

constexpr QRect kPictureBounds{50, 233, 230, 113};

// Fields have no length limit of their own: whatever is typed reaches the commands.
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

QString ToQString(QStringView text) { return text.toString(); }

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

void ApplyHint(QWidget* widget, QStringView hint) {
  if (!hint.isEmpty()) widget->setToolTip(hint.toString());
}

}  // namespace

TFormMain::TFormMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FormMain"));
  setFont(MainWindowFont());
  setWindowIcon(ProgramIcon());
  CreateFields();
  CreateButtons();
  CreateLabels();
  CreatePicture();
  SetTabOrder();
  ConnectHandlers();
  FormCreate();
  form_help_ = new TFormHelp(this);

  // Start in the first field with its text selected, ready to be typed over.
  QLineEdit* first = field_edits_[static_cast<std::size_t>(Field::EditFo)];
  first->setFocus(Qt::TabFocusReason);
  first->selectAll();
}

TFormMain::~TFormMain() = default;

void TFormMain::CreateFields() {
  for (const EditRow& row : kEdits) {
    auto* edit = new FieldEdit(ToQString(row.text), this);
    edit->setObjectName(QString::fromLatin1(row.name));
    edit->setAccessibleName(ToQString(row.accessible));
    edit->setGeometry(row.bounds);
    edit->setMaxLength(kNoLengthLimit);
    edit->setFocusPolicy(row.tab_stop ? Qt::StrongFocus : Qt::ClickFocus);
    ApplyHint(edit, row.hint);
    edit->installEventFilter(this);
    field_edits_[static_cast<std::size_t>(row.field)] = edit;
  }

  for (const ComboRow& row : kCombos) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(row.name));
    combo->setAccessibleName(ToQString(row.accessible));
    combo->setGeometry(row.bounds);
    combo->setEditable(true);
    // Typed text stays as typed: no completion from the list, nothing added to it.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->lineEdit()->setMaxLength(kNoLengthLimit);
    for (QStringView item : kSeriesItems) combo->addItem(item.toString());
    combo->setCurrentIndex(combo->findText(ToQString(row.text)));
    combo->installEventFilter(this);
    (row.field == Field::ComboBoxER ? combo_er_ : combo_ec_) = combo;
  }

  check_lock_ = new QCheckBox(QStringLiteral("Lock"), this);
  check_lock_->setObjectName(QStringLiteral("CheckBoxLock"));
  check_lock_->setAccessibleName(QStringLiteral("Lock"));
  check_lock_->setGeometry(250, 172, 87, 17);
}

void TFormMain::CreateButtons() {
  for (const ButtonRow& row : kButtons) {
    auto* button = new QPushButton(ToQString(row.caption), this);
    button->setObjectName(QString::fromLatin1(row.name));
    button->setAccessibleName(ToQString(row.caption));
    button->setGeometry(row.bounds);
    // Enter on a focused button presses it, as on the platform this tool comes from.
    button->setAutoDefault(true);
    button->setEnabled(row.enabled);
    ApplyHint(button, row.hint);
    buttons_[static_cast<std::size_t>(row.id)] = button;
  }
}

void TFormMain::CreateLabels() {
  auto make = [this](const LabelRow& row, QLabel* label) {
    label->setText(ToQString(row.caption));
    label->setObjectName(QString::fromLatin1(row.name));
    label->setAccessibleName(ToQString(row.caption));
    label->setGeometry(row.bounds);
    switch (row.align) {
      case Align::kCentre:
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
      case Align::kRight:
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
      case Align::kSizedToText:
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->resize(label->fontMetrics().horizontalAdvance(label->text()), row.bounds.height());
        break;
    }
    ApplyHint(label, row.hint);
  };
  for (const LabelRow& row : kLabels) make(row, new QLabel(this));
  help_label_ = new ClickableLabel(this);
  make(kHelpLabel, help_label_);
}

void TFormMain::CreatePicture() {
  auto* picture = new CircuitPicture(this);
  picture->setObjectName(QStringLiteral("ImageBPF"));
  picture->setAccessibleName(QStringLiteral("回路図"));
  picture->setGeometry(kPictureBounds);
}

void TFormMain::SetTabOrder() {
  // The focusable controls in tab order: Tab, Enter and the arrow keys visit them so.
  const auto edit = [this](Field field) -> QWidget* {
    return field_edits_[static_cast<std::size_t>(field)];
  };
  tab_order_ = {edit(Field::EditFo),
                edit(Field::EditQ),
                edit(Field::EditH),
                edit(Field::EditR1),
                edit(Field::EditR2),
                edit(Field::EditR3),
                edit(Field::EditFor),
                edit(Field::EditQr),
                edit(Field::EditHr),
                edit(Field::EditC1),
                edit(Field::EditC2),
                combo_er_,
                combo_ec_,
                edit(Field::EditStdR),
                Button(ButtonId::kClr),
                Button(ButtonId::kCalc),
                Button(ButtonId::kTF),
                Button(ButtonId::kPrint),
                Button(ButtonId::kCopy),
                Button(ButtonId::kExit),
                check_lock_,
                Button(ButtonId::kResponse)};
  for (std::size_t i = 1; i < tab_order_.size(); ++i) {
    QWidget::setTabOrder(tab_order_[i - 1], tab_order_[i]);
  }
}

void TFormMain::ConnectHandlers() {
  const auto on_click = [this](ButtonId id, void (TFormMain::*handler)()) {
    connect(Button(id), &QPushButton::clicked, this, handler);
  };
  on_click(ButtonId::kCalc, &TFormMain::ButtonCalcClick);
  on_click(ButtonId::kTF, &TFormMain::ButtonTFClick);
  on_click(ButtonId::kPrint, &TFormMain::ButtonPrintClick);
  on_click(ButtonId::kCopy, &TFormMain::ButtonCopyClick);
  on_click(ButtonId::kClr, &TFormMain::ButtonClrClick);
  on_click(ButtonId::kExit, &TFormMain::ButtonExitClick);
  on_click(ButtonId::kResponse, &TFormMain::ButtonResponseClick);
  connect(help_label_, &ClickableLabel::clicked, this, &TFormMain::Label19Click);
}

void TFormMain::FormCreate() {
  setWindowTitle(MainWindowCaption(BuildVersionWord()));
  // The client area ends 15 pixels right of the Exit button and 8 pixels below it; the
  // window keeps that size: it can be neither resized nor maximised.
  const QRect exit = Button(ButtonId::kExit)->geometry();
  setFixedSize(exit.x() + exit.width() + 15, exit.y() + exit.height() + 8);
}

QPushButton* TFormMain::Button(ButtonId id) const { return buttons_[static_cast<std::size_t>(id)]; }

// --- calc::Form ---

std::u16string TFormMain::Text(calc::Field field) const {
  if (field == Field::ComboBoxER) return combo_er_->currentText().toStdU16String();
  if (field == Field::ComboBoxEC) return combo_ec_->currentText().toStdU16String();
  return field_edits_[static_cast<std::size_t>(field)]->text().toStdU16String();
}

void TFormMain::SetText(calc::Field field, std::u16string_view text) {
  if (field == Field::ComboBoxER) {
    combo_er_->setEditText(ToQString(text));
  } else if (field == Field::ComboBoxEC) {
    combo_ec_->setEditText(ToQString(text));
  } else {
    field_edits_[static_cast<std::size_t>(field)]->setText(ToQString(text));
  }
}

bool TFormMain::LockChecked() const { return check_lock_->isChecked(); }

void TFormMain::SetOutputEnabled(bool enabled) {
  Button(ButtonId::kPrint)->setEnabled(enabled);
  Button(ButtonId::kCopy)->setEnabled(enabled);
}

void TFormMain::ShowWarning(std::u16string_view text) { ui::ShowWarning(this, ToQString(text)); }

// --- Handlers ---

void TFormMain::ButtonCalcClick() {
  bool completed = false;
  RunGuarded([this, &completed] {
    calc::ButtonCalcClick(*this, state_);
    completed = true;
  });
  Q_EMIT CommandFinished(completed);
}

void TFormMain::ButtonTFClick() {
  bool completed = false;
  RunGuarded([this, &completed] {
    calc::ButtonTFClick(*this, state_);
    completed = true;
  });
  Q_EMIT CommandFinished(completed);
}

void TFormMain::ButtonPrintClick() {
  RunGuarded([this] {
    if (printer_ == nullptr) printer_.reset(LoadReportPrinting(this));
    printer_->PrintReport(ReportText());
  });
}

void TFormMain::ButtonCopyClick() {
  RunGuarded([this] { CopyTextToClipboard(ReportText()); });
}

void TFormMain::ButtonClrClick() {
  RunGuarded([this] {
    for (Field field :
         {Field::EditFo, Field::EditQ, Field::EditH, Field::EditR1, Field::EditR2, Field::EditR3,
          Field::EditFor, Field::EditQr, Field::EditHr, Field::EditC1, Field::EditC2}) {
      SetText(field, u"");
    }
    if (response_view_ != nullptr) response_view_->ShowCleared();
  });
}

void TFormMain::ButtonExitClick() { close(); }

void TFormMain::ButtonResponseClick() {
  RunGuarded([this] {
    if (response_view_ == nullptr) {
      response_view_ = response_factory_(this);
      response_view_->SetCircuitApplier([this](const CircuitTexts& texts) { ApplyCircuit(texts); });
      connect(this, &TFormMain::CommandFinished, this, &TFormMain::ShowResponse);
      ShowResponse(true);
    }
    QWidget* window = response_view_->Window();
    window->show();
    window->raise();
    window->activateWindow();
  });
}

void TFormMain::ShowResponse(bool command_completed) {
  // A command stopped by an error may leave the state half updated: no result then.
  RunGuarded([this, command_completed] {
    std::optional<ResponseSubject> subject;
    if (command_completed) subject = CurrentSubject(*this, state_);
    if (subject) {
      response_view_->ShowSubject(subject);
    } else {
      response_view_->ShowCommandFailed();
    }
  });
}

void TFormMain::ApplyCircuit(const CircuitTexts& texts) {
  constexpr Field kPartFields[] = {Field::EditR1, Field::EditR2, Field::EditR3, Field::EditC1,
                                   Field::EditC2};
  for (int part = 0; part < calc::kPartCount; ++part) SetText(kPartFields[part], texts[part]);
  ButtonTFClick();
}

void TFormMain::Label19Click() {
  RunGuarded([this] { form_help_->ShowInFront(); });
}

QString TFormMain::ReportText() const {
  return QString::fromStdU16String(calc::BuildReport(*this, state_));
}

// --- Keyboard ---

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == combo_er_ || watched == combo_ec_) {
      // The lists keep their own arrow keys; Enter does nothing there (it would
      // otherwise reach the list's own handling of a typed entry).
      return IsEnterKey(key);
    }
    return EditFoKeyDown(watched, key);
  }
  return QWidget::eventFilter(watched, event);
}

bool TFormMain::EditFoKeyDown(QObject* field, int key) {
  // Modifiers do not matter: Shift+Enter moves on like Enter.
  if (IsEnterKey(key) || key == Qt::Key_Down) {
    MoveFocus(field, TabDirection::kForward);
    return true;
  }
  if (key == Qt::Key_Up) {
    MoveFocus(field, TabDirection::kBackward);
    return true;
  }
  return false;
}

void TFormMain::MoveFocus(QObject* from, TabDirection direction) {
  // Controls without a tab stop are passed over, and so are disabled or hidden ones; the
  // search starts from the field's own place even when it has no tab stop itself.
  std::size_t from_index = tab_order_.size();
  const std::unique_ptr<bool[]> can_take_focus(new bool[tab_order_.size()]{});
  for (std::size_t i = 0; i < tab_order_.size(); ++i) {
    const QWidget* control = tab_order_[i];
    if (control == from) from_index = i;
    can_take_focus[i] = (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                        control->isEnabled() && control->isVisibleTo(this);
  }
  const std::optional<std::size_t> next =
      NextInTabOrder({can_take_focus.get(), tab_order_.size()}, from_index, direction);
  if (!next) return;
  tab_order_[*next]->setFocus(direction == TabDirection::kForward ? Qt::TabFocusReason
                                                                  : Qt::BacktabFocusReason);
}

// --- Window ---

void TFormMain::showEvent(QShowEvent* event) {
  if (!placed_ && !event->spontaneous()) {
    placed_ = true;
    // Centred in the work area when first shown, unless someone placed it already.
    if (!testAttribute(Qt::WA_Moved)) {
      const ScreenPoint corner =
          CentreInWorkArea(width(), height(), ScreenRectFromQRect(MonitorWorkArea(this)));
      move(ToQPoint(corner));
    }
  }
  QWidget::showEvent(event);
}

void TFormMain::closeEvent(QCloseEvent* event) {
  form_help_->hide();
  if (response_view_ != nullptr) response_view_->Window()->hide();
  event->accept();
}

}  // namespace ui
