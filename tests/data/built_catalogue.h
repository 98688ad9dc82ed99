// The shipped catalogue as the build placed it, found the way the programs find theirs.
#ifndef KORVANE_TESTS_DATA_BUILT_CATALOGUE_H
#define KORVANE_TESTS_DATA_BUILT_CATALOGUE_H

#include <filesystem>

#include "data/catalogue_files.h"

inline std::filesystem::path BuiltCatalogue() {
  for (const std::filesystem::path& place :
       data::ShippedCataloguePlaces(data::ExecutableFolder())) {
    if (std::filesystem::exists(place)) return place;
  }
  return {};
}

#endif  // KORVANE_TESTS_DATA_BUILT_CATALOGUE_H
