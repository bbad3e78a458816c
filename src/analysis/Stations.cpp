#include "analysis/Stations.h"

#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>

#include "model/PileProperties.h"
#include "model/Channels.h"
#include "model/Errors.h"
#include "model/RunState.h"

namespace kestro {
namespace {

inline std::size_t U(int i) { return static_cast<std::size_t>(i); }

}  // namespace

void ReportInvalidStationGrid(double length, int increments) {
    Fail(ErrorKind::Runtime, 30, [&](std::ostream& out) {
        out << "\n\n**** Runtime Error No. 30 ****\n\n"
            << "Problem:  The pile cannot be divided into finite-difference stations.\n"
            << "          Pile length = " << length << ", number of increments = " << increments << "\n\n"
            << "Solution: Check that the pile sections give a positive pile length and that\n"
            << "          the number of pile increments is between 40 and 500.\n";
    });
}

namespace {

// Assigns stations 1..n with depths `depth` to the soil layers. A layer's
// first station is the first at or below its top, unless that station lies
// below its bottom; a station on a layer boundary belongs to the lower layer.
void AssignLayersByDepth(const StationArray& depth, int n) {
    const int NL = Problem.NumLayers < MaxSoilLayers ? Problem.NumLayers : MaxSoilLayers;
    for (int k = 1; k <= MaxSoilLayers; ++k) {
        Pile.FirstStation[U(k)] = 0;
        Pile.LastStation[U(k)] = 0;
    }
    if (n < 1 || NL < 1) return;
    int jlayer = 0;
    for (int k = 1; k <= NL; ++k) {
        jlayer = k;
        const SoilLayer& L = Problem.Layers[U(k)];
        int first = 0;
        for (int i = 1; i <= n; ++i) {
            if (depth[St(i)] >= L.XTop) {
                first = i;
                break;
            }
        }
        if (first > 0 && depth[St(first)] <= L.XBottom) Pile.FirstStation[U(k)] = first;
        if (L.XBottom >= depth[St(n)]) break;  // this layer reaches the tip
    }
    for (int k = 1; k <= jlayer; ++k) {
        if (Pile.FirstStation[U(k)] == 0) continue;
        int next = 0;
        int klayer = k + 1;
        for (; klayer <= jlayer; ++klayer) {
            if (Pile.FirstStation[U(klayer)] > 0) {
                next = klayer;
                break;
            }
        }
        if (next > 0) {
            Pile.LastStation[U(k)] = Pile.FirstStation[U(next)] - 1;
        } else {
            if (k != jlayer) {
                std::ostream& out = ReportOut();
                out << "ERROR 2 in computing i_BottomNodeInLayer\n"
                    << "Num_Nodes_To_Assign = " << n << '\n'
                    << "ilayer = " << k << '\n'
                    << "klayer = " << klayer << '\n'
                    << "jlayer = " << jlayer << '\n'
                    << "i_Number_of_Layers = " << NL << '\n';
            }
            Pile.LastStation[U(k)] = n;
        }
        // A layer of no thickness that shares its first station with the
        // layer below holds no station of its own.
        if (Pile.LastStation[U(k)] < Pile.FirstStation[U(k)]) {
            Pile.FirstStation[U(k)] = 0;
            Pile.LastStation[U(k)] = 0;
        }
    }
}

}  // namespace

void BuildStations(double length) {
    const int n = Problem.Options.NumIncrements;
    if (n < 4 || n > MaxIncrements || !(length > 0.0) || !std::isfinite(length)) {
        ReportInvalidStationGrid(length, n);
        return;
    }
    const int N = n + 1;
    const double h = length / static_cast<double>(n);
    const double c = std::cos(Problem.PileBatter);
    Pile.NumStations = N;
    Pile.Length = length;
    Pile.Spacing = h;
    for (int i = 1; i <= N; ++i) {
        const double xi = static_cast<double>(i - 1) * h;
        Pile.x[St(i)] = xi;
        Pile.xv[St(i)] = xi * c;
        Pile.W[St(i)] = DistributedLoadAt(xi);
        Pile.EI[St(i)] = PropertiesAt(xi).EI;
        Pile.ysm[St(i)] = 0.0;
        Pile.b_BeyondEITable[St(i)] = false;
    }
    Pile.x[St(N)] = length;
    Pile.xv[St(N)] = length * c;
}

void AssignSections() {
    const int N = Pile.NumStations;
    const int ns = Problem.NumSections < MaxSections ? Problem.NumSections : MaxSections;
    for (int i = 1; i <= N; ++i) {
        int sec = ns > 0 ? ns : 1;
        if (ns <= 1 || i == 1) {
            sec = 1;
        } else {
            const double xi = Pile.x[St(i)];
            for (int k = 1; k <= ns; ++k) {
                const PileSection& S = Problem.Sections[U(k)];
                if (S.SectionTop < xi && xi <= S.SectionBottom) {
                    sec = k;
                    break;
                }
            }
        }
        Pile.Section[St(i)] = sec;
    }
}

void AssignLayers() { AssignLayersByDepth(Pile.xv, Pile.NumStations); }

void AssignLayersAlongPile(int n) { AssignLayersByDepth(Pile.x, n < MaxStations ? n : MaxStations); }

void InterpolateSoilMovement() {
    const int np = Problem.NumSoilMovementPoints < MaxSoilMovementPoints ? Problem.NumSoilMovementPoints
                                                                        : MaxSoilMovementPoints;
    if (np < 2) return;
    const auto& d = Problem.SoilMovementDepth;
    const auto& m = Problem.SoilMovement;
    int j = 2;
    for (int i = 1; i <= Pile.NumStations; ++i) {
        const double xi = Pile.x[St(i)];
        if (xi < d[1] || xi > d[U(np)]) {
            Pile.ysm[St(i)] = 0.0;
            continue;
        }
        // First point at or below the station (searched on from the last station's point).
        while (j < np && d[U(j)] < xi) ++j;
        const double span = d[U(j)] - d[U(j - 1)];
        if (span < 1.0E-5) {
            // Two points at one depth: a step in the movement profile; its
            // average is used at that depth.
            Pile.ysm[St(i)] = 0.5 * (m[U(j)] + m[U(j - 1)]);
        } else if (xi == d[U(j)] && j < np && d[U(j + 1)] - d[U(j)] < 1.0E-5) {
            Pile.ysm[St(i)] = 0.5 * (m[U(j)] + m[U(j + 1)]);
        } else {
            Pile.ysm[St(i)] = m[U(j - 1)] + (xi - d[U(j - 1)]) * (m[U(j)] - m[U(j - 1)]) / span;
        }
    }
}

}  // namespace kestro
