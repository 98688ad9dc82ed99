// The CUPS scheduler as the printing tests see it: the test queues, the files of the jobs
// it received (kept by PreserveJobFiles), and the PDF files that cups-pdf writes.
#ifndef KORVANE_TESTS_PRINT_CUPS_SPOOL_H
#define KORVANE_TESTS_PRINT_CUPS_SPOOL_H

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <optional>

namespace testing_support {

// The test queues, named in every print: the scheduler's default printer may be another.
inline const QString kFirstQueue = QStringLiteral("Korvane_PDF");
inline const QString kOtherQueue = QStringLiteral("Korvane_PDF_Alt");
inline const QString kSpoolFolder = QStringLiteral("/var/spool/cups");

inline QString RunLpstat(const QStringList& arguments) {
  QProcess lpstat;
  lpstat.start(QStringLiteral("lpstat"), arguments);
  if (!lpstat.waitForFinished(10000)) return {};
  return QString::fromUtf8(lpstat.readAllStandardOutput());
}

// Why the printing tests cannot run here, or nothing when they can.
inline std::optional<QString> CupsUnavailableReason() {
  if (!RunLpstat({QStringLiteral("-r")}).contains(QStringLiteral("is running"))) {
    return QStringLiteral("the CUPS scheduler is not running");
  }
  const QString queues = RunLpstat({QStringLiteral("-v")});
  for (const QString& queue : {kFirstQueue, kOtherQueue}) {
    if (!queues.contains(queue + QLatin1Char(':'))) {
      return QStringLiteral("the print queue %1 is missing").arg(queue);
    }
  }
  if (!QDir(kSpoolFolder).isReadable()) {
    return QStringLiteral("the spool folder %1 cannot be read").arg(kSpoolFolder);
  }
  return std::nullopt;
}

// The document files of the jobs the scheduler has received: "d00012-001", ...
inline QSet<QString> ReceivedJobFiles() {
  const QStringList files = QDir(kSpoolFolder).entryList({QStringLiteral("d*-001")}, QDir::Files);
  return QSet<QString>(files.begin(), files.end());
}

struct ReceivedJob {
  int id = 0;
  QString path;  // the document as the program sent it
};

// The jobs received since `before`, oldest first.
inline QList<ReceivedJob> JobsReceivedSince(const QSet<QString>& before) {
  QList<ReceivedJob> jobs;
  for (const QString& file : ReceivedJobFiles() - before) {
    const qsizetype dash = file.indexOf(QLatin1Char('-'));
    jobs.append({file.mid(1, dash - 1).toInt(), QDir(kSpoolFolder).filePath(file)});
  }
  std::sort(jobs.begin(), jobs.end(),
            [](const ReceivedJob& a, const ReceivedJob& b) { return a.id < b.id; });
  return jobs;
}

// True once the scheduler lists job `id` of `queue` as completed (within 60 seconds).
inline bool WaitForJobCompleted(const QString& queue, int id) {
  const QString name = QStringLiteral("%1-%2 ").arg(queue).arg(id);
  for (int tries = 0; tries < 600; ++tries) {
    if (RunLpstat({QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), queue})
            .contains(name)) {
      return true;
    }
    QTest::qWait(100);
  }
  return false;
}

// The PDF file that cups-pdf wrote for job `id`, titled `title` (within 60 seconds); it
// writes to the job owner's ~/PDF, or to its folder for anonymous jobs.
inline std::optional<QString> WaitForCupsPdfOutput(const QString& title, int id) {
  QStringList folders{QStringLiteral("/var/spool/cups-pdf/ANONYMOUS")};
  if (const passwd* user = getpwuid(geteuid())) {
    folders.prepend(QDir(QString::fromLocal8Bit(user->pw_dir)).filePath(QStringLiteral("PDF")));
  }
  const QString pattern = QStringLiteral("%1*job_%2.pdf").arg(title).arg(id);
  for (int tries = 0; tries < 600; ++tries) {
    for (const QString& folder : folders) {
      const QStringList found = QDir(folder).entryList({pattern}, QDir::Files);
      if (!found.isEmpty()) return QDir(folder).filePath(found.front());
    }
    QTest::qWait(100);
  }
  return std::nullopt;
}

}  // namespace testing_support

#endif  // KORVANE_TESTS_PRINT_CUPS_SPOOL_H
