// The printer settings that the print dialog shows and edits, held apart from the printer.
// Qt's dialog changes its printer as soon as another printer is picked in it, even when
// the dialog is then cancelled; a snapshot taken before the dialog undoes that.
#ifndef KORVANE_UI_PRINTING_PRINT_SETTINGS_H
#define KORVANE_UI_PRINTING_PRINT_SETTINGS_H

#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>

namespace ui {

struct PrinterSettings {
  QPrinter::OutputFormat output_format = QPrinter::NativeFormat;
  QString printer_name;      // the print queue (native output)
  QString output_file_name;  // the PDF file (PDF output)
  QPageLayout page_layout;
  int copy_count = 1;
  bool collate_copies = false;
  QPrinter::ColorMode color_mode = QPrinter::Color;
  QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
  QPrinter::PageOrder page_order = QPrinter::FirstPageFirst;
  QStringList cups_options;  // the driver's and the job's options, name, value, name, ...

  friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

// CapturePrinterSettings(QPrinter()) -> the default printer's name, its default paper, 1 copy.
PrinterSettings CapturePrinterSettings(const QPrinter& printer);

// Makes `printer` print with `settings`: CapturePrinterSettings(printer) == settings after
// ApplyPrinterSettings(settings, printer) for settings captured from any printer.
void ApplyPrinterSettings(const PrinterSettings& settings, QPrinter& printer);

}  // namespace ui

#endif  // KORVANE_UI_PRINTING_PRINT_SETTINGS_H
