#include "ui/main_window/printing_loader.h"

namespace ui {
namespace {

const QString kPrintingModuleFile = QStringLiteral("korvane_printing.so");

}  // namespace

QString PrintingModulePath() { return ModulePath(kPrintingModuleFile); }

ReportPrinting* LoadReportPrinting(QWidget* dialog_parent) {
  return ModuleFactoryOf<ReportPrintingFactory>(kPrintingModuleFile,
                                                kPrintingFactorySymbol)(dialog_parent);
}

}  // namespace ui
