// The set-up that window tests share: a watch on modal boxes that starts before any
// window opens, the main window shown and active, and the check after each test that
// every box was expected and every expected box came. A QtTest class inherits it after
// QObject and calls it from init() and cleanup().
#ifndef KORVANE_TESTS_UI_SUPPORT_WINDOW_TEST_FIXTURE_H
#define KORVANE_TESTS_UI_SUPPORT_WINDOW_TEST_FIXTURE_H

#include <QTest>
#include <functional>
#include <memory>

#include "tests/ui/support/modal_box_watch.h"
#include "ui/main_window/form_main.h"

namespace testing_support {

class WindowTestFixture {
 protected:
  // A new watch: boxes from here on close themselves or are expected.
  void WatchBoxes() { watch_ = std::make_unique<ModalBoxWatch>(); }

  // Watches boxes, then makes a new main window, hands it to `prepare`, shows it and
  // waits until it is exposed and active (has the keyboard focus), as a user finds it.
  // False when the window system did not show or activate it.
  [[nodiscard]] bool OpenMainWindow(const std::function<void(ui::TFormMain&)>& prepare = {}) {
    WatchBoxes();
    form_ = std::make_unique<ui::TFormMain>();
    if (prepare) prepare(*form_);
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) return false;
    form_->activateWindow();
    return QTest::qWaitForWindowActive(form_.get());
  }

  // Fails the current test on a box that nobody expected, or an expected box that never
  // came. Nothing to check before the watch has started (a test case that skipped).
  void VerifyBoxes() const {
    if (watch_ == nullptr) return;
    QVERIFY2(watch_->unexpected().isEmpty(), qPrintable(watch_->unexpected().join(u"; ")));
    QCOMPARE(watch_->pending_expectations(), 0);
  }

  std::unique_ptr<ModalBoxWatch> watch_;
  std::unique_ptr<ui::TFormMain> form_;
};

}  // namespace testing_support

#endif  // KORVANE_TESTS_UI_SUPPORT_WINDOW_TEST_FIXTURE_H
