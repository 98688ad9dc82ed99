// The reference for the start-up benchmark: an empty Qt window with the calculator's
// fixed 352 x 392 client area and the same first-paint probe, nothing else.
#include <QApplication>
#include <QWidget>

#include "app/first_paint_probe.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(352, 392);
  app::InstallFirstPaintProbe(window);
  window.show();
  return QApplication::exec();
}
