#include "ui/printing/print_geometry.h"

#include <QPageLayout>
#include <QPrinter>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "calc/numeric/float_ops.h"

namespace ui {

QPoint PrinterPhysicalOffset(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const int resolution = printer.resolution();
  const QRect paper = layout.fullRectPixels(resolution);
  const QRect printable = layout.paintRectPixels(resolution);
  return printable.topLeft() - paper.topLeft();
}

int LayoutOrigin(double margin_mm, int resolution_dpi, int physical_offset) {
  const double pixels_per_mm = calc::Div(static_cast<double>(resolution_dpi), 25.4);
  const std::int64_t margin = calc::RoundToInt64(calc::Mul(margin_mm, pixels_per_mm));
  const std::int64_t origin = margin - physical_offset;
  return static_cast<int>(std::clamp<std::int64_t>(origin, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace ui
