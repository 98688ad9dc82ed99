// Screenshots of the response window for a look by eye: its two pages and its help, at
// the size it opens at and at its minimum size. KORVANE_SCREENSHOT_DIR names the folder;
// run it once more with QT_SCALE_FACTOR=2 for HiDPI. Without the variable it skips.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <memory>

#include "calc/circuit/band_pass.h"
#include "tests/ui/support/modal_box_watch.h"
#include "ui/response/response_help.h"
#include "ui/response/response_plot.h"
#include "ui/response/response_window.h"
#include "ui/response/tolerance/tolerance_page.h"

class ResponseScreenshotsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void Screenshots() {
    const QString folder = qEnvironmentVariable("KORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("KORVANE_SCREENSHOT_DIR not set");
    QVERIFY(QDir().mkpath(folder));
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    testing_support::ModalBoxWatch watch;
    ui::ResponseWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A 1 kHz, Q 5, H 2 design with 10 nF: R3 = Q / (pi fo C), R1 = R3 / 2H,
    // R2 = Q / ((2 Q^2 - H) 2 pi fo C).
    const calc::Circuit circuit{39.79e3, 1.658e3, 159.15e3, 10e-9, 10e-9};
    window.ShowSubject(
        ui::ResponseSubject{circuit,
                            calc::Analyze(circuit),
                            calc::TransferFunction{1000.0, 5.0, 2.0},
                            ui::SubjectSource::kDesign,
                            {u"39.790k", u"1.658k", u"159.150k", u"10.000n", u"10.000n"}});
    auto* page = window.tolerance_page();
    page->findChild<QLineEdit*>(QStringLiteral("EditSeed"))->setText(QStringLiteral("1"));
    QSignalSpy ended(page, &ui::TolerancePage::RunEnded);
    page->Run();
    QVERIFY(ended.wait(60000));

    const auto shoot = [&](QWidget* widget, const QString& name) {
      QTest::qWait(150);
      QVERIFY(widget->grab().save(
          QDir(folder).filePath(QStringLiteral("%1-scale%2.png").arg(name, scale))));
    };
    for (const bool smallest : {false, true}) {
      if (smallest) window.resize(window.minimumSize());
      const QString size = smallest ? QStringLiteral("minimum") : QStringLiteral("default");
      window.setCurrentIndex(0);
      window.plot()->ShowReadoutAt(1000.0);
      shoot(&window, QStringLiteral("response-") + size);
      window.setCurrentIndex(1);
      shoot(&window, QStringLiteral("tolerance-") + size);
    }
    window.resize(ui::ResponseWindow::kDefaultSize);
    // The states a designer must be able to read: a failed command over the last good
    // circuit, a run stopped by 中止, and the empty window after クリア.
    window.setCurrentIndex(0);
    window.ShowCommandFailed();
    shoot(&window, QStringLiteral("response-last-good"));
    window.setCurrentIndex(1);
    page->findChild<QLineEdit*>(QStringLiteral("EditTrials"))->setText(QStringLiteral("1000000"));
    page->Run();
    QTest::qWait(100);
    page->Cancel();
    shoot(&window, QStringLiteral("tolerance-stopped"));
    window.setCurrentIndex(0);
    window.ShowCleared();
    shoot(&window, QStringLiteral("response-cleared"));
    window.ShowHelp();
    QVERIFY(QTest::qWaitForWindowExposed(window.help()));
    shoot(window.help(), QStringLiteral("help"));
    QVERIFY(watch.unexpected().isEmpty());
  }
};

QTEST_MAIN(ResponseScreenshotsTest)
#include "response_screenshots_test.moc"
