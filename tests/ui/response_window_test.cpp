// The response window on a real X server (the xcb platform under Xvfb): opened from the
// main window, following its commands, its own fields, and its exports read back.
#include <QAbstractSeries>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <memory>

#include "calc/analysis/response.h"
#include "calc/text/quantity_format.h"
#include "tests/ui/support/window_test_fixture.h"
#include "ui/main_window/form_main.h"
#include "ui/response/response_export.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_plot.h"
#include "ui/response/response_window.h"
#include "ui/response/settings_text.h"

namespace {

ui::ResponseView* MakeWindow(QWidget* parent) { return new ui::ResponseWindow(parent); }

QString Displayed(double value) {
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

}  // namespace

class ResponseWindowTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  QLineEdit* Edit(const char* name) const {
    return form_->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  void Click(QWidget* owner, const char* name) {
    QTest::mouseClick(owner->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
  ui::ResponseWindow* Window() const {
    return static_cast<ui::ResponseWindow*>(form_->response_view());
  }
  ui::ResponseWindow* OpenWindow() {
    Click(form_.get(), "ButtonResponse");
    ui::ResponseWindow* window = Window();
    if (window != nullptr) (void)QTest::qWaitForWindowExposed(window);
    return window;
  }
  void Design() { Click(form_.get(), "ButtonCalc"); }
  // A circuit with R2 analysed as typed.
  void Analyse(const char* r2) {
    const std::pair<const char*, const char*> components[] = {{"EditR1", "10k"},
                                                              {"EditR2", r2},
                                                              {"EditR3", "200k"},
                                                              {"EditC1", "10n"},
                                                              {"EditC2", "10n"}};
    for (const auto& [name, text] : components) Edit(name)->setText(QString::fromLatin1(text));
    Click(form_.get(), "ButtonTF");
  }
  static int SeriesCount(QChart* chart) { return ui::ResponsePlot::VisibleSeries(chart); }

  // The window shows no result: no curve, no figure, nothing to export.
  static void VerifyBlank(ui::ResponseWindow* window) {
    QVERIFY(!window->data().has_value());
    QCOMPARE(SeriesCount(window->plot()->gain_chart()), 0);
    QCOMPARE(SeriesCount(window->plot()->phase_chart()), 0);
    QVERIFY(window->panel()->table()->item(0, 1)->text().isEmpty());
    QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("ButtonSaveCsv"))->isEnabled());
    QVERIFY(window->Netlist().empty());
  }

 private Q_SLOTS:
  void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

  void init() {
    QVERIFY(OpenMainWindow([](ui::TFormMain& form) { form.SetResponseViewFactory(&MakeWindow); }));
  }
  void cleanup() { VerifyBoxes(); }

  void ButtonOpensTheWindowOnceAndRaisesIt() {
    QVERIFY(form_->response_view() == nullptr);  // made on the first click only
    ui::ResponseWindow* window = OpenWindow();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral(u"周波数特性"));
    QCOMPARE(window->tabText(0), QStringLiteral(u"応答"));
    QVERIFY(QTest::qWaitForWindowActive(window));
    VerifyBlank(window);  // nothing calculated yet

    // The main window stays usable while it is open; a second click brings it back.
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(OpenWindow(), window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(form_->findChildren<ui::ResponseWindow*>().size(), 1);
  }

  void OpenedAfterADesignShowsIt() {
    Design();
    ui::ResponseWindow* window = OpenWindow();
    QVERIFY(window->data().has_value());
    QCOMPARE(window->data()->curves.size(), std::size_t{3});
  }

