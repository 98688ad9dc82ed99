// Printing the report through the real window, Qt's print dialog and a real CUPS
// scheduler. The dialog is driven as a user would drive it; what the scheduler received is
// read back with pdftotext, and cups-pdf's own output shows that the job went through.
// Needs scripts/start-test-services.sh (as root): without the queues the test skips, in
// CI it fails.
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cmath>
#include <memory>

#include "calc/commands/form.h"
#include "tests/print/cups_spool.h"
#include "tests/print/pdf_words.h"
#include "tests/print/report_texts.h"
#include "tests/ui/support/window_test_fixture.h"
#include "ui/main_window/form_main.h"
#include "ui/printing/print_job.h"

using testing_support::kFirstQueue;
using testing_support::kOtherQueue;
using testing_support::kPointsPerMm;
using testing_support::ModalBoxWatch;
using testing_support::PdfLine;
using testing_support::PdfPage;
using testing_support::ReceivedJob;

namespace {

bool InCi() { return qEnvironmentVariable("CI") == QLatin1String("true"); }

// What to do in the print dialog.
struct DialogChoice {
  QString printer;  // empty: leave as shown
  int copies;       // 0: leave as shown
  bool accept;
};
const DialogChoice kJustPrint{QString(), 0, true};

// What the print dialog showed when it opened.
struct DialogSeen {
  QString printer;
  int copies = 0;
};

ModalBoxWatch::Closer DriveDialog(const DialogChoice& choice, DialogSeen& seen) {
  return [choice, &seen](QWidget& box) {
    auto* dialog = qobject_cast<QPrintDialog*>(&box);
    if (dialog == nullptr) return;  // recorded by the watch as the wrong box
    auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
    auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("copies"));
    if (printers == nullptr || copies == nullptr) return;
    seen.printer = printers->currentText();
    seen.copies = copies->value();
    if (!choice.printer.isEmpty()) printers->setCurrentIndex(printers->findText(choice.printer));
    if (choice.copies != 0) copies->setValue(choice.copies);
    if (choice.accept) {
      dialog->accept();
    } else {
      dialog->reject();
    }
  };
}

// Everything a print must leave as it was: the field texts, the calculation state, the
// output buttons.
QStringList WindowState(const ui::TFormMain& form) {
  QStringList state;
  for (int field = 0; field < calc::kFieldCount; ++field) {
    state << QString::fromStdU16String(form.Text(static_cast<calc::Field>(field)));
  }
  const calc::CalcState& calc = form.calc_state();
  for (double value : {calc.Fo, calc.Q, calc.H, calc.R1, calc.R2, calc.R3, calc.C1, calc.C2,
                       calc.FoResult, calc.QResult, calc.HResult}) {
    state << QString::number(value, 'g', 17);
  }
  state << QString::number(calc.SeriesR) << QString::number(calc.SeriesC)
        << QString::number(calc.Calculated) << QString::number(calc.DesignMode);
  for (const char* button : {"ButtonPrint", "ButtonCopy"}) {
    state << QString::number(
        form.findChild<QPushButton*>(QString::fromLatin1(button))->isEnabled());
  }
  return state;
}

}  // namespace

class CupsPrintTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  void Click(const char* name) {
    QTest::mouseClick(form_->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }

  // Clicks the print button and makes `choice` in the dialog; the job the scheduler
  // received, if any.
  std::optional<ReceivedJob> Print(const DialogChoice& choice, DialogSeen& seen) {
    const auto before = testing_support::ReceivedJobFiles();
    watch_->Expect(DriveDialog(choice, seen));
    Click("ButtonPrint");
    const auto jobs = testing_support::JobsReceivedSince(before);
    if (jobs.isEmpty()) return std::nullopt;
    return jobs.back();
  }

  // The received job's page holds `report` at the margins with the designed line spacing.
  void CheckPage(const ReceivedJob& job, const QString& report, const QList<int>& empty_lines) {
    const auto pages = testing_support::ReadPdfWords(job.path);
    QVERIFY2(pages.has_value(), qPrintable(job.path));
    QCOMPARE(pages->size(), 1);
    const QList<PdfLine> lines = pages->front().Lines();
    QList<QStringList> words;
    for (const PdfLine& line : lines) words.append(line.words);
    QCOMPARE(words, testing_support::ExpectedWordLines(report));

    QVERIFY2(std::abs(lines.front().top / kPointsPerMm - 20.0) <= 0.5,
             qPrintable(QStringLiteral("top at %1 mm").arg(lines.front().top / kPointsPerMm)));
    for (const PdfLine& line : lines) {
      QVERIFY2(std::abs(line.left / kPointsPerMm - 20.0) <= 0.5,
               qPrintable(QStringLiteral("left at %1 mm").arg(line.left / kPointsPerMm)));
    }
    // Text height + 2 device pixels a line; an empty line adds the character height.
    const double pixel = 72.0 / resolution_;
    for (qsizetype i = 1; i < lines.size(); ++i) {
      double gap = (text_height_ + 2) * pixel;
      if (empty_lines.contains(i)) gap += text_height_ * pixel;
      QVERIFY2(std::abs(lines[i].top - lines[i - 1].top - gap) < 0.01,
               qPrintable(QStringLiteral("line %1 is %2 pt below the one before, not %3 pt")
                              .arg(i)
                              .arg(lines[i].top - lines[i - 1].top)
                              .arg(gap)));
    }
  }

