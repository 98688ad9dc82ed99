// The response window's tolerance page: its fields, a run against the calculation it
// shows, hostile input, cancelling, following the main window, and its exports.
#include <QAbstractSeries>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <memory>

#include "calc/circuit/band_pass.h"
#include "calc/export/tolerance_csv.h"
#include "calc/studies/tolerance_analysis.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/text/quantity_format.h"
#include "tests/ui/support/window_test_fixture.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_plot.h"
#include "ui/response/response_window.h"
#include "ui/response/tolerance/tolerance_page.h"
#include "ui/response/tolerance/tolerance_runner.h"

namespace {

const calc::Circuit kWithR2{10e3, 1e3, 200e3, 10e-9, 10e-9};
const calc::Circuit kWithoutR2{10e3, calc::kNoValue, 200e3, 10e-9, 10e-9};

ui::ResponseSubject Subject(const calc::Circuit& circuit) {
  return {circuit, calc::Analyze(circuit), std::nullopt};
}

QString Displayed(double value) {
  if (std::isnan(value)) return {};
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

bool HasGainBand(ui::ResponseWindow* window) {
  const QList<QAbstractSeries*> series = window->plot()->gain_chart()->series();
  return std::any_of(series.begin(), series.end(), [](QAbstractSeries* one) {
    return one->objectName() == QStringLiteral("GainBand");
  });
}

}  // namespace

class TolerancePageTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  std::unique_ptr<ui::ResponseWindow> window_;

