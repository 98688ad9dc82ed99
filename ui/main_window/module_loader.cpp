#include "ui/main_window/module_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <string>

namespace ui {

QString ModulePath(const QString& file_name) {
  // applicationDirPath() is where the running executable itself lies (/proc/self/exe),
  // whatever folder the program was started from or through which link.
  return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                         QStringLiteral(KORVANE_MODULE_DIR_FROM_BIN) + QLatin1Char('/') +
                         file_name);
}

QFunctionPointer ModuleFactory(const QString& file_name, const char* symbol) {
  // Loading a loaded library only counts it once more; QLibrary's destructor leaves it
  // loaded.
  QLibrary library(ModulePath(file_name));
  if (!library.load()) {
    throw ModuleError("Cannot load " + library.fileName().toStdString() + ": " +
                      library.errorString().toStdString());
  }
  const QFunctionPointer factory = library.resolve(symbol);
  if (factory == nullptr) {
    throw ModuleError("No " + std::string(symbol) + " in " + library.fileName().toStdString());
  }
  return factory;
}

}  // namespace ui
