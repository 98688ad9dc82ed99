// Where the report lands on the paper: the margins and the printer's unprintable edges.
#ifndef KORVANE_UI_PRINTING_PRINT_GEOMETRY_H
#define KORVANE_UI_PRINTING_PRINT_GEOMETRY_H

#include <QPoint>

class QPrinter;

namespace ui {

// Distances in millimetres from the paper's top and left edges to the first line's top and
// every line's left edge. The margins do not shorten the printable width or height.
inline constexpr double PrintMarginTop = 20.0;
inline constexpr double PrintMarginLeft = 20.0;

// The distances in device pixels from the paper's left and top edges to the printable area,
// the corner where a painter on `printer` has its origin.
// A printer that prints to the paper's edges -> (0, 0); at 600 dpi, a printable area
// 12 points in from the left edge and 18 points down from the top -> (100, 150).
QPoint PrinterPhysicalOffset(const QPrinter& printer);

// The layout origin along one axis, in device pixels from the printable area's corner:
// round-half-to-even(margin_mm x (resolution_dpi / 25.4)) - physical_offset.
// LayoutOrigin(20, 600, 0) -> 472; LayoutOrigin(20, 600, 150) -> 322;
// LayoutOrigin(2.5, 127, 0) -> 12 (12.5 rounds to even).
int LayoutOrigin(double margin_mm, int resolution_dpi, int physical_offset);

}  // namespace ui

#endif  // KORVANE_UI_PRINTING_PRINT_GEOMETRY_H
