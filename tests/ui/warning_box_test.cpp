// The warning box on the offscreen platform (an 800 x 800 screen): its look, its layout in
// dialog units, how it closes, and where it opens relative to its owner and the work area.
// The layout and centring cases run again on the X server (warning_box_xcb_test).
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "tests/ui/support/window_test_fixture.h"
#include "ui/boxes/warning_box.h"
#include "ui/main_window/window_placement.h"

using testing_support::ModalBoxWatch;

Q_DECLARE_METATYPE(ModalBoxWatch::Closer)
Q_DECLARE_METATYPE(ui::WarningResult)

class WarningBoxTest : public QObject, protected testing_support::WindowTestFixture {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> owner_;

  // Shows a warning over the owner placed at `owner_frame` and returns the box as seen.
  ModalBoxWatch::Box ShowOver(const QRect& owner_frame, const QString& text) {
    owner_->setGeometry(owner_frame);
    owner_->show();
    watch_->Expect();
    ui::ShowWarning(owner_.get(), text);
    return watch_->boxes().empty() ? ModalBoxWatch::Box{} : watch_->boxes().back();
  }

 private Q_SLOTS:
  void init() {
    WatchBoxes();
    owner_ = std::make_unique<QWidget>();
  }
  void cleanup() { VerifyBoxes(); }

  void LooksLikeAWarning() {
    const ModalBoxWatch::Box box =
        ShowOver(QRect(100, 100, 352, 392),
                 QStringLiteral(u"Q値の誤差が大きい\r\nHまたはC2の値を微調整すると改善できます"));
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    // CR LF starts a new line.
    QCOMPARE(box.text,
             QStringLiteral(u"Q値の誤差が大きい\nHまたはC2の値を微調整すると改善できます"));
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QVERIFY(box.single_button_is_default_and_escape);
    QVERIFY(box.button_has_focus);
    QCOMPARE(box.parent, owner_.get());
  }

  void TextIsNotMarkup() {
    const ModalBoxWatch::Box box =
        ShowOver(QRect(100, 100, 352, 392), QStringLiteral("<b>R1</b> & C1"));
    QCOMPARE(box.text, QStringLiteral("<b>R1</b> & C1"));
  }

  void Closing_data() {
    QTest::addColumn<ModalBoxWatch::Closer>("closer");
    QTest::addColumn<ui::WarningResult>("result");
    QTest::newRow("Enter") << ModalBoxWatch::PressKey(Qt::Key_Return) << ui::WarningResult::kOk;
    QTest::newRow("Space") << ModalBoxWatch::PressKey(Qt::Key_Space) << ui::WarningResult::kOk;
    QTest::newRow("Escape") << ModalBoxWatch::PressKey(Qt::Key_Escape) << ui::WarningResult::kOk;
    QTest::newRow("click on OK") << ModalBoxWatch::ClickButton() << ui::WarningResult::kOk;
    QTest::newRow("close box") << ModalBoxWatch::CloseFromTitleBar() << ui::WarningResult::kClosed;
  }

  void Closing() {
    QFETCH(ModalBoxWatch::Closer, closer);
    QFETCH(ui::WarningResult, result);
    owner_->show();
    watch_->Expect(closer);
    QCOMPARE(
        ui::ShowWarning(owner_.get(), QStringLiteral("R1,R2,R3,C1,C2,C3 に値をセットしてください")),
        result);
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
  }

