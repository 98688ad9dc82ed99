#include "ui/response/picture_decimation.h"

#include <algorithm>
#include <cmath>

namespace ui {

std::vector<std::size_t> PointsToDraw(const std::vector<QPointF>& pixels, double left,
                                      double right) {
  const std::size_t count = pixels.size();
  std::size_t begin = 0;
  while (begin < count && pixels[begin].x() < left) ++begin;
  if (begin > 0) --begin;  // the line in from the left edge
  std::size_t end = begin;
  while (end < count && pixels[end].x() <= right) ++end;
  if (end < count) ++end;  // the line out over the right edge

  std::vector<std::size_t> drawn;
  for (std::size_t first = begin; first < end;) {
    const double column = std::floor(pixels[first].x());
    std::size_t lowest = first, highest = first, next = first;
    // At least one point per step, so that a position without a value cannot stall it.
    do {
      if (pixels[next].y() < pixels[lowest].y()) lowest = next;
      if (pixels[next].y() > pixels[highest].y()) highest = next;
      ++next;
    } while (next < end && std::floor(pixels[next].x()) == column);
    std::size_t picks[] = {first, lowest, highest, next - 1};
    std::sort(std::begin(picks), std::end(picks));
    for (std::size_t pick : picks) {
      if (drawn.empty() || drawn.back() != pick) drawn.push_back(pick);
    }
    first = next;
  }
  return drawn;
}

}  // namespace ui
