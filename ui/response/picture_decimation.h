// Which points of a curve a picture needs: a picture has a pixel's resolution, and an SVG
// written with every point of a zoomed-in curve carries thousands of invisible ones.
#ifndef KORVANE_UI_RESPONSE_PICTURE_DECIMATION_H
#define KORVANE_UI_RESPONSE_PICTURE_DECIMATION_H

#include <QPointF>
#include <cstddef>
#include <vector>

namespace ui {

// The indices, ascending, of the points (in pixels, x ascending) to draw between the
// picture's `left` and `right` edges: the points inside, and the nearest one outside each
// edge, whose line still crosses it; of several points in one pixel column only the first,
// the lowest, the highest and the last, which cover the same pixels as all of them.
//   x 0, 0.2, 0.5, 0.7, 3 with y 5, 1, 9, 4, 0 over 0 ... 10 -> 0, 1, 2, 3, 4
//   x -5, -3, 1, 2, 12, 14 over 0 ... 10 -> 1, 2, 3, 4
//   x 1.1, 1.2, 1.3, 1.4, 1.5, 1.6 with y 3, 0, 5, 9, 4, 2 -> 0, 1, 3, 5
std::vector<std::size_t> PointsToDraw(const std::vector<QPointF>& pixels, double left,
                                      double right);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_PICTURE_DECIMATION_H
