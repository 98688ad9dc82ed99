// Loads the printing module on the first print.
#ifndef KORVANE_UI_MAIN_WINDOW_PRINTING_LOADER_H
#define KORVANE_UI_MAIN_WINDOW_PRINTING_LOADER_H

#include <QString>

#include "ui/main_window/module_loader.h"
#include "ui/main_window/report_printing.h"

namespace ui {

// The name the module's factory is exported under (extern "C").
inline constexpr char kPrintingFactorySymbol[] = "korvane_create_report_printing";

// The module's path: korvane_printing.so in the module folder (ModulePath).
QString PrintingModulePath();

// Makes the report's printing from the module at PrintingModulePath(), loading it once;
// throws ModuleError when it is missing or lacks the factory.
ReportPrinting* LoadReportPrinting(QWidget* dialog_parent);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_PRINTING_LOADER_H
