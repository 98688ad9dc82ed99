#include "ui/response/response_plot.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "calc/text/axis_ticks.h"
#include "calc/text/quantity_format.h"
#include "ui/response/picture_decimation.h"
#include "ui/response/plot_fonts.h"

namespace ui {

// A chart view that reports the wheel, the keys, the double click and the pointer in the
// values of its axes; the box zoom is the view's own horizontal rubber band.
class ZoomChartView : public QChartView {
 public:
  enum Axes { kFrequency = 1, kValue = 2, kBoth = 3 };

  explicit ZoomChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setFocusPolicy(Qt::StrongFocus);
    // A keyboard user must see which plot the keys act on.
    setStyleSheet(
        QStringLiteral("QChartView { border: 2px solid transparent }"
                       "QChartView:focus { border: 2px solid palette(highlight) }"));
  }

  std::function<void(QPointF about, double factor, int axes)> on_zoom;
  std::function<void(double x_fraction, double y_fraction)> on_pan;
  std::function<void()> on_reset;
  std::function<void(double frequency_hz)> on_pointer;

 protected:
  void wheelEvent(QWheelEvent* event) override {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0.0 && on_zoom) {
      // One notch shows 80 % of the span; the other way 125 %.
      on_zoom(ValueAt(event->position()), std::pow(kZoomStep, steps),
              (event->modifiers() & Qt::ControlModifier) ? kBoth : AxisAt(event->position()));
    }
    event->accept();
  }
  void keyPressEvent(QKeyEvent* event) override {
    const bool both = (event->modifiers() & Qt::ControlModifier) != 0;
    const QPointF centre = chart()->mapToValue(chart()->plotArea().center());
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:  // the + key without Shift
        if (on_zoom) on_zoom(centre, kZoomStep, both ? kBoth : kFrequency);
        break;
      case Qt::Key_Minus:
      case Qt::Key_Underscore:
        if (on_zoom) on_zoom(centre, 1.0 / kZoomStep, both ? kBoth : kFrequency);
        break;
      case Qt::Key_0:
        if (on_reset) on_reset();
        break;
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
        if (on_pan) {
          const double step = kPanStep;
          on_pan(event->key() == Qt::Key_Left    ? -step
                 : event->key() == Qt::Key_Right ? step
                                                 : 0.0,
                 event->key() == Qt::Key_Down ? -step
                 : event->key() == Qt::Key_Up ? step
                                              : 0.0);
        }
        break;
      default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (on_reset) on_reset();
    event->accept();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (on_pointer && chart()->plotArea().contains(ChartPoint(event->position()))) {
      on_pointer(ValueAt(event->position()).x());
    }
    QChartView::mouseMoveEvent(event);
  }

 private:
  static constexpr double kZoomStep = 0.8;
  static constexpr double kPanStep = 0.1;  // of the span

  QPointF ChartPoint(QPointF view_position) const {
    return chart()->mapFromScene(mapToScene(view_position.toPoint()));
  }
  QPointF ValueAt(QPointF view_position) const {
    return chart()->mapToValue(ChartPoint(view_position));
  }
  // The value axis to the left of the plot area, the frequency axis below it and the
  // plot area itself (whose frequency is what a designer zooms most).
  int AxisAt(QPointF view_position) const {
    const QPointF point = ChartPoint(view_position);
    const QRectF area = chart()->plotArea();
    return point.x() < area.left() && point.y() >= area.top() && point.y() <= area.bottom()
               ? kValue
               : kFrequency;
  }
};

