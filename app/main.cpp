// Program start: the application, the main window (which creates the hidden help
// window), then the event loop until the main window closes.
#include <QApplication>
#include <clocale>
#include <exception>
#include <memory>
#include <optional>

#include "app/command_line.h"
#include "ui/boxes/error_box.h"
#include "ui/main_window/form_main.h"
#include "ui/main_window/program_icon.h"
#include "ui/main_window/qt_translations.h"
#include "ui/main_window/window_fonts.h"

#ifdef KORVANE_FIRST_PAINT_PROBE
#include "bench/startup/first_paint_probe.h"
#endif

int main(int argc, char* argv[]) {
  if (const std::optional<int> exit_code = app::HandleCommandLine(argc, argv)) return *exit_code;
  QApplication application(argc, argv);
  app::CheckRemainingOptions(application);
  // Qt adopts the user's locale for the C library; numbers must not follow it.
  std::setlocale(LC_NUMERIC, "C");
  QGuiApplication::setDesktopFileName(QStringLiteral("korvane"));
  // After the command line is read, whose help stays English. Loading costs well under a
  // millisecond of the start-up (bench/README.md).
  ui::InstallQtTranslations();

  std::unique_ptr<ui::TFormMain> form_main;
  try {
    // One face for everything the program shows, boxes included: its texts are Japanese,
    // and a second face would only be loaded to fall back to this one.
    QApplication::setFont(ui::MainWindowFont());
    QApplication::setWindowIcon(ui::ProgramIcon());
    form_main = std::make_unique<ui::TFormMain>();
#ifdef KORVANE_FIRST_PAINT_PROBE
    bench::InstallFirstPaintProbe(*form_main);  // the start-up benchmark's build only
#endif
    form_main->show();
  } catch (const std::exception& error) {
    // A failure before the event loop runs ends the program.
    ui::ShowErrorBox(QString::fromStdString(ui::ErrorMessage(error)));
    return 1;
  }
  return QApplication::exec();
}
