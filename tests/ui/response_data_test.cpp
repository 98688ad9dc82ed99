// The response window's numbers without widgets: its tolerance field's rule, the error
// column, and the op-amp shortfall the panel warns about.
#include <QTest>
#include <cmath>
#include <limits>

#include "calc/circuit/band_pass.h"
#include "calc/studies/response_study.h"
#include "calc/text/quantity_format.h"
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
  // The panel's tolerance field reads as every tolerance field does: a bare number is per
  // cent ("1" = "1%"), and the tolerance lies above 0 % and below 100 %.
  void Tolerance_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("fraction");
    QTest::newRow("percent") << "1%" << 0.01;
    QTest::newRow("percent with blank") << "0.5 %" << 0.005;
    QTest::newRow("full-width percent sign") << u"2％"_qs << 0.02;
    QTest::newRow("bare one is one per cent") << "1" << 0.01;
    QTest::newRow("bare 0.01 is 0.01 per cent") << "0.01" << 0.0001;
    QTest::newRow("0.01 per cent") << "0.01%" << 0.0001;
    QTest::newRow("percent with prefix") << "5m" << 0.00005;
    QTest::newRow("sign alone") << "%" << kNaN;
    QTest::newRow("empty") << "" << kNaN;
    QTest::newRow("zero") << "0%" << kNaN;
    QTest::newRow("negative") << "-1%" << kNaN;
    QTest::newRow("whole") << "100%" << kNaN;
    QTest::newRow("bare hundred") << "100" << kNaN;
    QTest::newRow("words") << "tight" << kNaN;
  }

  void Tolerance() {
    QFETCH(QString, text);
    QFETCH(double, fraction);
    const calc::Outcome<double> read = calc::ParseResponseTolerance(text.toStdU16String());
    if (std::isnan(fraction)) {
      QVERIFY2(!read.ok(), qPrintable(text));
      QCOMPARE(read.diagnostic().problem, calc::Problem::kResponseTolerance);
    } else {
      QVERIFY(read.ok());
      QCOMPARE(*read, fraction);
    }
  }

  void PercentErrors() {
    QCOMPARE(ui::PercentError(101.0, 100.0), std::u16string(u"+1.000 %"));
    QCOMPARE(ui::PercentError(99.0, 100.0), std::u16string(u"-1.000 %"));
    QCOMPARE(ui::PercentError(100.0, 100.0), std::u16string(u"+0.000 %"));
    QCOMPARE(ui::PercentError(1e-9, 1.2e-9), std::u16string(u"-16.667 %"));
    QCOMPARE(ui::PercentError(kNaN, 100.0), std::u16string());
    QCOMPARE(ui::PercentError(1.0, 0.0), std::u16string());
  }

  void ComputedCurvesCoverTheDecadesAboutFo() {
    // The start-up design's 964.6 Hz: 10 Hz to 100 kHz, 100 points a decade, each decade
    // a point as its literal reads (not 9.646 Hz or 100.00000000000004).
    const ui::ResponseSubject subject = DefaultSubject();
    const ui::ResponseData data = *ui::ComputeResponseData(subject, ui::OpAmpSettings{});
    QCOMPARE(data.frequencies_hz.size(), std::size_t{401});
    const double decades[] = {10.0, 100.0, 1e3, 1e4, 1e5};
    for (std::size_t i = 0; i < std::size(decades); ++i) {
      QCOMPARE(data.frequencies_hz[i * 100], decades[i]);
    }
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
    const double required = ui::ComputeResponseData(subject, settings)->required_gbw_hz;
    QVERIFY(std::isfinite(required) && required > 0.0);

    settings.op_amp.Gbw = required;
    QVERIFY(!ui::ComputeResponseData(subject, settings)->FallsShort(calc::Problem::kGbwShort));
    settings.op_amp.Gbw = 0.9 * required;
    const ui::ResponseData data = *ui::ComputeResponseData(subject, settings);
    QVERIFY(data.FallsShort(calc::Problem::kGbwShort));
    QCOMPARE(QString::fromStdU16String(calc::WindowText(data.shortfalls.front())),
             QStringLiteral("オペアンプのGBWが不足しています (必要 %1Hz 以上)")
                 .arg(QString::fromStdU16String(calc::FormatDisplayed(required)).trimmed()));

    // 2 pi f_peak |H| V: 2 pi 964.575 Hz x 1000 V = 6.0606 V/us at unity gain (a 10 MHz
    // op-amp moves this peak by less than 1e-4).
    settings.op_amp.Gbw = 10e6;
    settings.input_amplitude_v = 1000.0;
    settings.slew_v_per_us = 6.0;
    const ui::ResponseData slow = *ui::ComputeResponseData(subject, settings);
    QVERIFY(std::abs(slow.required_slew_v_per_us - 6.0606) < 1e-3);
    QVERIFY(slow.FallsShort(calc::Problem::kSlewShort));
    settings.slew_v_per_us = 6.1;
    QVERIFY(!ui::ComputeResponseData(subject, settings)->FallsShort(calc::Problem::kSlewShort));
  }
};

QTEST_GUILESS_MAIN(ResponseDataTest)
#include "response_data_test.moc"
