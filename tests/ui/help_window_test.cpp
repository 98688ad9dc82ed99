// The help window on the offscreen platform (an 800 x 800 screen): its text, first
// placement over the main window, and what survives hiding.
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "tests/ui/support/window_test_fixture.h"
#include "ui/help/form_help.h"
#include "ui/main_window/form_main.h"

class HelpWindowTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  ui::TFormHelp* Help() const { return form_->help_window(); }
  void ClickHelp() {
    QTest::mouseClick(form_->findChild<QWidget*>(QStringLiteral("Label19")), Qt::LeftButton);
  }
  int VisibleHelpWindows() const {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && window->windowTitle() == QStringLiteral("Help")) ++count;
    }
    return count;
  }

 private Q_SLOTS:
  void init() { QVERIFY(OpenMainWindow()); }
  void cleanup() { VerifyBoxes(); }

  void ShowsTheTwentyTwoLines() {
    QVERIFY(!Help()->isVisible());
    ClickHelp();
    QVERIFY(Help()->isVisible());
    QCOMPARE(Help()->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(Help()->size(), QSize(495, 293));
    QPlainTextEdit* memo = Help()->memo();
    QVERIFY(memo != nullptr);
    QCOMPARE(memo->objectName(), QStringLiteral("Memo1"));
    QCOMPARE(memo->geometry(), QRect(0, 0, 495, 293));
    QVERIFY(!memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(QFontInfo(memo->font()).pixelSize(), 11);

    const QStringList lines = memo->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines[0], QStringLiteral(u"２次の多重帰還BPFの定数と伝達関数の計算を行います。"));
    QCOMPARE(lines[0].front().unicode(), char16_t{0xFF12});
    QVERIFY(lines[1].isEmpty());
    QCOMPARE(lines[3], QStringLiteral(u"数値の入力には補助単位 p,n,u,m,K,M,G,T "
                                      u"を付けて入力できます( 1.2e-6 の様な指数表現も可)。"));
    QVERIFY(lines[14].contains(QChar(0x221E)));
    QCOMPARE(lines[19], QStringLiteral(u"【使用上の注意】"));
    QVERIFY(lines[21].isEmpty());
    for (int blank : {1, 10, 15, 18, 21})
      QVERIFY2(lines[blank].isEmpty(), qPrintable(QString::number(blank)));
  }

  void FirstShowIsCentredOverTheMainWindow() {
    form_->move(150, 200);
    ClickHelp();
    // Main window 352 x 392 at (150, 200): 150 + (352 - 495) / 2 = 79, 200 + (392 - 293) / 2 = 249.
    QCOMPARE(Help()->pos(), QPoint(79, 249));
  }

  void FirstShowStaysOffTheTopAndLeftEdges() {
    form_->move(10, 0);
    ClickHelp();
    // Left 10 - 71 < 0 becomes 0; top 0 + 49 stays.
    QCOMPARE(Help()->pos(), QPoint(0, 49));
  }

  void SecondClickLeavesOneWindowWhereItIs() {
    ClickHelp();
    const QPoint first = Help()->pos();
    Help()->move(first + QPoint(30, 20));
    form_->activateWindow();
    ClickHelp();
    QCOMPARE(VisibleHelpWindows(), 1);
    QCOMPARE(Help()->pos(), first + QPoint(30, 20));
    QVERIFY(QTest::qWaitForWindowActive(Help()));
  }

  void ReopensWhereItWasWithWhatWasTyped() {
    ClickHelp();
    const QPoint place = Help()->pos();
    Help()->memo()->moveCursor(QTextCursor::Start);
    QTest::keyClicks(Help()->memo(), QStringLiteral("memo "));
    Help()->resize(400, 250);
    Help()->close();
    QVERIFY(!Help()->isVisible());
    QVERIFY(form_->isVisible());  // closing the help does not end the program

    form_->move(form_->pos() + QPoint(120, 90));
    ClickHelp();
    QVERIFY(Help()->isVisible());
    QCOMPARE(Help()->pos(), place);
    QCOMPARE(Help()->size(), QSize(400, 250));
    QVERIFY(Help()->memo()->toPlainText().startsWith(QStringLiteral(u"memo ２次")));
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
