// Reads the words of a PDF with their boxes (pdftotext -bbox from poppler-utils), so that
// printing tests can check what a page says and where.
#ifndef KORVANE_TESTS_PRINT_PDF_WORDS_H
#define KORVANE_TESTS_PRINT_PDF_WORDS_H

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>

namespace testing_support {

inline constexpr double kPointsPerMm = 72.0 / 25.4;

struct PdfWord {
  double x_min, y_min, x_max, y_max;  // points from the page's top-left corner
  QString text;
};

// The words of one line, left to right; lines share their top edge.
struct PdfLine {
  double top;
  double left;
  QStringList words;
};

struct PdfPage {
  double width, height;  // points
  QList<PdfWord> words;
  // pdftotext may read a line in more than one block, so words are put back in order by
  // their position: top to bottom, then left to right.
  QList<PdfLine> Lines() const {
    QList<PdfWord> ordered = words;
    std::stable_sort(ordered.begin(), ordered.end(), [](const PdfWord& a, const PdfWord& b) {
      if (qAbs(a.y_min - b.y_min) > 0.01) return a.y_min < b.y_min;
      return a.x_min < b.x_min;
    });
    QList<PdfLine> lines;
    for (const PdfWord& word : ordered) {
      if (lines.isEmpty() || qAbs(lines.back().top - word.y_min) > 0.01) {
        lines.append({word.y_min, word.x_min, {}});
      }
      lines.back().words.append(word.text);
    }
    return lines;
  }
};

// The pages of `pdf_path`, or nothing when pdftotext cannot be run or fails.
inline std::optional<QList<PdfPage>> ReadPdfWords(const QString& pdf_path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), pdf_path, QStringLiteral("-")});
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  QList<PdfPage> pages;
  QXmlStreamReader xml(process.readAllStandardOutput());
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto attributes = xml.attributes();
    const auto number = [&attributes](const char* name) {
      return attributes.value(QLatin1String(name)).toDouble();
    };
    if (xml.name() == QLatin1String("page")) {
      pages.append({number("width"), number("height"), {}});
    } else if (xml.name() == QLatin1String("word") && !pages.isEmpty()) {
      const double x_min = number("xMin"), y_min = number("yMin");
      const double x_max = number("xMax"), y_max = number("yMax");
      pages.back().words.append({x_min, y_min, x_max, y_max, xml.readElementText()});
    }
  }
  if (xml.hasError()) return std::nullopt;
  return pages;
}

// The words of each line of `text` (CR LF lines), empty lines left out: what pdftotext
// reads back from a printed page.
inline QList<QStringList> ExpectedWordLines(const QString& text) {
  QList<QStringList> lines;
  for (const QString& line : text.split(QStringLiteral("\r\n"))) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!words.isEmpty()) lines.append(words);
  }
  return lines;
}

}  // namespace testing_support

#endif  // KORVANE_TESTS_PRINT_PDF_WORDS_H