  ui::TolerancePage* Page() const { return window_->tolerance_page(); }
  QLineEdit* Edit(const char* name) const {
    return Page()->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  QTableWidget* Table(const char* name) const {
    return Page()->findChild<QTableWidget*>(QString::fromLatin1(name));
  }
  void Click(const char* name) {
    QTest::mouseClick(Page()->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  // Runs with the page's fields and waits for the run to end.
  bool RunAndWait() {
    QSignalSpy ended(Page(), &ui::TolerancePage::RunEnded);
    Click("ButtonRunTolerance");
    return ended.wait(60000);
  }
  void VerifyNoResults() {
    QVERIFY(!Page()->analysis().has_value());
    for (const char* name : {"TableSensitivities", "TableWorstCase", "TableMonteCarlo"}) {
      QTableWidget* table = Table(name);
      for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column)
          QVERIFY2(table->item(row, column)->text().isEmpty(), name);
      }
    }
    QVERIFY(!HasGainBand(window_.get()));
    QVERIFY(!Page()->findChild<QPushButton*>(QStringLiteral("ButtonSaveTrials"))->isEnabled());
  }

 private Q_SLOTS:
  void init() {
    WatchBoxes();
    window_ = std::make_unique<ui::ResponseWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->setCurrentWidget(Page());
    window_->ShowSubject(Subject(kWithR2));
  }

  void cleanup() {
    window_.reset();
    VerifyBoxes();
  }

  void PageHasItsDefaults() {
    QCOMPARE(window_->tabText(1), QStringLiteral(u"公差"));
    const std::pair<const char*, const char*> fields[] = {
        {"EditTolR", "1%"}, {"EditTolC", "5%"},    {"EditTolR1", ""},    {"EditTolR2", ""},
        {"EditTolR3", ""},  {"EditTolC1", ""},     {"EditTolC2", ""},    {"EditTrials", "10000"},
        {"EditSeed", ""},   {"EditLimitFo", "2%"}, {"EditLimitQ", "5%"}, {"EditLimitH", "5%"}};
    for (const auto& [name, text] : fields) {
      QVERIFY2(Edit(name) != nullptr, name);
      QCOMPARE(Edit(name)->text(), QString::fromLatin1(text));
    }
    QCOMPARE(Page()->findChild<QComboBox*>(QStringLiteral("ComboDistribution"))->currentIndex(), 0);
    QVERIFY(Page()->findChild<QPushButton*>(QStringLiteral("ButtonRunTolerance"))->isEnabled());
    QVERIFY(!Page()->findChild<QPushButton*>(QStringLiteral("ButtonCancelTolerance"))->isEnabled());
    VerifyNoResults();
  }

  // The tables show what the calculation gives for the same texts and seed, with and
  // without R2 (whose column then stays blank), for both distributions.
  void RunShowsTheCalculation_data() {
    QTest::addColumn<bool>("has_r2");
    QTest::addColumn<int>("distribution");
    QTest::newRow("R2 uniform") << true << 0;
    QTest::newRow("no R2 normal") << false << 1;
  }
  void RunShowsTheCalculation() {
    QFETCH(bool, has_r2);
    QFETCH(int, distribution);
    const calc::Circuit circuit = has_r2 ? kWithR2 : kWithoutR2;
    window_->ShowSubject(Subject(circuit));
    Edit("EditTrials")->setText(QStringLiteral("3000"));
    Edit("EditSeed")->setText(QStringLiteral("12345"));
    Edit("EditTolC1")->setText(QStringLiteral("2%"));
    Page()
        ->findChild<QComboBox*>(QStringLiteral("ComboDistribution"))
        ->setCurrentIndex(distribution);
    QVERIFY(RunAndWait());
    QVERIFY(Page()->analysis().has_value());

    calc::ToleranceTexts texts;
    texts.trials = u"3000";
    texts.seed = u"12345";
    texts.part[3] = u"2%";
    texts.distribution =
        distribution == 1 ? calc::Distribution::kNormal : calc::Distribution::kUniform;
    const calc::Outcome<calc::ToleranceSettings> settings =
        calc::ReadToleranceTexts(circuit, texts, 99);
    QVERIFY(settings.ok());
    const auto expected = calc::RunToleranceAnalysis(
        circuit, *settings, window_->panel()->settings().op_amp, window_->data()->frequencies_hz);
    QVERIFY(expected.ok());

    QVERIFY(expected->model_sensitivities.has_value());
    const calc::PartSensitivities* rows[] = {
        &expected->sensitivities.Fo,       &expected->sensitivities.Q,
        &expected->sensitivities.H,        &expected->model_sensitivities->Fo,
        &expected->model_sensitivities->Q, &expected->model_sensitivities->H};
    for (int row = 0; row < 6; ++row) {
      const double parts[] = {rows[row]->R1, rows[row]->R2, rows[row]->R3,
                              rows[row]->C1, rows[row]->C2, rows[row]->Gbw};
      for (int column = 0; column < 6; ++column) {
        const QString text = Table("TableSensitivities")->item(row, column)->text();
        if ((column == 1 && !has_r2) || std::isnan(parts[column])) {
          QVERIFY(text.isEmpty());
        } else {
          const QString expected_text = QString::number(parts[column], 'f', 3);
          QCOMPARE(text, expected_text == QStringLiteral("-0.000") ? QStringLiteral("0.000")
                                                                   : expected_text);
        }
      }
    }
    QVERIFY(Table("TableSensitivities")->item(0, 5)->text().isEmpty());   // no GBW in formulas
    QVERIFY(!Table("TableSensitivities")->item(3, 5)->text().isEmpty());  // the model's
    const calc::Percentiles* spreads[] = {&expected->monte_carlo.Fo, &expected->monte_carlo.Q,
                                          &expected->monte_carlo.H};
    const calc::Range* ranges[] = {&expected->worst_case.Fo, &expected->worst_case.Q,
                                   &expected->worst_case.H};
    for (int row = 0; row < 3; ++row) {
      QCOMPARE(Table("TableWorstCase")->item(row, 0)->text(), Displayed(ranges[row]->min));
      QCOMPARE(Table("TableWorstCase")->item(row, 1)->text(), Displayed(ranges[row]->max));
      const calc::Percentiles& p = *spreads[row];
      const double values[] = {p.min, p.p0_5, p.p5, p.p50, p.p95, p.p99_5, p.max};
      for (int column = 0; column < 7; ++column) {
        QVERIFY(!Table("TableMonteCarlo")->item(row, column)->text().isEmpty());
        QCOMPARE(Table("TableMonteCarlo")->item(row, column)->text(), Displayed(values[column]));
      }
    }
    const QString yield = Page()->findChild<QLabel*>(QStringLiteral("LabelYield"))->text();
    QVERIFY2(yield.contains(QString::number(expected->monte_carlo.yield.fraction * 100, 'f', 2)),
             qPrintable(yield));
    QVERIFY(yield.contains(QStringLiteral("12345")));

    // The envelope on the first page's gain plot, and a histogram with both limits per figure.
    QVERIFY(HasGainBand(window_.get()));
    for (const char* name : {"Histogramfo", "HistogramQ", "HistogramH"}) {
      QChart* chart = Page()->findChild<QChartView*>(QString::fromLatin1(name))->chart();
      int limits = 0, outlines = 0;
      for (QAbstractSeries* series : chart->series()) {
        limits += series->objectName() == QStringLiteral("YieldLimit");
        outlines += series->objectName() == QStringLiteral("Histogram");
      }
      QCOMPARE(outlines, 1);
      QCOMPARE(limits, 2);
    }
  }

  // An empty seed draws a new one, shown so that it can be typed to repeat the run.
  void EmptySeedShowsTheSeedUsed() {
    Edit("EditTrials")->setText(QStringLiteral("500"));
    QVERIFY(RunAndWait());
    const QString seed = QString::number(Page()->analysis()->monte_carlo.seed);
    QVERIFY2(Edit("EditSeed")->placeholderText().contains(seed),
             qPrintable(Edit("EditSeed")->placeholderText()));
  }

  void HostileInputWarns_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("tolerance 150%") << "EditTolR"
                                    << "150%";
    QTest::newRow("tolerance 100%") << "EditTolC"
                                    << "100%";
    QTest::newRow("tolerance negative") << "EditTolR"
                                        << "-1%";
    QTest::newRow("trials ten billion") << "EditTrials"
                                        << "10000000000";
    QTest::newRow("part tolerance text") << "EditTolC2"
                                         << "abc";
    QTest::newRow("trials 0") << "EditTrials"
                              << "0";
    QTest::newRow("trials huge") << "EditTrials"
                                 << "1e300";
    QTest::newRow("seed -1") << "EditSeed"
                             << "-1";
    QTest::newRow("seed too big") << "EditSeed"
                                  << "18446744073709551616";
    QTest::newRow("limit 0") << "EditLimitQ"
                             << "0";
    QTest::newRow("limit nan") << "EditLimitFo"
                               << "nan";
  }
  void HostileInputWarns() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    Edit(field.toLatin1().constData())->setText(text);
    calc::ToleranceTexts texts;
    if (field == "EditTolR") texts.resistor = text.toStdU16String();
    if (field == "EditTolC") texts.capacitor = text.toStdU16String();
    if (field == "EditTolC2") texts.part[4] = text.toStdU16String();
    if (field == "EditTrials") texts.trials = text.toStdU16String();
    if (field == "EditSeed") texts.seed = text.toStdU16String();
    if (field == "EditLimitQ") texts.limit_q = text.toStdU16String();
    if (field == "EditLimitFo") texts.limit_fo = text.toStdU16String();
    const calc::Outcome<calc::ToleranceSettings> refused =
        calc::ReadToleranceTexts(kWithR2, texts, 1);
    QVERIFY(!refused.ok());
    const std::u16string warning = calc::WindowText(refused.diagnostic());

