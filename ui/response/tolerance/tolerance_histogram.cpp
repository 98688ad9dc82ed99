#include "ui/response/tolerance/tolerance_histogram.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace ui {

QChartView* CreateHistogramView(const QString& name, const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  auto* view = new QChartView(chart);
  view->setObjectName(name);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumHeight(160);
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

  auto* x_axis = new QValueAxis;
  x_axis->setRange(low, high);
  x_axis->setLabelFormat(QStringLiteral("%.4g"));
  x_axis->setTickCount(5);
  auto* y_axis = new QValueAxis;
  y_axis->setRange(0, most * 1.05);
  y_axis->setLabelFormat(QStringLiteral("%d"));
  chart->addAxis(x_axis, Qt::AlignBottom);
  chart->addAxis(y_axis, Qt::AlignLeft);
  outline->attachAxis(x_axis);
  outline->attachAxis(y_axis);

  for (double x : {low_limit, high_limit}) {
    auto* line = new QLineSeries;
    line->setObjectName(QStringLiteral("YieldLimit"));
    line->append(x, 0);
    line->append(x, most * 1.05);
    line->setPen(QPen(QColor(200, 40, 40), 1.5, Qt::DashLine));
    chart->addSeries(line);
    line->attachAxis(x_axis);
    line->attachAxis(y_axis);
  }
}

}  // namespace ui
