#include "ui/printing/printer_text_file.h"

#include <QList>
#include <QPainter>
#include <QPoint>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <utility>

namespace ui {

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kLineFeed = u'\n';
constexpr char16_t kFormFeed = u'\f';
constexpr char16_t kCarriageReturn = u'\r';

bool IsControl(char16_t c) {
  return c == kTab || c == kLineFeed || c == kFormFeed || c == kCarriageReturn;
}

// Grapheme cluster boundaries of `text`: 0, ..., text.size().
QList<qsizetype> GraphemeBoundaries(const QString& text) {
  QList<qsizetype> boundaries;
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  for (qsizetype at = 0; at >= 0; at = finder.toNextBoundary()) boundaries.append(at);
  if (boundaries.isEmpty() || boundaries.back() != text.size()) boundaries.append(text.size());
  return boundaries;
}

}  // namespace

PrinterTextFile::PrinterTextFile(QPainter& painter, const TextMeasure& measure, int page_width,
                                 int page_height, std::function<void()> new_page)
    : painter_(painter),
      measure_(measure),
      new_page_(std::move(new_page)),
      page_width_(page_width),
      page_height_(page_height) {}

void PrinterTextFile::Write(QStringView text) {
  qsizetype run_start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (!IsControl(c)) continue;
    DrawRun(text.sliced(run_start, i - run_start));
    run_start = i + 1;
    switch (c) {
      case kLineFeed:
        NewLine();
        break;
      case kTab:
        Tab();
        break;
      case kFormFeed:
        NewPage();
        break;
      default:  // CR draws the run and stays where it is.
        break;
    }
  }
  DrawRun(text.sliced(run_start));
}

void PrinterTextFile::DrawRun(QStringView run_view) {
  if (run_view.isEmpty()) return;
  const QString run = run_view.toString();
  const QList<qsizetype> boundaries = GraphemeBoundaries(run);
  const qsizetype last = boundaries.size() - 1;
  qsizetype start = 0;
  while (start < last) {
    qsizetype end = FittingEnd(run, boundaries, start);
    // A grapheme wider than the whole line still has to go somewhere: at the start of a
    // line it is drawn (and clipped by the paper) rather than pushed on to the next line
    // for ever.
    if (end == start && x_ == 0) end = start + 1;
    if (end > start) {
      const QString piece = run.sliced(boundaries[start], boundaries[end] - boundaries[start]);
      const int width = measure_.Width(piece);
      DrawPiece(piece);
      start = end;
      if (start == last) {
        x_ += width;
        return;
      }
    }
    NewLine();
  }
}

// The end (a boundary index) of the longest piece of `run` from boundary `start` on that
// fits between x and the page width; `start` itself when nothing fits. A short run is
// measured whole first, since it nearly always fits. A long one is probed in growing steps
// and then bisected, so that cutting a very long field text costs a few measures per line
// rather than one per character; widths grow with the length of the piece.
qsizetype PrinterTextFile::FittingEnd(const QString& run, const QList<qsizetype>& boundaries,
                                      qsizetype start) const {
  constexpr qsizetype kMeasureWholeUpTo = 512;  // code units
  const qsizetype last = boundaries.size() - 1;
  const auto fits = [&](qsizetype end) {
    const QString piece = run.sliced(boundaries[start], boundaries[end] - boundaries[start]);
    return static_cast<std::int64_t>(x_) + measure_.Width(piece) <= page_width_;
  };
  if (boundaries[last] - boundaries[start] <= kMeasureWholeUpTo && fits(last)) return last;
  if (x_ > page_width_) return start;
  qsizetype good = start;  // known to fit
  qsizetype bad = -1;      // known not to fit; -1 while none is known
  for (qsizetype step = 1; good < last; step *= 2) {
    const qsizetype probe = std::min(good + step, last);
    if (!fits(probe)) {
      bad = probe;
      break;
    }
    good = probe;
  }
  if (bad < 0) return good;
  while (bad - good > 1) {
    const qsizetype middle = good + (bad - good) / 2;
    if (fits(middle)) {
      good = middle;
    } else {
      bad = middle;
    }
  }
  return good;
}

void PrinterTextFile::DrawPiece(const QString& piece) {
  for (; deferred_page_breaks_ > 0; --deferred_page_breaks_) new_page_();
  if (measure_.Height() > line_height_) line_height_ = measure_.Height() + 2;
  painter_.drawText(QPoint(x_, y_ + measure_.Ascent()), piece);
}

void PrinterTextFile::NewLine() {
  x_ = 0;
  const int advance = line_height_ != 0 ? line_height_ : measure_.Height();
  y_ += advance;
  if (static_cast<std::int64_t>(y_) > static_cast<std::int64_t>(page_height_) - 2 * line_height_) {
    NewPage();
  }
  line_height_ = 0;
}

void PrinterTextFile::NewPage() {
  ++deferred_page_breaks_;
  x_ = 0;
  y_ = 0;
}

// Tab stops every T = 8 average character widths: x moves on to the next multiple of T
// (from x = T - 1, the formula goes on to 2T).
void PrinterTextFile::Tab() {
  const std::int64_t stop = 8 * static_cast<std::int64_t>(measure_.AverageCharWidth());
  if (stop <= 0) return;  // a font without width has no tab stops to move to
  const std::int64_t x = x_;
  const std::int64_t next = x + stop - ((x + stop + 1) % stop) + 1;
  if (next > page_width_) {
    NewLine();
  } else {
    x_ = static_cast<int>(next);
  }
}

}  // namespace ui
