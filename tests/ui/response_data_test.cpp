// The response window's numbers without widgets: its own field texts, the error column,
// the CSV, and the op-amp shortfall the panel warns about.
#include <QTest>
#include <cmath>
#include <limits>

#include "calc/circuit/band_pass.h"
#include "ui/response/response_data.h"
#include "ui/response/settings_text.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The start-up design: 1 kHz, Q 1, unity gain, E24/E6.
ui::ResponseSubject DefaultSubject() {
  const calc::Circuit circuit{11e3, 11e3, 22e3, 15e-9, 15e-9};
  return {circuit, calc::Analyze(circuit), calc::TransferFunction{1000.0, 1.0, 1.0}};
}

}  // namespace

class ResponseDataTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void Tolerance_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("fraction");
    QTest::newRow("percent") << "1%" << 0.01;
    QTest::newRow("percent with blank") << "0.5 %" << 0.005;
    QTest::newRow("full-width percent sign") << u"2％"_qs << 0.02;
    QTest::newRow("bare fraction") << "0.01" << 0.01;
    QTest::newRow("fraction with prefix") << "5m" << 0.005;
    QTest::newRow("sign alone") << "%" << kNaN;
    QTest::newRow("empty") << "" << kNaN;
    QTest::newRow("zero") << "0%" << kNaN;
    QTest::newRow("negative") << "-1%" << kNaN;
    QTest::newRow("whole") << "100%" << kNaN;
    QTest::newRow("bare one") << "1" << kNaN;
    QTest::newRow("words") << "tight" << kNaN;
  }

  void Tolerance() {
    QFETCH(QString, text);
    QFETCH(double, fraction);
    const double read = ui::ParseTolerance(text.toStdU16String());
    if (std::isnan(fraction)) {
      QVERIFY2(std::isnan(read), qPrintable(QString::number(read)));
    } else {
      QCOMPARE(read, fraction);
    }
  }

  void PositiveQuantities() {
    QCOMPARE(ui::ParsePositive(u"10M"), 10e6);
    QCOMPARE(ui::ParsePositive(u"100k"), 100e3);
    QVERIFY(std::isnan(ui::ParsePositive(u"0")));
    QVERIFY(std::isnan(ui::ParsePositive(u"-5")));
    QVERIFY(std::isnan(ui::ParsePositive(u"")));
  }

  void PercentErrors() {
    QCOMPARE(ui::PercentError(101.0, 100.0), std::u16string(u"+1.000 %"));
    QCOMPARE(ui::PercentError(99.0, 100.0), std::u16string(u"-1.000 %"));
    QCOMPARE(ui::PercentError(100.0, 100.0), std::u16string(u"+0.000 %"));
    QCOMPARE(ui::PercentError(1e-9, 1.2e-9), std::u16string(u"-16.667 %"));
    QCOMPARE(ui::PercentError(kNaN, 100.0), std::u16string());
    QCOMPARE(ui::PercentError(1.0, 0.0), std::u16string());
  }

  void CsvHasOneColumnPairPerCurve() {
    ui::ResponseData data;
    data.frequencies_hz = {10.0, 1e3, 123456.789};
    data.curves.push_back({ui::CurveKind::kIdeal, {-40.0, 0.0, -41.5}, {-90.0, 180.0, 90.0}, {}});
    data.curves.push_back({ui::CurveKind::kOpAmp, {-40.5, -0.25, -60.0}, {-91.0, 179.5, 45.0}, {}});
    QCOMPARE(QString::fromStdString(ui::CurvesCsv(data)),
             QStringLiteral("frequency_hz,ideal_gain_db,ideal_phase_deg,opamp_gain_db,"
                            "opamp_phase_deg\n"
                            "10,-40,-90,-40.5,-91\n"
                            "1000,0,180,-0.25,179.5\n"
                            "123456.789,-41.5,90,-60,45\n"));
  }

  void ComputedCurvesCoverTwoDecadesEitherSide() {
    const ui::ResponseSubject subject = DefaultSubject();
    const ui::ResponseData data = ui::ComputeResponseData(subject, ui::OpAmpSettings{});
    QCOMPARE(data.frequencies_hz.size(), std::size_t{ui::kResponsePoints});
    QVERIFY(std::abs(data.frequencies_hz.front() / (subject.analysed.Fo / 100.0) - 1.0) < 1e-12);
    QVERIFY(std::abs(data.frequencies_hz.back() / (subject.analysed.Fo * 100.0) - 1.0) < 1e-12);
    QCOMPARE(data.curves.size(), std::size_t{3});
    for (const ui::Curve& curve : data.curves) {
      QCOMPARE(curve.gain_db.size(), data.frequencies_hz.size());
      QCOMPARE(curve.phase_deg.size(), data.frequencies_hz.size());
    }
    // The target's figures by hand: fo (sqrt(1 + 1/4) -+ 1/2) for Q = 1.
    const calc::ResponseFigures& target = data.Find(ui::CurveKind::kTarget)->figures;
    QCOMPARE(target.peak_hz, 1000.0);
    QCOMPARE(target.bandwidth_hz, 1000.0);
    QVERIFY(std::abs(target.low_3db_hz - 618.0339887498948) < 1e-9);
    QVERIFY(std::abs(target.high_3db_hz - 1618.0339887498948) < 1e-9);
  }

  void ShortfallAtTheRequiredFigures() {
    const ui::ResponseSubject subject = DefaultSubject();
    ui::OpAmpSettings settings;
    const double required = ui::ComputeResponseData(subject, settings).required_gbw_hz;
    QVERIFY(std::isfinite(required) && required > 0.0);

    settings.op_amp.Gbw = required;
    ui::ResponseData data = ui::ComputeResponseData(subject, settings);
    QVERIFY(!data.gbw_short);
    settings.op_amp.Gbw = 0.9 * required;
    data = ui::ComputeResponseData(subject, settings);
    QVERIFY(data.gbw_short);

    // 2 pi f_peak |H| V: 2 pi 964.575 Hz x 1000 V = 6.0606 V/us at unity gain.
    settings.input_amplitude_v = 1000.0;
    settings.slew_v_per_us = 6.0;
    data = ui::ComputeResponseData(subject, settings);
    QVERIFY(std::abs(data.required_slew_v_per_us - 6.0606) < 1e-3);
    QVERIFY(data.slew_short);
    settings.slew_v_per_us = 6.1;
    QVERIFY(!ui::ComputeResponseData(subject, settings).slew_short);
  }
};

QTEST_GUILESS_MAIN(ResponseDataTest)
#include "response_data_test.moc"
