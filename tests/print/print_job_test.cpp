// A whole print job on Qt's PDF printer, read back with poppler: the report's words, the
// 20 mm margins, the line spacing, wrapping and page breaks, and the failure to start.
#include <QFont>
#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "tests/print/pdf_words.h"
#include "tests/print/report_texts.h"
#include "ui/printing/print_job.h"

using testing_support::kAnalysisReport;
using testing_support::kPointsPerMm;
using testing_support::PdfLine;
using testing_support::PdfPage;

namespace {

constexpr double kMarginMm = 20.0;
constexpr double kMarginToleranceMm = 0.5;

bool InCi() { return qEnvironmentVariable("CI") == QLatin1String("true"); }

QString RunTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(30000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// A PDF printer on A4 whose printable area starts `left_mm` and `top_mm` in from the edges.
void SetUpPdfPrinter(QPrinter& printer, const QString& path, int resolution, double left_mm,
                     double top_mm) {
  printer.setOutputFileName(path);
  printer.setResolution(resolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(left_mm, top_mm, 10, 10), QPageLayout::Millimeter);
}

}  // namespace

class PrintJobTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
      if (InCi()) QFAIL("pdftotext (poppler-utils) is missing");
      QSKIP("pdftotext (poppler-utils) is not installed");
    }
    QVERIFY(directory_.isValid());
  }

  void PrintsTheReportAtTheMargins_data() {
    QTest::addColumn<int>("resolution");
    QTest::addColumn<double>("left_mm");  // unprintable edges of the page
    QTest::addColumn<double>("top_mm");
    QTest::newRow("600 dpi, no unprintable edge") << 600 << 0.0 << 0.0;
    QTest::newRow("1200 dpi, 5 and 7 mm edges") << 1200 << 5.0 << 7.0;
    QTest::newRow("300 dpi, 4.2 mm edges") << 300 << 4.2 << 4.2;
    QTest::newRow("600 dpi, edges wider than the margin") << 600 << 25.0 << 30.0;
  }

  void PrintsTheReportAtTheMargins() {
    QFETCH(int, resolution);
    QFETCH(double, left_mm);
    QFETCH(double, top_mm);
    const QString path = directory_.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, path, resolution, left_mm, top_mm);

    ui::PrintText(printer, kAnalysisReport);

    const auto pages = testing_support::ReadPdfWords(path);
    QVERIFY(pages.has_value());
    QCOMPARE(pages->size(), 1);
    const QList<PdfLine> lines = pages->front().Lines();
    QList<QStringList> words;
    for (const PdfLine& line : lines) words.append(line.words);
    QCOMPARE(words, testing_support::ExpectedWordLines(kAnalysisReport));

    for (const PdfLine& line : lines) {
      QVERIFY2(qAbs(line.left / kPointsPerMm - kMarginMm) <= kMarginToleranceMm,
               qPrintable(QStringLiteral("left edge at %1 mm").arg(line.left / kPointsPerMm)));
    }
    QVERIFY2(qAbs(lines.front().top / kPointsPerMm - kMarginMm) <= kMarginToleranceMm,
             qPrintable(QStringLiteral("top at %1 mm").arg(lines.front().top / kPointsPerMm)));

    // A line with text is the text height + 2 device pixels; the empty fifth line adds the
    // character height alone.
    const int text_height = QFontMetrics(QFont(QStringLiteral("IPAMincho"), 9), &printer).height();
    const double line = (text_height + 2) * 72.0 / resolution;
    const double empty_line = text_height * 72.0 / resolution;
    const QList<double> gaps{line, line, line, line + empty_line, line};
    for (qsizetype i = 0; i < gaps.size(); ++i) {
      QVERIFY2(qAbs(lines[i + 1].top - lines[i].top - gaps[i]) < 0.01,
               qPrintable(QStringLiteral("gap %1: %2 pt, expected %3 pt")
                              .arg(i)
                              .arg(lines[i + 1].top - lines[i].top)
                              .arg(gaps[i])));
    }
  }

  void TitlesTheJobAndUsesTheMinchoFont() {
    const QString path = directory_.filePath(QStringLiteral("title.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, path, 600, 5, 5);
    ui::PrintText(printer, kAnalysisReport);
    QVERIFY(RunTool(QStringLiteral("pdfinfo"), {path}).contains(QStringLiteral("3rd_Filter")));
    QVERIFY(RunTool(QStringLiteral("pdffonts"), {path}).contains(QStringLiteral("IPAMincho")));
  }

  // A field text far wider than the page: every line is cut inside the printable area,
  // pages break above its bottom, each page starts at the margins, and no character is
  // lost or reordered.
  void WrapsLongFieldsAndBreaksPagesInsideThePrintableArea() {
    const QString field = QStringLiteral(u"8アΩ").repeated(4000);
    const QString report =
        QStringLiteral(u"2nd BPF\r\n[Input data]\r\nR1 = %1Ω  R2 = Ω\r\n").arg(field);
    const QString path = directory_.filePath(QStringLiteral("long.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    constexpr double kEdgeMm = 10.0;  // SetUpPdfPrinter's right and bottom edges
    SetUpPdfPrinter(printer, path, 600, 6, 6);

    ui::PrintText(printer, report);

    const auto pages = testing_support::ReadPdfWords(path);
    QVERIFY(pages.has_value());
    QVERIFY2(pages->size() >= 2, qPrintable(QString::number(pages->size())));
    QString printed;
    for (const PdfPage& page : *pages) {
      const QList<PdfLine> lines = page.Lines();
      QVERIFY(!lines.isEmpty());
      QVERIFY(qAbs(lines.front().top / kPointsPerMm - kMarginMm) <= kMarginToleranceMm);
      for (const PdfLine& line : lines) {
        QVERIFY(qAbs(line.left / kPointsPerMm - kMarginMm) <= kMarginToleranceMm);
      }
      for (const auto& word : page.words) {
        QVERIFY2(word.x_max <= page.width - kEdgeMm * kPointsPerMm + 0.01,
                 qPrintable(QStringLiteral("word ends at %1 pt").arg(word.x_max)));
        QVERIFY2(word.y_max <= page.height - kEdgeMm * kPointsPerMm + 0.01,
                 qPrintable(QStringLiteral("word ends at %1 pt").arg(word.y_max)));
        printed += word.text;
      }
    }
    QString expected = report;
    expected.remove(QLatin1Char(' ')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    QCOMPARE(printed, expected);
  }

  void FailsWhenThePrinterDoesNotStart() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(directory_.filePath(QStringLiteral("missing/folder/report.pdf")));
    try {
      ui::PrintText(printer, kAnalysisReport);
      QFAIL("no error");
    } catch (const ui::PrintError& error) {
      QCOMPARE(QString::fromUtf8(error.what()),
               QStringLiteral("Printer is not currently printing"));
    }
  }

 private:
  QTemporaryDir directory_;
};

QTEST_MAIN(PrintJobTest)
#include "print_job_test.moc"
