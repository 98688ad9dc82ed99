// Watches for modal boxes while a window test runs. A box the test expects is recorded
// and handed to the closer the test chose; any other box is recorded as unexpected and
// closed at once, so that a test fails instead of hanging on it.
#ifndef KORVANE_TESTS_UI_SUPPORT_MODAL_BOX_WATCH_H
#define KORVANE_TESTS_UI_SUPPORT_MODAL_BOX_WATCH_H

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

class ModalBoxWatch : public QObject {
 public:
  struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool single_button_is_default_and_escape = false;
    bool button_has_focus = false;
    QRect frame;  // outer rectangle on the screen when found
    QWidget* parent = nullptr;
    bool expected = false;
  };
  using Closer = std::function<void(QWidget& box)>;

  ModalBoxWatch() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalBoxWatch::Poll);
    timer_.start();
  }

  // The next modal box is expected; `closer` closes it (by default with Enter).
  void Expect(Closer closer = PressKey(Qt::Key_Return)) { closers_.push_back(std::move(closer)); }

  static Closer PressKey(Qt::Key key) {
    return [key](QWidget& box) {
      QWidget* target = QApplication::focusWidget();
      if (target == nullptr || target->window() != &box) target = &box;
      QTest::keyClick(target, key);
    };
  }
  static Closer ClickButton() {
    return [](QWidget& box) {
      const QList<QPushButton*> buttons = box.findChildren<QPushButton*>();
      if (!buttons.isEmpty()) QTest::mouseClick(buttons.front(), Qt::LeftButton);
    };
  }
  static Closer CloseFromTitleBar() {
    return [](QWidget& box) { box.close(); };
  }

  const std::vector<Box>& boxes() const { return boxes_; }
  int pending_expectations() const { return static_cast<int>(closers_.size()); }
  QStringList unexpected() const {
    QStringList texts;
    for (const Box& box : boxes_) {
      if (!box.expected) texts << box.title + QStringLiteral(": ") + box.text;
    }
    return texts;
  }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == handling_) return;
    QPointer<QWidget> guard(modal);
    handling_ = modal;
    Box box = Describe(*modal);
    box.expected = !closers_.empty();
    boxes_.push_back(box);
    if (box.expected) {
      Closer closer = std::move(closers_.front());
      closers_.pop_front();
      closer(*modal);
    }
    // Whatever the closer did, the box must not stay open.
    if (guard && guard->isVisible()) guard->close();
    handling_ = nullptr;
  }

  static Box Describe(QWidget& widget) {
    Box box;
    box.title = widget.windowTitle();
    box.frame = widget.frameGeometry();
    box.parent = widget.parentWidget();
    if (widget.property("messageIcon").isValid()) {  // the program's own warning box
      box.icon = static_cast<QMessageBox::Icon>(widget.property("messageIcon").toInt());
      if (auto* label = widget.findChild<QLabel*>(QStringLiteral("Message")))
        box.text = label->text();
      const QList<QPushButton*> buttons = widget.findChildren<QPushButton*>();
      for (const QPushButton* button : buttons) box.buttons << button->text();
      if (buttons.size() == 1) {
        // The box closes with OK on Escape itself; the default role is the button's own.
        box.single_button_is_default_and_escape = buttons.front()->isDefault();
        box.button_has_focus = QApplication::focusWidget() == buttons.front() ||
                               widget.focusWidget() == buttons.front();
      }
    } else if (auto* message = qobject_cast<QMessageBox*>(&widget)) {
      box.text = message->text();
      box.icon = message->icon();
      const QList<QAbstractButton*> buttons = message->buttons();
      for (const QAbstractButton* button : buttons) box.buttons << button->text();
      if (buttons.size() == 1) {
        box.single_button_is_default_and_escape = message->defaultButton() == buttons.front() &&
                                                  message->escapeButton() == buttons.front();
        box.button_has_focus = QApplication::focusWidget() == buttons.front() ||
                               message->focusWidget() == buttons.front();
      }
    }
    return box;
  }

  QTimer timer_;
  std::deque<Closer> closers_;
  std::vector<Box> boxes_;
  QWidget* handling_ = nullptr;
};

}  // namespace testing_support

#endif  // KORVANE_TESTS_UI_SUPPORT_MODAL_BOX_WATCH_H
