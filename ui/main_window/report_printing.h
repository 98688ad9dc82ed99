// Printing the report as the main window sees it. The printing itself (the print dialog
// and Qt Print Support) lives in a module loaded on the first print, so the main window
// knows it only through this interface.
#ifndef KORVANE_UI_MAIN_WINDOW_REPORT_PRINTING_H
#define KORVANE_UI_MAIN_WINDOW_REPORT_PRINTING_H

#include <QString>

class QWidget;

namespace ui {

class ReportPrinting {
 public:
  virtual ~ReportPrinting() = default;
  // Shows the print dialog; on confirmation prints `report`, on cancel does nothing.
  // Throws a std::exception whose message the error box shows when printing fails.
  virtual void PrintReport(const QString& report) = 0;
};

// Makes the printing of the report with print dialogs over `dialog_parent`.
using ReportPrintingFactory = ReportPrinting* (*)(QWidget* dialog_parent);

}  // namespace ui

#endif  // KORVANE_UI_MAIN_WINDOW_REPORT_PRINTING_H
