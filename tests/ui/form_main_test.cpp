// The main window on the offscreen platform: its controls as laid out, keyboard
// navigation, Clear and Exit, and what the buttons' state and the boxes show after a
// result, a warning and a floating-point error.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

#include "tests/ui/support/window_test_fixture.h"
#include "ui/help/form_help.h"
#include "ui/main_window/form_main.h"

using testing_support::ModalBoxWatch;

namespace {

// The design command's results on the start-up texts.
const QString kDefaultDesign[][2] = {
    {QStringLiteral("EditFor"), QStringLiteral("964.575")},
    {QStringLiteral("EditQr"), QStringLiteral("1000.000m")},
    {QStringLiteral("EditHr"), QStringLiteral("  1.000")},
    {QStringLiteral("EditC1"), QStringLiteral(" 15.000n")},
    {QStringLiteral("EditC2"), QStringLiteral(" 15.000n")},
    {QStringLiteral("EditR1"), QStringLiteral(" 11.000k")},
    {QStringLiteral("EditR2"), QStringLiteral(" 11.000k")},
    {QStringLiteral("EditR3"), QStringLiteral(" 22.000k")},
};

const char* const kElevenClearedFields[] = {"EditFo", "EditQ",  "EditH",   "EditR1",
                                            "EditR2", "EditR3", "EditFor", "EditQr",
                                            "EditHr", "EditC1", "EditC2"};

}  // namespace

class FormMainTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  QWidget* W(const QString& name) const { return form_->findChild<QWidget*>(name); }
  QLineEdit* Edit(const QString& name) const { return form_->findChild<QLineEdit*>(name); }
  QComboBox* Combo(const QString& name) const { return form_->findChild<QComboBox*>(name); }
  QPushButton* Button(const QString& name) const { return form_->findChild<QPushButton*>(name); }
  QString FocusName() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : QStringLiteral("(none)");
  }
  bool OutputEnabled() const {
    const bool print = Button(QStringLiteral("ButtonPrint"))->isEnabled();
    const bool copy = Button(QStringLiteral("ButtonCopy"))->isEnabled();
    if (print != copy) qWarning("ButtonPrint and ButtonCopy disagree");
    return print && copy;
  }
  void Click(const QString& button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
  void Type(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }

 private Q_SLOTS:
  void init() { QVERIFY(OpenMainWindow()); }
  void cleanup() { VerifyBoxes(); }

  // --- Layout ---

  void Fields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("tab_stop");
    const QString none;
    QTest::newRow("EditFo") << "EditFo" << QRect(44, 35, 81, 21) << "1k" << none << true;
    QTest::newRow("EditQ") << "EditQ" << QRect(44, 62, 81, 21) << "1.0" << none << true;
    QTest::newRow("EditH") << "EditH" << QRect(44, 89, 81, 21) << "1.0" << none << true;
    QTest::newRow("EditR1") << "EditR1" << QRect(44, 143, 81, 21) << none << none << true;
    QTest::newRow("EditR2") << "EditR2" << QRect(44, 170, 81, 21) << none << none << true;
    QTest::newRow("EditR3") << "EditR3" << QRect(44, 197, 81, 21) << none << none << true;
    QTest::newRow("EditFor") << "EditFor" << QRect(163, 35, 81, 21) << none << none << false;
    QTest::newRow("EditQr") << "EditQr" << QRect(163, 62, 81, 21) << none << none << false;
    QTest::newRow("EditHr") << "EditHr" << QRect(163, 89, 81, 21) << none << none << false;
    QTest::newRow("EditC1") << "EditC1" << QRect(163, 143, 81, 21) << none << none << true;
    QTest::newRow("EditC2") << "EditC2" << QRect(163, 170, 81, 21) << none << none << true;
    QTest::newRow("EditStdR") << "EditStdR" << QRect(287, 119, 50, 21) << "10k"
                              << QStringLiteral(u"回路インピーダンスの目安") << true;
  }

  void Fields() {
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QFETCH(bool, tab_stop);
    QLineEdit* edit = Edit(name);
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->geometry(), bounds);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->toolTip(), hint);
    QCOMPARE((edit->focusPolicy() & Qt::TabFocus) == Qt::TabFocus, tab_stop);
    QVERIFY(!edit->isReadOnly());  // result fields too: they only lack a tab stop
    QVERIFY(edit->maxLength() >= 1'000'000);
    QVERIFY(!edit->accessibleName().isEmpty());
  }

  void ButtonsAndBoxes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    const QString none;
    QTest::newRow("ButtonClr") << "ButtonClr" << QRect(282, 197, 55, 25)
                               << QStringLiteral(u"クリア") << none << true;
    QTest::newRow("ButtonCalc") << "ButtonCalc" << QRect(21, 359, 67, 25)
                                << QStringLiteral(u"定数計算")
                                << QStringLiteral(u"定数計算を実行します") << true;
    QTest::newRow("ButtonTF") << "ButtonTF" << QRect(92, 359, 67, 25) << QStringLiteral(u"伝達関数")
                              << QStringLiteral(u"伝達関数計算を実行します") << true;
    QTest::newRow("ButtonPrint") << "ButtonPrint" << QRect(163, 359, 55, 25)
                                 << QStringLiteral(u"印刷")
                                 << QStringLiteral(u"結果をテキストで印刷します") << false;
    QTest::newRow("ButtonCopy") << "ButtonCopy" << QRect(222, 359, 55, 25)
                                << QStringLiteral(u"コピー")
                                << QStringLiteral(u"結果をテキストでクリップボードにコピーします")
                                << false;
    QTest::newRow("ButtonExit") << "ButtonExit" << QRect(282, 359, 55, 25)
                                << QStringLiteral(u"終了") << none << true;
    QTest::newRow("ButtonResponse")
        << "ButtonResponse" << QRect(282, 228, 55, 25) << QStringLiteral(u"特性")
        << QStringLiteral(u"周波数特性を表示します") << true;
  }

  void ButtonsAndBoxes() {
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    QPushButton* button = Button(name);
    QVERIFY(button != nullptr);
    QCOMPARE(button->geometry(), bounds);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(button->accessibleName(), caption);
  }

  void SeriesListsAndLock() {
    const QStringList items = {"3", "6", "12", "24", "48", "96", "192", QStringLiteral(u"∞")};
    struct {
      const char* name;
      QRect bounds;
      const char* text;
    } rows[] = {{"ComboBoxER", QRect(287, 32, 50, 21), "24"},
                {"ComboBoxEC", QRect(287, 59, 50, 21), "6"}};
    for (const auto& row : rows) {
      QComboBox* combo = Combo(QString::fromLatin1(row.name));
      QVERIFY2(combo != nullptr, row.name);
      QCOMPARE(combo->geometry(), row.bounds);
      QVERIFY(combo->isEditable());
      QCOMPARE(combo->currentText(), QString::fromLatin1(row.text));
      QStringList listed;
      for (int i = 0; i < combo->count(); ++i) listed << combo->itemText(i);
      QCOMPARE(listed, items);
      QVERIFY(!combo->accessibleName().isEmpty());
    }
    auto* lock = form_->findChild<QCheckBox*>(QStringLiteral("CheckBoxLock"));
    QVERIFY(lock != nullptr);
    QCOMPARE(lock->geometry(), QRect(250, 172, 87, 17));
    QCOMPARE(lock->text(), QStringLiteral("Lock"));
    QVERIFY(!lock->isChecked());
  }

  void Labels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("hint");
    const int centre = Qt::AlignHCenter;
    const int right = Qt::AlignRight;
    const QString none;
    auto row = [&](const char* name, QRect bounds, const QString& caption, int alignment,
                   const QString& hint = QString()) {
      QTest::newRow(name) << QString::fromLatin1(name) << bounds << caption << alignment << hint;
    };
    row("Label17", {44, 16, 81, 13}, QStringLiteral(u"指定値"), centre,
        QStringLiteral(u"要求する伝達関数"));
    row("Label16", {163, 16, 81, 13}, QStringLiteral(u"結果"), centre,
        QStringLiteral(u"結果の伝達関数"));
    row("Label18", {262, 16, 85, 13}, QStringLiteral(u"Ｅ系列指定"), centre);
    row("Label2", {22, 38, 20, 13}, "fo", right);
    row("Label3", {22, 65, 20, 13}, "Q", right);
    row("LabelH", {22, 92, 20, 13}, "H", right);
    row("Label21", {141, 38, 20, 13}, "fo", right);
    row("Label22", {141, 65, 20, 13}, "Q", right);
    row("Label4", {141, 92, 20, 13}, "H", right);
    row("Label10", {265, 35, 20, 13}, "R", right);
    row("Label13", {265, 62, 20, 13}, "C", right);
    row("LabelR", {44, 126, 81, 13}, QStringLiteral(u"結果"), centre);
    row("LabelC", {163, 126, 81, 13}, QStringLiteral(u"結果"), centre);
    row("LabelR1", {21, 146, 21, 13}, "R1", right);
    row("LabelR2", {22, 173, 20, 13}, "R2", right);
    row("LabelR3", {22, 200, 20, 13}, "R3", right);
    row("LabelC1", {141, 146, 20, 13}, "C1", right);
    row("LabelC2", {141, 173, 20, 13}, "C2", right);
    row("Label19", {287, 333, 50, 13}, "Help", centre,
        QStringLiteral(u"クリックでヘルプを表示します"));
  }

  void Labels() {
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(QString, caption);
    QFETCH(int, alignment);
    QFETCH(QString, hint);
    auto* label = form_->findChild<QLabel*>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->geometry(), bounds);
    QCOMPARE(label->text(), caption);
    QCOMPARE(static_cast<int>(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
    QCOMPARE(label->toolTip(), hint);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
  }

  void ReferenceLabelIsSizedToItsText() {
    auto* label = form_->findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), QStringLiteral(u"参照Z"));
    QCOMPARE(label->pos(), QPoint(290, 102));
    QCOMPARE(label->height(), 13);
    // Two full-width glyphs and one half-width: 2.5 times the 13-pixel character height.
    QVERIFY2(label->width() >= 30 && label->width() <= 36,
             qPrintable(QString::number(label->width())));
  }

  void HelpLabelAndPicture() {
    QWidget* help = W(QStringLiteral("Label19"));
    QCOMPARE(help->cursor().shape(), Qt::PointingHandCursor);
    QWidget* picture = W(QStringLiteral("ImageBPF"));
    QVERIFY(picture != nullptr);
    QCOMPARE(picture->geometry(), QRect(50, 233, 230, 113));
    QCOMPARE(picture->focusPolicy(), Qt::NoFocus);
    QVERIFY(!picture->accessibleName().isEmpty());
    // A line drawing: black on white, with something drawn.
    const QImage image = picture->grab().toImage();
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    QVERIFY2(dark > 500, qPrintable(QString::number(dark)));
  }

  void WindowFrameCaptionFontAndPlace() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Korvane Ver2.05"));
    QCOMPARE(form_->size(), QSize(352, 392));
    QCOMPARE(form_->minimumSize(), QSize(352, 392));
    QCOMPARE(form_->maximumSize(), QSize(352, 392));
    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!form_->windowIcon().isNull());
    QVERIFY(!form_->windowIcon().pixmap(32, 32).isNull());
    const QFontInfo font(Edit(QStringLiteral("EditFo"))->font());
    QCOMPARE(font.pixelSize(), 13);
    QVERIFY2(font.family() == QStringLiteral("IPAGothic") ||
                 font.family().contains(QStringLiteral("Gothic")) ||
                 font.family() == QStringLiteral(u"ＭＳ ゴシック"),
             qPrintable(font.family()));
    // The offscreen screen is 800 x 800: (800 - 352) / 2 = 224, (800 - 392) / 2 = 204.
    QCOMPARE(form_->screen()->availableGeometry(), QRect(0, 0, 800, 800));
    QCOMPARE(form_->pos(), QPoint(224, 204));
    // The help window exists from the start, hidden.
    QVERIFY(form_->help_window() != nullptr);
    QVERIFY(!form_->help_window()->isVisible());
  }

  void StartsInFirstFieldWithTextSelected() {
    QCOMPARE(FocusName(), QStringLiteral("EditFo"));
    QCOMPARE(Edit(QStringLiteral("EditFo"))->selectedText(), QStringLiteral("1k"));
    QVERIFY(!form_->calc_state().Calculated);
    QVERIFY(!form_->calc_state().DesignMode);
  }

  // --- Keyboard ---

  void Navigation_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("clicked");  // focus from a mouse click rather than the keyboard
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("to");
    const int none = Qt::NoModifier;
    QTest::newRow("Enter in R3 skips the result fields")
        << "EditR3" << false << int(Qt::Key_Return) << none << "EditC1";
    QTest::newRow("Enter in C2 goes to the R list")
        << "EditC2" << false << int(Qt::Key_Return) << none << "ComboBoxER";
    QTest::newRow("Enter in StdR goes to Clear")
        << "EditStdR" << false << int(Qt::Key_Return) << none << "ButtonClr";
    QTest::newRow("Up in fo wraps to the response button")
        << "EditFo" << false << int(Qt::Key_Up) << none << "ButtonResponse";
    QTest::newRow("Down in fo") << "EditFo" << false << int(Qt::Key_Down) << none << "EditQ";
    QTest::newRow("Up in C1 skips the result fields")
        << "EditC1" << false << int(Qt::Key_Up) << none << "EditR3";
    QTest::newRow("Shift+Enter moves forward")
        << "EditFo" << false << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "EditQ";
    QTest::newRow("Ctrl+Up moves back")
        << "EditH" << false << int(Qt::Key_Up) << int(Qt::ControlModifier) << "EditQ";
    QTest::newRow("keypad Enter") << "EditQ" << false << int(Qt::Key_Enter)
                                  << int(Qt::KeypadModifier) << "EditH";
    QTest::newRow("Enter after a click into fo result")
        << "EditFor" << true << int(Qt::Key_Return) << none << "EditC1";
    QTest::newRow("Down after a click into H result")
        << "EditHr" << true << int(Qt::Key_Down) << none << "EditC1";
    QTest::newRow("Up after a click into fo result")
        << "EditFor" << true << int(Qt::Key_Up) << none << "EditR3";
    QTest::newRow("other keys stay in the field")
        << "EditQ" << false << int(Qt::Key_Left) << none << "EditQ";
  }

  void Navigation() {
    QFETCH(QString, from);
    QFETCH(bool, clicked);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, to);
    QLineEdit* start = Edit(from);
    if (clicked) {
      QTest::mouseClick(start, Qt::LeftButton);
    } else {
      start->setFocus(Qt::TabFocusReason);
    }
    QCOMPARE(FocusName(), from);
    const QString before = start->text();
    Type(start, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(FocusName(), to);
    QCOMPARE(start->text(), before);  // the key was consumed, not typed
  }

  void FieldReachedByKeyboardHasItsTextSelected() {
    Type(Edit(QStringLiteral("EditFo")), Qt::Key_Down);
    QCOMPARE(FocusName(), QStringLiteral("EditQ"));
    QCOMPARE(Edit(QStringLiteral("EditQ"))->selectedText(), QStringLiteral("1.0"));
    Type(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("EditH"));
    QCOMPARE(Edit(QStringLiteral("EditH"))->selectedText(), QStringLiteral("1.0"));
    // Typing replaces the selected text.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
    QCOMPARE(Edit(QStringLiteral("EditH"))->text(), QStringLiteral("2"));
  }

  void MouseClickPlacesTheCaret() {
    QLineEdit* stdr = Edit(QStringLiteral("EditStdR"));
    QTest::mouseClick(stdr, Qt::LeftButton, Qt::NoModifier, QPoint(stdr->width() - 4, 10));
    QCOMPARE(FocusName(), QStringLiteral("EditStdR"));
    QVERIFY(!stdr->hasSelectedText());
    QCOMPARE(stdr->cursorPosition(), 3);
  }

  void EnterInSeriesListDoesNothingAndArrowsStepTheList() {
    QComboBox* er = Combo(QStringLiteral("ComboBoxER"));
    er->setFocus(Qt::TabFocusReason);
    QCOMPARE(FocusName(), QStringLiteral("ComboBoxER"));
    QCOMPARE(er->lineEdit()->selectedText(), QStringLiteral("24"));
    Type(er, Qt::Key_Return);
    Type(er, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(FocusName(), QStringLiteral("ComboBoxER"));
    QCOMPARE(er->currentText(), QStringLiteral("24"));
    Type(er, Qt::Key_Down);
    QCOMPARE(er->currentText(), QStringLiteral("48"));
    Type(er, Qt::Key_Up);
    Type(er, Qt::Key_Up);
    QCOMPARE(er->currentText(), QStringLiteral("12"));
    QCOMPARE(FocusName(), QStringLiteral("ComboBoxER"));

    // A typed entry stays as typed: no completion from the list, nothing added by Enter.
    er->lineEdit()->selectAll();
    QTest::keyClicks(er, QStringLiteral("4"));
    QCOMPARE(er->currentText(), QStringLiteral("4"));
    Type(er, Qt::Key_Return);
    QCOMPARE(er->currentText(), QStringLiteral("4"));
    QCOMPARE(er->count(), 8);
    QCOMPARE(form_->Text(calc::Field::ComboBoxER), std::u16string(u"4"));
  }

  void TabPassesOverDisabledButtons() {
    QPushButton* tf = Button(QStringLiteral("ButtonTF"));
    tf->setFocus(Qt::TabFocusReason);
    Type(tf, Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("ButtonExit"));
    Type(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("CheckBoxLock"));
    Type(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("ButtonResponse"));
    Type(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("EditFo"));

    form_->SetOutputEnabled(true);
    tf->setFocus(Qt::TabFocusReason);
    Type(tf, Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("ButtonPrint"));
  }

  void TabVisitsTheWholeOrder() {
    form_->SetOutputEnabled(true);
    const QStringList expected = {"EditQ",        "EditH",          "EditR1",     "EditR2",
                                  "EditR3",       "EditC1",         "EditC2",     "ComboBoxER",
                                  "ComboBoxEC",   "EditStdR",       "ButtonClr",  "ButtonCalc",
                                  "ButtonTF",     "ButtonPrint",    "ButtonCopy", "ButtonExit",
                                  "CheckBoxLock", "ButtonResponse", "EditFo"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
      Type(QApplication::focusWidget(), Qt::Key_Tab);
      visited << FocusName();
    }
    QCOMPARE(visited, expected);
  }

  // --- Clear and Exit ---

  void ClearEmptiesTheElevenFieldsOnly() {
    for (const char* name : kElevenClearedFields) Edit(QString::fromLatin1(name))->setText("9k");
    Edit(QStringLiteral("EditStdR"))->setText(QStringLiteral("4.7k"));
    Combo(QStringLiteral("ComboBoxER"))->setEditText(QStringLiteral("E24"));
    Combo(QStringLiteral("ComboBoxEC"))->setCurrentIndex(7);
    form_->findChild<QCheckBox*>(QStringLiteral("CheckBoxLock"))->setChecked(true);
    form_->SetOutputEnabled(true);

    Click(QStringLiteral("ButtonClr"));

    for (const char* name : kElevenClearedFields) {
      QVERIFY2(Edit(QString::fromLatin1(name))->text().isEmpty(), name);
    }
    QCOMPARE(Edit(QStringLiteral("EditStdR"))->text(), QStringLiteral("4.7k"));
    QCOMPARE(Combo(QStringLiteral("ComboBoxER"))->currentText(), QStringLiteral("E24"));
    QCOMPARE(Combo(QStringLiteral("ComboBoxEC"))->currentText(), QStringLiteral(u"∞"));
    QVERIFY(form_->findChild<QCheckBox*>(QStringLiteral("CheckBoxLock"))->isChecked());
    QVERIFY(OutputEnabled());
    QVERIFY(!form_->calc_state().Calculated);
  }

  void ExitClosesTheWindowAndTheHelp() {
    QTest::mouseClick(W(QStringLiteral("Label19")), Qt::LeftButton);
    QVERIFY(form_->help_window()->isVisible());
    Click(QStringLiteral("ButtonExit"));
    QVERIFY(!form_->isVisible());
    QVERIFY(!form_->help_window()->isVisible());
  }

  // --- Commands: the buttons' state after a result, a warning and an error ---

  void DesignResultEnablesOutput() {
    Click(QStringLiteral("ButtonCalc"));
    for (const auto& [name, text] : kDefaultDesign) QCOMPARE(Edit(name)->text(), text);
    QVERIFY(OutputEnabled());
    QVERIFY(form_->calc_state().Calculated);
    QVERIFY(form_->calc_state().DesignMode);
    QVERIFY(watch_->boxes().empty());
  }

  // The text handed to the clipboard, without an X server: the offscreen platform keeps it
  // in the process. The X test (clipboard_xcb_test) reads it back as other programs do.
  void CopyPlacesTheReportOnTheClipboard() {
    Edit(QStringLiteral("EditH"))->setText(QStringLiteral("2"));
    watch_->Expect();  // Q misses by 3.8 %: the results come with the accuracy warning
    QTest::mouseClick(Button(QStringLiteral("ButtonCalc")), Qt::LeftButton);
    QTest::mouseClick(Button(QStringLiteral("ButtonCopy")), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Clipboard),
             QStringLiteral(u"2nd BPF\r\n"
                            u"[Input data]\r\n"
                            u"fo = 1kHz   Q = 1.0\r\n"
                            u"R1 =   5.100k\u03A9  R2 = \u03A9  R3 =  22.000k\u03A9\r\n"
                            u"C1 =  15.000nF   C2 =  15.000nF\r\n"
                            u"\r\n"
                            u"[Result data]\r\n"
                            u"fo =   1.002kHz   Q =   1.038   H=   2.157\r\n"));
  }

  void EnterOnAFocusedButtonPressesIt() {
    QPushButton* calc = Button(QStringLiteral("ButtonCalc"));
    calc->setFocus(Qt::TabFocusReason);
    Type(calc, Qt::Key_Return);
    QCOMPARE(Edit(QStringLiteral("EditFor"))->text(), QStringLiteral("964.575"));
    QCOMPARE(FocusName(), QStringLiteral("ButtonCalc"));
  }

  void AnalysisOfTheDesignShowsTheSameResults() {
    Click(QStringLiteral("ButtonCalc"));
    Edit(QStringLiteral("EditFor"))->clear();
    Click(QStringLiteral("ButtonTF"));
    QCOMPARE(Edit(QStringLiteral("EditFor"))->text(), QStringLiteral("964.575"));
    QCOMPARE(Edit(QStringLiteral("EditQr"))->text(), QStringLiteral("1000.000m"));
    QCOMPARE(Edit(QStringLiteral("EditHr"))->text(), QStringLiteral("  1.000"));
    QVERIFY(OutputEnabled());
    QVERIFY(!form_->calc_state().DesignMode);
  }

  void WarningDisablesOutput() {
    form_->SetOutputEnabled(true);
    Edit(QStringLiteral("EditFo"))->clear();
    watch_->Expect();
    Click(QStringLiteral("ButtonCalc"));
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    const ModalBoxWatch::Box& box = watch_->boxes().front();
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.text, QStringLiteral(u"foに値を入力してください"));
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QVERIFY(box.single_button_is_default_and_escape);
    QCOMPARE(box.parent, form_.get());
    QVERIFY(!OutputEnabled());
    // The empty H became "1.0" before the check.
    QCOMPARE(Edit(QStringLiteral("EditH"))->text(), QStringLiteral("1.0"));
  }

  void AccuracyWarningShowsTwoLinesThenTheResults() {
    Edit(QStringLiteral("EditQ"))->setText(QStringLiteral("2"));
    Edit(QStringLiteral("EditH"))->setText(QStringLiteral("10"));
    QString result_while_warning = QStringLiteral("(not seen)");
    watch_->Expect([&](QWidget& box) {
      result_while_warning = Edit(QStringLiteral("EditFor"))->text();
      ModalBoxWatch::PressKey(Qt::Key_Return)(box);
    });
    Click(QStringLiteral("ButtonCalc"));
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    QCOMPARE(watch_->boxes().front().text,
             QStringLiteral(u"Q値の誤差が大きい\nHまたはC2の値を微調整すると改善できます"));
    QCOMPARE(result_while_warning, QString());
    QCOMPARE(Edit(QStringLiteral("EditQr"))->text(), QStringLiteral("  1.926"));
    QVERIFY(OutputEnabled());
  }

  void FloatingPointErrorIsShownAndLeavesTheButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("design with H 0") << "ButtonCalc"
                                     << "EditH"
                                     << "0"
                                     << "Floating point division by zero.";
    QTest::newRow("design with H -1") << "ButtonCalc"
                                      << "EditH"
                                      << "-1"
                                      << "Invalid floating point operation.";
    QTest::newRow("analysis with R1 0") << "ButtonTF"
                                        << "EditR1"
                                        << "0"
                                        << "Floating point division by zero.";
  }

  void FloatingPointErrorIsShownAndLeavesTheButtons() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    const std::pair<const char*, const char*> components[] = {{"EditR1", "10k"},
                                                              {"EditR2", "10k"},
                                                              {"EditR3", "20k"},
                                                              {"EditC1", "10n"},
                                                              {"EditC2", "10n"}};
    for (const auto& [name, text] : components) {
      Edit(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    }
    for (bool enabled_before : {true, false}) {
      form_->SetOutputEnabled(enabled_before);
      Edit(field)->setText(value);
      watch_->Expect();
      Click(button);
      QCOMPARE(watch_->boxes().size(), std::size_t{enabled_before ? 1u : 2u});
      const ModalBoxWatch::Box& box = watch_->boxes().back();
      QCOMPARE(box.icon, QMessageBox::Critical);
      QCOMPARE(box.text, message);
      // The executable's name, cut before its first "." and lower case after the first.
      QCOMPARE(box.title, QStringLiteral("form_main_test"));
      QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
      QCOMPARE(OutputEnabled(), enabled_before);
      QVERIFY(Edit(QStringLiteral("EditFor"))->text().isEmpty());
    }

    // The program goes on: the same command works once the value is sound.
    Edit(field)->setText(field == QStringLiteral("EditH") ? QStringLiteral("1.0")
                                                          : QStringLiteral("10k"));
    Click(button);
    QVERIFY(!Edit(QStringLiteral("EditFor"))->text().isEmpty());
    QVERIFY(OutputEnabled());
  }
};

QTEST_MAIN(FormMainTest)
#include "form_main_test.moc"
