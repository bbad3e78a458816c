#pragma once
// Capacity curves and soil springs of one load case, computed by complete
// runs of the engine on scaled copies of the model:
//   kestro pushover INPUT [--case N] [--steps N] [--to-deflection D] [-o OUTDIR]
//   kestro springs INPUT [--case N] [-o OUTDIR]
// Each run is an ordinary KGO run of a KESTRO6 text written from the JSON
// model, so the engine's checks, iteration and load stepping all apply.

#include <iosfwd>
#include <string>
#include <vector>

namespace kestro::cli {

int PushoverMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int SpringsMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestro::cli
