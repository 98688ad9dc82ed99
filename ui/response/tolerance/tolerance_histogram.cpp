#include "ui/response/tolerance/tolerance_histogram.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "calc/text/axis_ticks.h"
#include "ui/response/plot_fonts.h"

namespace ui {
namespace {

// The figure's name on the frequency axis, kept with the chart for each new histogram.
const char kAxisTitle[] = "korvaneAxisTitle";
// Labels as wide as "1.23k" fit six times into the least width, with gaps.
constexpr int kMostValueLabels = 6;
constexpr int kMostCountLabels = 5;
const QSize kLeastSize(200, 180);
// The axis reaches a little beyond the outline and the limits, so that a limit line on
// the range's edge is drawn whole.
constexpr double kEdgeRoom = 0.04;

}  // namespace

QChartView* CreateHistogramView(const QString& name, const QString& title) {
  auto* chart = new QChart;
  chart->setProperty(kAxisTitle, title);
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  ApplyPlotFont(chart);
  auto* view = new QChartView(chart);
  view->setObjectName(name);
  view->setAccessibleName(title);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(kLeastSize);
  return view;
}

void ClearHistogram(QChart* chart) {
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
}

void ShowHistogram(QChart* chart, const std::vector<double>& values, double nominal, double limit) {
  ClearHistogram(chart);
  const double low_limit = nominal * (1 - limit), high_limit = nominal * (1 + limit);
  double low = low_limit, high = high_limit;
  for (double value : values) {
    if (!std::isfinite(value)) continue;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  if (!(high > low) || !std::isfinite(low) || !std::isfinite(high)) return;
  std::vector<int> counts(kHistogramBins, 0);
  const double width = (high - low) / kHistogramBins;
  for (double value : values) {
    if (!std::isfinite(value)) continue;
    const int bin = std::clamp(static_cast<int>((value - low) / width), 0, kHistogramBins - 1);
    ++counts[bin];
  }
  const int most = std::max(1, *std::max_element(counts.begin(), counts.end()));

  auto* outline = new QLineSeries;
  outline->setObjectName(QStringLiteral("Histogram"));
  outline->append(low, 0);
  for (int bin = 0; bin < kHistogramBins; ++bin) {
    outline->append(low + bin * width, counts[bin]);
    outline->append(low + (bin + 1) * width, counts[bin]);
  }
  outline->append(high, 0);
  chart->addSeries(outline);

  // Round values on both axes: the figure with SI prefixes, as the tables write it, and
  // whole counts.
  auto* x_axis = new QCategoryAxis;
  const double room = (high - low) * kEdgeRoom;
  x_axis->setRange(low - room, high + room);
  x_axis->setStartValue(low - room);
  x_axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  x_axis->setTruncateLabels(false);
  for (const calc::AxisTick& tick : calc::LinearTicks(low - room, high + room, kMostValueLabels,
                                                      calc::TickLabels::kSiPrefixed)) {
    x_axis->append(QString::fromStdU16String(tick.label), tick.value);
  }
  x_axis->setTitleText(chart->property(kAxisTitle).toString());
  auto* y_axis = new QValueAxis;
  const double top = most * 1.05;
  y_axis->setRange(0, top);
  y_axis->setTickType(QValueAxis::TicksDynamic);
  y_axis->setTickAnchor(0);
  y_axis->setTickInterval(std::max(1.0, calc::NiceStep(top, kMostCountLabels).Value()));
  y_axis->setLabelFormat(QStringLiteral("%d"));
  y_axis->setTruncateLabels(false);
  y_axis->setTitleText(QStringLiteral("試行数"));
  chart->addAxis(x_axis, Qt::AlignBottom);
  chart->addAxis(y_axis, Qt::AlignLeft);
  outline->attachAxis(x_axis);
  outline->attachAxis(y_axis);

  for (double x : {low_limit, high_limit}) {
    auto* line = new QLineSeries;
    line->setObjectName(QStringLiteral("YieldLimit"));
    line->append(x, 0);
    line->append(x, top);
    line->setPen(QPen(QColor(200, 40, 40), 1.5, Qt::DashLine));
    chart->addSeries(line);
    line->attachAxis(x_axis);
    line->attachAxis(y_axis);
  }
  ApplyPlotFont(chart);
}

}  // namespace ui
