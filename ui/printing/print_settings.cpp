#include "ui/printing/print_settings.h"

#include <QPrintEngine>
#include <QVariant>

namespace ui {

namespace {

// The print engine property under which Qt's CUPS support keeps the options chosen in the
// printer's properties (paper source, resolution, banners, pages per sheet ...).
constexpr auto kCupsOptionsKey = static_cast<QPrintEngine::PrintEnginePropertyKey>(0xfe00);

}  // namespace

PrinterSettings CapturePrinterSettings(const QPrinter& printer) {
  PrinterSettings settings;
  settings.output_format = printer.outputFormat();
  settings.printer_name = printer.printerName();
  settings.output_file_name = printer.outputFileName();
  settings.page_layout = printer.pageLayout();
  settings.copy_count = printer.copyCount();
  settings.collate_copies = printer.collateCopies();
  settings.color_mode = printer.colorMode();
  settings.duplex = printer.duplex();
  settings.page_order = printer.pageOrder();
  if (const QPrintEngine* engine = printer.printEngine()) {
    settings.cups_options = engine->property(kCupsOptionsKey).toStringList();
  }
  return settings;
}

void ApplyPrinterSettings(const PrinterSettings& settings, QPrinter& printer) {
  // The destination first: choosing a printer resets the paper to that printer's default.
  printer.setOutputFormat(settings.output_format);
  if (settings.output_format == QPrinter::NativeFormat) {
    printer.setPrinterName(settings.printer_name);
  }
  printer.setOutputFileName(settings.output_file_name);
  printer.setPageLayout(settings.page_layout);
  printer.setCopyCount(settings.copy_count);
  printer.setCollateCopies(settings.collate_copies);
  printer.setColorMode(settings.color_mode);
  printer.setDuplex(settings.duplex);
  printer.setPageOrder(settings.page_order);
  if (QPrintEngine* engine = printer.printEngine()) {
    engine->setProperty(kCupsOptionsKey, settings.cups_options);
  }
}

}  // namespace ui
