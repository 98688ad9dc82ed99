// The report on the real X11 clipboard: copied by the copy button of the real window (and
// by CopyTextToClipboard alone), then pasted by another program, xclip, byte for byte.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <memory>

#include "tests/print/report_texts.h"
#include "tests/print/x11_clipboard.h"
#include "tests/ui/support/window_test_fixture.h"
#include "ui/main_window/clipboard_copy.h"
#include "ui/main_window/form_main.h"

using testing_support::ReadX11Clipboard;

namespace {

constexpr int kSkipped = 77;  // the test's SKIP_RETURN_CODE

bool InCi() { return qEnvironmentVariable("CI") == QLatin1String("true"); }

}  // namespace

class ClipboardXcbTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  void Click(const char* name) {
    QTest::mouseClick(form_->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  void Type(const char* name, const QString& text) {
    form_->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
  }

 private Q_SLOTS:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty(),
             "xclip is not installed");
  }

  void init() { QVERIFY(OpenMainWindow()); }

  void cleanup() {
    form_.reset();
    VerifyBoxes();
  }

  void CopyButtonPutsTheReportOnTheClipboard() {
    QCOMPARE(testing_support::kDesignReport.size(), 187);
    Click("ButtonCalc");
    Click("ButtonCopy");
    QCOMPARE(ReadX11Clipboard(), std::optional(testing_support::kDesignReportUtf8));

    QCOMPARE(testing_support::kAnalysisReport.size(), 139);
    Type("EditR1", QStringLiteral("10k"));
    Type("EditR2", QStringLiteral("1k"));
    Type("EditR3", QStringLiteral("100k"));
    Type("EditC1", QStringLiteral("10n"));
    Type("EditC2", QStringLiteral("10n"));
    Click("ButtonTF");
    Click("ButtonCopy");
    QCOMPARE(ReadX11Clipboard(), std::optional(testing_support::kAnalysisReportUtf8));
    // The clipboard still serves the text while the window runs: a second paste.
    QCOMPARE(ReadX11Clipboard(), std::optional(testing_support::kAnalysisReportUtf8));
  }

  // What another program had copied is replaced, and only plain text is offered.
  void ReplacesAnotherProgramsTextWithPlainText() {
    auto other = testing_support::OwnX11ClipboardElsewhere("copied elsewhere");
    QVERIFY(other != nullptr);
    QTRY_COMPARE(ReadX11Clipboard(), std::optional(QByteArray("copied elsewhere")));

    ui::CopyTextToClipboard(QStringLiteral(u"Ω ＭＳ 明朝\r\nlast line without line end"));
    QCOMPARE(ReadX11Clipboard(),
             std::optional(QByteArray("\xCE\xA9 \xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D"
                                      "\r\nlast line without line end")));
    QTRY_COMPARE(other->state(), QProcess::NotRunning);  // it lost the selection to us

    const auto targets = ReadX11Clipboard(QStringLiteral("TARGETS"));
    QVERIFY(targets.has_value());
    QVERIFY2(targets->contains("UTF8_STRING"), targets->constData());
    QVERIFY2(!targets->contains("text/html"), targets->constData());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) {
    if (InCi()) {
      std::fputs("FAIL: the clipboard test needs an X server and DISPLAY is not set\n", stderr);
      return 1;
    }
    std::fputs("SKIP: the clipboard test needs an X server (DISPLAY is not set)\n", stderr);
    return kSkipped;
  }
  QApplication app(argc, argv);
  ClipboardXcbTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "clipboard_xcb_test.moc"
