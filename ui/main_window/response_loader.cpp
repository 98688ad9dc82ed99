#include "ui/main_window/response_loader.h"

#include <QLibrary>

namespace ui {
namespace {

const QString kResponseModuleFile = QStringLiteral("korvane_response.so");

}  // namespace

QString ResponseModulePath() { return ModulePath(kResponseModuleFile); }

ResponseView* LoadResponseView(QWidget* parent) {
  static QLibrary library;
  const auto factory = reinterpret_cast<ResponseViewFactory>(
      ModuleFactory(library, kResponseModuleFile, kResponseFactorySymbol));
  return factory(parent);
}

}  // namespace ui
