// The window's modules: parts of the program (the response window, printing) that are
// loaded only when first used, so that their libraries (Qt Charts, Qt Print Support) cost
// nothing at start-up. They lie in a folder at a fixed place relative to the executable's
// own folder, in the build tree as in an installed or extracted package.
#ifndef KORVANE_UI_MAIN_WINDOW_MODULE_LOADER_H
#define KORVANE_UI_MAIN_WINDOW_MODULE_LOADER_H

#include <QFunctionPointer>
#include <QString>
#include <stdexcept>

namespace ui {

// A module could not be loaded; the message says which file and why.
class ModuleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The path of the module `file_name`: in the module folder seen from the executable's.
// Installed in /usr: ModulePath("korvane_response.so") for /usr/bin/korvane ->
// "/usr/lib/x86_64-linux-gnu/korvane/korvane_response.so".
QString ModulePath(const QString& file_name);

// Loads the module `file_name` from ModulePath(file_name), unless it is loaded already,
// and returns the function it exports as `symbol` (extern "C"). A module is never
// unloaded: what its factory makes lives until the main window goes. Throws ModuleError
// when the file is missing, cannot be loaded, or lacks the symbol.
QFunctionPointer ModuleFactory(const QString& file_name, const char* symbol);

// ModuleFactory as the factory's own type.
template <typename Factory>
Factory ModuleFactoryOf(const QString& file_name, const char* symbol) {
  return reinterpret_cast<Factory>(ModuleFactory(file_name, symbol));
}

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_MODULE_LOADER_H
