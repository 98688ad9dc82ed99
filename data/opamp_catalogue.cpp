#include "data/opamp_catalogue.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

#include "data/catalogue_files.h"
#include "data/opamp_csv.h"

namespace data {
namespace {

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

void Append(std::vector<calc::Diagnostic>& to, std::vector<calc::Diagnostic>&& from) {
  for (calc::Diagnostic& diagnostic : from) to.push_back(std::move(diagnostic));
}

}  // namespace

CataloguePlaces DefaultCataloguePlaces() {
  return {ShippedCataloguePlaces(ExecutableFolder()),
          UserCataloguePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))};
}

void MergeOpAmpParts(std::vector<calc::OpAmpPart>& parts, std::vector<calc::OpAmpPart> own) {
  for (calc::OpAmpPart& part : own) {
    const auto same = std::find_if(parts.begin(), parts.end(), [&part](const calc::OpAmpPart& p) {
      return calc::SameOpAmpName(p.name, part.name);
    });
    if (same != parts.end()) {
      *same = std::move(part);
    } else {
      parts.push_back(std::move(part));
    }
  }
}

OpAmpCatalogue LoadOpAmpCatalogue(const CataloguePlaces& places) {
  OpAmpCatalogue catalogue;
  bool found = false;
  for (const std::filesystem::path& place : places.shipped) {
    if (!Exists(place)) continue;
    CatalogueRead read = ReadOpAmpFile(place);
    catalogue.parts = std::move(read.parts);
    Append(catalogue.warnings, std::move(read.warnings));
    found = true;
    break;
  }
  if (!found) {
    std::string looked;
    for (const std::filesystem::path& place : places.shipped) {
      if (!looked.empty()) looked += ", ";
      looked += ShownPath(place);
    }
    if (looked.empty()) looked = std::string(kCatalogueFileName);
    catalogue.warnings.push_back({calc::Problem::kCatalogueNotFound, {looked}});
  }
  if (places.user && Exists(*places.user)) {
    CatalogueRead read = ReadOpAmpFile(*places.user);
    MergeOpAmpParts(catalogue.parts, std::move(read.parts));
    Append(catalogue.warnings, std::move(read.warnings));
  }
  return catalogue;
}

}  // namespace data
