// The gain plot (dB) above the phase plot (degrees), over one logarithmic frequency axis
// that both follow: the mouse wheel zooms about the pointer, a box dragged across a plot
// zooms to it, a double click goes back to the full range. A line under the plots reads
// frequency, gain and phase of every curve at the pointer.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_PLOT_H
#define KORVANE_UI_RESPONSE_RESPONSE_PLOT_H

#include <QPen>
#include <QWidget>
#include <array>
#include <vector>

#include "ui/response/response_data.h"

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
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
  // Removes every curve, marker and band: there is nothing to show.
  void Clear();

  // A shaded band on the gain plot between `lower_db` and `upper_db` (one value per
  // frequency), named in the legend; replaces an earlier band. Drawn behind the curves.
  void SetGainBand(const QString& name, const std::vector<double>& frequencies_hz,
                   const std::vector<double>& lower_db, const std::vector<double>& upper_db);
  void ClearGainBand();

  // The frequency range shown, and setting it (both plots follow).
  std::pair<double, double> FrequencyRange() const;
  void SetFrequencyRange(double from_hz, double to_hz);
  // Back to the whole grid.
  void ResetZoom();

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
  void SetUpChart(QChart* chart, QValueAxis* y_axis, const QString& y_title);
  void SyncRange(double min, double max);
  void AlignPlotAreas();
  void ZoomAbout(double frequency_hz, double factor);

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
  QLabel* readout_ = nullptr;
  bool syncing_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_PLOT_H
