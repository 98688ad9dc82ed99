#include "data/catalogue_files.h"

#include <system_error>

// The installed data folder as seen from the installed bin folder, set by the build from
// the install layout ("../share/korvane" for the usual one).
#ifndef KORVANE_DATA_FROM_BIN
#define KORVANE_DATA_FROM_BIN "../share/korvane"
#endif

namespace data {
namespace {

std::optional<std::filesystem::path> AbsoluteFolder(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  std::filesystem::path folder(text);
  if (!folder.is_absolute()) return std::nullopt;
  return folder;
}

}  // namespace

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path();
}

std::vector<std::filesystem::path> ShippedCataloguePlaces(
    const std::filesystem::path& executable_folder) {
  if (executable_folder.empty()) return {};
  return {executable_folder / kCatalogueFileName,
          executable_folder / KORVANE_DATA_FROM_BIN / kCatalogueFileName};
}

std::optional<std::filesystem::path> UserCataloguePath(const char* xdg_config_home,
                                                       const char* home) {
  std::optional<std::filesystem::path> folder = AbsoluteFolder(xdg_config_home);
  if (!folder) {
    folder = AbsoluteFolder(home);
    if (!folder) return std::nullopt;
    *folder /= ".config";
  }
  return *folder / "korvane" / kCatalogueFileName;
}

}  // namespace data
