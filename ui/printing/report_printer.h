// Printing the report: the print dialog, the job and the page layout.
#ifndef KORVANE_UI_PRINTING_REPORT_PRINTER_H
#define KORVANE_UI_PRINTING_REPORT_PRINTER_H

#include <QString>
#include <memory>

#include "ui/main_window/report_printing.h"
#include "ui/printing/print_job.h"

class QPrinter;
class QWidget;

namespace ui {

// Keeps the printer and settings of the last confirmed print dialog for this run.
// Nothing printer-related is created before the first print.
class ReportPrinter final : public ReportPrinting {
 public:
  explicit ReportPrinter(QWidget* dialog_parent);
  ~ReportPrinter() override;
  ReportPrinter(const ReportPrinter&) = delete;
  ReportPrinter& operator=(const ReportPrinter&) = delete;

  // Shows the print dialog; on confirmation prints `report` (see PrintText), on cancel
  // does nothing and keeps the settings of the last confirmed dialog.
  // Throws PrintError (a std::runtime_error), whose message the error box shows, when
  // printing fails: "Printer is not currently printing", "Printing in progress".
  void PrintReport(const QString& report) override;

 private:
  QWidget* dialog_parent_;
  std::unique_ptr<QPrinter> printer_;  // made at the first print
  bool printing_ = false;              // a job is being handed to the printer
};

}  // namespace ui

#endif  // KORVANE_UI_PRINTING_REPORT_PRINTER_H
