// The main window on a real X server (the xcb platform under Xvfb): start-up state,
// a design, a warning, the help window and the error box, driven as a user would.
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <memory>

#include "tests/ui/support/window_test_fixture.h"
#include "ui/help/form_help.h"
#include "ui/main_window/form_main.h"

using testing_support::ModalBoxWatch;

class WindowXcbTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  QLineEdit* Edit(const char* name) const {
    return form_->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  void Click(const char* name) {
    QTest::mouseClick(form_->findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  static bool Near(const QPointF& a, const QPointF& b) {
    return std::abs(a.x() - b.x()) <= 1.0 && std::abs(a.y() - b.y()) <= 1.0;
  }

 private Q_SLOTS:
  void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

  void init() { QVERIFY(OpenMainWindow()); }
  void cleanup() { VerifyBoxes(); }

  void OpensCentredWithFixedSizeAndFocusInFo() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Korvane Ver2.05"));
    QWindow* window = form_->windowHandle();
    QVERIFY(window != nullptr);
    QCOMPARE(window->size(), QSize(352, 392));
    QCOMPARE(window->minimumSize(), QSize(352, 392));
    QCOMPARE(window->maximumSize(), QSize(352, 392));
    QVERIFY(!window->flags().testFlag(Qt::WindowMaximizeButtonHint));
    const QRect area = form_->screen()->availableGeometry();
    QVERIFY(area.contains(form_->frameGeometry()));
    QVERIFY(Near(QRectF(form_->frameGeometry()).center(), QRectF(area).center()));
    QCOMPARE(QApplication::focusWidget(), Edit("EditFo"));
    QCOMPARE(Edit("EditFo")->selectedText(), QStringLiteral("1k"));
  }

  void DesignOnTheStartUpTexts() {
    Click("ButtonCalc");
    const std::pair<const char*, QString> expected[] = {
        {"EditFor", "964.575"}, {"EditQr", "1000.000m"}, {"EditHr", "  1.000"},
        {"EditC1", " 15.000n"}, {"EditC2", " 15.000n"},  {"EditR1", " 11.000k"},
        {"EditR2", " 11.000k"}, {"EditR3", " 22.000k"}};
    for (const auto& [name, text] : expected) QCOMPARE(Edit(name)->text(), text);
    QVERIFY(form_->findChild<QPushButton*>(QStringLiteral("ButtonCopy"))->isEnabled());
    QVERIFY(form_->findChild<QPushButton*>(QStringLiteral("ButtonPrint"))->isEnabled());
  }

  void WarningOpensCentredAndClosesWithEnter() {
    Edit("EditQ")->clear();
    watch_->Expect();  // Enter on the focused OK button
    Click("ButtonCalc");
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    const ModalBoxWatch::Box& box = watch_->boxes().front();
    QCOMPARE(box.text, QStringLiteral(u"Qに値を入力してください"));
    QVERIFY(box.button_has_focus);
    QVERIFY2(Near(QRectF(box.frame).center(), QRectF(form_->frameGeometry()).center()),
             qPrintable(QStringLiteral("box %1,%2 %3x%4")
                            .arg(box.frame.x())
                            .arg(box.frame.y())
                            .arg(box.frame.width())
                            .arg(box.frame.height())));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(form_->isVisible());
  }

  void HelpTwiceLeavesOneWindow() {
    Click("Label19");
    ui::TFormHelp* help = form_->help_window();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    const QPoint place = help->pos();
    Click("Label19");
    int visible = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && window->windowTitle() == QStringLiteral("Help")) ++visible;
    }
    QCOMPARE(visible, 1);
    QCOMPARE(help->pos(), place);
  }

  void ErrorBoxThenTheWindowGoesOn() {
    Edit("EditH")->setText(QStringLiteral("0"));
    watch_->Expect();
    Click("ButtonCalc");
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    QCOMPARE(watch_->boxes().front().icon, QMessageBox::Critical);
    QCOMPARE(watch_->boxes().front().text, QStringLiteral("Floating point division by zero."));
    QVERIFY(!form_->findChild<QPushButton*>(QStringLiteral("ButtonCopy"))->isEnabled());

    Edit("EditH")->setText(QStringLiteral("1.0"));
    Click("ButtonCalc");
    QCOMPARE(Edit("EditFor")->text(), QStringLiteral("964.575"));
    QVERIFY(form_->findChild<QPushButton*>(QStringLiteral("ButtonCopy"))->isEnabled());
  }
};

QTEST_MAIN(WindowXcbTest)
#include "window_xcb_test.moc"