namespace {

struct CurveStyle {
  QString name;
  QColor color;
  Qt::PenStyle pen;
};

CurveStyle StyleOf(CurveKind kind) {
  switch (kind) {
    case CurveKind::kTarget:
      return {QStringLiteral("目標"), QColor(110, 110, 110), Qt::DashLine};
    case CurveKind::kIdeal:
      return {QStringLiteral("回路 (理想オペアンプ)"), QColor(31, 90, 180), Qt::SolidLine};
    case CurveKind::kOpAmp:
      return {QStringLiteral("回路 (オペアンプ)"), QColor(200, 60, 30), Qt::SolidLine};
  }
  return {};
}

constexpr int kMargin = 4;           // around each chart, in pixels
constexpr int kMostValueTicks = 11;  // 10 dB steps over 100 dB
constexpr int kMostFrequencyLabels = 10;
constexpr int kPlotPixels = 11;
// Right of the plot area: half a frequency label, which may sit on its edge.
constexpr int kRightMargin = 18;

// 20 log10(1/sqrt 2): where the -3 dB frequencies lie below the peak.
const double kHalfPowerDb = 20.0 * std::log10(std::sqrt(0.5));

// Points [begin, end) of x and y; those without a finite value are left out.
QList<QPointF> Points(const std::vector<double>& x, const std::vector<double>& y, std::size_t begin,
                      std::size_t end) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(end - begin));
  for (std::size_t i = begin; i < end; ++i) {
    if (std::isfinite(y[i])) points.append(QPointF(x[i], y[i]));
  }
  return points;
}

QLineSeries* MakeLine(const std::vector<double>& x, const std::vector<double>& y) {
  auto* series = new QLineSeries;
  series->replace(Points(x, y, 0, x.size()));
  return series;
}

void HideFromLegend(QChart* chart, QAbstractSeries* series) {
  for (QLegendMarker* marker : chart->legend()->markers(series)) marker->setVisible(false);
}

// Linear in log frequency between the two grid points around `f`.
double Interpolate(const std::vector<double>& grid, const std::vector<double>& values, double f) {
  if (grid.size() < 2 || !(f >= grid.front() && f <= grid.back())) return calc::kNoValue;
  const auto upper = std::upper_bound(grid.begin(), grid.end(), f);
  const std::size_t i =
      upper == grid.end() ? grid.size() - 1 : static_cast<std::size_t>(upper - grid.begin());
  const std::size_t j = i == 0 ? 0 : i - 1;
  if (i == j) return values[i];
  const double t = std::log(f / grid[j]) / std::log(grid[i] / grid[j]);
  // Across a phase wrap the nearer point is the better guess than a mean of +180 and -180.
  if (std::abs(values[i] - values[j]) > 180.0) return t < 0.5 ? values[j] : values[i];
  return values[j] + t * (values[i] - values[j]);
}

// Index ranges [begin, end) of `phase` between jumps of more than 180 degrees.
std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> PhasePieces(
    const std::vector<double>& phase) {
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> pieces;
  std::ptrdiff_t begin = 0;
  const auto size = static_cast<std::ptrdiff_t>(phase.size());
  for (std::ptrdiff_t i = 1; i < size; ++i) {
    if (std::abs(phase[static_cast<std::size_t>(i)] - phase[static_cast<std::size_t>(i - 1)]) >
        180.0) {
      pieces.emplace_back(begin, i);
      begin = i;
    }
  }
  if (begin < size) pieces.emplace_back(begin, size);
  return pieces;
}

QString Displayed(double value) {
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

}  // namespace

