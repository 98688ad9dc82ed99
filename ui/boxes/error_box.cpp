#include "ui/boxes/error_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "calc/text/error_text.h"

namespace ui {

std::string ErrorMessage(const std::exception& error) {
  try {
    std::rethrow_if_nested(error);
  } catch (const std::exception& inner) {
    std::string message = ErrorMessage(inner);
    if (!message.empty()) return message;
  } catch (...) {
    // An inner error without a message: the outer one speaks for it.
  }
  return error.what();
}

QString ErrorBoxText(const QString& message) {
  return QString::fromStdString(calc::ErrorBoxText(message.toStdString()));
}

QString ApplicationTitle(const QString& executable_path) {
  QString name = QFileInfo(executable_path).fileName();
  const qsizetype dot = name.indexOf(u'.');
  if (dot >= 0) name.truncate(dot);
  // QString::toLower follows Unicode, not the user's regional settings.
  if (name.size() > 1) name = name.first(1) + name.sliced(1).toLower();
  return name;
}

void ShowErrorBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(QCoreApplication::applicationFilePath()),
                  ErrorBoxText(message), QMessageBox::NoButton, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

}  // namespace ui
