#include "ui/main_window/tab_order.h"

namespace ui {

std::optional<std::size_t> NextInTabOrder(std::span<const bool> can_take_tab_focus,
                                          std::size_t from, TabDirection direction) {
  const std::size_t count = can_take_tab_focus.size();
  if (from >= count) return std::nullopt;
  const std::size_t step = direction == TabDirection::kForward ? 1 : count - 1;
  std::size_t index = from;
  for (std::size_t visited = 0; visited < count; ++visited) {
    index = (index + step) % count;
    if (can_take_tab_focus[index]) return index;
  }
  return std::nullopt;
}

}  // namespace ui