ResponsePlot::ResponsePlot(QWidget* parent) : QWidget(parent) {
  plots_ = new QWidget(this);
  plots_->setObjectName(QStringLiteral("ResponsePlots"));
  // What a picture of the plots names as its font, in every group it writes.
  plots_->setFont(PlotFont(kPlotPixels));
  gain_view_ = new ZoomChartView(new QChart, plots_);
  phase_view_ = new ZoomChartView(new QChart, plots_);
  gain_view_->setObjectName(QStringLiteral("GainPlot"));
  phase_view_->setObjectName(QStringLiteral("PhasePlot"));
  gain_x_ = new QLogValueAxis(this);
  phase_x_ = new QLogValueAxis(this);
  gain_y_ = new QValueAxis(this);
  phase_y_ = new QValueAxis(this);
  gain_labels_ = new QCategoryAxis(this);
  phase_labels_ = new QCategoryAxis(this);

  gain_view_->chart()->addAxis(gain_x_, Qt::AlignBottom);
  phase_view_->chart()->addAxis(phase_x_, Qt::AlignBottom);
  SetUpChart(gain_view_->chart(), gain_y_, gain_labels_, QStringLiteral("利得 [dB]"));
  SetUpChart(phase_view_->chart(), phase_y_, phase_labels_, QStringLiteral("位相 [°]"));
  phase_labels_->setTitleText(QStringLiteral("周波数 [Hz]"));
  SetValueRange(phase_y_, -180.0, 180.0);
  phase_view_->chart()->legend()->hide();
  gain_view_->chart()->legend()->setAlignment(Qt::AlignTop);

  for (ZoomChartView* view : {gain_view_, phase_view_}) {
    QChart* chart = view->chart();
    view->setRenderHint(QPainter::Antialiasing);
    view->setRubberBand(QChartView::HorizontalRubberBand);
    view->setMouseTracking(true);
    view->setAccessibleName(view == gain_view_ ? QStringLiteral("利得のグラフ")
                                               : QStringLiteral("位相のグラフ"));
    view->on_zoom = [this, chart](QPointF about, double factor, int axes) {
      Zoom(chart, about, factor, axes);
    };
    view->on_pan = [this, chart](double x, double y) { Pan(chart, x, y); };
    view->on_reset = [this] { ResetZoom(); };
    view->on_pointer = [this](double f) { ShowReadoutAt(f); };
  }
  for (QLogValueAxis* axis : {gain_x_, phase_x_}) {
    connect(axis, &QLogValueAxis::rangeChanged, this, &ResponsePlot::SyncRange);
  }
  for (QChart* chart : {gain_chart(), phase_chart()}) {
    connect(chart, &QChart::plotAreaChanged, this, &ResponsePlot::AlignPlotAreas);
    // The number of labels that fit follows the plot's width.
    connect(chart, &QChart::plotAreaChanged, this, &ResponsePlot::UpdateFrequencyLabels);
  }

  auto* plots_layout = new QVBoxLayout(plots_);
  plots_layout->setContentsMargins(0, 0, 0, 0);
  plots_layout->setSpacing(0);
  plots_layout->addWidget(gain_view_, 3);
  plots_layout->addWidget(phase_view_, 2);

  readout_ = new QLabel(this);
  readout_->setObjectName(QStringLiteral("Readout"));
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  readout_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(plots_, 1);
  layout->addWidget(readout_);
  Clear();
}

void ResponsePlot::SetUpChart(QChart* chart, QValueAxis* y_axis, QCategoryAxis* labels,
                              const QString& y_title) {
  // The log axis places the curves and draws the grid between the labelled ticks; the
  // labels, which a log axis can only write at powers of ten and without prefixes, come
  // from a category axis over log10 of the frequency.
  auto* x_axis = static_cast<QLogValueAxis*>(chart->axes(Qt::Horizontal).front());
  x_axis->setBase(10.0);
  x_axis->setLabelsVisible(false);
  x_axis->setGridLineVisible(false);
  x_axis->setMinorTickCount(8);
  x_axis->setRange(1.0, 1e4);
  labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  labels->setLineVisible(false);
  labels->setTruncateLabels(false);
  chart->addAxis(labels, Qt::AlignBottom);
  y_axis->setTitleText(y_title);
  y_axis->setLabelFormat(QStringLiteral("%g"));
  y_axis->setTruncateLabels(false);
  y_axis->setTickType(QValueAxis::TicksDynamic);
  y_axis->setTickAnchor(0.0);
  chart->addAxis(y_axis, Qt::AlignLeft);
  chart->setMargins(QMargins(kMargin, kMargin, kRightMargin, kMargin));
  chart->setBackgroundRoundness(0);
  ApplyPlotFont(chart);
}

QChart* ResponsePlot::gain_chart() const { return gain_view_->chart(); }
QChart* ResponsePlot::phase_chart() const { return phase_view_->chart(); }

void ResponsePlot::Clear(const QString& why) {
  has_data_ = false;
  data_ = {};
  for (CurveSeries& curve : series_) HideCurve(curve);
  ClearGainBand();
  ClearOverlayCurve();
  gain_chart()->setTitle(why);
  pointer_hz_ = std::numeric_limits<double>::quiet_NaN();
  readout_->clear();
}

