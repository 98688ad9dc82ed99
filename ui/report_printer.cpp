// PLACEHOLDER: replaced by the real implementation.
#include "ui/report_printer.h"
#include <QPrinter>
namespace ui {
ReportPrinter::ReportPrinter(QWidget* dialog_parent) : dialog_parent_(dialog_parent) {}
ReportPrinter::~ReportPrinter() = default;
void ReportPrinter::PrintReport(const QString&) {}
}  // namespace ui
