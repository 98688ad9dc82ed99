#include "ui/printing/print_font.h"

#include <QStringList>

namespace ui {

QFont PrintFont() {
  QFont font(kPrintFontFace, kPrintFontPointSize);
  // Without the fallback, font matching would pick whatever face the system prefers for
  // an unknown name, often a Latin-only one.
  font.setFamilies(QStringList{kPrintFontFace, kPrintFontFallbackFace});
  font.setStyleHint(QFont::Serif);
  return font;
}

}  // namespace ui