void ResponsePlot::HideCurve(CurveSeries& curve) {
  if (curve.gain == nullptr) return;
  curve.gain->hide();
  curve.markers->hide();
  for (QLineSeries* piece : curve.phase) piece->hide();
}

ResponsePlot::CurveSeries& ResponsePlot::SeriesFor(CurveKind kind) {
  // Made once and then refilled: adding and removing series costs more than the points.
  CurveSeries& curve = series_[static_cast<std::size_t>(kind)];
  if (curve.gain != nullptr) return curve;
  const CurveStyle style = StyleOf(kind);
  curve.pen = QPen(style.color, 2.0, style.pen);
  curve.gain = new QLineSeries;
  curve.gain->setName(style.name);
  curve.gain->setPen(curve.pen);
  gain_chart()->addSeries(curve.gain);
  curve.gain->attachAxis(gain_x_);
  curve.gain->attachAxis(gain_y_);

  curve.markers = new QScatterSeries;
  curve.markers->setName(style.name + QStringLiteral(" ピーク/-3 dB"));
  curve.markers->setColor(style.color);
  curve.markers->setBorderColor(style.color);
  curve.markers->setMarkerSize(8.0);
  gain_chart()->addSeries(curve.markers);
  curve.markers->attachAxis(gain_x_);
  curve.markers->attachAxis(gain_y_);
  HideFromLegend(gain_chart(), curve.markers);
  return curve;
}

void ResponsePlot::Show(const ResponseData& data) {
  gain_chart()->setTitle(QString());
  data_ = data;
  has_data_ = !data.frequencies_hz.empty();
  for (CurveSeries& curve : series_) HideCurve(curve);
  if (!has_data_) {
    readout_->clear();
    return;
  }

  double top = -1e300;
  double bottom = 1e300;
  for (const Curve& curve : data.curves) {
    CurveSeries& series = SeriesFor(curve.kind);
    series.gain->replace(Points(data.frequencies_hz, curve.gain_db, 0, data.frequencies_hz.size()));
    series.gain->show();

    // The inverting band-pass passes through 180 degrees at its peak: the phase is drawn
    // in pieces between wraps, not with a vertical line across the plot.
    const auto pieces = PhasePieces(curve.phase_deg);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (i == series.phase.size()) {
        auto* piece = new QLineSeries;
        piece->setName(StyleOf(curve.kind).name);
        piece->setPen(series.pen);
        phase_chart()->addSeries(piece);
        piece->attachAxis(phase_x_);
        piece->attachAxis(phase_y_);
        series.phase.push_back(piece);
      }
      series.phase[i]->replace(Points(data.frequencies_hz, curve.phase_deg,
                                      static_cast<std::size_t>(pieces[i].first),
                                      static_cast<std::size_t>(pieces[i].second)));
      series.phase[i]->show();
    }

    for (double g : curve.gain_db) {
      if (std::isfinite(g)) {
        top = std::max(top, g);
        bottom = std::min(bottom, g);
      }
    }

    // The peak and the -3 dB frequencies, measured, on the gain curve.
    const calc::ResponseFigures& figures = curve.figures;
    QList<QPointF> markers;
    if (std::isfinite(figures.peak_hz) && std::isfinite(figures.peak_gain_db)) {
      markers.append(QPointF(figures.peak_hz, figures.peak_gain_db));
      for (double f : {figures.low_3db_hz, figures.high_3db_hz}) {
        if (std::isfinite(f)) markers.append(QPointF(f, figures.peak_gain_db + kHalfPowerDb));
      }
    }
    series.markers->replace(markers);
    series.markers->show();
  }
  for (const CurveSeries& series : series_) {
    if (series.markers != nullptr) HideFromLegend(gain_chart(), series.markers);
  }
  // Whole tens of dB, a little headroom over the highest peak, at most 100 dB deep.
  if (top < bottom) top = bottom = 0.0;
  const double y_top = std::ceil((top + 3.0) / 10.0) * 10.0;
  const double y_bottom = std::max(std::floor(bottom / 10.0) * 10.0, y_top - 100.0);
  full_gain_ = {y_bottom, y_top};
  ResetZoom();
  // The read-out reads the new curves where the pointer was, never the old ones.
  ShowReadoutAt(pointer_hz_);
}

