#include "ui/main_window/response_loader.h"

#include <QCoreApplication>
#include <QLibrary>

namespace ui {

QString ResponseModulePath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/korvane_response.so");
}

ResponseView* LoadResponseView(QWidget* parent) {
  // Never unloaded: the window made from it lives until the main window goes.
  static QLibrary library;
  if (!library.isLoaded()) {
    library.setFileName(ResponseModulePath());
    if (!library.load()) {
      throw ResponseModuleError("Cannot load " + library.fileName().toStdString() + ": " +
                                library.errorString().toStdString());
    }
  }
  const auto factory =
      reinterpret_cast<ResponseViewFactory>(library.resolve(kResponseFactorySymbol));
  if (factory == nullptr) {
    throw ResponseModuleError("No " + std::string(kResponseFactorySymbol) + " in " +
                              library.fileName().toStdString());
  }
  return factory(parent);
}

}  // namespace ui
