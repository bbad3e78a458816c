#include "Tables.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "ResultsJson.h"

namespace kestro::results {
namespace {

// Engine units of the station values kept from the run, by unit system.
const char* EIUnit(int system) { return system == 2 ? "kN-m2" : system == 3 ? "F-L2" : "lb-in2"; }
const char* EsUnit(int system) { return system == 2 ? "kN/m2" : system == 3 ? "F/L2" : "lb/in2"; }

bool SameDepths(const std::vector<Station>& a, const std::vector<Station>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].Depth - b[i].Depth) > 1.0E-9 * std::max(1.0, std::fabs(a[i].Depth))) return false;
    return true;
}

// A CSV field: numbers in their shortest exact form (the JSON file's digits),
// texts quoted when they hold a separator, a quote or a line end.
std::string Field(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
    std::string q = "\"";
    for (char ch : s) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}
std::string Num(double v) { return ExactNumber(v); }
std::string Num(const std::optional<double>& v) { return v ? ExactNumber(*v) : std::string(); }

class Csv {
public:
    explicit Csv(std::initializer_list<std::string> columns) {
        bool first = true;
        for (const std::string& c : columns) {
            text_ += (first ? "" : ",") + Field(c);
            first = false;
        }
        text_ += "\n";
    }
    Csv& Row(std::initializer_list<std::string> fields) {
        bool first = true;
        for (const std::string& f : fields) {
            text_ += (first ? "" : ",") + f;
            first = false;
        }
        text_ += "\n";
        ++rows_;
        return *this;
    }
    int Rows() const { return rows_; }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    int rows_ = 0;
};

std::string CaseNameOf(const RunFacts& f, int number) {
    const auto k = static_cast<std::size_t>(number - 1);
    return number >= 1 && k < f.CaseNames.size() ? f.CaseNames[k] : std::string();
}

}  // namespace

std::string UnitTag(const std::string& unit) {
    std::string out;
    for (std::size_t i = 0; i < unit.size(); ++i) {
        const char ch = unit[i];
        if (ch == '/')
            out += "_per_";
        else if (ch == '-' || ch == ' ')
            out += '_';
        else
            out += ch;
    }
    return out;
}

Mobilised MobilisedAt(const RunResults& r, const LoadCase& c, std::size_t index) {
    Mobilised m;
    if (index >= c.Stations.size()) {
        m.Reason = "no such station";
        return m;
    }
    const Station& s = c.Stations[index];
    if (!c.HasStationProperties) {
        m.Reason = "not known: p_u is kept by kestro run, the plot file does not hold it";
        return m;
    }
    const double pu = s.Pu;
    if (pu > 0.0 && std::isfinite(pu)) {
        m.Pu = pu;
        m.Ratio = std::fabs(s.SoilReaction) / pu;
        return m;
    }
    const RunFacts& f = r.Facts;
    if (f.HasGroundSurface && s.Depth < f.GroundSurface) {
        m.Reason = "above the ground surface";
        return m;
    }
    for (const SoilLayerInfo& l : f.Layers)
        if (s.Depth >= l.Top && s.Depth <= l.Bottom) {
            m.Reason = "the criterion of soil layer " + std::to_string(l.Number) + " (" + l.Description +
                       ") gives no ultimate resistance here";
            return m;
        }
    m.Reason = "no soil layer with a p-y criterion at this depth";
    return m;
}

