// Lays plain text out on a paint device line by line and page by page, the way a line
// printer would: text runs, CR, LF, TAB, FF. It knows nothing of printers: the caller
// opens the device, places the painter's origin at the margins and supplies the page
// break, so the same engine runs on a printer, an image or a recording device in tests.
#ifndef KORVANE_UI_PRINTING_PRINTER_TEXT_FILE_H
#define KORVANE_UI_PRINTING_PRINTER_TEXT_FILE_H

#include <QFontMetrics>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>

class QPainter;

namespace ui {

// The font measures the layout needs, in device pixels of the paint device.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // Advance width of `text` in the current font: Width(u"") -> 0.
  virtual int Width(const QString& text) const = 0;
  // Character height of the font (ascent + descent, no leading); every run is this tall.
  virtual int Height() const = 0;
  // Distance from the top of a character cell to its baseline.
  virtual int Ascent() const = 0;
  // Average character width; tab stops lie 8 of these apart.
  virtual int AverageCharWidth() const = 0;
};

// TextMeasure of a real font on a real device, e.g. FontTextMeasure(QFontMetrics(font, &printer)).
class FontTextMeasure final : public TextMeasure {
 public:
  explicit FontTextMeasure(const QFontMetrics& metrics) : metrics_(metrics) {}
  int Width(const QString& text) const override { return metrics_.horizontalAdvance(text); }
  int Height() const override { return metrics_.height(); }
  int Ascent() const override { return metrics_.ascent(); }
  int AverageCharWidth() const override { return metrics_.averageCharWidth(); }

 private:
  QFontMetrics metrics_;
};

// The layout state and rules, all in device pixels relative to the painter's origin.
//
// Ordinary characters collect into a pending run, which is drawn with the top-left corner
// of its first character at the current position. CR draws the run and stays where it is
// (no return to the left); LF draws it and starts a new line; TAB draws it and moves to the
// next tab stop; FF draws it and starts a new page. A run that would pass the page width
// is cut before the first grapheme that does not fit (never inside a surrogate pair or a
// grapheme cluster) and goes on at the start of the next line. A line that holds text is
// the text height + 2 tall; a line with nothing drawn on it is the character height tall.
// A new page starts when a new line would begin below page height - 2 x line height.
//
// Page breaks are deferred until something is drawn on the new page, so trailing line
// feeds and form feeds never emit a blank sheet.
//
// With Height() 20 and widths of 10 per character on a 100 x 1000 page:
//   Write(u"ab\r\ncd\r\n")  draws "ab" at (0, 0) and "cd" at (0, 22)
//   Write(u"a\tb")          draws "a" at (0, 0) and "b" at (80, 0)
//   Write(u"0123456789AB")  draws "0123456789" at (0, 0) and "AB" at (0, 22)
class PrinterTextFile {
 public:
  // `painter` is active on the device; `page_width` and `page_height` are the printable
  // size counted from the painter's origin; `new_page` ends the page and starts the next
  // (it may throw to stop the layout). The painter's font must be the one `measure` measures.
  PrinterTextFile(QPainter& painter, const TextMeasure& measure, int page_width, int page_height,
                  std::function<void()> new_page);

  // Lays out `text` from the current position; the last pending run is drawn at the end.
  void Write(QStringView text);

  int x() const { return x_; }
  int y() const { return y_; }

 private:
  void DrawRun(QStringView run);
  void DrawPiece(const QString& piece);
  void NewLine();
  void NewPage();
  void Tab();
  qsizetype FittingEnd(const QString& run, const QList<qsizetype>& boundaries,
                       qsizetype start) const;

  QPainter& painter_;
  const TextMeasure& measure_;
  std::function<void()> new_page_;
  int page_width_;
  int page_height_;
  int x_ = 0;
  int y_ = 0;
  int line_height_ = 0;  // 0 while nothing has been drawn on the current line
  std::int64_t deferred_page_breaks_ = 0;
};

}  // namespace ui

#endif  // KORVANE_UI_PRINTING_PRINTER_TEXT_FILE_H
