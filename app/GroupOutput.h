#pragma once
// The results of a group run as a JSON document and as an HTML page with a
// plan drawing of the group (docs/groups.md describes both).

#include <string>

#include "group/GroupInput.h"

namespace kestro::cli {

// `error` and `message`: the runtime error of the case that ended the run (0: none).
std::string GroupResultsJson(const group::GroupModel& model, const group::GroupResults& results, int error,
                             const std::string& message);

// A self-contained page: the group in elevation in the plane of loading
// (piles at their batter, the cap), the deformed heads of the first balanced
// case, and per case the table of pile forces.
std::string GroupResultsHtml(const group::GroupModel& model, const group::GroupResults& results, int error,
                             const std::string& message);

}  // namespace kestro::cli
