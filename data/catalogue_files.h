// Where the op-amp catalogues are: the one shipped with the program, found relative to the
// running executable so that the program may be installed or moved anywhere, and the user's
// own under the XDG configuration folder.
#ifndef KORVANE_DATA_CATALOGUE_FILES_H
#define KORVANE_DATA_CATALOGUE_FILES_H

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace data {

inline constexpr std::string_view kCatalogueFileName = "opamps.csv";

// The folder of the running executable (from /proc/self/exe); empty when it cannot be told.
std::filesystem::path ExecutableFolder();

// Where the shipped catalogue may be, in the order to look: beside the executable (a copy
// kept with a program that was moved on its own) and in the data folder relative to the
// executable's bin folder (<prefix>/share/korvane/ from <prefix>/bin/: installed, unpacked
// or in the build tree, which is laid out the same way). None without a folder.
// ShippedCataloguePlaces("/opt/k/bin") -> {"/opt/k/bin/opamps.csv",
// "/opt/k/bin/../share/korvane/opamps.csv"}.
std::vector<std::filesystem::path> ShippedCataloguePlaces(
    const std::filesystem::path& executable_folder);

// The user's catalogue: $XDG_CONFIG_HOME/korvane/opamps.csv, or $HOME/.config/korvane/
// opamps.csv when XDG_CONFIG_HOME is unset, empty or not an absolute path (which the XDG
// rules say to ignore); none when neither gives an absolute folder. Null is unset.
// UserCataloguePath("/x", "/home/a") -> "/x/korvane/opamps.csv";
// UserCataloguePath("rel", "/home/a") -> "/home/a/.config/korvane/opamps.csv".
std::optional<std::filesystem::path> UserCataloguePath(const char* xdg_config_home,
                                                       const char* home);

}  // namespace data

#endif  // KORVANE_DATA_CATALOGUE_FILES_H