Envelope ComputeEnvelope(const PlotResults& p) {
    Envelope e;
    const LoadCase* first = nullptr;
    for (const LoadCase& c : p.LoadCases) {
        if (!c.StationsComplete || c.Stations.empty()) continue;
        if (first == nullptr) first = &c;
        if (!SameDepths(first->Stations, c.Stations)) {
            e.LeftOut.push_back(c.Number);
            continue;
        }
        e.Cases.push_back(c.Number);
        if (first == &c) {
            for (const Station& s : c.Stations) {
                e.Depth.push_back(s.Depth);
                e.MinDeflection.push_back(s.Deflection);
                e.MaxDeflection.push_back(s.Deflection);
                e.MinMoment.push_back(s.Moment);
                e.MaxMoment.push_back(s.Moment);
                e.MinShear.push_back(s.Shear);
                e.MaxShear.push_back(s.Shear);
            }
            const std::size_t n = c.Stations.size();
            for (auto* v : {&e.CaseMinDeflection, &e.CaseMaxDeflection, &e.CaseMinMoment, &e.CaseMaxMoment,
                            &e.CaseMinShear, &e.CaseMaxShear})
                v->assign(n, c.Number);
            continue;
        }
        // The first case holding an extreme keeps it.
        for (std::size_t i = 0; i < c.Stations.size(); ++i) {
            const Station& s = c.Stations[i];
            auto take = [&](double v, std::vector<double>& lo, std::vector<double>& hi, std::vector<int>& clo,
                            std::vector<int>& chi) {
                if (v < lo[i]) {
                    lo[i] = v;
                    clo[i] = c.Number;
                }
                if (v > hi[i]) {
                    hi[i] = v;
                    chi[i] = c.Number;
                }
            };
            take(s.Deflection, e.MinDeflection, e.MaxDeflection, e.CaseMinDeflection, e.CaseMaxDeflection);
            take(s.Moment, e.MinMoment, e.MaxMoment, e.CaseMinMoment, e.CaseMaxMoment);
            take(s.Shear, e.MinShear, e.MaxShear, e.CaseMinShear, e.CaseMaxShear);
        }
    }
    return e;
}

