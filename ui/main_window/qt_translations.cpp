#include "ui/main_window/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

bool InstallQtTranslations() {
  static QTranslator* installed = nullptr;
  if (installed != nullptr) return true;
  // Owned by the application, so it lives as long as the texts it translates.
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  installed = translator;
  return true;
}

}  // namespace ui
