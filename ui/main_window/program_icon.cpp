#include "ui/main_window/program_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

namespace ui {
namespace {

// The plotted response: |H| of a band-pass stage with this Q over two decades around fo.
constexpr double kPeakQ = 4.0;
constexpr double kDecades = 2.0;
constexpr double kFloorDb = -40.0;

double MagnitudeDb(double frequency_ratio) {
  const double detune = frequency_ratio - 1.0 / frequency_ratio;
  return -10.0 * std::log10(1.0 + kPeakQ * kPeakQ * detune * detune);
}

void PaintIcon(QPainter& p, const QRectF& area) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(area, Qt::white);

  const double size = std::min(area.width(), area.height());
  const QRectF plot(area.center().x() - size / 2, area.center().y() - size / 2, size, size);

  // Logarithmic grid: a line at each of 1..9 per decade across, one per 10 dB down.
  const double grid_width = std::max(1.0, size / 64);
  QPen grid(QColor(200, 200, 200), grid_width);
  grid.setCosmetic(false);
  p.setPen(grid);
  // A one-pixel line on a pixel's centre stays one sharp pixel wide, not two grey ones.
  const auto sharp = [grid_width](double at) {
    return grid_width == 1.0 ? std::floor(at) + 0.5 : at;
  };
  const int steps_per_decade = size >= 32 ? 9 : 1;
  for (int decade = 0; decade < static_cast<int>(kDecades); ++decade) {
    for (int k = 1; k <= steps_per_decade; ++k) {
      const int multiple = steps_per_decade == 9 ? k : 1;
      const double x =
          sharp(plot.left() + (decade + std::log10(multiple)) / kDecades * plot.width());
      p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
  }
  const double right = sharp(plot.right() - 1.0);
  p.drawLine(QPointF(right, plot.top()), QPointF(right, plot.bottom()));
  for (int db = 0; db >= static_cast<int>(kFloorDb); db -= 10) {
    const double y =
        sharp(std::min(plot.top() + (db / kFloorDb) * plot.height(), plot.bottom() - 1.0));
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }

  // The peak, with a little room above it so the line is not cut by the edge.
  QPen curve(Qt::black, std::max(1.0, size / 20));
  curve.setCapStyle(Qt::RoundCap);
  curve.setJoinStyle(Qt::RoundJoin);
  p.setPen(curve);
  const double top = plot.top() + size * 0.08;
  const double height = plot.bottom() - top;
  QPainterPath path;
  const int points = 96;
  for (int i = 0; i <= points; ++i) {
    const double position = static_cast<double>(i) / points;
    const double ratio = std::pow(10.0, (position - 0.5) * kDecades);
    const double db = std::max(MagnitudeDb(ratio), kFloorDb);
    const QPointF point(plot.left() + position * plot.width(), top + (db / kFloorDb) * height);
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  p.drawPath(path);
  p.restore();
}

class ProgramIconEngine : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
             QIcon::State /*state*/) override {
    PaintIcon(*painter, rect);
  }

  // Each size is drawn once: the window system asks for every size whenever a window's
  // icon is set, and the application and the main window both set it.
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const auto key = std::make_pair(size.width(), size.height());
    if (const auto found = cache_->find(key); found != cache_->end()) return found->second;
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    {
      QPainter painter(&pixmap);
      paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    }
    cache_->emplace(key, pixmap);
    return pixmap;
  }

  QIconEngine* clone() const override { return new ProgramIconEngine(*this); }  // shares the cache
  QString key() const override { return QStringLiteral("KorvaneProgramIcon"); }
  // The window system is handed every listed size at start-up; larger pictures come from
  // the scalable icon that the desktop entry names.
  QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
    return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
  }

 private:
  std::shared_ptr<std::map<std::pair<int, int>, QPixmap>> cache_ =
      std::make_shared<std::map<std::pair<int, int>, QPixmap>>();
};

}  // namespace

QIcon ProgramIcon() {
  static const QIcon icon(new ProgramIconEngine);  // one engine, one cache, for every window
  return icon;
}

}  // namespace ui
