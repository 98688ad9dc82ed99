// The gain plot (dB) above the phase plot (degrees), over one logarithmic frequency axis
// that both follow. The mouse wheel zooms about the pointer: over the frequency or the
// value axis that axis, inside a plot the frequency, with Ctrl both. A box dragged across
// a plot zooms to it, a double click goes back to the whole view. A plot with the keyboard
// focus zooms the frequency with + and -, both axes with Ctrl, pans with the arrow keys
// and goes back with 0. A line under the plots reads frequency, gain and phase of every
// curve at the pointer. Frequencies are labelled with SI prefixes (calc::LogTicks).
#ifndef KORVANE_UI_RESPONSE_RESPONSE_PLOT_H
#define KORVANE_UI_RESPONSE_RESPONSE_PLOT_H

#include <QPen>
#include <QWidget>
#include <array>
#include <limits>
#include <vector>

#include "ui/response/response_data.h"

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPainter;
class QScatterSeries;
class QLogValueAxis;
class QValueAxis;

namespace ui {

class ZoomChartView;

class ResponsePlot : public QWidget {
  Q_OBJECT

 public:
  explicit ResponsePlot(QWidget* parent = nullptr);

  // Draws `data`'s curves and markers over its whole grid.
  void Show(const ResponseData& data);
  // Removes every curve, marker and band and the read-out: there is nothing to show, for
  // the reason `why` shown in the plot's title.
  void Clear(const QString& why = QStringLiteral("結果がありません"));

  // A shaded band on the gain plot between `lower_db` and `upper_db` (one value per
  // frequency), named in the legend; replaces an earlier band. Drawn behind the curves.
  void SetGainBand(const QString& name, const std::vector<double>& frequencies_hz,
                   const std::vector<double>& lower_db, const std::vector<double>& upper_db);
  void ClearGainBand();

  // One more gain curve drawn dashed over the others, named in the legend (a set of parts
  // being compared with the circuit shown); replaces an earlier one. Clear removes it too.
  void SetOverlayCurve(const QString& name, const std::vector<double>& frequencies_hz,
                       const std::vector<double>& gain_db);
  void ClearOverlayCurve();

  // The frequency range shown, and setting it (both plots follow).
  std::pair<double, double> FrequencyRange() const;
  void SetFrequencyRange(double from_hz, double to_hz);
  // The gain range shown, in dB.
  std::pair<double, double> GainRange() const;
  // Back to the whole grid and the whole gain and phase.
  void ResetZoom();

  // The frequency labels under a plot, as shown: (frequency, label) per tick.
  QList<std::pair<double, QString>> FrequencyLabels(QChart* chart) const;

  // Draws the plots as shown into `painter` for a picture (PNG or SVG): each curve as
  // one path and with only the points that the picture's pixels can show.
  void DrawPicture(QPainter& painter);

  QChart* gain_chart() const;
  QChart* phase_chart() const;
  // The plots without the read-out: what an exported picture shows.
  QWidget* plots() const { return plots_; }
  QString readout() const;
  // The read-out for the pointer at `frequency_hz`.
  void ShowReadoutAt(double frequency_hz);

  // The series shown (hidden ones are kept for the next result).
  static int VisibleSeries(QChart* chart);

 private:
  // One curve's series: gain, phase in pieces between wraps, markers on the gain.
  struct CurveSeries {
    QPen pen;
    QLineSeries* gain = nullptr;
    std::vector<QLineSeries*> phase;
    QScatterSeries* markers = nullptr;
  };
  CurveSeries& SeriesFor(CurveKind kind);
  static void HideCurve(CurveSeries& curve);
  void SetUpChart(QChart* chart, QValueAxis* y_axis, QCategoryAxis* labels, const QString& y_title);
  void SyncRange(double min, double max);
  void AlignPlotAreas();
  void UpdateFrequencyLabels();
  // Zooms `chart`'s axes named in `axes` (1 frequency, 2 value, 3 both) by `factor` of
  // their span about `about` (frequency, value), within the whole view.
  void Zoom(QChart* chart, QPointF about, double factor, int axes);
  // Moves `chart`'s view by fractions of its spans, within the whole view.
  void Pan(QChart* chart, double x_fraction, double y_fraction);
  QValueAxis* ValueAxisOf(QChart* chart) const;
  std::pair<double, double> FullValueRange(QChart* chart) const;
  // Sets a value axis' range with round steps between its ticks.
  void SetValueRange(QValueAxis* axis, double min, double max);

  ResponseData data_;
  std::array<CurveSeries, kCurveKinds> series_;
  bool has_data_ = false;
  QWidget* plots_ = nullptr;
  ZoomChartView* gain_view_ = nullptr;
  ZoomChartView* phase_view_ = nullptr;
  QLogValueAxis* gain_x_ = nullptr;
  QLogValueAxis* phase_x_ = nullptr;
  QValueAxis* gain_y_ = nullptr;
  QValueAxis* phase_y_ = nullptr;
  QCategoryAxis* gain_labels_ = nullptr;  // the frequency labels under each plot
  QCategoryAxis* phase_labels_ = nullptr;
  std::pair<double, double> full_gain_{-100.0, 10.0};  // the gain range of the whole view
  QLabel* readout_ = nullptr;
  double pointer_hz_ = std::numeric_limits<double>::quiet_NaN();  // where the read-out reads
  bool syncing_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_PLOT_H