int ResponsePlot::VisibleSeries(QChart* chart) {
  int count = 0;
  for (const QAbstractSeries* series : chart->series()) count += series->isVisible() ? 1 : 0;
  return count;
}

void ResponsePlot::SetGainBand(const QString& name, const std::vector<double>& frequencies_hz,
                               const std::vector<double>& lower_db,
                               const std::vector<double>& upper_db) {
  ClearGainBand();
  auto* area =
      new QAreaSeries(MakeLine(frequencies_hz, upper_db), MakeLine(frequencies_hz, lower_db));
  area->upperSeries()->setParent(area);
  area->lowerSeries()->setParent(area);
  area->setObjectName(QStringLiteral("GainBand"));
  area->setName(name);
  area->setColor(QColor(31, 90, 180, 50));
  area->setBorderColor(QColor(31, 90, 180, 90));
  gain_chart()->addSeries(area);
  area->attachAxis(gain_x_);
  area->attachAxis(gain_y_);
}

void ResponsePlot::ClearGainBand() {
  for (QAbstractSeries* series : gain_chart()->series()) {
    if (series->objectName() == QStringLiteral("GainBand")) {
      gain_chart()->removeSeries(series);
      delete series;
    }
  }
}

void ResponsePlot::SetOverlayCurve(const QString& name, const std::vector<double>& frequencies_hz,
                                   const std::vector<double>& gain_db) {
  ClearOverlayCurve();
  QLineSeries* line = MakeLine(frequencies_hz, gain_db);
  line->setObjectName(QStringLiteral("OverlayCurve"));
  line->setName(name);
  QPen pen(QColor(200, 60, 20));
  pen.setWidthF(1.5);
  pen.setStyle(Qt::DashLine);
  line->setPen(pen);
  gain_chart()->addSeries(line);
  line->attachAxis(gain_x_);
  line->attachAxis(gain_y_);
}

void ResponsePlot::ClearOverlayCurve() {
  for (QAbstractSeries* series : gain_chart()->series()) {
    if (series->objectName() == QStringLiteral("OverlayCurve")) {
      gain_chart()->removeSeries(series);
      delete series;
    }
  }
}

std::pair<double, double> ResponsePlot::FrequencyRange() const {
  return {gain_x_->min(), gain_x_->max()};
}

void ResponsePlot::SetFrequencyRange(double from_hz, double to_hz) {
  if (!(from_hz > 0.0 && to_hz > from_hz) || !std::isfinite(to_hz)) return;
  gain_x_->setRange(from_hz, to_hz);  // the phase axis follows through SyncRange
}

std::pair<double, double> ResponsePlot::GainRange() const {
  return {gain_y_->min(), gain_y_->max()};
}

void ResponsePlot::ResetZoom() {
  SetValueRange(gain_y_, full_gain_.first, full_gain_.second);
  SetValueRange(phase_y_, -180.0, 180.0);
  if (data_.frequencies_hz.size() < 2) return;
  SetFrequencyRange(data_.frequencies_hz.front(), data_.frequencies_hz.back());
}

void ResponsePlot::SetValueRange(QValueAxis* axis, double min, double max) {
  axis->setRange(min, max);
  // Round steps: 10 dB or 45 degrees over the whole view, 1-2-5 steps when zoomed in.
  const double span = max - min;
  double step = calc::NiceStep(span, kMostValueTicks).Value();
  if (axis == phase_y_ && span >= 180.0) step = span >= 270.0 ? 45.0 : 30.0;
  if (step > 0.0) axis->setTickInterval(step);
}

QValueAxis* ResponsePlot::ValueAxisOf(QChart* chart) const {
  return chart == gain_chart() ? gain_y_ : phase_y_;
}

std::pair<double, double> ResponsePlot::FullValueRange(QChart* chart) const {
  return chart == gain_chart() ? full_gain_ : std::pair{-180.0, 180.0};
}

