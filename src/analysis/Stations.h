#pragma once
// Discretisation of the pile into finite-difference stations and the
// assignment of sections, soil layers and soil movements to the stations.

#include "model/PileModel.h"

namespace kestro {

// Builds stations 1..N for a pile of length `length` with the increments of
// the options: h, x, xv, W and EI, and x(N) = length exactly. Ends the run
// with Runtime Error 30 when no valid station grid can be formed.
void BuildStations(double length);
// Sections of the stations (a station on a section boundary belongs to the upper section).
void AssignSections();
// Soil layers of stations 1..N by vertical depth xv.
void AssignLayers();
// Soil layers of stations 1..n by their depth x along the pile (temporary
// stations of the printed p-y curves).
void AssignLayersAlongPile(int n);
// Soil movement ysm of every station from the soil movement table (2 or more points).
void InterpolateSoilMovement();
// Writes Runtime Error 30 (no valid station grid) and ends the run.
void ReportInvalidStationGrid(double length, int increments);

}  // namespace kestro
