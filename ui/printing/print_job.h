// One print job: the report laid out on a printer that the print dialog has set up.
#ifndef KORVANE_UI_PRINTING_PRINT_JOB_H
#define KORVANE_UI_PRINTING_PRINT_JOB_H

#include <QString>
#include <stdexcept>

class QPrinter;

namespace ui {

// A printing failure; the message is the text the error box shows.
class PrintError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The document name the print queue shows for the job.
inline const QString kPrintJobTitle = QStringLiteral("3rd_Filter");

// Prints `text` followed by one LF as one job titled kPrintJobTitle on `printer`, with
// PrinterTextFile in PrintFont(), the layout origin PrintMarginLeft and PrintMarginTop
// millimetres from the paper's left and top edges. The printer's own settings (copies,
// paper, destination) stay as they are; only the job title is set.
// Throws PrintError("Printer is not currently printing") when the printer does not start
// the document or a page. A job that fails half-way is aborted where the printer can
// abort; otherwise what was laid out is handed over, and the error still goes on.
// Long lines wrap, and pages break, at the printable area's right and bottom edges.
// PrintText(pdf_printer, u"2nd BPF\r\n") -> a one-page PDF with "2nd BPF" 20 mm from the
// top and left edges.
void PrintText(QPrinter& printer, const QString& text);

}  // namespace ui

#endif  // KORVANE_UI_PRINTING_PRINT_JOB_H
