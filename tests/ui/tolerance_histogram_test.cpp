// The tolerance page's histograms as drawn: the outline's bin edges and counts, the
// range widened to the limits and to every value, the limit lines.
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QTest>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "ui/response/tolerance/tolerance_histogram.h"

namespace {

QLineSeries* Series(QChart* chart, const QString& name, int index = 0) {
  int seen = 0;
  for (QAbstractSeries* series : chart->series()) {
    if (series->objectName() == name && seen++ == index) return qobject_cast<QLineSeries*>(series);
  }
  return nullptr;
}

// The step outline of 40 bins from `low` in steps of `width` holding `counts` (bin:
// count, the rest empty): down at both ends, each bin a flat top from edge to edge.
QList<QPointF> Outline(double low, double width, const std::vector<std::pair<int, int>>& counts) {
  std::vector<int> bins(40, 0);
  for (const auto& [bin, count] : counts) bins[bin] = count;
  QList<QPointF> points{{low, 0}};
  for (int bin = 0; bin < 40; ++bin) {
    points << QPointF(low + bin * width, bins[bin]) << QPointF(low + (bin + 1) * width, bins[bin]);
  }
  points << QPointF(low + 40 * width, 0);
  return points;
}

}  // namespace

class ToleranceHistogramTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Nominal 100 with 25 % limits: the range is 75 ... 125 in 40 bins of 1.25 (all exact in
  // binary). A value on an edge belongs to the bin above it; the top edge to the last bin.
  void BinEdgesAndCountsWithinTheLimits() {
    std::unique_ptr<QChartView> view(
        ui::CreateHistogramView(QStringLiteral("Histogram"), QStringLiteral("fo")));
    const std::vector<double> values = {75.0,
                                        76.0,
                                        76.25,
                                        100.0,
                                        100.1,
                                        124.0,
                                        125.0,
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity()};
    ui::ShowHistogram(view->chart(), values, 100.0, 0.25);
    QLineSeries* outline = Series(view->chart(), QStringLiteral("Histogram"));
    QVERIFY(outline != nullptr);
    // 75 and 76 in bin 0, 76.25 in bin 1, 100 and 100.1 in bin 20, 124 and 125 in bin 39;
    // the values that are no number are left out.
    QCOMPARE(outline->points(), Outline(75.0, 1.25, {{0, 2}, {1, 1}, {20, 2}, {39, 2}}));
    for (int line = 0; line < 2; ++line) {
      QLineSeries* limit = Series(view->chart(), QStringLiteral("YieldLimit"), line);
      QVERIFY(limit != nullptr);
      QCOMPARE(limit->points().front().x(), line == 0 ? 75.0 : 125.0);
      QCOMPARE(limit->points().back().x(), line == 0 ? 75.0 : 125.0);
      // Up to the axis top, 5 % above the tallest bin.
      QCOMPARE(limit->points().back().y(), 2 * 1.05);
    }
  }

  // Values beyond the limits widen the range to take them in: 50 ... 150, bins of 2.5; the
  // limit lines stay at nominal (1 -+ limit).
  void ValuesBeyondTheLimitsWidenTheRange() {
    std::unique_ptr<QChartView> view(
        ui::CreateHistogramView(QStringLiteral("Histogram"), QStringLiteral("Q")));
    ui::ShowHistogram(view->chart(), {50.0, 99.0, 101.0, 150.0}, 100.0, 0.25);
    QCOMPARE(Series(view->chart(), QStringLiteral("Histogram"))->points(),
             Outline(50.0, 2.5, {{0, 1}, {19, 1}, {20, 1}, {39, 1}}));
    QCOMPARE(Series(view->chart(), QStringLiteral("YieldLimit"), 0)->points().front().x(), 75.0);
    QCOMPARE(Series(view->chart(), QStringLiteral("YieldLimit"), 1)->points().front().x(), 125.0);

    // Drawn again, the chart holds only the new histogram.
    ui::ShowHistogram(view->chart(), {100.0}, 100.0, 0.25);
    QCOMPARE(view->chart()->series().size(), 3);
    QCOMPARE(Series(view->chart(), QStringLiteral("Histogram"))->points(),
             Outline(75.0, 1.25, {{20, 1}}));
  }
};

QTEST_MAIN(ToleranceHistogramTest)
#include "tolerance_histogram_test.moc"
