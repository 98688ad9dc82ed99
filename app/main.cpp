// Program start: the application, the main window (which creates the hidden help
// window), then the event loop until the main window closes.
#include <QApplication>
#include <clocale>
#include <exception>
#include <memory>

#include "app/first_paint_probe.h"
#include "ui/error_box.h"
#include "ui/form_main.h"
#include "ui/program_icon.h"
#include "ui/window_fonts.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Qt adopts the user's locale for the C library; numbers must not follow it.
  std::setlocale(LC_NUMERIC, "C");
  QGuiApplication::setDesktopFileName(QStringLiteral("korvane"));

  std::unique_ptr<ui::TFormMain> form_main;
  try {
    // One face for everything the program shows, boxes included: its texts are Japanese,
    // and a second face would only be loaded to fall back to this one.
    QApplication::setFont(ui::MainWindowFont());
    QApplication::setWindowIcon(ui::ProgramIcon());
    form_main = std::make_unique<ui::TFormMain>();
    app::InstallFirstPaintProbe(*form_main);
    form_main->show();
  } catch (const std::exception& error) {
    // A failure before the event loop runs ends the program.
    ui::ShowErrorBox(QString::fromStdString(ui::ErrorMessage(error)));
    return 1;
  }
  return QApplication::exec();
}
