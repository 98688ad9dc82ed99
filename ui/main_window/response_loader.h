// Loads the response window's module on first use.
#ifndef KORVANE_UI_MAIN_WINDOW_RESPONSE_LOADER_H
#define KORVANE_UI_MAIN_WINDOW_RESPONSE_LOADER_H

#include <QString>

#include "ui/main_window/module_loader.h"
#include "ui/main_window/response_view.h"

namespace ui {

// The module could not be loaded; the message says which file and why.
using ResponseModuleError = ModuleError;

// The name the module's factory is exported under (extern "C").
inline constexpr char kResponseFactorySymbol[] = "korvane_create_response_view";

// The module's path: korvane_response.so in the module folder (ModulePath).
QString ResponseModulePath();

// Makes the response window from the module at ResponseModulePath(), loading it once;
// throws ResponseModuleError when it is missing or lacks the factory.
ResponseView* LoadResponseView(QWidget* parent);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_RESPONSE_LOADER_H