    watch_->Expect();
    Click("ButtonRunTolerance");
    QTRY_COMPARE(watch_->pending_expectations(), 0);
    QCOMPARE(watch_->boxes().back().text, QString::fromStdU16String(warning));
    QVERIFY(!Page()->running());
    VerifyNoResults();
    QVERIFY(Page()->findChild<QPushButton*>(QStringLiteral("ButtonRunTolerance"))->isEnabled());
  }

  // A million trials stop on 中止; the window goes on working and runs again.
  // The start-up design snapped (fo 964.6 Hz for a wanted 1 kHz, 3.5 % low) with exact
  // parts: about the target no trial is within 2 % of fo, about the nominal all are.
  void YieldIsCountedAboutTheDesignsTarget_data() {
    QTest::addColumn<bool>("designed");
    QTest::addColumn<QString>("centre");
    QTest::addColumn<int>("inside");
    QTest::newRow("designed for 1 kHz") << true << QStringLiteral(u"設計の目標 fo = 1.000k") << 0;
    QTest::newRow("typed") << false << QStringLiteral(u"公称回路") << 50;
  }
  void YieldIsCountedAboutTheDesignsTarget() {
    QFETCH(bool, designed);
    QFETCH(QString, centre);
    QFETCH(int, inside);
    const calc::Circuit snapped{11e3, 11e3, 22e3, 15e-9, 15e-9};
    ui::ResponseSubject subject = Subject(snapped);
    if (designed) {
      subject.source = ui::SubjectSource::kDesign;
      subject.target = calc::TransferFunction{1000.0, 1.0, 1.0};
    }
    window_->ShowSubject(subject);
    const QString label = Page()->findChild<QLabel*>(QStringLiteral("YieldCentre"))->text();
    QVERIFY2(label.contains(centre), qPrintable(label));
    Edit("EditTolR")->setText(QStringLiteral("0"));
    Edit("EditTolC")->setText(QStringLiteral("0"));
    Edit("EditTrials")->setText(QStringLiteral("50"));
    Edit("EditLimitFo")->setText(QStringLiteral("2%"));
    QVERIFY(RunAndWait());
    const calc::MonteCarloResult& run = Page()->analysis()->monte_carlo;
    QCOMPARE(run.yield.count, std::int64_t{inside});
    QCOMPARE(run.CentredOnTarget(), designed);
  }

  void CancelStopsALargeRun() {
    Edit("EditTrials")->setText(QStringLiteral("1000000"));
    QSignalSpy ended(Page(), &ui::TolerancePage::RunEnded);
    Click("ButtonRunTolerance");
    QVERIFY(Page()->running());
    QVERIFY(Page()->findChild<QPushButton*>(QStringLiteral("ButtonCancelTolerance"))->isEnabled());
    QTest::qWait(20);  // events still flow while it runs
    Click("ButtonCancelTolerance");
    QVERIFY(!Page()->running());
    QTRY_VERIFY(ended.count() >= 1);
    QTest::qWait(50);  // a late word from the cancelled run must change nothing
    // What takes moments stays: the sensitivities and the worst case, by hand for this
    // circuit (fo goes as (R1 R3 C1 C2)^-1/2 with R1 || R2: S(R1) = -0.5 x 1k / 11k).
    QVERIFY(Page()->analysis().has_value());
    QVERIFY(Page()->analysis()->monte_carlo_stopped);
    QVERIFY(qAbs(Table("TableSensitivities")->item(0, 0)->text().toDouble() + 0.5 / 11.0) < 1e-3);
    QVERIFY(!Table("TableWorstCase")->item(0, 0)->text().isEmpty());
    QVERIFY(Table("TableMonteCarlo")->item(0, 0)->text().isEmpty());
    QVERIFY(!HasGainBand(window_.get()));
    QVERIFY(!Page()->findChild<QPushButton*>(QStringLiteral("ButtonSaveTrials"))->isEnabled());
    const QString status = Page()->findChild<QLabel*>(QStringLiteral("ToleranceStatus"))->text();
    QVERIFY2(status.contains(QStringLiteral(u"モンテカルロ解析は途中で止めました")),
             qPrintable(status));
    Edit("EditTrials")->setText(QStringLiteral("200"));
    QVERIFY(RunAndWait());
    QVERIFY(Page()->analysis().has_value());
    QCOMPARE(Page()->analysis()->monte_carlo.trials.size(), std::size_t{200});
  }

  // A new circuit, or none, clears the results, and stops a run under way.
  void NewSubjectClearsResults() {
    Edit("EditTrials")->setText(QStringLiteral("500"));
    QVERIFY(RunAndWait());
    QVERIFY(HasGainBand(window_.get()));
    window_->ShowSubject(Subject(kWithoutR2));
    VerifyNoResults();

    Edit("EditTrials")->setText(QStringLiteral("1000000"));
    Click("ButtonRunTolerance");
    window_->ShowSubject(std::nullopt);
    QVERIFY(!Page()->running());
    QTest::qWait(50);
    VerifyNoResults();
    // The status line says the run was stopped, and why.
    const QString status = Page()->findChild<QLabel*>(QStringLiteral("ToleranceStatus"))->text();
    QVERIFY2(status.contains(QStringLiteral(u"回路またはオペアンプの設定が変わったため")),
             qPrintable(status));
    // Without a circuit there is nothing to run: a warning, not a crash.
    watch_->Expect();
    Click("ButtonRunTolerance");
    QTRY_COMPARE(watch_->pending_expectations(), 0);
    VerifyNoResults();
  }

  // Closing the window stops a run; it opens again ready to run.
  void ClosingTheWindowStopsARun() {
    Edit("EditTrials")->setText(QStringLiteral("1000000"));
    Click("ButtonRunTolerance");
    QVERIFY(Page()->running());
    window_->close();
    QVERIFY(!Page()->running());
    QTest::qWait(50);
    // Stopped as by 中止: what was whole stays, the Monte Carlo part is marked stopped.
    QVERIFY(Page()->analysis().has_value());
    QVERIFY(Page()->analysis()->monte_carlo_stopped);
    QVERIFY(Table("TableMonteCarlo")->item(0, 0)->text().isEmpty());
    window_->show();
    Edit("EditTrials")->setText(QStringLiteral("100"));
    QVERIFY(RunAndWait());
    QVERIFY(Page()->analysis().has_value());
  }

  // Closing the window during a run waits for the worker: no use of a deleted page.
  void DeletingTheWindowDuringARunIsSafe() {
    Edit("EditTrials")->setText(QStringLiteral("1000000"));
    Click("ButtonRunTolerance");
    QTest::qWait(10);
    window_.reset();
    QTest::qWait(50);
  }

  // The runner on its own: a second Start cancels the first run, whose result never
  // comes; the second's progress rises to 100 % before its result.
  void RunnerDeliversOnlyTheLatestRunWithItsProgress() {
    ui::ToleranceRunner runner;
    QSignalSpy progress(&runner, &ui::ToleranceRunner::Progress);
    QSignalSpy finished(&runner, &ui::ToleranceRunner::Finished);
    QSignalSpy cancelled(&runner, &ui::ToleranceRunner::Cancelled);
    calc::ToleranceSettings settings;
    settings.trials = calc::kMaxTrials;
    runner.Start(kWithR2, settings, std::nullopt, {});
    QVERIFY(runner.running());
    settings.trials = 300;
    runner.Start(kWithR2, settings, std::nullopt, {});
    QCOMPARE(cancelled.count(), 1);
    QVERIFY(finished.wait(60000));
    QTest::qWait(50);  // nothing more from either run
    QCOMPARE(finished.count(), 1);
    QCOMPARE(cancelled.count(), 1);
    QVERIFY(!runner.running());
    const auto analysis = finished.front().front().value<calc::ToleranceAnalysis>();
    QCOMPARE(analysis.monte_carlo.trials.size(), std::size_t{300});
    QVERIFY(!progress.isEmpty());
    int last = 0;
    for (const QList<QVariant>& report : progress) {
      QVERIFY(report.front().toInt() >= last);
      last = report.front().toInt();
    }
    QCOMPARE(last, 100);
  }

  void ExportsReadBack() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Edit("EditTrials")->setText(QStringLiteral("300"));
    Edit("EditSeed")->setText(QStringLiteral("7"));
    QVERIFY(RunAndWait());
    QString next;
    window_->SetPathPicker(
        [&next](const QString&, const QString&, const QString&) { return next; });
    const auto& analysis = *Page()->analysis();
    const std::pair<const char*, std::string> exports[] = {
        {"ButtonSaveTrials", calc::TrialsCsv(analysis.monte_carlo)},
        {"ButtonSaveSummary", calc::SummaryCsv(analysis.sensitivities, analysis.model_sensitivities,
                                               analysis.worst_case, analysis.monte_carlo)}};
    for (const auto& [button, expected] : exports) {
      next = dir.filePath(QString::fromLatin1(button) + ".csv");
      Click(button);
      QFile file(next);
      QVERIFY2(file.open(QIODevice::ReadOnly), button);
      QCOMPARE(file.readAll().toStdString(), expected);
    }
    // A cancelled dialog writes nothing.
    next.clear();
    Click("ButtonSaveTrials");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
  }

  // The histograms keep readable labels at the window's least size (at scale 2 too: see
  // the HiDPI run): round values with SI prefixes, titles on both axes, nothing cut
  // short, and the limit lines inside the axis.
  void HistogramsStayReadable() {
    Edit("EditSeed")->setText(QStringLiteral("1"));
    QVERIFY(RunAndWait());
    window_->resize(window_->minimumSize());
    QTest::qWait(50);
    static const QRegularExpression kRound(QStringLiteral(u"^[0-9]+(\\.[0-9]{1,3})?[pnµmkMGT]?$"));
    for (const char* name : {"Histogramfo", "HistogramQ", "HistogramH"}) {
      auto* view = Page()->findChild<QChartView*>(QString::fromLatin1(name));
      QVERIFY2(view != nullptr, name);
      QVERIFY(view->width() >= view->minimumWidth() && view->height() >= view->minimumHeight());
      auto* values = qobject_cast<QCategoryAxis*>(view->chart()->axes(Qt::Horizontal).front());
      auto* counts = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).front());
      QVERIFY(values != nullptr && counts != nullptr);
      QVERIFY(!values->truncateLabels() && !counts->truncateLabels());
      QVERIFY(!values->titleText().isEmpty());
      QCOMPARE(counts->titleText(), QStringLiteral(u"試行数"));
      QVERIFY(values->categoriesLabels().size() >= 2);
      for (const QString& label : values->categoriesLabels()) {
        QVERIFY2(kRound.match(label).hasMatch(), qPrintable(label));
      }
      for (QAbstractSeries* series : view->chart()->series()) {
        if (series->objectName() != QStringLiteral("YieldLimit")) continue;
        const double x = static_cast<QLineSeries*>(series)->at(0).x();
        QVERIFY(x > values->min() && x < values->max());
      }
    }
    QVERIFY(Page()->findChild<QLabel*>(QStringLiteral("LabelYield"))->wordWrap());
  }

  void Screenshot() {
    // Kept for a look by eye: KORVANE_SCREENSHOT names the file of the tolerance page; the
    // response page with the envelope goes beside it with "-band" added.
    const QString path = qEnvironmentVariable("KORVANE_SCREENSHOT");
    if (path.isEmpty()) QSKIP("KORVANE_SCREENSHOT not set");
    window_->resize(1280, 760);
    Edit("EditSeed")->setText(QStringLiteral("1"));
    QVERIFY(RunAndWait());
    QTest::qWait(200);
    QVERIFY(window_->grab().save(path));
    window_->setCurrentIndex(0);
    QTest::qWait(200);
    QString band = path;
    band.insert(band.lastIndexOf(u'.'), QStringLiteral("-band"));
    QVERIFY(window_->grab().save(band));
  }
};

QTEST_MAIN(TolerancePageTest)
#include "tolerance_page_test.moc"
