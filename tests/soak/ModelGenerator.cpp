#include "ModelGenerator.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace kestro::soak {
namespace {

constexpr double Pi = 3.141592653589793;

// SplitMix64: small, fast, and the same sequence everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi).
    double Real(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // Uniform in [lo, hi] on a logarithmic scale.
    double Log(double lo, double hi) { return std::exp(Real(std::log(lo), std::log(hi))); }
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool Chance(double p) { return Real(0.0, 1.0) < p; }

private:
    std::uint64_t state_;
};

// Conversion of the generated US customary values to the SI input units.
struct Units {
    bool SI;
    double Depth(double ft) const { return SI ? ft * 0.3048 : ft; }                 // ft or m
    double Dim(double in) const { return SI ? in * 25.4 : in; }                     // in or mm
    double Area(double in2) const { return SI ? in2 * 645.16 : in2; }               // in2 or mm2
    double Inertia(double in4) const { return SI ? in4 * 416231.4256 : in4; }        // in4 or mm4
    double Modulus(double psi) const { return SI ? psi * 6.894757 : psi; }          // psi or kPa
    double Moment(double inlb) const { return SI ? inlb * 1.1298483e-4 : inlb; }    // in-lb or kN-m
    double Force(double lb) const { return SI ? lb * 4.4482216e-3 : lb; }           // lb or kN
    double Length(double in) const { return SI ? in * 0.0254 : in; }                // in or m
    double PerLength(double lbin) const { return SI ? lbin * 0.17512684 : lbin; }   // lb/in or kN/m
    double UnitWeight(double pcf) const { return SI ? pcf * 0.15708746 : pcf; }     // pcf or kN/m3
    double Strength(double psf) const { return SI ? psf * 0.047880259 : psf; }      // psf or kPa
    double SubgradeK(double pci) const { return SI ? pci * 271.44716 : pci; }       // pci or kN/m3
};

std::string Num(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.7g", v);
    return b;
}

struct Section {
    double LengthFt, Width, Inertia;
};

// One elastic (11) or elastic-plastic (12) section; returns the width facing
// the soil and the moment of inertia (in, in4) for the load scales.
Section WriteSection(std::string& s, Random& r, const Units& u, int number, double lengthFt) {
    const int type = r.Chance(0.5) ? 11 : 12;
    const int shape = r.Int(0, 4);  // 0 rectangular, 1 circular, 2 pipe, 3 strong-axis H, 4 weak-axis H
    const bool steel = shape >= 2;
    const double E = steel ? 2.9e7 : r.Real(3.0e6, 4.5e6);
    s += std::to_string(number) + "\n" + std::to_string(type) + "\n" + Num(u.Depth(lengthFt)) + "\n" +
         std::to_string(shape) + "\n" + Num(u.Modulus(E)) + "\n";
    double width = 0, depth = 0, area = 0, inertia = 0;
    std::vector<double> dims;
    switch (shape) {
        case 0:
            width = r.Real(12.0, 48.0);
            depth = width * r.Real(0.6, 2.0);
            area = width * depth;
            inertia = width * depth * depth * depth / 12.0;
            dims = {u.Dim(width), u.Dim(width), u.Dim(depth), u.Dim(depth)};
            break;
        case 1:
            width = depth = r.Real(10.0, 72.0);
            area = Pi * width * width / 4.0;
            inertia = Pi * std::pow(width, 4) / 64.0;
            dims = {u.Dim(width), u.Dim(width)};
            break;
        case 2: {
            width = depth = r.Real(10.0, 60.0);
            const double t = r.Real(0.25, 1.5), di = width - 2 * t;
            area = Pi * (width * width - di * di) / 4.0;
            inertia = Pi * (std::pow(width, 4) - std::pow(di, 4)) / 64.0;
            dims = {u.Dim(width), u.Dim(width), u.Dim(t), u.Dim(t)};
            break;
        }
        default: {
            const double bf = r.Real(8.0, 16.0), d = r.Real(8.0, 16.0), tf = r.Real(0.4, 1.1), tw = r.Real(0.4, 1.1);
            area = 2 * bf * tf + (d - 2 * tf) * tw;
            const double strong = (bf * d * d * d - (bf - tw) * std::pow(d - 2 * tf, 3)) / 12.0;
            const double weak = 2 * tf * bf * bf * bf / 12.0 + (d - 2 * tf) * tw * tw * tw / 12.0;
            inertia = shape == 3 ? strong : weak;
            width = shape == 3 ? bf : d;
            depth = shape == 3 ? d : bf;
            dims = {u.Dim(bf), u.Dim(d), u.Dim(tf), u.Dim(tw)};
            break;
        }
    }
    if (type == 12) {
        // Plastic moment fy Z, Z about 1.15 times the elastic section modulus.
        const double fy = steel ? r.Real(36000.0, 65000.0) : r.Real(300.0, 900.0);
        const double mp = fy * 1.15 * inertia / (depth / 2.0);
        s += Num(u.Moment(mp)) + "\n";
        if (shape != 3 && shape != 4) s += Num(u.Moment(mp * r.Real(0.7, 1.0))) + "\n";
    }
    for (double v : dims) s += Num(v) + "\n";
    if (shape == 3 || shape == 4) {
        s += Num(u.Area(area)) + "\n" + Num(u.Inertia(inertia)) + "\n";
    } else {
        s += Num(u.Area(area)) + "\n" + Num(u.Area(area)) + "\n" + Num(u.Inertia(inertia)) + "\n" +
             Num(u.Inertia(inertia)) + "\n";
    }
    return {lengthFt, width, inertia};
}

// The soil values of one layer end (top or bottom) for criterion `code`.
std::string LayerValues(Random& r, const Units& u, int code, bool submerged) {
    const double gamma = u.UnitWeight(submerged ? r.Real(40.0, 70.0) : r.Real(100.0, 130.0));
    switch (code) {
        case 1:  // soft clay: unit weight, cohesion, eps50
            return Num(gamma) + " " + Num(u.Strength(r.Real(100.0, 1200.0))) + " " + Num(r.Real(0.005, 0.02));
        case 2:  // stiff clay with free water: unit weight, cohesion, eps50, k
        case 4:  // stiff clay without free water, with k
            return Num(gamma) + " " + Num(u.Strength(r.Real(600.0, 7000.0))) + " " + Num(r.Real(0.004, 0.008)) + " " +
                   Num(u.SubgradeK(r.Real(100.0, 2000.0)));
        case 3:  // stiff clay without free water: unit weight, cohesion, eps50
            return Num(gamma) + " " + Num(u.Strength(r.Real(600.0, 7000.0))) + " " + Num(r.Real(0.004, 0.01));
        case 5:  // Reese sand: unit weight, friction angle, k
            return Num(gamma) + " " + Num(r.Real(28.0, 42.0)) + " " + Num(u.SubgradeK(r.Real(20.0, 225.0)));
        case 6:  // API sand: unit weight, friction angle, k (0: the default)
            return Num(gamma) + " " + Num(r.Real(28.0, 42.0)) + " " +
                   Num(r.Chance(0.5) ? 0.0 : u.SubgradeK(r.Real(20.0, 225.0)));
        default:  // elastic subgrade: unit weight, modulus
            return Num(gamma) + " " + Num(u.SubgradeK(r.Real(20.0, 500.0)));
    }
}

}  // namespace

