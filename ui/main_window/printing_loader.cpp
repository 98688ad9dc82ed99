#include "ui/main_window/printing_loader.h"

#include <QLibrary>

namespace ui {
namespace {

const QString kPrintingModuleFile = QStringLiteral("korvane_printing.so");

}  // namespace

QString PrintingModulePath() { return ModulePath(kPrintingModuleFile); }

ReportPrinting* LoadReportPrinting(QWidget* dialog_parent) {
  static QLibrary library;
  const auto factory = reinterpret_cast<ReportPrintingFactory>(
      ModuleFactory(library, kPrintingModuleFile, kPrintingFactorySymbol));
  return factory(dialog_parent);
}

}  // namespace ui
