#include "ui/printing/report_printer.h"

#include <QAbstractPrintDialog>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

#include "ui/printing/print_settings.h"

namespace ui {

namespace {

// The printer, its properties (paper and the driver's options), copies and the PDF file
// destination; all pages, no page range, no current page, no selection.
constexpr QAbstractPrintDialog::PrintDialogOptions kDialogOptions =
    QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
    QAbstractPrintDialog::PrintCollateCopies;

// Qt's dialog offers a page range that the print server would apply even when the
// application asks for none. The report is printed whole, so those choices are hidden;
// Qt shows them again each time the dialog is shown, hence the override.
class ReportPrintDialog final : public QPrintDialog {
 public:
  ReportPrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {
    setOptions(kDialogOptions);
  }

  void setVisible(bool visible) override {
    QPrintDialog::setVisible(visible);
    if (visible) HidePageRangeChoices();
  }

 private:
  void HidePageRangeChoices() {
    auto* range_box = findChild<QGroupBox*>(QStringLiteral("gbPrintRange"));
    if (range_box == nullptr) return;
    const QStringList range_widgets{
        QStringLiteral("printRange"),       QStringLiteral("from"),
        QStringLiteral("label_3"),          QStringLiteral("to"),
        QStringLiteral("pagesRadioButton"), QStringLiteral("pagesLineEdit")};
    for (const QString& name : range_widgets) {
      if (auto* widget = range_box->findChild<QWidget*>(name)) widget->hide();
    }
  }
};

// Clears the flag when the job is over, however it ends.
class PrintingFlag {
 public:
  explicit PrintingFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~PrintingFlag() { flag_ = false; }
  PrintingFlag(const PrintingFlag&) = delete;
  PrintingFlag& operator=(const PrintingFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

ReportPrinter::ReportPrinter(QWidget* dialog_parent) : dialog_parent_(dialog_parent) {}

ReportPrinter::~ReportPrinter() = default;

void ReportPrinter::PrintReport(const QString& report) {
  // No check for a missing printer: the dialog always offers printing to a PDF file
  // (kDialogOptions), so there is always somewhere to print.
  // Made at the first print: the default printer, at the printer's own resolution.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);

  const PrinterSettings confirmed = CapturePrinterSettings(*printer_);
  ReportPrintDialog dialog(printer_.get(), dialog_parent_);
  if (dialog.exec() != QDialog::Accepted) {
    // The dialog switches its printer as soon as another one is picked; undo that.
    if (CapturePrinterSettings(*printer_) != confirmed) ApplyPrinterSettings(confirmed, *printer_);
    return;
  }

  if (printing_) throw PrintError("Printing in progress");
  const PrintingFlag flag(printing_);
  PrintText(*printer_, report);
}

}  // namespace ui
