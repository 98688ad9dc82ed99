// The line printer layout on a recording device, with made-up font measures so that every
// expected position can be worked out by hand: each character is 10 pixels wide ('i' is 1,
// combining marks 0), text is 20 high with its baseline 16 down, tab stops are 80 apart.
// A line with text is therefore 22 high, an empty line 20.
#include <QList>
#include <QPainter>
#include <QString>
#include <QTest>
#include <cstdint>

#include "tests/print/recording_paint_device.h"
#include "ui/printing/printer_text_file.h"

namespace {

class FakeMeasure final : public ui::TextMeasure {
 public:
  int Width(const QString& text) const override {
    measured_units_ += text.size();
    int width = 0;
    for (const char32_t c : text.toUcs4()) {
      const auto category = QChar::category(c);
      if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing) continue;
      width += c == U'i' ? 1 : 10;
    }
    return width;
  }
  int Height() const override { return 20; }
  int Ascent() const override { return 16; }
  int AverageCharWidth() const override { return 10; }

  std::int64_t measured_units() const { return measured_units_; }

 private:
  mutable std::int64_t measured_units_ = 0;
};

struct Piece {
  int page;
  int x;
  int y;  // top of the character cell
  QString text;
  friend bool operator==(const Piece&, const Piece&) = default;
};

char* toString(const Piece& piece) {
  return QTest::toString(QStringLiteral("page %1 (%2, %3) \"%4\"")
                             .arg(piece.page)
                             .arg(piece.x)
                             .arg(piece.y)
                             .arg(piece.text));
}

struct Layout {
  QList<Piece> pieces;
  int pages;  // pages the layout asked for
};

Layout LayOut(const QString& text, int page_width, int page_height,
              FakeMeasure* measure_out = nullptr) {
  testing_support::RecordingPaintDevice device;
  FakeMeasure local_measure;
  FakeMeasure& measure = measure_out != nullptr ? *measure_out : local_measure;
  {
    QPainter painter(&device);
    ui::PrinterTextFile file(painter, measure, page_width, page_height,
                             [&device] { device.NewPage(); });
    file.Write(text);
  }
  Layout layout{{}, device.page()};
  for (const auto& drawn : device.drawn()) {
    layout.pieces.append(
        {drawn.page, qRound(drawn.origin.x()), qRound(drawn.origin.y()) - 16, drawn.text});
  }
  return layout;
}

// The text drawn on each line, in order: what a reader of the page sees, whatever pieces
// the painter split a run into.
QStringList LineTexts(const Layout& layout) {
  QStringList lines;
  int page = 0;
  int y = -1;
  for (const Piece& piece : layout.pieces) {
    if (piece.page != page || piece.y != y) lines.append(QString());
    page = piece.page;
    y = piece.y;
    lines.back() += piece.text;
  }
  return lines;
}

}  // namespace

Q_DECLARE_METATYPE(Piece)

class PrinterTextFileTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void PlacesRuns_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("page_width");
    QTest::addColumn<int>("page_height");
    QTest::addColumn<QList<Piece>>("expected");
    QTest::addColumn<int>("pages");

    QTest::newRow("CR LF lines are text height + 2 apart")
        << QStringLiteral("ab\r\ncd\r\n") << 100 << 1000
        << QList<Piece>{{1, 0, 0, "ab"}, {1, 0, 22, "cd"}} << 1;
    QTest::newRow("an empty line is the character height")
        << QStringLiteral("ab\r\n\r\ncd") << 100 << 1000
        << QList<Piece>{{1, 0, 0, "ab"}, {1, 0, 42, "cd"}} << 1;
    QTest::newRow("LF alone starts a line") << QStringLiteral("ab\ncd") << 100 << 1000
                                            << QList<Piece>{{1, 0, 0, "ab"}, {1, 0, 22, "cd"}} << 1;
    QTest::newRow("CR does not return to the left")
        << QStringLiteral("abc\rde") << 100 << 1000
        << QList<Piece>{{1, 0, 0, "abc"}, {1, 30, 0, "de"}} << 1;
    QTest::newRow("tab at the line start goes to the first stop")
        << QStringLiteral("\tb") << 1000 << 1000 << QList<Piece>{{1, 80, 0, "b"}} << 1;
    QTest::newRow("tab after text") << QStringLiteral("a\tb") << 1000 << 1000
                                    << QList<Piece>{{1, 0, 0, "a"}, {1, 80, 0, "b"}} << 1;
    QTest::newRow("tab from x 70") << QStringLiteral("aaaaaaa\tb") << 1000 << 1000
                                   << QList<Piece>{{1, 0, 0, "aaaaaaa"}, {1, 80, 0, "b"}} << 1;
    QTest::newRow("tab from x 79 skips to 160")
        << QStringLiteral("aaaaaaaiiiiiiiii\tb") << 1000 << 1000
        << QList<Piece>{{1, 0, 0, "aaaaaaaiiiiiiiii"}, {1, 160, 0, "b"}} << 1;
    QTest::newRow("tab from a stop goes to the next")
        << QStringLiteral("aaaaaaaa\tb") << 1000 << 1000
        << QList<Piece>{{1, 0, 0, "aaaaaaaa"}, {1, 160, 0, "b"}} << 1;
    QTest::newRow("tab past the page width starts a line")
        << QStringLiteral("aaaaaaaaa\tb") << 100 << 1000
        << QList<Piece>{{1, 0, 0, "aaaaaaaaa"}, {1, 0, 22, "b"}} << 1;
    QTest::newRow("a run wider than the page wraps")
        << QStringLiteral("0123456789AB") << 100 << 1000
        << QList<Piece>{{1, 0, 0, "0123456789"}, {1, 0, 22, "AB"}} << 1;
    QTest::newRow("the cut counts from where the run starts")
        << QStringLiteral("aaaaa\rbbbbbbbb") << 100 << 1000
        << QList<Piece>{{1, 0, 0, "aaaaa"}, {1, 50, 0, "bbbbb"}, {1, 0, 22, "bbb"}} << 1;
    QTest::newRow("a run after a tab wraps at the page width")
        << QStringLiteral("\tabc") << 100 << 1000 << QList<Piece>{{1, 80, 0, "ab"}, {1, 0, 22, "c"}}
        << 1;
    QTest::newRow("a character wider than the page still prints, one a line")
        << QStringLiteral("ab") << 5 << 1000 << QList<Piece>{{1, 0, 0, "a"}, {1, 0, 22, "b"}} << 1;
    QTest::newRow("FF starts a page") << QStringLiteral("a\fb") << 100 << 1000
                                      << QList<Piece>{{1, 0, 0, "a"}, {2, 0, 0, "b"}} << 2;
    QTest::newRow("FF FF leaves a blank page between")
        << QStringLiteral("a\f\fb") << 100 << 1000 << QList<Piece>{{1, 0, 0, "a"}, {3, 0, 0, "b"}}
        << 3;
    QTest::newRow("a trailing FF makes no blank page")
        << QStringLiteral("a\r\n\f") << 100 << 1000 << QList<Piece>{{1, 0, 0, "a"}} << 1;
    // Page height 100: after the third line y = 66 > 100 - 2 x 22.
    QTest::newRow("lines past the page height go on the next page")
        << QStringLiteral("a\r\nb\r\nc\r\nd\r\n") << 100 << 100
        << QList<Piece>{{1, 0, 0, "a"}, {1, 0, 22, "b"}, {1, 0, 44, "c"}, {2, 0, 0, "d"}} << 2;
    QTest::newRow("a final line feed at the page end makes no blank page")
        << QStringLiteral("a\r\nb\r\nc\r\n\n") << 100 << 100
        << QList<Piece>{{1, 0, 0, "a"}, {1, 0, 22, "b"}, {1, 0, 44, "c"}} << 1;
    // Empty lines advance 20 and break only past the page height itself: y = 60 > 50.
    QTest::newRow("empty lines break at the page height")
        << QStringLiteral("\n\n\na") << 100 << 50 << QList<Piece>{{2, 0, 0, "a"}} << 2;
  }

  void PlacesRuns() {
    QFETCH(QString, text);
    QFETCH(int, page_width);
    QFETCH(int, page_height);
    QFETCH(QList<Piece>, expected);
    QFETCH(int, pages);
    const Layout layout = LayOut(text, page_width, page_height);
    QCOMPARE(layout.pieces, expected);
    QCOMPARE(layout.pages, pages);
  }

  // Page width 95 holds nine 10-pixel characters.
  void CutsLongRunsBetweenGraphemes_data() {
    QTest::addColumn<QString>("grapheme");  // one user-perceived character
    QTest::addColumn<int>("per_line");
    QTest::newRow("ASCII") << QStringLiteral("x") << 9;
    QTest::newRow("full-width kana") << QStringLiteral(u"ア") << 9;
    QTest::newRow("surrogate pair") << QStringLiteral(u"\U0001F600") << 9;
    QTest::newRow("letter and combining accent") << QStringLiteral(u"e\u0301") << 9;
    QTest::newRow("flag of two regional indicators")
        << QStringLiteral(u"\U0001F1EF\U0001F1F5") << 4;
  }

  void CutsLongRunsBetweenGraphemes() {
    QFETCH(QString, grapheme);
    QFETCH(int, per_line);
    const QString text = grapheme.repeated(2 * per_line + 2);
    const QStringList lines = LineTexts(LayOut(text, 95, 1000));
    QCOMPARE(lines, (QStringList{grapheme.repeated(per_line), grapheme.repeated(per_line),
                                 grapheme.repeated(2)}));
  }

  // A hostile field text of 100 000 characters: the layout measures a bounded multiple
  // of the text, not the rest of the run again for every line.
  void CutsAVeryLongRunInFewMeasures() {
    const QString text(100000, QLatin1Char('a'));
    FakeMeasure measure;
    const Layout layout = LayOut(text, 100, 1000000000, &measure);
    QCOMPARE(layout.pieces.size(), 10000);
    QCOMPARE(layout.pieces.back(), (Piece{1, 0, 9999 * 22, "aaaaaaaaaa"}));
    QVERIFY2(measure.measured_units() < 50 * text.size(),
             qPrintable(QString::number(measure.measured_units())));
  }
};

QTEST_MAIN(PrinterTextFileTest)
#include "printer_text_file_test.moc"
