// Printing the report: the print dialog, the job and the page layout.
#ifndef KORVANE_UI_REPORT_PRINTER_H
#define KORVANE_UI_REPORT_PRINTER_H

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace ui {

// Keeps the printer and settings of the last confirmed print dialog for this run.
// Nothing printer-related is created before the first print.
class ReportPrinter {
 public:
  explicit ReportPrinter(QWidget* dialog_parent);
  ~ReportPrinter();
  ReportPrinter(const ReportPrinter&) = delete;
  ReportPrinter& operator=(const ReportPrinter&) = delete;

  // Shows the print dialog; on confirmation prints `report`, on cancel does nothing.
  // Throws std::runtime_error, whose message the error box shows, when printing fails.
  void PrintReport(const QString& report);

 private:
  QWidget* dialog_parent_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace ui

#endif  // KORVANE_UI_REPORT_PRINTER_H
