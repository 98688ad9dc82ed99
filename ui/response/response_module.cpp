// The response window as a loadable module: the calculator loads it, and with it Qt
// Charts, only when the window is first opened.
#include "ui/response/response_window.h"

extern "C" Q_DECL_EXPORT ui::ResponseView* korvane_create_response_view(QWidget* parent) {
  return new ui::ResponseWindow(parent);
}
