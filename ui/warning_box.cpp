#include "ui/warning_box.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>
#include <vector>

#include "ui/window_placement.h"

namespace ui {
namespace {

// The platform's message box, moved in its show event: only then does it know its size,
// and the move still happens before the box appears on the screen.
class WarningBox : public QMessageBox {
 public:
  WarningBox(QWidget* owner, const QString& text)
      : QMessageBox(QMessageBox::Warning, QStringLiteral("Warning"), QString(),
                    QMessageBox::NoButton, owner),
        owner_(owner) {
    setTextFormat(Qt::PlainText);
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setText(lines);
    ok_ = addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    setDefaultButton(ok_);
    setEscapeButton(ok_);
    // The close box also "clicks" the escape button inside QMessageBox; a real click,
    // Enter, Space or Escape goes through the button's clicked signal, the close box not.
    connect(ok_, &QPushButton::clicked, this, &WarningBox::NoteOk);
  }

  WarningResult result_of_closing() const {
    return closed_with_ok_ ? WarningResult::kOk : WarningResult::kClosed;
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);  // sizes the box to its text
    if (owner_ == nullptr || event->spontaneous()) return;
    const QRect owner_frame = owner_->frameGeometry();
    // The window manager tells the box's frame only once it is on screen; it draws the
    // same frame around the owner, so the owner's stands in for it.
    const QSize frame_extra = owner_frame.size() - owner_->size();
    const QSize outer = size() + frame_extra;
    const ScreenPoint corner =
        PlaceWarningBox(ScreenRectFromQRect(owner_frame), outer.width(), outer.height(),
                        ScreenRectFromQRect(MonitorWorkArea(owner_)));
    move(ToQPoint(corner));
  }

 private:
  void NoteOk() { closed_with_ok_ = true; }

  QWidget* owner_;
  QPushButton* ok_ = nullptr;
  bool closed_with_ok_ = false;
};

}  // namespace

QRect MonitorWorkArea(const QWidget* window) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (window != nullptr && !screens.isEmpty()) {
    std::vector<ScreenRect> areas;
    areas.reserve(static_cast<std::size_t>(screens.size()));
    for (const QScreen* screen : screens) areas.push_back(ScreenRectFromQRect(screen->geometry()));
    const int index = NearestScreenIndex(ScreenRectFromQRect(window->frameGeometry()), areas);
    if (index >= 0) return screens[index]->availableGeometry();
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary != nullptr ? primary->availableGeometry() : QRect();
}

WarningResult ShowWarning(QWidget* owner, const QString& text) {
  WarningBox box(owner, text);
  box.exec();
  return box.result_of_closing();
}

}  // namespace ui