namespace {

// `span` zoomed by `factor` about `about`, kept inside `whole` and no narrower than
// `least`. Works on log10 of frequencies and on values as they are.
std::pair<double, double> Zoomed(std::pair<double, double> span, double about, double factor,
                                 std::pair<double, double> whole, double least) {
  if (!std::isfinite(about) || about < span.first || about > span.second) {
    about = (span.first + span.second) / 2;
  }
  double low = about - (about - span.first) * factor;
  double high = about + (span.second - about) * factor;
  if (high - low < least) {
    const double middle = (low + high) / 2;
    low = middle - least / 2;
    high = middle + least / 2;
  }
  const double width = std::min(high - low, whole.second - whole.first);
  low = std::clamp(low, whole.first, whole.second - width);
  return {low, low + width};
}

constexpr double kLeastDecades = 1e-5;  // about 0.002 % of frequency across the plot
constexpr double kLeastValueSpan = 1e-3;

}  // namespace

void ResponsePlot::Zoom(QChart* chart, QPointF about, double factor, int axes) {
  if (!has_data_ || !std::isfinite(factor) || factor <= 0.0) return;
  if (axes & ZoomChartView::kFrequency) {
    const auto [min, max] = FrequencyRange();
    const std::pair whole{std::log10(data_.frequencies_hz.front()),
                          std::log10(data_.frequencies_hz.back())};
    const auto [low, high] = Zoomed({std::log10(min), std::log10(max)},
                                    about.x() > 0.0 ? std::log10(about.x()) : calc::kNoValue,
                                    factor, whole, kLeastDecades);
    SetFrequencyRange(std::pow(10.0, low), std::pow(10.0, high));
  }
  if (axes & ZoomChartView::kValue) {
    QValueAxis* axis = ValueAxisOf(chart);
    const auto [low, high] = Zoomed({axis->min(), axis->max()}, about.y(), factor,
                                    FullValueRange(chart), kLeastValueSpan);
    SetValueRange(axis, low, high);
  }
}

void ResponsePlot::Pan(QChart* chart, double x_fraction, double y_fraction) {
  if (!has_data_) return;
  if (x_fraction != 0.0) {
    const auto [min, max] = FrequencyRange();
    const double shift = std::log10(max / min) * x_fraction;
    const auto [low, high] =
        Zoomed({std::log10(min) + shift, std::log10(max) + shift}, calc::kNoValue, 1.0,
               {std::log10(data_.frequencies_hz.front()), std::log10(data_.frequencies_hz.back())},
               kLeastDecades);
    SetFrequencyRange(std::pow(10.0, low), std::pow(10.0, high));
  }
  if (y_fraction != 0.0) {
    QValueAxis* axis = ValueAxisOf(chart);
    const double shift = (axis->max() - axis->min()) * y_fraction;
    const auto [low, high] = Zoomed({axis->min() + shift, axis->max() + shift}, calc::kNoValue, 1.0,
                                    FullValueRange(chart), kLeastValueSpan);
    SetValueRange(axis, low, high);
  }
}

void ResponsePlot::UpdateFrequencyLabels() {
  const auto [from, to] = FrequencyRange();
  const QFontMetrics metrics(gain_labels_->labelsFont());
  // Room for a label as wide as "10.5k" and a gap as wide again.
  const int label_width = 2 * metrics.horizontalAdvance(QStringLiteral("10.5k"));
  const std::pair<QChart*, QCategoryAxis*> plots[] = {{gain_chart(), gain_labels_},
                                                      {phase_chart(), phase_labels_}};
  for (const auto& [chart, labels] : plots) {
    const int room = static_cast<int>(chart->plotArea().width()) / std::max(label_width, 1);
    const std::vector<calc::AxisTick> ticks =
        calc::LogTicks(from, to, std::clamp(room, 2, kMostFrequencyLabels));
    for (const QString& label : labels->categoriesLabels()) labels->remove(label);
    const double low = std::log10(from), high = std::log10(to);
    labels->setStartValue(low);
    for (const calc::AxisTick& tick : ticks) {
      labels->append(QString::fromStdU16String(tick.label), std::log10(tick.value));
    }
    labels->setRange(low, high);
  }
}

QList<std::pair<double, QString>> ResponsePlot::FrequencyLabels(QChart* chart) const {
  QCategoryAxis* labels = chart == gain_chart() ? gain_labels_ : phase_labels_;
  QList<std::pair<double, QString>> ticks;
  for (const QString& label : labels->categoriesLabels()) {
    ticks.append({std::pow(10.0, labels->endValue(label)), label});
  }
  return ticks;
}

