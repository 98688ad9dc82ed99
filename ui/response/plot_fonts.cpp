#include "ui/response/plot_fonts.h"

#include <QAbstractAxis>
#include <QChart>
#include <QFontInfo>
#include <QLegend>

namespace ui {
namespace {

constexpr int kLabelPixels = 11;
constexpr int kTitlePixels = 12;

}  // namespace

QFont PlotFont(int pixel_size) {
  QFont wanted;
  wanted.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
  wanted.setStyleHint(QFont::SansSerif);
  wanted.setPixelSize(pixel_size);
  QFont font = wanted;
  font.setFamilies({QFontInfo(wanted).family()});
  return font;
}

void ApplyPlotFont(QChart* chart) {
  const QFont labels = PlotFont(kLabelPixels);
  const QFont titles = PlotFont(kTitlePixels);
  chart->setTitleFont(titles);
  chart->legend()->setFont(labels);
  for (QAbstractAxis* axis : chart->axes()) {
    axis->setLabelsFont(labels);
    axis->setTitleFont(titles);
  }
}

}  // namespace ui