std::vector<CsvTable> CsvTables(const RunResults& r) {
    const PlotResults& p = r.Plot;
    const RunFacts& f = r.Facts;
    const PlotUnits u = UnitsOf(p.UnitSystem);
    const std::string L = UnitTag(u.Length), F = UnitTag(u.Force), M = UnitTag(u.Moment),
                      FL = UnitTag(u.ForcePerLength);
    std::vector<CsvTable> out;

    // Stations: one row per station per load case.
    Csv st({"load_case", "case_name", "station", "depth_" + L, "deflection_" + L, "slope_rad", "moment_" + M,
            "shear_" + F, "soil_reaction_" + FL, "ei_" + UnitTag(EIUnit(p.UnitSystem)),
            "es_" + UnitTag(EsUnit(p.UnitSystem)), "pu_" + FL, "p_over_pu"});
    for (const LoadCase& c : p.LoadCases) {
        const bool kept = c.HasStationProperties;
        const std::string name = Field(CaseNameOf(f, c.Number));
        for (std::size_t i = 0; i < c.Stations.size(); ++i) {
            const Station& s = c.Stations[i];
            const Mobilised m = MobilisedAt(r, c, i);
            st.Row({std::to_string(c.Number), name, std::to_string(s.Number), Num(s.Depth), Num(s.Deflection),
                    kept ? Num(s.Slope) : "", Num(s.Moment), Num(s.Shear), Num(s.SoilReaction),
                    kept ? Num(s.EI) : "", kept ? Num(s.Es) : "", Num(m.Pu), Num(m.Ratio)});
        }
    }
    out.push_back({"stations", st.Text()});

    // Summary: one row per load case; empty cells for a case without results.
    Csv sum({"load_case", "case_name", "lrfd", "failed", "head_shear_" + F, "head_deflection_" + L,
             "head_rotation_rad", "axial_load_" + F, "max_moment_" + M, "depth_of_max_moment_" + L,
             "max_shear_" + F, "depth_of_max_shear_" + L});
    for (const LoadCase& c : p.LoadCases) {
        const bool none = CaseFailed(c);
        const CaseSummaryRow* row = nullptr;
        for (const CaseSummaryRow& s : f.CaseSummaries)
            if (s.Case == c.Number) row = &s;
        auto val = [&](double x) { return none ? std::string() : Num(x); };
        sum.Row({std::to_string(c.Number), Field(CaseNameOf(f, c.Number)), c.Lrfd ? "true" : "false",
                 none ? "true" : "false", val(c.HeadShear), val(c.HeadDeflection),
                 row != nullptr ? Num(row->HeadRotation) : "", row != nullptr ? Num(row->AxialLoad) : "",
                 val(c.MaxMoment), val(c.DepthMaxMoment), val(c.MaxShear), val(c.DepthMaxShear)});
    }
    out.push_back({"summary", sum.Text()});

    // Printed p-y curves: one row per point.
    Csv py({"curve", "depth_" + L, "soil", "curve_name", "y_" + L, "p_" + FL});
    for (const PrintedPyCurve& c : p.PyCurves)
        for (const PyPoint& q : c.Points)
            py.Row({std::to_string(c.Number), Num(c.Depth), Field(c.SoilDescription), Field(c.CurveName), Num(q.Y),
                    Num(q.P)});
    if (py.Rows() > 0) out.push_back({"py-curves", py.Text()});

    // Moment-curvature curves: one row per point of each section and thrust.
    Csv mc({"section", "kind", "thrust_number", "axial_thrust_" + UnitTag(u.Thrust),
            "nominal_moment_capacity_" + UnitTag(u.Capacity), "moment_" + UnitTag(u.SectionMoment),
            "ei_" + UnitTag(u.SectionEI), "curvature_" + UnitTag(u.Curvature)});
    for (const SectionCurves& s : p.Sections)
        for (const ThrustCurve& t : s.Thrusts)
            for (const SectionCurvePoint& q : t.Points)
                mc.Row({std::to_string(s.Number), Field(s.Kind), std::to_string(t.ThrustNumber), Num(t.Thrust),
                        Num(t.NominalMomentCapacity), Num(q.Moment), Num(q.EI), Num(q.Curvature)});
    if (mc.Rows() > 0) out.push_back({"section-curves", mc.Text()});

    // Envelopes over the load cases.
    const Envelope e = ComputeEnvelope(p);
    if (!e.Cases.empty()) {
        Csv en({"depth_" + L, "deflection_min_" + L, "deflection_max_" + L, "moment_min_" + M, "moment_max_" + M,
                "shear_min_" + F, "shear_max_" + F, "case_deflection_min", "case_deflection_max", "case_moment_min",
                "case_moment_max", "case_shear_min", "case_shear_max"});
        for (std::size_t i = 0; i < e.Depth.size(); ++i)
            en.Row({Num(e.Depth[i]), Num(e.MinDeflection[i]), Num(e.MaxDeflection[i]), Num(e.MinMoment[i]),
                    Num(e.MaxMoment[i]), Num(e.MinShear[i]), Num(e.MaxShear[i]),
                    std::to_string(e.CaseMinDeflection[i]), std::to_string(e.CaseMaxDeflection[i]),
                    std::to_string(e.CaseMinMoment[i]), std::to_string(e.CaseMaxMoment[i]),
                    std::to_string(e.CaseMinShear[i]), std::to_string(e.CaseMaxShear[i])});
        out.push_back({"envelope", en.Text()});
    }

    // LRFD checks: factored moment against phi Mn per combination and section.
    if (!f.LrfdChecks.empty()) {
        Csv lr({"combination", "name", "section", "resistance_factor", "factored_moment_capacity_" + M,
                "factored_moment_" + M, "ratio", "check"});
        for (const LrfdCheckRow& c : f.LrfdChecks) {
            const bool ratio = c.Checked && c.FactoredCapacity > 0.0;
            lr.Row({std::to_string(c.Combination), Field(c.Name), std::to_string(c.Section),
                    Num(c.ResistanceFactor), c.Checked ? Num(c.FactoredCapacity) : "", Num(c.MaxMoment),
                    ratio ? Num(c.MaxMoment / c.FactoredCapacity) : "",
                    !c.Checked ? "not checked" : c.Passed ? "pass" : "fail"});
        }
        out.push_back({"lrfd-checks", lr.Text()});
    }
    return out;
}

}  // namespace kestro::results
