#include "ui/main_window/response_loader.h"

namespace ui {
namespace {

const QString kResponseModuleFile = QStringLiteral("korvane_response.so");

}  // namespace

QString ResponseModulePath() { return ModulePath(kResponseModuleFile); }

ResponseView* LoadResponseView(QWidget* parent) {
  return ModuleFactoryOf<ResponseViewFactory>(kResponseModuleFile, kResponseFactorySymbol)(parent);
}

}  // namespace ui
