// The response window's exports without the window: the suffix a saved file gets, the
// picture's caption, the points a picture draws and the words of a failed export.
#include <unistd.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

#include "ui/response/picture_caption.h"
#include "ui/response/picture_decimation.h"
#include "ui/response/response_export.h"

namespace {

const QString kPictures = QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)");
const QString kSvg = QStringLiteral("SVG 画像 (*.svg)");
const QString kPng = QStringLiteral("PNG 画像 (*.png)");

// The message of the ExportError that `save` throws; empty when it throws none.
template <typename Save>
QString FailureOf(Save&& save) {
  try {
    save();
  } catch (const ui::ExportError& error) {
    return error.message();
  }
  return {};
}

}  // namespace

class ResponseExportTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void SuffixFollowsTheChosenFilter_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("filters");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    const QString cir = QStringLiteral("SPICE ネットリスト (*.cir)");
    QTest::newRow("header: none, SVG chosen")
        << "/tmp/plot" << kPictures << kSvg << "/tmp/plot.svg";
    QTest::newRow("header: an offered suffix in capitals")
        << "/tmp/plot.PNG" << kPictures << kSvg << "/tmp/plot.PNG";
    QTest::newRow("header: a suffix not offered") << "/tmp/deck.v2" << cir << ""
                                                  << "/tmp/deck.v2.cir";
    QTest::newRow("none, PNG chosen") << "/tmp/plot" << kPictures << kPng << "/tmp/plot.png";
    QTest::newRow("no filter reported: the first") << "/tmp/plot" << kPictures << ""
                                                   << "/tmp/plot.png";
    QTest::newRow("the other offered suffix stays")
        << "/tmp/plot.svg" << kPictures << kPng << "/tmp/plot.svg";
    QTest::newRow("a name ending in a dot") << "/tmp/curves."
                                            << "CSV (*.csv)"
                                            << ""
                                            << "/tmp/curves.csv";
    QTest::newRow("a dot in the folder only") << "/tmp/v1.5/curves"
                                              << "CSV (*.csv)"
                                              << ""
                                              << "/tmp/v1.5/curves.csv";
    QTest::newRow("the suffix alone is a hidden name") << "/tmp/.csv"
                                                       << "CSV (*.csv)"
                                                       << ""
                                                       << "/tmp/.csv.csv";
    QTest::newRow("cancelled") << ""
                               << "CSV (*.csv)"
                               << ""
                               << "";
  }
  void SuffixFollowsTheChosenFilter() {
    QFETCH(QString, path);
    QFETCH(QString, filters);
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QCOMPARE(ui::WithSuffix(path, filters, chosen), saved);
  }

  void PictureFormatFollowsTheSuffix() {
    using ui::PictureFormat;
    QCOMPARE(ui::PictureFormatOf(QStringLiteral("a.SVG"), PictureFormat::kPng),
             PictureFormat::kSvg);
    QCOMPARE(ui::PictureFormatOf(QStringLiteral("a.png"), PictureFormat::kSvg),
             PictureFormat::kPng);
    QCOMPARE(ui::PictureFormatOf(QStringLiteral("a.v2"), PictureFormat::kSvg), PictureFormat::kSvg);
  }

  void CaptionNamesCircuitOpAmpAndDate_data() {
    QTest::addColumn<double>("r2");
    QTest::addColumn<double>("slew");
    QTest::addColumn<QString>("caption");
    QTest::newRow("header") << 1e3 << 13.0
                            << QStringLiteral(
                                   u"R1 = 10.000k  R2 = 1.000k  R3 = 200.000k  C1 = 10.000n  "
                                   u"C2 = 10.000n\nオペアンプ: GBW = 10.000MHz  A0 = 100.000k  "
                                   u"SR = 13.000 V/µs\n作成日: 2026-12-10");
    QTest::newRow("no R2, a slow op-amp")
        << std::numeric_limits<double>::quiet_NaN() << 0.25
        << QStringLiteral(
               u"R1 = 10.000k  R2 = なし  R3 = 200.000k  C1 = 10.000n  C2 = 10.000n\n"
               u"オペアンプ: GBW = 10.000MHz  A0 = 100.000k  SR = 0.250 V/µs\n"
               u"作成日: 2026-12-10");
  }
  void CaptionNamesCircuitOpAmpAndDate() {
    QFETCH(double, r2);
    QFETCH(double, slew);
    QFETCH(QString, caption);
    ui::OpAmpSettings settings;
    settings.op_amp = {100e3, 10e6};
    settings.slew_v_per_us = slew;
    QCOMPARE(ui::PictureCaption({10e3, r2, 200e3, 10e-9, 10e-9}, settings, QDate(2026, 12, 10)),
             caption);
  }

  void PicturesDrawOnlyWhatThePixelsShow_data() {
    QTest::addColumn<QList<QPointF>>("pixels");
    QTest::addColumn<QList<qsizetype>>("drawn");
    QTest::newRow("header: four in a column, all needed")
        << QList<QPointF>{{0, 5}, {0.2, 1}, {0.5, 9}, {0.7, 4}, {3, 0}}
        << QList<qsizetype>{0, 1, 2, 3, 4};
    QTest::newRow("header: outside the edges")
        << QList<QPointF>{{-5, 0}, {-3, 0}, {1, 0}, {2, 0}, {12, 0}, {14, 0}}
        << QList<qsizetype>{1, 2, 3, 4};
    QTest::newRow("header: first, lowest, highest, last")
        << QList<QPointF>{{1.1, 3}, {1.2, 0}, {1.3, 5}, {1.4, 9}, {1.5, 4}, {1.6, 2}}
        << QList<qsizetype>{0, 1, 3, 5};
    QTest::newRow("all beyond the right edge: the first of them")
        << QList<QPointF>{{11, 0}, {12, 0}} << QList<qsizetype>{0};
    QTest::newRow("a position without a value ends the run, and does not stall it")
        << QList<QPointF>{{1, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}, {2, 0}}
        << QList<qsizetype>{0, 1};
    QTest::newRow("none") << QList<QPointF>{} << QList<qsizetype>{};
  }
  void PicturesDrawOnlyWhatThePixelsShow() {
    QFETCH(QList<QPointF>, pixels);
    QFETCH(QList<qsizetype>, drawn);
    const std::vector<std::size_t> kept =
        ui::PointsToDraw(std::vector<QPointF>(pixels.begin(), pixels.end()), 0.0, 10.0);
    QCOMPARE(QList<qsizetype>(kept.begin(), kept.end()), drawn);
  }

  // A failed export says so in Japanese, with the path and the reason a user can act on,
  // and no English system message; an earlier file stays as it was.
  void FailuresSayWhyInJapanese() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString missing = folder.filePath(QStringLiteral("no such folder/c.csv"));
    QString message = FailureOf([&] { ui::SaveText("x", missing); });
    QCOMPARE(message, QStringLiteral(u"「%1」に保存できませんでした。フォルダ「%2」がありません。")
                          .arg(QDir::toNativeSeparators(missing),
                               folder.filePath(QStringLiteral("no such folder"))));

    const QString taken = folder.filePath(QStringLiteral("taken.csv"));
    QVERIFY(QDir().mkpath(taken));
    message = FailureOf([&] { ui::SaveText("x", taken); });
    QVERIFY2(message.endsWith(QStringLiteral(u"同じ名前のフォルダがあります。")),
             qPrintable(message));

    const ui::Picture picture{QSize(40, 30), 1.0, [](QPainter&) {}, QStringLiteral("caption"), {}};
    for (const ui::PictureFormat format : {ui::PictureFormat::kPng, ui::PictureFormat::kSvg}) {
      message = FailureOf([&] { ui::SavePicture(picture, missing, format); });
      QVERIFY2(message.contains(QStringLiteral(u"がありません")), qPrintable(message));
    }

    if (geteuid() != 0) {  // root writes anywhere
      const QString locked = folder.filePath(QStringLiteral("locked"));
      QVERIFY(QDir().mkpath(locked));
      QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
      message = FailureOf([&] { ui::SaveText("x", locked + QStringLiteral("/c.csv")); });
      QVERIFY2(message.endsWith(QStringLiteral(u"書き込む権限がありません。")),
               qPrintable(message));
    }

    const QString earlier = folder.filePath(QStringLiteral("earlier.csv"));
    ui::SaveText("kept", earlier);
    QFile file(earlier);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("kept"));
  }
};

QTEST_MAIN(ResponseExportTest)
#include "response_export_test.moc"