GeneratedModel GenerateModel(std::uint64_t seed, std::uint64_t index) {
    Random r(seed * 0x100000001B3ULL ^ (index + 1) * 0x9E3779B97F4A7C15ULL);
    r.Next();
    GeneratedModel m;
    m.SI = r.Chance(0.5);
    const Units u{m.SI};
    std::string& s = m.Input;

    const double pileFt = r.Real(15.0, 100.0);
    const bool cyclic = r.Chance(0.4);
    const double limitIn = r.Real(2.0, 100.0);
    m.DeflectionLimit = u.Length(limitIn);
    const int increments = r.Int(40, 200);
    m.SummaryOnly = r.Chance(0.3);
    s = "KESTRO6\nTITLE\nRandom soak model " + std::to_string(index) + " of seed " + std::to_string(seed) +
        "\n\n\n\n\nOPTIONS\n" + (m.SI ? "Units SI" : "Units USCS") +
        "\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\n";
    char loading[40];
    std::snprintf(loading, sizeof loading, "Loading %s%6d", cyclic ? "CYCLIC" : "STATIC", cyclic ? r.Int(2, 500) : 1);
    s += std::string(loading) + "\nMaxIterations " + std::to_string(r.Int(100, 500)) + "\nDeflectionLimit " +
         Num(m.DeflectionLimit) + "\nTolerance " + (m.SI ? "2.54E-7" : "1.0E-5") + "\nIncrements " +
         std::to_string(increments) + "\nPrintSummaryOnly " + (m.SummaryOnly ? "YES" : "NO") + "\nPrintIncrement " +
         std::to_string(r.Int(1, 5)) + "\nPrintPYCurves NO\nComputeInteraction NO\n";

    // Pile sections from the head down.
    const int ns = r.Int(1, 3);
    s += "SECTIONS\n" + std::to_string(ns) + "\n";
    double widest = 0, stiffest = 0, left = pileFt;
    for (int k = 1; k <= ns; ++k) {
        const double len = k == ns ? left : left * r.Real(0.2, 0.6);
        left -= len;
        const Section sec = WriteSection(s, r, u, k, len);
        if (sec.Width > widest) widest = sec.Width;
        if (sec.Inertia > stiffest) stiffest = sec.Inertia;
    }

    // Soil layers from the ground surface (at the head, or below it with a
    // free-standing length) to below the tip.
    const int codes[] = {1, 2, 3, 4, 5, 6, 13};
    const int nl = r.Int(1, 4);
    const double ground = r.Chance(0.75) ? 0.0 : r.Real(0.0, 0.2 * pileFt);
    s += "SOIL LAYERS\n" + std::to_string(nl) + "\n";
    double top = ground;
    for (int k = 1; k <= nl; ++k) {
        const double bottom = k == nl ? pileFt * r.Real(1.05, 1.5) : top + (pileFt - top) * r.Real(0.1, 0.5);
        const int code = codes[r.Int(0, 6)];
        const bool submerged = r.Chance(0.5);
        s += std::to_string(code) + " " + Num(u.Depth(top)) + " " + Num(u.Depth(bottom)) + "\n" +
             LayerValues(r, u, code, submerged) + "\n" + LayerValues(r, u, code, submerged) + "\n";
        top = bottom;
    }

    // Pile-head loads of every type, scaled to the pile.
    const int nc = r.Int(1, 3);
    m.NumLoadCases = nc;
    s += "LOADING\n" + std::to_string(nc) + "\n";
    const double ei = 2.9e7 * stiffest;
    for (int c = 1; c <= nc; ++c) {
        const int type = r.Int(1, 5);
        const double shear = widest * r.Log(20.0, 3000.0) * (r.Chance(0.2) ? -1.0 : 1.0);
        const double moment = shear * r.Real(0.0, 60.0);
        const double slope = r.Chance(0.5) ? 0.0 : r.Real(-0.004, 0.004);
        const double rotational = ei / r.Log(10.0, 2000.0);
        const double deflection = r.Real(0.01, 0.03) * widest;
        const double axial = r.Chance(0.3) ? 0.0 : r.Real(0.0, 4.0e5);
        double c1 = 0, c2 = 0;
        switch (type) {
            case 1: c1 = u.Force(shear); c2 = u.Moment(moment); break;
            case 2: c1 = u.Force(shear); c2 = slope; break;
            case 3: c1 = u.Force(shear); c2 = u.Moment(rotational); break;
            case 4: c1 = u.Length(deflection); c2 = u.Moment(moment); break;
            default: c1 = u.Length(deflection); c2 = slope; break;
        }
        s += std::to_string(c) + " " + std::to_string(type) + " " + Num(c1) + " " + Num(c2) + " " +
             Num(u.Force(axial)) + " 1\n";
    }
    // Distributed lateral load along the upper pile, sometimes.
    if (r.Chance(0.3)) {
        const double depth = pileFt * r.Real(0.05, 0.5), w = widest * r.Real(0.5, 5.0);
        s += "2\n1 0 " + Num(u.PerLength(w)) + "\n2 " + Num(u.Depth(depth)) + " " + Num(u.PerLength(w * 0.5)) + "\n";
    } else {
        s += "0\n";
    }
    s += "END\n";
    return m;
}

}  // namespace kestro::soak
