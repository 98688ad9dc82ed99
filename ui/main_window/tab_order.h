// Stepping through the main window's controls in tab order, as Enter and the arrow keys do.
#ifndef KORVANE_UI_MAIN_WINDOW_TAB_ORDER_H
#define KORVANE_UI_MAIN_WINDOW_TAB_ORDER_H

#include <cstddef>
#include <optional>
#include <span>

namespace ui {

enum class TabDirection { kForward, kBackward };

// The index of the next (or previous) control after `from` whose `can_take_tab_focus`
// entry is true, wrapping at both ends; `from` itself need not be able to take focus and
// is reached again only after a full round. nullopt when no control qualifies or `from`
// lies outside the list.
//   NextInTabOrder({1, 0, 1}, 0, kForward) -> 2;  NextInTabOrder({1, 0, 1}, 2, kForward) -> 0
//   NextInTabOrder({1, 0, 1}, 1, kBackward) -> 0; NextInTabOrder({0, 0}, 0, kForward) -> nullopt
std::optional<std::size_t> NextInTabOrder(std::span<const bool> can_take_tab_focus,
                                          std::size_t from, TabDirection direction);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_TAB_ORDER_H
