#include "ui/printing/print_job.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "ui/printing/print_font.h"
#include "ui/printing/print_geometry.h"
#include "ui/printing/printer_text_file.h"

namespace ui {

namespace {

const char kNotPrinting[] = "Printer is not currently printing";

// The room from `origin` to the end of a printable extent, in device pixels.
int SpanFrom(int origin, int extent) {
  const std::int64_t span = static_cast<std::int64_t>(extent) - origin;
  return static_cast<int>(std::clamp<std::int64_t>(span, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Draws the text on an active painter: origin at the margins, the print font, the layout.
void LayOut(QPainter& painter, QPrinter& printer, const QString& text) {
  // The vertical resolution serves both directions, as printer fonts are scaled by it.
  const int resolution = printer.logicalDpiY();
  const QPoint offset = PrinterPhysicalOffset(printer);
  const int left = LayoutOrigin(PrintMarginLeft, resolution, offset.x());
  const int top = LayoutOrigin(PrintMarginTop, resolution, offset.y());
  painter.translate(left, top);

  painter.setFont(PrintFont());
  // Black, not the desktop's window-text colour: a dark desktop theme must not print
  // white text on white paper.
  painter.setPen(Qt::black);
  const FontTextMeasure measure(painter.fontMetrics());

  // The layout ends where the printable area ends: text placed past it would be lost.
  PrinterTextFile file(painter, measure, SpanFrom(left, printer.width()),
                       SpanFrom(top, printer.height()), [&printer] {
                         if (!printer.newPage()) throw PrintError(kNotPrinting);
                       });
  file.Write(text + QLatin1Char('\n'));
}

}  // namespace

void PrintText(QPrinter& printer, const QString& text) {
  printer.setDocName(kPrintJobTitle);
  QPainter painter;
  if (!painter.begin(&printer)) throw PrintError(kNotPrinting);
  painter.save();
  try {
    LayOut(painter, printer, text);
  } catch (...) {
    painter.restore();
    printer.abort();
    painter.end();
    throw;
  }
  painter.restore();
  if (!painter.end()) throw PrintError(kNotPrinting);
}

}  // namespace ui
