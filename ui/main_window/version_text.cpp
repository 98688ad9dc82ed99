#include "ui/main_window/version_text.h"

namespace ui {
namespace {

constexpr std::uint32_t MakeVersionWord(long long major, long long minor) {
  if (major < 0 || major > 0xFFFF || minor < 0 || minor > 0xFFFF) return kUnreadableVersionWord;
  return (static_cast<std::uint32_t>(major) << 16) | static_cast<std::uint32_t>(minor);
}

}  // namespace

std::uint32_t BuildVersionWord() {
#if defined(KORVANE_VERSION_MAJOR) && defined(KORVANE_VERSION_MINOR)
  return MakeVersionWord(KORVANE_VERSION_MAJOR, KORVANE_VERSION_MINOR);
#else
  return kUnreadableVersionWord;
#endif
}

QString VersionText(std::uint32_t version_word) {
  // QString::number writes plain ASCII digits whatever the user's regional settings.
  const QString major = QString::number(version_word >> 16);
  QString minor = QString::number(version_word & 0xFFFFu);
  if (minor.size() < 2) minor.prepend(u'0');
  return major + u'.' + minor;
}

QString MainWindowCaption(std::uint32_t version_word) {
  return QStringLiteral("Korvane Ver") + VersionText(version_word);
}

}  // namespace ui
