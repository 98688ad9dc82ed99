// Placement arithmetic of the warning box, the help window and the main window, checked
// on rectangles worked out by hand. Work areas are half-open: right and bottom are the
// first pixel outside.
#include <QTest>

#include "ui/main_window/window_placement.h"

using ui::ScreenPoint;
using ui::ScreenRect;

Q_DECLARE_METATYPE(ScreenRect)
Q_DECLARE_METATYPE(ScreenPoint)

namespace {

// A 1280 x 1024 screen with a 40-pixel panel along the bottom.
constexpr ScreenRect kWorkArea{0, 0, 1280, 984};

}  // namespace

class WindowPlacementTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void QRectConversionUsesExclusiveEdges() {
    QCOMPARE(ui::ScreenRectFromQRect(QRect(10, 20, 30, 40)), (ScreenRect{10, 20, 40, 60}));
    QCOMPARE(ui::ScreenRectFromQRect(QRect(QPoint(-5, -5), QPoint(4, 4))),
             (ScreenRect{-5, -5, 5, 5}));
    QCOMPARE(ui::ToQPoint({5, -7}), QPoint(5, -7));
    QCOMPARE(ui::ToQPoint({std::int64_t{1} << 40, -(std::int64_t{1} << 40)}),
             QPoint(std::numeric_limits<int>::max(), std::numeric_limits<int>::min()));
  }

  void WarningBox_data() {
    QTest::addColumn<ScreenRect>("owner");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<ScreenRect>("work_area");
    QTest::addColumn<ScreenPoint>("expected");

    // Owner 366 x 422 at (400, 300): centre (583, 511). Box 250 x 120.
    QTest::newRow("well inside: centred")
        << ScreenRect{400, 300, 766, 722} << 250 << 120 << kWorkArea << ScreenPoint{458, 451};
    // Odd differences lose their half: (366 - 251) / 2 = 57, (422 - 121) / 2 = 150.
    QTest::newRow("odd differences truncate")
        << ScreenRect{400, 300, 766, 722} << 251 << 121 << kWorkArea << ScreenPoint{457, 450};
    // Negative odd differences truncate toward zero: (100 - 105) / 2 = -2.
    QTest::newRow("box wider than owner truncates toward zero")
        << ScreenRect{500, 500, 600, 600} << 105 << 105 << kWorkArea << ScreenPoint{498, 498};
    // Owner dragged over the right edge: centred left 1100 + 58 = 1158 > 1280 - 250.
    QTest::newRow("right overflow: flush with right edge")
        << ScreenRect{1100, 300, 1466, 722} << 250 << 120 << kWorkArea << ScreenPoint{1030, 451};
    // Over the bottom edge: centred top 900 + 151 = 1051 > 984 - 120.
    QTest::newRow("bottom overflow: flush with bottom edge")
        << ScreenRect{400, 900, 766, 1322} << 250 << 120 << kWorkArea << ScreenPoint{458, 864};
    // Partly above the top: centred top -350 + 151 = -199.
    QTest::newRow("top overflow: on the top edge")
        << ScreenRect{400, -350, 766, 72} << 250 << 120 << kWorkArea << ScreenPoint{458, 0};
    // Partly left of the work area: centred left -300 + 58 = -242.
    QTest::newRow("left overflow: on the left edge")
        << ScreenRect{-300, 300, 66, 722} << 250 << 120 << kWorkArea << ScreenPoint{0, 451};
    // A work area that does not start at the origin (second screen, panel on top):
    // centred top -200 + 151 = -49 is pulled down to the panel's edge at 30.
    QTest::newRow("second screen with top panel")
        << ScreenRect{1300, -200, 1666, 222} << 250 << 120 << ScreenRect{1280, 30, 2560, 1024}
        << ScreenPoint{1358, 30};
    // Taller than the work area: the bottom correction comes last and wins.
    QTest::newRow("taller than work area: flush with bottom, top above")
        << ScreenRect{400, 300, 766, 722} << 250 << 1100 << kWorkArea << ScreenPoint{458, -116};
    // Wider than the work area: flush with the right edge, left beyond the left edge.
    QTest::newRow("wider than work area: flush with right, left outside")
        << ScreenRect{400, 300, 766, 722} << 1400 << 120 << kWorkArea << ScreenPoint{-120, 451};
  }

  void WarningBox() {
    QFETCH(ScreenRect, owner);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(ScreenRect, work_area);
    QFETCH(ScreenPoint, expected);
    QCOMPARE(ui::PlaceWarningBox(owner, width, height, work_area), expected);
  }

  void HelpWindow_data() {
    QTest::addColumn<ScreenRect>("main_window");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<ScreenPoint>("expected");

    // Help window 495 x 293 plus no frame, main window 352 x 392 at (464, 296).
    // Left: 464 + (352 - 495) / 2 = 464 - 71 = 393; top: 296 + (392 - 293) / 2 = 345.
    QTest::newRow("centred over the main window")
        << ScreenRect{464, 296, 816, 688} << 495 << 293 << ScreenPoint{393, 345};
    // Near the top-left corner: left 10 - 71 < 0, top -40 + 49 = 9 stays.
    QTest::newRow("kept off the left edge")
        << ScreenRect{10, -40, 362, 352} << 495 << 293 << ScreenPoint{0, 9};
    QTest::newRow("kept off the top edge")
        << ScreenRect{400, -200, 752, 192} << 495 << 293 << ScreenPoint{329, 0};
    // No test against the right or the bottom edge: the window may leave the screen there.
    QTest::newRow("right and bottom may overflow")
        << ScreenRect{1200, 900, 1552, 1292} << 495 << 293 << ScreenPoint{1129, 949};
  }

  void HelpWindow() {
    QFETCH(ScreenRect, main_window);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(ScreenPoint, expected);
    QCOMPARE(ui::PlaceHelpWindow(main_window, width, height, kWorkArea), expected);
  }

  void MainWindowCentredInWorkArea() {
    QCOMPARE(ui::CentreInWorkArea(352, 392, {0, 0, 1280, 1024}), (ScreenPoint{464, 316}));
    QCOMPARE(ui::CentreInWorkArea(352, 392, {1280, 30, 2560, 1024}), (ScreenPoint{1744, 331}));
    // Larger than the work area: its left and top edges stay inside.
    QCOMPARE(ui::CentreInWorkArea(2000, 1200, {0, 30, 1280, 1024}), (ScreenPoint{0, 30}));
  }

  void NearestScreen_data() {
    QTest::addColumn<ScreenRect>("window");
    QTest::addColumn<int>("expected");
    QTest::newRow("inside the first") << ScreenRect{100, 100, 400, 400} << 0;
    QTest::newRow("inside the second") << ScreenRect{1400, 100, 1700, 400} << 1;
    QTest::newRow("straddling, more on the second") << ScreenRect{1180, 0, 1480, 300} << 1;
    QTest::newRow("straddling, more on the first") << ScreenRect{1100, 0, 1400, 300} << 0;
    QTest::newRow("straddling evenly: the earlier") << ScreenRect{1130, 0, 1430, 300} << 0;
    QTest::newRow("off every screen, nearer the second") << ScreenRect{1400, 1100, 1500, 1200} << 1;
    QTest::newRow("off every screen, left of the first") << ScreenRect{-900, 0, -500, 300} << 0;
  }

  void NearestScreen() {
    QFETCH(ScreenRect, window);
    QFETCH(int, expected);
    const ScreenRect screens[] = {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}};
    QCOMPARE(ui::NearestScreenIndex(window, screens), expected);
  }

  void NoScreens() { QCOMPARE(ui::NearestScreenIndex({0, 0, 10, 10}, {}), -1); }
};

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
