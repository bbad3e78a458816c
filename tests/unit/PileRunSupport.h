#pragma once
// A whole run read back from its plot file: the head deflection and maximum
// moment of the load case (Line 13) and the station results (Line 10).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace kestro::test {

struct StationResult {
    double X, Y, M, V, P;
};
struct PileRun {
    int Result = -1;
    double TopY = 0.0, Mmax = 0.0;
    std::vector<StationResult> Stations;
};

inline PileRun Analyse(const std::string& input) {
    const RunOutput out = RunInput(input);
    PileRun r;
    r.Result = out.Result;
    std::istringstream plot(out.Plot);
    std::string line;
    while (std::getline(plot, line)) {
        if (line.find("Line 13:") != std::string::npos) {
            double v = 0.0;
            std::sscanf(line.c_str(), "%lf %lf %lf", &v, &r.TopY, &r.Mmax);
        } else if (line.find("Line 10(") != std::string::npos) {
            StationResult s{};
            if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf", &s.X, &s.Y, &s.M, &s.V, &s.P) == 5)
                r.Stations.push_back(s);
        }
    }
    return r;
}

// Resultants of the soil reactions by the trapezoid rule: the force
// integral p dx and the moment integral p x dx about the pile head.
struct SoilResultants {
    double Force = 0.0, Moment = 0.0;
};
inline SoilResultants Resultants(const PileRun& r) {
    SoilResultants s;
    for (std::size_t i = 1; i < r.Stations.size(); ++i) {
        const StationResult& a = r.Stations[i - 1];
        const StationResult& b = r.Stations[i];
        s.Force += 0.5 * (a.P + b.P) * (b.X - a.X);
        s.Moment += 0.5 * (a.P * a.X + b.P * b.X) * (b.X - a.X);
    }
    return s;
}

// Equilibrium of the soil reactions with a head shear V0, zero head moment
// and a free tip: V0 + integral p dx = 0 within `forceTolerance` V0 and
// integral p x dx = 0 within `momentTolerance` V0 L. Returns integral p dx.
inline double ExpectSoilEquilibrium(const PileRun& r, double shear, double forceTolerance, double momentTolerance,
                                    const std::string& what = "") {
    const SoilResultants sum = Resultants(r);
    const double L = r.Stations.empty() ? 0.0 : r.Stations.back().X;
    EXPECT_LT(std::fabs(shear + sum.Force) / shear, forceTolerance) << what;
    EXPECT_LT(std::fabs(sum.Moment) / (shear * L), momentTolerance) << what;
    return sum.Force;
}

}  // namespace kestro::test
