// The reference for the start-up benchmark: an empty Qt window with the calculator's
// fixed 352 x 392 client area and the same first-paint probe, nothing else. With
// --japanese-label it also shows one Japanese label in the calculator's font, which
// tells how much of the calculator's start-up is the cost of drawing any Japanese text.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "bench/startup/first_paint_probe.h"
#include "ui/main_window/window_fonts.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(352, 392);
  if (argc > 1 && std::strcmp(argv[1], "--japanese-label") == 0) {
    QApplication::setFont(ui::MainWindowFont());
    auto* label = new QLabel(QStringLiteral(u"定数計算"), &window);
    label->move(21, 359);
  }
  bench::InstallFirstPaintProbe(window);
  window.show();
  return QApplication::exec();
}
