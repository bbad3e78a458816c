#pragma once
// Random valid pile models for the soak test: elastic and elastic-plastic
// pile sections of every elastic shape, layered soils of the built p-y
// criteria, all five pile-head load types, distributed loads, static and
// cyclic loading, US customary and SI units. Model k of seed s is always the
// same input text, on every platform (own generator, no library
// distributions).

#include <cstdint>
#include <string>

namespace kestro::soak {

struct GeneratedModel {
    std::string Input;          // the KESTRO6 input text
    int NumLoadCases = 0;
    double DeflectionLimit = 0; // as written in the input (in or m)
    bool SI = false;
    bool SummaryOnly = false;   // PrintSummaryOnly YES: no page per load case
};

GeneratedModel GenerateModel(std::uint64_t seed, std::uint64_t index);

}  // namespace kestro::soak
