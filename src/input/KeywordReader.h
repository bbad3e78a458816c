#pragma once

namespace kestro {

// Reads the keyword-sectioned input from its second line to END.
void ReadKeywordInput();
// Reads the OPTIONS section.
void ReadOptions();
// Builds the distinct ascending list of axial thrusts for the section
// computations (kips in US customary runs).
void BuildAxialThrustList();
// Factored axial load of LRFD combination c along the pile axis: the load
// factors applied to the unfactored totals by load type, turned into the
// pile's axes when the pile is battered (the same value the LRFD echo reports).
double FactoredAxialLoad(int c);

// Fills the factored loads and the thrust index of every combination, replaces
// resistance factors of zero or less by 0.75 and rebuilds the list of distinct
// axial thrusts from the same factored axial forces.
void ComputeLrfdFactoredLoads();

// Sorts values[1..n] ascending by exchange sort.
void ExchangeSort(double* values, int n);

// Input data error raised for a format tag other than KESTRO6.
inline constexpr int ErrUnsupportedFormat = 82;
// A section without which the run is undefined is missing or comes too late.
inline constexpr int ErrMissingSection = 33;
// Input data error raised when a title line is a section keyword line.
inline constexpr int ErrTitleTakesKeyword = 75;

}  // namespace kestro
