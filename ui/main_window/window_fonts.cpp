#include "ui/main_window/window_fonts.h"

#include <QStringList>

namespace ui {

QFont MainWindowFont() {
  QFont font;
  font.setFamilies(
      {QStringLiteral(u"ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
  font.setPixelSize(13);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

QFont HelpWindowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("IPAGothic")});
  font.setPixelSize(11);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace ui
