// What a print job is set up with: the layout origin, the printer's unprintable edges,
// the font, and the settings snapshot that undoes a cancelled print dialog.
#include <QFontDatabase>
#include <QFontInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

#include "ui/printing/print_font.h"
#include "ui/printing/print_geometry.h"
#include "ui/printing/print_settings.h"

class PrintSetupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void LayoutOrigin_data() {
    QTest::addColumn<double>("margin_mm");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("origin");
    // 20 x 600 / 25.4 = 472.44; 20 x 1200 / 25.4 = 944.88; 20 x 300 / 25.4 = 236.22
    QTest::newRow("20 mm at 600 dpi") << 20.0 << 600 << 0 << 472;
    QTest::newRow("20 mm at 1200 dpi rounds up") << 20.0 << 1200 << 0 << 945;
    QTest::newRow("20 mm at 300 dpi") << 20.0 << 300 << 0 << 236;
    QTest::newRow("less the physical offset") << 20.0 << 600 << 150 << 322;
    QTest::newRow("an offset past the margin goes negative") << 20.0 << 600 << 600 << -128;
    // 127 / 25.4 is 5 pixels a millimetre: 2.5 mm is 12.5 pixels, 1.5 mm 7.5 pixels.
    QTest::newRow("a half rounds to even, down") << 2.5 << 127 << 0 << 12;
    QTest::newRow("a half rounds to even, up") << 1.5 << 127 << 0 << 8;
  }

  void LayoutOrigin() {
    QFETCH(double, margin_mm);
    QFETCH(int, resolution);
    QFETCH(int, offset);
    QFETCH(int, origin);
    QCOMPARE(ui::LayoutOrigin(margin_mm, resolution, offset), origin);
  }

  void MarginsAreTwentyMillimetres() {
    QCOMPARE(ui::PrintMarginTop, 20.0);
    QCOMPARE(ui::PrintMarginLeft, 20.0);
  }

  // At 600 dpi a point is 600 / 72 pixels: 12 points are 100 pixels, 18 points 150.
  void PhysicalOffsetIsThePrintableAreasCorner() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 18, 30, 40), QPageLayout::Point);
    QCOMPARE(ui::PrinterPhysicalOffset(printer), QPoint(100, 150));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QCOMPARE(ui::PrinterPhysicalOffset(printer), QPoint(0, 0));
  }

  void PrintFontIsMinchoAtNinePoints() {
    const QString face = ui::kPrintFontFace;
    QCOMPARE(face.size(), 5);
    const QList<char16_t> units{face[0].unicode(), face[1].unicode(), face[2].unicode(),
                                face[3].unicode(), face[4].unicode()};
    QCOMPARE(units, (QList<char16_t>{0xFF2D, 0xFF33, 0x0020, 0x660E, 0x671D}));

    const QFont font = ui::PrintFont();
    QCOMPARE(font.pointSize(), 9);
    QCOMPARE(font.weight(), QFont::Normal);
    QCOMPARE(font.style(), QFont::StyleNormal);
    const QString expected_family =
        QFontDatabase::hasFamily(face) ? face : QStringLiteral("IPAMincho");
    QCOMPARE(QFontInfo(font).family(), expected_family);
  }

  // Capture and Apply carry every setting the dialog edits from one printer to another.
  void SettingsCarryOverBetweenPrinters_data() {
    QTest::addColumn<bool>("native");
    QTest::newRow("PDF file") << false;
    QTest::newRow("print queue") << true;
  }

  void SettingsCarryOverBetweenPrinters() {
    QFETCH(bool, native);
    // Files of this test's own, so that two suites at once never share one.
    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QPrinter source(QPrinter::HighResolution);
    if (native) {
      const QStringList queues = QPrinterInfo::availablePrinterNames();
      if (queues.isEmpty()) QSKIP("no print queue is installed");
      source.setPrinterName(queues.back());
    } else {
      source.setOutputFileName(folder.filePath(QStringLiteral("settings.pdf")));
    }
    source.setPageSize(QPageSize(QPageSize::Letter));
    source.setPageOrientation(QPageLayout::Landscape);
    source.setCopyCount(3);
    source.setCollateCopies(true);
    source.setColorMode(QPrinter::GrayScale);
    source.setPageOrder(QPrinter::LastPageFirst);
    const ui::PrinterSettings settings = ui::CapturePrinterSettings(source);
    QCOMPARE(settings.copy_count, 3);
    QCOMPARE(settings.output_format, native ? QPrinter::NativeFormat : QPrinter::PdfFormat);

    QPrinter target(QPrinter::HighResolution);
    target.setOutputFileName(folder.filePath(QStringLiteral("other.pdf")));
    target.setCopyCount(7);
    ui::ApplyPrinterSettings(settings, target);
    QCOMPARE(ui::CapturePrinterSettings(target), settings);
    QCOMPARE(target.pageLayout().pageSize().id(), QPageSize::Letter);
    QCOMPARE(target.pageLayout().orientation(), QPageLayout::Landscape);
  }
};

QTEST_MAIN(PrintSetupTest)
#include "print_setup_test.moc"
