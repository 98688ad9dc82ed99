#include "ui/boxes/warning_box.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "ui/boxes/warning_box_layout.h"
#include "ui/main_window/window_placement.h"

namespace ui {
namespace {

constexpr int kIconSize = 32;

// The box built to the platform's message-box metrics (ui/boxes/warning_box_layout.h) in the
// application's font; placed in its show event, when its outer size is known.
class WarningBox : public QDialog {
 public:
  WarningBox(QWidget* owner, const QString& text)
      : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
        owner_(owner) {
    setObjectName(QStringLiteral("WarningBox"));
    setWindowTitle(QStringLiteral("Warning"));
    // For tests and accessibility tools: what kind of box this is.
    setProperty("messageIcon", static_cast<int>(QMessageBox::Warning));
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    const QFontMetrics metrics(font());
    const int wrap_width = std::max(1, AvailableWidth(owner) / 2);
    constexpr int kTextFlags = Qt::TextWordWrap | Qt::TextExpandTabs;
    const QSize message_size =
        metrics.boundingRect(QRect(0, 0, wrap_width, 1 << 20), kTextFlags, lines).size();

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Icon"));
    // Drawn large and scaled down smoothly, as the platform's boxes draw theirs.
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this);
    icon->setPixmap(warning.pixmap(64, 64).scaled(kIconSize * devicePixelRatio(),
                                                  kIconSize * devicePixelRatio(),
                                                  Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setScaledContents(true);
    auto* message = new QLabel(lines, this);
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    const WarningBoxLayout layout =
        LayOutWarningBox(DialogBaseUnitsOf(metrics), QSize(kIconSize, kIconSize), message_size,
                         metrics.horizontalAdvance(ok_->text()));
    icon->setGeometry(layout.icon);
    message->setGeometry(layout.message);
    ok_->setGeometry(layout.button);
    setFixedSize(layout.client);
    ok_->setFocus();
  }

 protected:
  // Escape, like Enter and Space, is the OK button; only the close box closes otherwise.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
      ok_->click();
      return;
    }
    QDialog::keyPressEvent(event);
  }

  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
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
  static int AvailableWidth(const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 1024;
  }

  QWidget* owner_;
  QPushButton* ok_ = nullptr;
};

}  // namespace

WarningResult ShowWarning(QWidget* owner, const QString& text) {
  WarningBox box(owner, text);
  return box.exec() == QDialog::Accepted ? WarningResult::kOk : WarningResult::kClosed;
}

}  // namespace ui