  // The layout from the font's dialog units, worked out here from the font itself: margins
  // of 8 units, 10 between icon and message and before the button, a 50 x 14 unit button
  // centred under message and icon.
  void DialogUnitGeometry() {
    struct Seen {
      QRect icon, message, button;
      QSize client;
      QFont font;
    } seen;
    owner_->setGeometry(QRect(100, 100, 352, 392));
    owner_->show();
    watch_->Expect([&seen](QWidget& box) {
      seen = {box.findChild<QLabel*>(QStringLiteral("Icon"))->geometry(),
              box.findChild<QLabel*>(QStringLiteral("Message"))->geometry(),
              box.findChild<QPushButton*>(QStringLiteral("OK"))->geometry(), box.size(),
              box.font()};
      ModalBoxWatch::PressKey(Qt::Key_Escape)(box);
    });
    const QString text =
        QStringLiteral(u"Q値の誤差が大きい\nHまたはC2の値を微調整すると改善できます");
    QCOMPARE(ui::ShowWarning(owner_.get(), text), ui::WarningResult::kOk);

    const QFontMetrics metrics(seen.font);
    const int average = (metrics.horizontalAdvance(QStringLiteral(
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                             26 +
                         1) /
                        2;
    const auto dx = [average](int units) { return units * average / 4; };
    const auto dy = [&metrics](int units) { return units * metrics.height() / 8; };
    const QSize text_size =
        metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::TextWordWrap, text).size();

    QCOMPARE(seen.icon, QRect(dx(8), dy(8), 32, 32));
    QCOMPARE(seen.message.topLeft(), QPoint(dx(8) + 32 + dx(10), dy(8)));
    QCOMPARE(seen.message.size(), text_size);
    QCOMPARE(seen.button.size(),
             QSize(std::max(dx(50), metrics.horizontalAdvance(QStringLiteral("OK")) + 8), dy(14)));
    QCOMPARE(seen.button.top(), dy(8) + std::max(32, text_size.height()) + dy(10));
    QCOMPARE(seen.client, QSize(dx(8) + 32 + dx(10) + text_size.width() + dx(8),
                                seen.button.bottom() + 1 + dy(8)));
    // Centred under the message and icon, to the pixel that an odd difference loses.
    QVERIFY(std::abs((seen.button.left() + seen.button.width() / 2.0) -
                     seen.client.width() / 2.0) <= 1.0);
  }

  void CentredOverTheOwner() {
    const QRect owner(200, 150, 352, 392);
    const ModalBoxWatch::Box box = ShowOver(owner, QStringLiteral("Warning text"));
    QVERIFY(box.frame.isValid());
    // Centres agree to within the one pixel that truncating halves may lose.
    const QPointF box_centre = QRectF(box.frame).center();
    const QPointF owner_centre = QRectF(owner).center();
    QVERIFY2(std::abs(box_centre.x() - owner_centre.x()) <= 1.0 &&
                 std::abs(box_centre.y() - owner_centre.y()) <= 1.0,
             qPrintable(QStringLiteral("box %1,%2 owner %3,%4")
                            .arg(box_centre.x())
                            .arg(box_centre.y())
                            .arg(owner_centre.x())
                            .arg(owner_centre.y())));
  }

  void PulledIntoTheWorkArea_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QString>("edge");
    QTest::newRow("owner over the right edge") << QRect(700, 200, 352, 392) << "right";
    QTest::newRow("owner over the bottom edge") << QRect(200, 700, 352, 392) << "bottom";
    QTest::newRow("owner above the top") << QRect(200, -380, 352, 392) << "top";
    QTest::newRow("owner left of the screen") << QRect(-340, 200, 352, 392) << "left";
  }

  void PulledIntoTheWorkArea() {
    QFETCH(QRect, owner);
    QFETCH(QString, edge);
    const ModalBoxWatch::Box box = ShowOver(owner, QStringLiteral("Warning text"));
    const QRect area = ui::MonitorWorkArea(owner_.get());
    QCOMPARE(area, QRect(0, 0, 800, 800));
    // Exclusive edges: the box's last pixel is the work area's last pixel.
    if (edge == QStringLiteral("right")) QCOMPARE(box.frame.x() + box.frame.width(), 800);
    if (edge == QStringLiteral("bottom")) QCOMPARE(box.frame.y() + box.frame.height(), 800);
    if (edge == QStringLiteral("top")) QCOMPARE(box.frame.y(), 0);
    if (edge == QStringLiteral("left")) QCOMPARE(box.frame.x(), 0);
  }

  void WithoutOwnerOpensOnTheScreen() {
    watch_->Expect();
    QCOMPARE(ui::ShowWarning(nullptr, QStringLiteral("no owner")), ui::WarningResult::kOk);
    QCOMPARE(watch_->boxes().size(), std::size_t{1});
    QVERIFY(QRect(0, 0, 800, 800).contains(watch_->boxes().front().frame));
  }
};

QTEST_MAIN(WarningBoxTest)
#include "warning_box_test.moc"
