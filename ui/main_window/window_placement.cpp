#include "ui/main_window/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include <algorithm>
#include <limits>

namespace ui {
namespace {

std::int64_t Width(const ScreenRect& r) { return r.right - r.left; }
std::int64_t Height(const ScreenRect& r) { return r.bottom - r.top; }

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Length of the overlap of [a0, a1) and [b0, b1), 0 when they do not meet.
std::int64_t Overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

// Gap between [a0, a1) and [b0, b1), 0 when they meet.
std::int64_t Gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  return std::max<std::int64_t>({0, b0 - a1, a0 - b1});
}

}  // namespace

ScreenRect ScreenRectFromQRect(const QRect& rect) {
  const std::int64_t left = rect.x();
  const std::int64_t top = rect.y();
  return {left, top, left + rect.width(), top + rect.height()};
}

QPoint ToQPoint(ScreenPoint point) { return {ClampToInt(point.left), ClampToInt(point.top)}; }

ScreenPoint PlaceWarningBox(const ScreenRect& owner, std::int64_t box_width,
                            std::int64_t box_height, const ScreenRect& work_area) {
  // Integer division truncates toward zero, as the centring rule asks (-5 / 2 == -2).
  std::int64_t top = owner.top + (Height(owner) - box_height) / 2;
  std::int64_t left = owner.left + (Width(owner) - box_width) / 2;
  // The order matters: bottom and right win over top and left for an oversized box.
  if (top < work_area.top) top = work_area.top;
  if (top > work_area.bottom - box_height) top = work_area.bottom - box_height;
  if (left < work_area.left) left = work_area.left;
  if (left > work_area.right - box_width) left = work_area.right - box_width;
  return {left, top};
}

ScreenPoint PlaceHelpWindow(const ScreenRect& main_window, std::int64_t help_width,
                            std::int64_t help_height, const ScreenRect& work_area) {
  std::int64_t left = main_window.left + (Width(main_window) - help_width) / 2;
  std::int64_t top = main_window.top + (Height(main_window) - help_height) / 2;
  left = std::max(left, work_area.left);
  top = std::max(top, work_area.top);
  return {left, top};
}

ScreenPoint CentreInWorkArea(std::int64_t width, std::int64_t height, const ScreenRect& work_area) {
  const std::int64_t left = work_area.left + (Width(work_area) - width) / 2;
  const std::int64_t top = work_area.top + (Height(work_area) - height) / 2;
  return {std::max(left, work_area.left), std::max(top, work_area.top)};
}

int NearestScreenIndex(const ScreenRect& window, std::span<const ScreenRect> screens) {
  // Areas and squared distances in double: exact enough to compare, and no overflow.
  int best = -1;
  double best_area = 0;
  for (std::size_t i = 0; i < screens.size(); ++i) {
    const ScreenRect& s = screens[i];
    const double area = static_cast<double>(Overlap(window.left, window.right, s.left, s.right)) *
                        static_cast<double>(Overlap(window.top, window.bottom, s.top, s.bottom));
    if (area > best_area) {
      best_area = area;
      best = static_cast<int>(i);
    }
  }
  if (best >= 0) return best;

  // On no screen: the one at the shortest distance (compared squared).
  double best_distance = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < screens.size(); ++i) {
    const ScreenRect& s = screens[i];
    const auto dx = static_cast<double>(Gap(window.left, window.right, s.left, s.right));
    const auto dy = static_cast<double>(Gap(window.top, window.bottom, s.top, s.bottom));
    const double distance = dx * dx + dy * dy;
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

QRect MonitorWorkArea(const QWidget* window) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (window != nullptr && !screens.isEmpty()) {
    std::vector<ScreenRect> areas;
    areas.reserve(static_cast<std::size_t>(screens.size()));
    for (const QScreen* screen : screens) areas.push_back(ScreenRectFromQRect(screen->geometry()));
    const int index = NearestScreenIndex(ScreenRectFromQRect(window->frameGeometry()), areas);
    if (index >= 0) return screens[index]->availableGeometry();
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary != nullptr ? primary->availableGeometry() : QRect();
}

}  // namespace ui
