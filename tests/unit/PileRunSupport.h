#pragma once
// A whole run read back from its plot file: the head deflection and maximum
// moment of the load case (Line 13) and the station results (Line 10).

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

}  // namespace kestro::test
