#pragma once
// Whole runs read back from the plot file: the head deflection and maximum
// moment of the load case (Line 13) and the station records (Line 10).

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace kestro::test {

struct Station {
    double X, Y, M, V, P;
};
struct PileRun {
    int Result = -1;
    double TopY = 0.0, Mmax = 0.0;
    std::vector<Station> Stations;
    std::string Report, Messages;
};

inline PileRun Analyse(const std::string& input) {
    const RunOutput out = RunInput(input);
    PileRun r;
    r.Result = out.Result;
    r.Report = out.Report;
    r.Messages = out.Messages;
    std::istringstream plot(out.Plot);
    std::string line;
    while (std::getline(plot, line)) {
        if (line.find("Line 13:") != std::string::npos) {
            double v = 0.0;
            std::sscanf(line.c_str(), "%lf %lf %lf", &v, &r.TopY, &r.Mmax);
        } else if (line.find("Line 10(") != std::string::npos) {
            Station s{};
            if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf", &s.X, &s.Y, &s.M, &s.V, &s.P) == 5)
                r.Stations.push_back(s);
        }
    }
    return r;
}

}  // namespace kestro::test
