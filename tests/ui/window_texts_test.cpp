// Texts the windows make from data: the version in the caption, the error box's text and
// title, and the tab-order stepping behind Enter and the arrow keys.
#include <QTest>
#include <stdexcept>

#include "ui/boxes/error_box.h"
#include "ui/main_window/tab_order.h"
#include "ui/main_window/version_text.h"

Q_DECLARE_METATYPE(std::uint32_t)

class WindowTextsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void Caption_data() {
    QTest::addColumn<std::uint32_t>("version_word");
    QTest::addColumn<QString>("caption");
    QTest::newRow("2.5") << std::uint32_t{0x00020005} << QStringLiteral("Korvane Ver2.05");
    QTest::newRow("3.14") << std::uint32_t{0x0003000E} << QStringLiteral("Korvane Ver3.14");
    QTest::newRow("1.123") << std::uint32_t{0x0001007B} << QStringLiteral("Korvane Ver1.123");
    QTest::newRow("2.0") << std::uint32_t{0x00020000} << QStringLiteral("Korvane Ver2.00");
    QTest::newRow("10.10") << std::uint32_t{0x000A000A} << QStringLiteral("Korvane Ver10.10");
    QTest::newRow("unreadable") << ui::kUnreadableVersionWord
                                << QStringLiteral("Korvane Ver65535.65535");
  }

  void Caption() {
    QFETCH(std::uint32_t, version_word);
    QFETCH(QString, caption);
    QCOMPARE(ui::MainWindowCaption(version_word), caption);
  }

  void BuildVersionIsTheProjectVersion() {
    // The project is version 2.5.0.0.
    QCOMPARE(ui::BuildVersionWord(), std::uint32_t{0x00020005});
  }

  void ErrorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("division by zero") << QStringLiteral("Floating point division by zero")
                                      << QStringLiteral("Floating point division by zero.");
    QTest::newRow("invalid") << QStringLiteral("Invalid floating point operation")
                             << QStringLiteral("Invalid floating point operation.");
    QTest::newRow("overflow") << QStringLiteral("Floating point overflow")
                              << QStringLiteral("Floating point overflow.");
    QTest::newRow("ends in a full stop") << QStringLiteral("Done.") << QStringLiteral("Done.");
    QTest::newRow("empty") << QString() << QString();
    // Codes at or below "." (0x2E) get nothing: "-" is 0x2D, "!" 0x21, a blank 0x20.
    QTest::newRow("ends in a hyphen") << QStringLiteral("Error -") << QStringLiteral("Error -");
    QTest::newRow("ends in an exclamation mark") << QStringLiteral("No!") << QStringLiteral("No!");
    QTest::newRow("ends in a blank") << QStringLiteral("x ") << QStringLiteral("x ");
    QTest::newRow("ends in a slash (0x2F)") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("ends in Japanese")
        << QStringLiteral(u"印刷できません") << QStringLiteral(u"印刷できません.");
  }

  void ErrorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ui::ErrorBoxText(message), shown);
  }

  void ApplicationTitle_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("installed") << QStringLiteral("/usr/bin/korvane") << QStringLiteral("korvane");
    QTest::newRow("upper case with extension")
        << QStringLiteral("/opt/KORVANE.EXE") << QStringLiteral("Korvane");
    QTest::newRow("cut before the first dot")
        << QStringLiteral("/tmp/MyCalc.v2.bin") << QStringLiteral("Mycalc");
    QTest::newRow("dot first") << QStringLiteral("/tmp/.hidden") << QString();
    QTest::newRow("no folder") << QStringLiteral("Calc") << QStringLiteral("Calc");
  }

  void ApplicationTitle() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(ui::ApplicationTitle(path), title);
  }

  void ErrorMessageTakesTheInnermostNonEmptyMessage() {
    QCOMPARE(ui::ErrorMessage(std::runtime_error("Printing in progress")),
             std::string("Printing in progress"));
    try {
      try {
        throw std::runtime_error("Out of system resources");
      } catch (...) {
        std::throw_with_nested(std::runtime_error("copy failed"));
      }
    } catch (const std::exception& outer) {
      QCOMPARE(ui::ErrorMessage(outer), std::string("Out of system resources"));
    }
    try {
      try {
        throw std::runtime_error("");
      } catch (...) {
        std::throw_with_nested(std::runtime_error("outer speaks"));
      }
    } catch (const std::exception& outer) {
      QCOMPARE(ui::ErrorMessage(outer), std::string("outer speaks"));
    }
  }

  void TabOrderStepping() {
    using ui::TabDirection;
    // Stops: 0 yes, 1 no, 2 yes, 3 no.
    const bool stops[] = {true, false, true, false};
    struct Case {
      const char* name;
      std::size_t from;
      TabDirection direction;
      std::optional<std::size_t> expected;
    } cases[] = {
        {"forward skips a control without a stop", 0, TabDirection::kForward, 2},
        {"forward wraps past the end", 2, TabDirection::kForward, 0},
        {"backward wraps past the start", 0, TabDirection::kBackward, 2},
        {"from a control without a stop, forward", 1, TabDirection::kForward, 2},
        {"from a control without a stop, backward", 1, TabDirection::kBackward, 0},
        {"from the last, which has no stop", 3, TabDirection::kForward, 0},
        {"outside the list", 4, TabDirection::kForward, std::nullopt},
    };
    for (const Case& c : cases) {
      QVERIFY2(ui::NextInTabOrder(stops, c.from, c.direction) == c.expected, c.name);
    }
    const bool only_one[] = {false, true, false};
    QCOMPARE(ui::NextInTabOrder(only_one, 1, TabDirection::kForward),
             std::optional<std::size_t>(1));
    const bool none[] = {false, false};
    QCOMPARE(ui::NextInTabOrder(none, 0, TabDirection::kBackward), std::nullopt);
    QCOMPARE(ui::NextInTabOrder({}, 0, TabDirection::kForward), std::nullopt);
  }
};

QTEST_GUILESS_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
