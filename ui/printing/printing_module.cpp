// Printing as a loadable module: the calculator loads it, and with it Qt Print Support,
// only at the first print.
#include "ui/printing/report_printer.h"

extern "C" Q_DECL_EXPORT ui::ReportPrinting* korvane_create_report_printing(
    QWidget* dialog_parent) {
  return new ui::ReportPrinter(dialog_parent);
}
