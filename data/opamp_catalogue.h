// The op-amp catalogue a front end offers: the shipped parts, with the user's own file's
// parts added and overriding shipped parts of the same name.
#ifndef KORVANE_DATA_OPAMP_CATALOGUE_H
#define KORVANE_DATA_OPAMP_CATALOGUE_H

#include <filesystem>
#include <optional>
#include <vector>

#include "calc/circuit/op_amp_part.h"
#include "calc/text/diagnostic.h"

namespace data {

// Where to read from: the first of `shipped` that exists, and the user's file if it exists.
struct CataloguePlaces {
  std::vector<std::filesystem::path> shipped;
  std::optional<std::filesystem::path> user;
};

// The places for this program: ShippedCataloguePlaces(ExecutableFolder()) and
// UserCataloguePath from the environment.
CataloguePlaces DefaultCataloguePlaces();

struct OpAmpCatalogue {
  // The shipped parts in the file's order, a user's part in place of the shipped part of
  // the same name (calc::SameOpAmpName), then the user's other parts in their order.
  std::vector<calc::OpAmpPart> parts;
  // Every file's warnings, the shipped file's first; kCatalogueNotFound when no shipped file
  // exists. A user file that does not exist is no fault.
  std::vector<calc::Diagnostic> warnings;
};

// Reads the catalogue from `places`. Never fails: what cannot be read is warned of and left
// out.
OpAmpCatalogue LoadOpAmpCatalogue(const CataloguePlaces& places);

// `parts` with `own` merged in as LoadOpAmpCatalogue merges the user's parts.
void MergeOpAmpParts(std::vector<calc::OpAmpPart>& parts, std::vector<calc::OpAmpPart> own);

}  // namespace data

#endif  // KORVANE_DATA_OPAMP_CATALOGUE_H