  // The scheduler printed the job on `queue`, and cups-pdf made a PDF of it with one page
  // for each copy: the program sends one copy and leaves the copies to the printer.
  void CheckWentThrough(const ReceivedJob& job, const QString& queue, int copies) {
    QVERIFY2(testing_support::WaitForJobCompleted(queue, job.id),
             qPrintable(QStringLiteral("job %1 did not complete on %2").arg(job.id).arg(queue)));
    const auto output = testing_support::WaitForCupsPdfOutput(ui::kPrintJobTitle, job.id);
    QVERIFY2(output.has_value(), "cups-pdf wrote no PDF for the job");
    const auto pages = testing_support::ReadPdfWords(*output);
    QVERIFY(pages.has_value());
    QCOMPARE(pages->size(), copies);
    QFile::remove(*output);
  }

  int resolution_ = 0;
  int text_height_ = 0;

 private Q_SLOTS:
  void initTestCase() {
    if (const auto reason = testing_support::CupsUnavailableReason()) {
      const QString message =
          *reason + QStringLiteral("; run scripts/start-test-services.sh as root");
      if (InCi()) QFAIL(qPrintable(message));
      QSKIP(qPrintable(message));
    }
    // The queues' resolution and the font's height there, as the job will use them.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(kFirstQueue);
    resolution_ = printer.resolution();
    text_height_ = QFontMetrics(QFont(QStringLiteral("IPAMincho"), 9), &printer).height();

    QVERIFY(OpenMainWindow());
  }

  void cleanup() { VerifyBoxes(); }

  // The first print dialog opens on the scheduler's default printer, whichever it is, with
  // one copy; the report goes to the queue chosen there.
  void PrintsTheReportOnTheChosenQueue() {
    Click("ButtonCalc");
    DialogSeen seen;
    const auto job = Print({kFirstQueue, 0, true}, seen);
    if (const QString system_default = QPrinterInfo::defaultPrinterName();
        !system_default.isEmpty()) {
      QCOMPARE(seen.printer, system_default);
    }
    QCOMPARE(seen.copies, 1);
    QVERIFY2(job.has_value(), "the scheduler received no job");
    CheckPage(*job, testing_support::kDesignReport, {5});
    if (QTest::currentTestFailed()) return;
    CheckWentThrough(*job, kFirstQueue, 1);
  }

  // A second print opens with the printer and copies of the first; a cancelled dialog
  // prints nothing and changes nothing, not even the dialog's next choice.
  void NextPrintsKeepTheConfirmedChoice() {
    DialogSeen seen;
    const auto first_job = Print({kOtherQueue, 2, true}, seen);
    QVERIFY2(first_job.has_value(), "the scheduler received no job");

    const QStringList state = WindowState(*form_);
    QVERIFY(!Print({kFirstQueue, 5, false}, seen).has_value());
    QCOMPARE(seen.printer, kOtherQueue);
    QCOMPARE(seen.copies, 2);
    QCOMPARE(WindowState(*form_), state);

    const auto second_job = Print(kJustPrint, seen);
    QCOMPARE(seen.printer, kOtherQueue);
    QCOMPARE(seen.copies, 2);
    QVERIFY2(second_job.has_value(), "the scheduler received no job");
    QCOMPARE(WindowState(*form_), state);

    CheckPage(*second_job, testing_support::kDesignReport, {5});
    if (QTest::currentTestFailed()) return;
    const auto first_pages = testing_support::ReadPdfWords(first_job->path);
    const auto second_pages = testing_support::ReadPdfWords(second_job->path);
    QVERIFY(first_pages.has_value() && second_pages.has_value());
    QCOMPARE(first_pages->size(), second_pages->size());
    const QList<testing_support::PdfWord>& a = first_pages->front().words;
    const QList<testing_support::PdfWord>& b = second_pages->front().words;
    QCOMPARE(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
      QCOMPARE(a[i].text, b[i].text);
      QCOMPARE(a[i].x_min, b[i].x_min);
      QCOMPARE(a[i].y_min, b[i].y_min);
      QCOMPARE(a[i].x_max, b[i].x_max);
    }
    CheckWentThrough(*first_job, kOtherQueue, 2);
    if (QTest::currentTestFailed()) return;
    CheckWentThrough(*second_job, kOtherQueue, 2);
  }

  void cleanupTestCase() { form_.reset(); }
};

QTEST_MAIN(CupsPrintTest)
#include "cups_print_test.moc"