  void DesignShowsTheCircuitWithTargetAndFigures() {
    ui::ResponseWindow* window = OpenWindow();
    Edit("EditFo")->setText(QStringLiteral("1k"));
    Edit("EditQ")->setText(QStringLiteral("5"));
    Edit("EditH")->setText(QString());  // no gain given: unity, as the design reads it
    Design();
    QVERIFY(window->data().has_value());
    const ui::ResponseSubject& subject = *window->subject();
    const calc::CalcState& state = form_->calc_state();
    QCOMPARE(subject.circuit.R1, state.R1);
    QCOMPARE(subject.circuit.C2, state.C2);
    QVERIFY(subject.target.has_value());
    QCOMPARE(subject.target->Fo, 1000.0);
    QCOMPARE(subject.target->Q, 5.0);
    QCOMPARE(subject.target->H, 1.0);

    // Three curves in both plots, and the markers on the gain plot.
    QCOMPARE(window->data()->curves.size(), std::size_t{3});
    QVERIFY(SeriesCount(window->plot()->gain_chart()) >= 6);
    QVERIFY(SeriesCount(window->plot()->phase_chart()) >= 3);
    // Two decades either side of the circuit's fo.
    const auto [from, to] = window->plot()->FrequencyRange();
    QVERIFY(qAbs(from / (state.FoResult / 100.0) - 1.0) < 1e-9);
    QVERIFY(qAbs(to / (state.FoResult * 100.0) - 1.0) < 1e-9);

    // The table shows the figures measured on the model's responses.
    const calc::Circuit circuit = subject.circuit;
    const calc::OpAmp op_amp{100e3, 10e6};  // the panel's defaults
    const calc::ResponseFigures ideal = calc::MeasureResponse(
        [&](double f) { return calc::CircuitResponse(circuit, std::nullopt, f); }, state.FoResult);
    const calc::ResponseFigures real = calc::MeasureResponse(
        [&](double f) { return calc::CircuitResponse(circuit, op_amp, f); }, state.FoResult);
    QTableWidget* table = window->panel()->table();
    const struct {
      int row;
      double ideal, real;
    } rows[] = {{ui::ResponsePanel::kPeak, ideal.peak_hz, real.peak_hz},
                {ui::ResponsePanel::kQ, ideal.q_bandwidth, real.q_bandwidth},
                {ui::ResponsePanel::kLow3Db, ideal.low_3db_hz, real.low_3db_hz},
                {ui::ResponsePanel::kHigh3Db, ideal.high_3db_hz, real.high_3db_hz},
                {ui::ResponsePanel::kBandwidth, ideal.bandwidth_hz, real.bandwidth_hz}};
    for (const auto& row : rows) {
      QCOMPARE(table->item(row.row, 1)->text().section(u'\n', 0, 0), Displayed(row.ideal));
      QCOMPARE(table->item(row.row, 2)->text().section(u'\n', 0, 0), Displayed(row.real));
    }
    QCOMPARE(table->item(ui::ResponsePanel::kPeak, 0)->text(), Displayed(1000.0));
    QCOMPARE(table->item(ui::ResponsePanel::kQ, 0)->text(), Displayed(5.0));
    QCOMPARE(table->item(ui::ResponsePanel::kGain, 0)->text(), Displayed(1.0));
    QCOMPARE(table->item(ui::ResponsePanel::kBandwidth, 0)->text(), Displayed(200.0));
    // fo (sqrt(1 + 1/100) -+ 1/10), by hand: 904.987562 and 1104.987562.
    QCOMPARE(table->item(ui::ResponsePanel::kLow3Db, 0)->text(), QStringLiteral("904.988"));
    QCOMPARE(table->item(ui::ResponsePanel::kHigh3Db, 0)->text(), QStringLiteral("1.105k"));
    // The error against the target under each circuit figure.
    QCOMPARE(table->item(ui::ResponsePanel::kPeak, 1)->text().section(u'\n', 1),
             u'(' + QString::fromStdU16String(ui::PercentError(ideal.peak_hz, 1000.0)) + u')');

    const double required = calc::RequiredGbw(circuit, op_amp, 0.01);
    QCOMPARE(window->data()->required_gbw_hz, required);
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("RequiredGbw"))
                ->text()
                .contains(Displayed(required)));
  }

  void AnalysisWithoutR2AndUnreadableTarget() {
    ui::ResponseWindow* window = OpenWindow();
    Edit("EditFo")->setText(QString());  // no target to draw, the circuit still is
    Analyse("");
    QVERIFY(window->data().has_value());
    QVERIFY(!window->subject()->circuit.HasR2());
    QVERIFY(!window->subject()->target.has_value());
    QCOMPARE(window->data()->curves.size(), std::size_t{2});
    QVERIFY(window->panel()->table()->item(0, 0)->text().isEmpty());
    QVERIFY(!window->panel()->table()->item(0, 1)->text().isEmpty());
  }

  void WarningOrErrorLeavesNoStaleCurve_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("design warning: no Q") << "ButtonCalc"
                                          << "EditQ"
                                          << "";
    QTest::newRow("analysis warning: no C1") << "ButtonTF"
                                             << "EditC1"
                                             << "";
    QTest::newRow("design FloatError: H 0") << "ButtonCalc"
                                            << "EditH"
                                            << "0";
    QTest::newRow("analysis FloatError: R1 0") << "ButtonTF"
                                               << "EditR1"
                                               << "0";
  }

  void WarningOrErrorLeavesNoStaleCurve() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, value);
    ui::ResponseWindow* window = OpenWindow();
    Design();  // fills the circuit fields too
    QVERIFY(window->data().has_value());
    form_->findChild<QLineEdit*>(field)->setText(value);
    watch_->Expect();
    Click(form_.get(), qPrintable(button));
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    VerifyBlank(window);
  }

  void PanelFieldsReadQuantitiesAndWarn() {
    ui::ResponseWindow* window = OpenWindow();
    Design();
    QLineEdit* gbw = window->panel()->field("EditGbw");
    QLineEdit* tolerance = window->panel()->field("EditTolerance");

    // A slow op-amp: the peak moves, the panel says the op-amp falls short.
    gbw->setText(QStringLiteral("10k"));
    Q_EMIT gbw->editingFinished();
    QCOMPARE(window->panel()->settings().op_amp.Gbw, 10e3);
    QVERIFY(window->data()->FallsShort(calc::Problem::kGbwShort));
    auto* warning = window->findChild<QLabel*>(QStringLiteral("OpAmpWarning"));
    QVERIFY(warning->isVisibleTo(window));
    QVERIFY(warning->text().contains(QStringLiteral("GBW")));

    tolerance->setText(QStringLiteral("0.5%"));
    Q_EMIT tolerance->editingFinished();
    QCOMPARE(window->panel()->settings().tolerance, 0.005);

    // Unreadable text: the same kind of warning as the main window's, settings kept.
    gbw->setText(QStringLiteral("fast"));
    watch_->Expect();
    Q_EMIT gbw->editingFinished();
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    QCOMPARE(watch_->boxes().back().title, QStringLiteral("Warning"));
    QCOMPARE(window->panel()->settings().op_amp.Gbw, 10e3);
    QVERIFY(window->data().has_value());
  }

  void ZoomKeepsBothAxesTogether() {
    ui::ResponseWindow* window = OpenWindow();
    Design();
    ui::ResponsePlot* plot = window->plot();
    const auto full = plot->FrequencyRange();
    plot->SetFrequencyRange(500.0, 2000.0);
    auto* phase_x = plot->phase_chart()->axes(Qt::Horizontal).front();
    QCOMPARE(phase_x->property("min").toDouble(), 500.0);
    QCOMPARE(phase_x->property("max").toDouble(), 2000.0);
    auto* gain_view = window->findChild<QChartView*>(QStringLiteral("GainPlot"));
    QTest::mouseDClick(gain_view->viewport(), Qt::LeftButton);
    QCOMPARE(plot->FrequencyRange(), full);
    QCOMPARE(phase_x->property("min").toDouble(), full.first);

    // The wheel zooms about the pointer, on both plots.
    const QPoint centre = gain_view->viewport()->rect().center();
    QWheelEvent wheel(centre, gain_view->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(gain_view->viewport(), &wheel);
    const auto zoomed = plot->FrequencyRange();
    QVERIFY(zoomed.first > full.first && zoomed.second < full.second);
    QCOMPARE(phase_x->property("max").toDouble(), zoomed.second);

    // The read-out follows the pointer.
    QVERIFY(plot->readout().isEmpty());
    QTest::mouseMove(gain_view->viewport(), centre);
    QTRY_VERIFY(plot->readout().startsWith(QStringLiteral("f = ")));
    QVERIFY(plot->readout().contains(QStringLiteral(u"目標")));
  }

  void ExportsReadBack() {
    ui::ResponseWindow* window = OpenWindow();
    Design();
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString png = folder.filePath(QStringLiteral("plot.png"));
    const QString svg = folder.filePath(QStringLiteral("plot.svg"));
    const QString csv = folder.filePath(QStringLiteral("curves.csv"));
    const QString cir = folder.filePath(QStringLiteral("filter.cir"));

    // Through the buttons, with the file dialog replaced by the chosen path.
    QString next_path;
    window->SetPathPicker(
        [&](const QString&, const QString&, const QString&) { return next_path; });
    const std::pair<QString, const char*> saves[] = {{png, "ButtonSavePicture"},
                                                     {svg, "ButtonSavePicture"},
                                                     {csv, "ButtonSaveCsv"},
                                                     {cir, "ButtonSaveNetlist"}};
    for (const auto& [path, button] : saves) {
      next_path = path;
      Click(window, button);
      QVERIFY2(QFile::exists(path), qPrintable(path));
    }

    QImage image(png);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(),
             window->plot()->plots()->size() * window->plot()->plots()->devicePixelRatio());

    QFile svg_file(svg);
    QVERIFY(svg_file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg_file);
    int elements = 0;
    while (!xml.atEnd()) {
      if (xml.readNext() == QXmlStreamReader::StartElement) ++elements;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(elements > 10);
    QVERIFY(QSvgRenderer(svg).isValid());

    QFile csv_file(csv);
    QVERIFY(csv_file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines =
        QString::fromUtf8(csv_file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QStringLiteral("frequency_hz,target_gain_db,target_phase_deg,"
                                           "ideal_gain_db,ideal_phase_deg,opamp_gain_db,"
                                           "opamp_phase_deg"));
    QCOMPARE(lines.size(), 1 + static_cast<int>(window->data()->frequencies_hz.size()));
    const QStringList first = lines[1].split(u',');
    QCOMPARE(first.size(), 7);
    QCOMPARE(first[0].toDouble(), window->data()->frequencies_hz.front());
    QCOMPARE(first[3].toDouble(), window->data()->curves[1].gain_db.front());

    // The netlist, copied and saved alike, runs in ngspice.
    Click(window, "ButtonCopyNetlist");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(window->Netlist()));
    QFile cir_file(cir);
    QVERIFY(cir_file.open(QIODevice::ReadOnly));
    QCOMPARE(cir_file.readAll().toStdString(), window->Netlist());
    const QString ngspice = QStandardPaths::findExecutable(QStringLiteral("ngspice"));
    if (ngspice.isEmpty()) {
      if (qEnvironmentVariable("CI") == QStringLiteral("true")) QFAIL("ngspice is missing");
      QSKIP("ngspice is not installed");
    }
    QProcess run;
    run.setWorkingDirectory(folder.path());
    run.start(ngspice, {QStringLiteral("-b"), cir});
    QVERIFY(run.waitForFinished(60000));
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
             run.readAllStandardError().constData());
  }

  void UnwritablePathsFailLoudly() {
    ui::ResponseWindow* window = OpenWindow();
    Design();
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("no such folder/"));
    QVERIFY_THROWS_EXCEPTION(ui::ExportError, window->ExportCsv(missing + QStringLiteral("c.csv")));
    QVERIFY_THROWS_EXCEPTION(ui::ExportError,
                             window->ExportNetlist(missing + QStringLiteral("n.cir")));
    QVERIFY_THROWS_EXCEPTION(ui::ExportError,
                             window->ExportPicture(missing + QStringLiteral("p.png")));
    QVERIFY_THROWS_EXCEPTION(ui::ExportError,
                             window->ExportPicture(missing + QStringLiteral("p.svg")));
  }

  void CancelledDialogWritesNothing() {
    ui::ResponseWindow* window = OpenWindow();
    Design();
    QTemporaryDir folder;
    window->SetPathPicker([](const QString&, const QString&, const QString&) { return QString(); });
    Click(window, "ButtonSaveCsv");
    QVERIFY(QDir(folder.path()).isEmpty());
  }

  void Screenshot() {
    // Kept for a look by eye; KORVANE_SCREENSHOT names the file.
    const QString path = qEnvironmentVariable("KORVANE_SCREENSHOT");
    if (path.isEmpty()) QSKIP("KORVANE_SCREENSHOT not set");
    ui::ResponseWindow* window = OpenWindow();
    Design();
    window->plot()->ShowReadoutAt(form_->calc_state().FoResult);
    QTest::qWait(200);
    QVERIFY(window->grab().save(path));
  }
};

QTEST_MAIN(ResponseWindowTest)
#include "response_window_test.moc"
