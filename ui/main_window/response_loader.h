// Loads the response window's module on first use.
#ifndef KORVANE_UI_MAIN_WINDOW_RESPONSE_LOADER_H
#define KORVANE_UI_MAIN_WINDOW_RESPONSE_LOADER_H

#include <QString>
#include <stdexcept>

#include "ui/main_window/response_view.h"

namespace ui {

// The module could not be loaded; the message says which file and why.
class ResponseModuleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The name the module's factory is exported under (extern "C").
inline constexpr char kResponseFactorySymbol[] = "korvane_create_response_view";

// The module's path: beside the executable.
QString ResponseModulePath();

// Makes the response window from the module at ResponseModulePath(), loading it once;
// throws ResponseModuleError when it is missing or lacks the factory.
ResponseView* LoadResponseView(QWidget* parent);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_RESPONSE_LOADER_H
