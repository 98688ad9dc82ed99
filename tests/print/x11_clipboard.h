// Reads and writes the X11 CLIPBOARD selection through xclip, a separate X client, while
// this process's event loop keeps turning: on X11 the owner serves every paste itself.
#ifndef KORVANE_TESTS_PRINT_X11_CLIPBOARD_H
#define KORVANE_TESTS_PRINT_X11_CLIPBOARD_H

#include <QByteArray>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>

namespace testing_support {

// The clipboard's content as another program pastes it (`target` as xclip -t names it,
// xclip's default when empty), or nothing when xclip fails.
inline std::optional<QByteArray> ReadX11Clipboard(const QString& target = QString()) {
  QStringList arguments{QStringLiteral("-o"), QStringLiteral("-selection"),
                        QStringLiteral("clipboard")};
  if (!target.isEmpty()) arguments << QStringLiteral("-t") << target;
  QProcess xclip;
  QEventLoop loop;
  QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  xclip.start(QStringLiteral("xclip"), arguments);
  if (!xclip.waitForStarted()) return std::nullopt;
  if (xclip.state() != QProcess::NotRunning) loop.exec();
  if (xclip.state() != QProcess::NotRunning || xclip.exitStatus() != QProcess::NormalExit ||
      xclip.exitCode() != 0) {
    return std::nullopt;
  }
  return xclip.readAllStandardOutput();
}

// Makes xclip own the clipboard with `text`, as another program that copied. The process
// keeps the selection until someone else takes it, and then ends.
inline std::unique_ptr<QProcess> OwnX11ClipboardElsewhere(const QByteArray& text) {
  auto xclip = std::make_unique<QProcess>();
  xclip->start(QStringLiteral("xclip"), {QStringLiteral("-i"), QStringLiteral("-selection"),
                                         QStringLiteral("clipboard"), QStringLiteral("-quiet")});
  if (!xclip->waitForStarted()) return nullptr;
  xclip->write(text);
  xclip->closeWriteChannel();
  return xclip;
}

}  // namespace testing_support

#endif  // KORVANE_TESTS_PRINT_X11_CLIPBOARD_H
