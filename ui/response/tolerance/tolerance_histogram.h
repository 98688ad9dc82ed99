// A histogram of one figure over a Monte Carlo run's trials, as a step outline, with the
// yield limits marked as vertical lines. Its axes carry round values (calc::LinearTicks)
// and titles, the figure's and the number of trials, that are never cut short.
#ifndef KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_HISTOGRAM_H
#define KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_HISTOGRAM_H

#include <QString>
#include <vector>

class QChart;
class QChartView;

namespace ui {

inline constexpr int kHistogramBins = 40;

// An empty chart view named `name`, whose figure axis will be titled `title`.
QChartView* CreateHistogramView(const QString& name, const QString& title);

// Draws `values` in kHistogramBins bins over their range widened to take in the limits
// nominal (1 - limit) ... nominal (1 + limit), which are drawn as vertical lines.
void ShowHistogram(QChart* chart, const std::vector<double>& values, double nominal, double limit);
void ClearHistogram(QChart* chart);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_HISTOGRAM_H