void ResponsePlot::AlignPlotAreas() {
  // The plots share one frequency axis, so their plot areas start at the same x whatever
  // the width of their value labels: the narrower one gets the difference as margin.
  QChart* charts[] = {gain_chart(), phase_chart()};
  double natural_left[2];
  for (int i = 0; i < 2; ++i) {
    natural_left[i] = charts[i]->plotArea().left() - (charts[i]->margins().left() - kMargin);
  }
  const double left = std::max(natural_left[0], natural_left[1]);
  for (int i = 0; i < 2; ++i) {
    QMargins margins = charts[i]->margins();
    const int wanted = kMargin + static_cast<int>(std::lround(left - natural_left[i]));
    if (margins.left() != wanted) {
      margins.setLeft(wanted);
      charts[i]->setMargins(margins);
    }
  }
}

void ResponsePlot::SyncRange(double min, double max) {
  if (syncing_) return;
  syncing_ = true;
  for (QLogValueAxis* axis : {gain_x_, phase_x_}) {
    if (axis->min() != min || axis->max() != max) axis->setRange(min, max);
  }
  UpdateFrequencyLabels();
  syncing_ = false;
}

void ResponsePlot::ShowReadoutAt(double frequency_hz) {
  pointer_hz_ = frequency_hz;
  if (!has_data_ || !(frequency_hz >= data_.frequencies_hz.front() &&
                      frequency_hz <= data_.frequencies_hz.back())) {
    readout_->clear();
    return;
  }
  QString text = QStringLiteral("f = %1Hz").arg(Displayed(frequency_hz));
  for (const Curve& curve : data_.curves) {
    const double gain = Interpolate(data_.frequencies_hz, curve.gain_db, frequency_hz);
    const double phase = Interpolate(data_.frequencies_hz, curve.phase_deg, frequency_hz);
    if (!std::isfinite(gain)) continue;
    text +=
        QStringLiteral("    %1: %2 dB, %3°")
            .arg(StyleOf(curve.kind).name, QString::fromStdU16String(calc::FormatFixed(gain, 0, 2)),
                 QString::fromStdU16String(calc::FormatFixed(phase, 0, 1)));
  }
  readout_->setText(text);
}

QString ResponsePlot::readout() const { return readout_->text(); }

void ResponsePlot::DrawPicture(QPainter& painter) {
  // Qt Charts draws a solid line as one segment per pair of points but a patterned one as
  // one path: for the picture, a pattern whose first dash outlasts any curve draws the
  // same line as one path. Points that the picture's pixels cannot show are left out.
  struct Kept {
    QLineSeries* series;
    QList<QPointF> points;
    QPen pen;
  };
  std::vector<Kept> kept;
  for (QChart* chart : {gain_chart(), phase_chart()}) {
    const QRectF area = chart->plotArea();
    for (QAbstractSeries* series : chart->series()) {
      auto* line = qobject_cast<QLineSeries*>(series);
      if (line == nullptr || !line->isVisible()) continue;
      kept.push_back({line, line->points(), line->pen()});
      std::vector<QPointF> pixels;
      pixels.reserve(static_cast<std::size_t>(line->count()));
      for (const QPointF& point : kept.back().points) {
        pixels.push_back(chart->mapToPosition(point, line));
      }
      const std::vector<std::size_t> drawn = PointsToDraw(pixels, area.left(), area.right());
      if (drawn.size() != pixels.size()) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(drawn.size()));
        for (std::size_t i : drawn) points.append(kept.back().points[static_cast<qsizetype>(i)]);
        line->replace(points);
      }
      if (line->pen().style() == Qt::SolidLine) {
        QPen path = line->pen();
        path.setDashPattern({1e9, 1.0});
        line->setPen(path);
      }
    }
  }
  plots_->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  for (const Kept& series : kept) {
    if (series.series->count() != series.points.size()) series.series->replace(series.points);
    series.series->setPen(series.pen);
  }
}

}  // namespace ui
