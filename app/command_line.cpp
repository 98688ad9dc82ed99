#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace app {
namespace {

void SetApplicationNames() {
  QCoreApplication::setApplicationName(QStringLiteral("korvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
}

void Configure(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral(
      "Korvane: a calculator that designs and analyses the multiple-feedback band-pass "
      "filter.\nThe calculator opens a window; for scripts, use korvane-cli."));
  parser.addHelpOption();
  parser.addVersionOption();
}

// Whether the window system the toolkit will pick has somewhere to draw. Platforms that
// need no server (offscreen, minimal, vnc, ...) always do.
bool DisplayAvailable(const QStringList& arguments) {
  if (arguments.contains(QStringLiteral("-platform"))) return true;  // the toolkit's own
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const bool needs_server =
      platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
  return !needs_server || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

std::optional<int> HandleCommandLine(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  // A first look without an application object, since a window needs one of its own kind.
  // The toolkit's own options (-platform, -style, ...) are not known yet: unknown options
  // are judged once the window's application has taken its own (CheckRemainingOptions).
  QCommandLineParser probe;
  Configure(probe);
  probe.parse(arguments);
  const bool answers =
      probe.isSet(QStringLiteral("help")) || probe.isSet(QStringLiteral("version"));
  if (!answers && DisplayAvailable(arguments)) return std::nullopt;

  QCoreApplication core(argc, argv);
  SetApplicationNames();
  QCommandLineParser parser;
  Configure(parser);
  parser.process(core);  // prints help, version or the option error and exits
  std::fputs("korvane: no display to open the window on (DISPLAY is not set)\n", stderr);
  return 1;
}

void CheckRemainingOptions(const QCoreApplication& application) {
  SetApplicationNames();
  QCommandLineParser parser;
  Configure(parser);
  parser.process(application);
}

}  // namespace app
