// Where the program's windows and boxes open: pure arithmetic on screen rectangles, so
// every placement rule can be checked without a window system.
//
// A ScreenRect's right and bottom are the first pixel outside (a box of width W at left L
// ends at L + W). Qt's QRect::right() is the last pixel inside; convert with
// ScreenRectFromQRect, never by hand. Coordinates are 64-bit so that no sum of
// QRect-sized values overflows.
#ifndef KORVANE_UI_MAIN_WINDOW_WINDOW_PLACEMENT_H
#define KORVANE_UI_MAIN_WINDOW_WINDOW_PLACEMENT_H

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <span>

class QWidget;

namespace ui {

struct ScreenRect {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
  std::int64_t left = 0, top = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// ScreenRectFromQRect(QRect(10, 20, 30, 40)) -> {10, 20, 40, 60}
ScreenRect ScreenRectFromQRect(const QRect& rect);
// The point, clamped into the range of int: ToQPoint({5, -7}) -> QPoint(5, -7).
QPoint ToQPoint(ScreenPoint point);

// The warning box's top-left corner: centred over the owner's outer rectangle (halves
// truncated toward zero), then pulled into the work area by four corrections in this
// order: top, bottom, left, right. A box larger than the work area therefore ends flush
// with its bottom and right edges.
//   PlaceWarningBox({0, 0, 400, 300}, 200, 100, {0, 0, 1000, 800}) -> {100, 100}
//   PlaceWarningBox({900, 0, 1300, 300}, 200, 100, {0, 0, 1000, 800}) -> {800, 100}
//   PlaceWarningBox({0, 0, 100, 100}, 50, 900, {0, 0, 1000, 800}) -> {25, -100}
ScreenPoint PlaceWarningBox(const ScreenRect& owner, std::int64_t box_width,
                            std::int64_t box_height, const ScreenRect& work_area);

// The help window's top-left corner on its first show: centred over the main window's
// outer rectangle, then kept off the work area's left and top edges only; its right or
// bottom part may leave the work area.
//   PlaceHelpWindow({100, 100, 452, 522}, 500, 320, {0, 0, 1000, 800}) -> {26, 151}
//   PlaceHelpWindow({0, 0, 352, 422}, 500, 320, {0, 0, 1000, 800}) -> {0, 51}
ScreenPoint PlaceHelpWindow(const ScreenRect& main_window, std::int64_t help_width,
                            std::int64_t help_height, const ScreenRect& work_area);

// A window centred in the work area, its left and top edges never outside it.
//   CentreInWorkArea(352, 392, {0, 0, 1280, 1024}) -> {464, 316}
//   CentreInWorkArea(2000, 392, {0, 0, 1280, 1024}) -> {0, 316}
ScreenPoint CentreInWorkArea(std::int64_t width, std::int64_t height, const ScreenRect& work_area);

// The index of the screen that shares the largest area with `window`; when it lies on
// none, the screen nearest to it; -1 when there are no screens. Ties go to the earlier.
//   NearestScreenIndex({900, 0, 1300, 300}, {{0, 0, 1000, 800}, {1000, 0, 2000, 800}}) -> 1
//   NearestScreenIndex({-500, 0, -100, 300}, {{0, 0, 1000, 800}, {1000, 0, 2000, 800}}) -> 0
int NearestScreenIndex(const ScreenRect& window, std::span<const ScreenRect> screens);

// The screens' side of placement, the one function here that asks the window system:
// the work area (the screen less panels and docks) of the screen that `window` lies on,
// the one sharing the largest area with its frame (NearestScreenIndex), else the nearest
// one. Without a window, the primary screen's.
QRect MonitorWorkArea(const QWidget* window);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_WINDOW_PLACEMENT_H
