#include "ResultsJson.h"

#include <charconv>

#include "Tables.h"

namespace kestro::results {
namespace {

// The JSON library writes a double with digits that read back to the same value
// but are not always the shortest such digits (71.25224300000001 for the plot
// file's 7.1252243E+01). Every real number of the text is written again in its
// shortest exact form, so the file keeps the plot file's digits.
std::string WithShortestReals(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    auto numberChar = [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    };
    const char* const end = text.data() + text.size();
    bool inString = false;
    for (const char* p = text.data(); p < end;) {
        const char c = *p;
        if (inString) {
            // Copy up to the closing quote, escapes included.
            const char* q = p;
            while (q < end && *q != '"') q += *q == '\\' && q + 1 < end ? 2 : 1;
            if (q < end) ++q;
            out.append(p, q);
            p = q;
            inString = false;
        } else if (c == '"') {
            inString = true;
            out += c;
            ++p;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const char* q = p;
            while (q < end && numberChar(*q)) ++q;
            bool real = false;
            for (const char* t = p; t < q; ++t) real = real || *t == '.' || *t == 'e' || *t == 'E';
            double v = 0.0;
            const auto [ptr, ec] = std::from_chars(p, q, v);
            char buf[64];
            const auto shortest = std::to_chars(buf, buf + sizeof buf, v);
            if (real && ec == std::errc() && ptr == q && shortest.ec == std::errc())
                out.append(buf, shortest.ptr);
            else
                out.append(p, q);
            p = q;
        } else {
            // Structure and layout up to the next string or number.
            const char* q = p + 1;
            while (q < end && *q != '"' && *q != '-' && !(*q >= '0' && *q <= '9')) ++q;
            out.append(p, q);
            p = q;
        }
    }
    return out;
}

using Json = nlohmann::ordered_json;

Json Quantity(double v, const char* unit) { return Json{{"value", v}, {"unit", unit}}; }
Json Quantity(std::nullptr_t, const char* unit) { return Json{{"value", nullptr}, {"unit", unit}}; }

// Unit of a pile-head condition of the report's summary: shear V, deflection y,
// moment M, slope S, rotational stiffness R.
const char* ConditionUnit(char kind, const PlotUnits& u) {
    switch (kind) {
        case 'V': return u.Force;
        case 'y': return u.Length;
        case 'M': return u.Moment;
        case 'S': return "rad";
        case 'R': return u.K33;
        default: return "";
    }
}

Json InteractionJson(const RunFacts& f, const PlotUnits& u) {
    if (f.Interaction.empty()) return nullptr;
    Json diagrams = Json::array();
    for (std::size_t k = 0; k < f.Interaction.size(); ++k) {
        const InteractionDiagram& d = f.Interaction[k];
        diagrams.push_back(Json{{"diagram", k + 1},
                                {"directionDegrees", d.DirectionDegrees},
                                {"units", Json{{"axialThrust", u.Thrust}, {"moment", u.SectionMoment}}},
                                {"axialThrust", d.Thrust},
                                {"moment", d.Moment}});
    }
    return diagrams;
}

Json LrfdChecksJson(const RunFacts& f, const PlotUnits& u) {
    if (f.LrfdChecks.empty()) return nullptr;
    Json rows = Json::array();
    for (const LrfdCheckRow& r : f.LrfdChecks)
        rows.push_back(Json{
            {"combination", r.Combination},
            {"name", r.Name},
            {"section", r.Section},
            {"resistanceFactor", r.ResistanceFactor},
            {"factoredMomentCapacity", r.Checked ? Quantity(r.FactoredCapacity, u.Moment) : Json(nullptr)},
            {"maxMoment", Quantity(r.MaxMoment, u.Moment)},
            {"ratio", r.Checked && r.FactoredCapacity > 0.0 ? Json(r.MaxMoment / r.FactoredCapacity) : Json(nullptr)},
            {"check", !r.Checked ? "not checked" : r.Passed ? "pass" : "fail"}});
    return rows;
}

template <class T, class F>
Json Column(const std::vector<T>& rows, F field) {
    Json a = Json::array();
    for (const T& row : rows) a.push_back(field(row));
    return a;
}

Json RunJson(const RunResults& r) {
    const RunFacts& f = r.Facts;
    Json run{{"status", StatusName(f.Status)}, {"outcome", OutcomeSentence(f)}};
    run["result"] = f.Result ? Json(*f.Result) : Json(nullptr);
    if (f.Status == RunStatus::Error) {
        Json e{{"number", f.ErrorNumber ? Json(*f.ErrorNumber) : Json(nullptr)},
               {"code", f.ErrorCode.empty() ? Json(nullptr) : Json(f.ErrorCode)},
               {"heading", f.ErrorHeading.empty() ? Json(nullptr) : Json(f.ErrorHeading)},
               {"text", f.ErrorText}};
        run["error"] = e;
    } else {
        run["error"] = nullptr;
    }
    Json w = Json::array();
    for (const WarningInfo& wi : f.Warnings) w.push_back(Json{{"count", wi.Count}, {"text", wi.Text}});
    run["warnings"] = w;
    return run;
}

Json UnitsJson(const PlotUnits& u, int system) {
    return Json{{"system", system},          {"name", u.SystemName},
                {"length", u.Length},        {"force", u.Force},
                {"moment", u.Moment},        {"forcePerLength", u.ForcePerLength},
                {"sectionMoment", u.SectionMoment}, {"sectionEI", u.SectionEI},
                {"curvature", u.Curvature},  {"axialThrust", u.Thrust},
                {"nominalMomentCapacity", u.Capacity}};
}

Json ProfileJson(const RunFacts& f, const PlotUnits& u) {
    Json layers = Json::array();
    for (const SoilLayerInfo& l : f.Layers)
        layers.push_back(Json{{"number", l.Number},
                              {"description", l.Description},
                              {"top", Quantity(l.Top, u.Length)},
                              {"bottom", Quantity(l.Bottom, u.Length)}});
    return Json{{"groundSurface", f.HasGroundSurface ? Quantity(f.GroundSurface, u.Length) : Json(nullptr)},
                {"soilLayers", layers}};
}

Json SectionsJson(const PlotResults& p, const PlotUnits& u) {
    Json sections = Json::array();
    for (const SectionCurves& s : p.Sections) {
        Json curves = Json::array();
        for (const ThrustCurve& c : s.Thrusts) {
            curves.push_back(Json{
                {"thrustNumber", c.ThrustNumber},
                {"axialThrust", Quantity(c.Thrust, u.Thrust)},
                {"nominalMomentCapacity", Quantity(c.NominalMomentCapacity, u.Capacity)},
                {"units", Json{{"moment", u.SectionMoment}, {"ei", u.SectionEI}, {"curvature", u.Curvature}}},
                {"moment", Column(c.Points, [](const SectionCurvePoint& q) { return q.Moment; })},
                {"ei", Column(c.Points, [](const SectionCurvePoint& q) { return q.EI; })},
                {"curvature", Column(c.Points, [](const SectionCurvePoint& q) { return q.Curvature; })}});
        }
        sections.push_back(Json{{"number", s.Number}, {"kind", s.Kind}, {"curves", curves}});
    }
    return sections;
}

Json PyCurvesJson(const PlotResults& p, const PlotUnits& u) {
    Json curves = Json::array();
    for (const PrintedPyCurve& c : p.PyCurves) {
        curves.push_back(Json{{"number", c.Number},
                              {"depth", Quantity(c.Depth, u.Length)},
                              {"soil", c.SoilDescription},
                              {"curve", c.CurveName},
                              {"units", Json{{"y", u.Length}, {"p", u.ForcePerLength}}},
                              {"y", Column(c.Points, [](const PyPoint& q) { return q.Y; })},
                              {"p", Column(c.Points, [](const PyPoint& q) { return q.P; })}});
    }
    return curves;
}

// The station values the engine kept during the run (null where not known)
// and the mobilised soil resistance of every station.
void StationValuesJson(Json& stations, const RunResults& r, const LoadCase& c, const PlotUnits& u) {
    const int system = r.Plot.UnitSystem;
    stations["units"]["slope"] = "rad";
    stations["units"]["ei"] = system == 2 ? "kN-m2" : system == 3 ? "F-L2" : "lb-in2";
    stations["units"]["es"] = system == 2 ? "kN/m2" : system == 3 ? "F/L2" : "lb/in2";
    stations["units"]["ultimateResistance"] = u.ForcePerLength;
    Json slope = Json::array(), ei = Json::array(), es = Json::array(), pu = Json::array(), ratio = Json::array(),
         note = Json::array();
    for (std::size_t i = 0; i < c.Stations.size(); ++i) {
        const Station& s = c.Stations[i];
        const bool kept = c.HasStationProperties;
        slope.push_back(kept ? Json(s.Slope) : Json(nullptr));
        ei.push_back(kept ? Json(s.EI) : Json(nullptr));
        es.push_back(kept ? Json(s.Es) : Json(nullptr));
        const Mobilised m = MobilisedAt(r, c, i);
        pu.push_back(m.Pu ? Json(*m.Pu) : Json(nullptr));
        ratio.push_back(m.Ratio ? Json(*m.Ratio) : Json(nullptr));
        note.push_back(m.Pu ? Json(nullptr) : Json(m.Reason));
    }
    stations["slope"] = slope;
    stations["ei"] = ei;
    stations["es"] = es;
    stations["ultimateResistance"] = pu;
    stations["mobilisedRatio"] = ratio;
    stations["ultimateResistanceNote"] = note;
}

Json EnvelopeJson(const PlotResults& p, const PlotUnits& u) {
    const Envelope e = ComputeEnvelope(p);
    if (e.Cases.empty()) return nullptr;
    return Json{{"cases", e.Cases},
                {"casesLeftOut", e.LeftOut},
                {"units", Json{{"depth", u.Length}, {"deflection", u.Length}, {"moment", u.Moment}, {"shear", u.Force}}},
                {"depth", e.Depth},
                {"deflectionMin", e.MinDeflection},
                {"deflectionMax", e.MaxDeflection},
                {"momentMin", e.MinMoment},
                {"momentMax", e.MaxMoment},
                {"shearMin", e.MinShear},
                {"shearMax", e.MaxShear},
                {"caseOfDeflectionMin", e.CaseMinDeflection},
                {"caseOfDeflectionMax", e.CaseMaxDeflection},
                {"caseOfMomentMin", e.CaseMinMoment},
                {"caseOfMomentMax", e.CaseMaxMoment},
                {"caseOfShearMin", e.CaseMinShear},
                {"caseOfShearMax", e.CaseMaxShear}};
}

Json LoadCaseJson(const LoadCase& c, const RunResults& r, const PlotUnits& u) {
    const RunFacts& f = r.Facts;
    const auto k = static_cast<std::size_t>(c.Number - 1);
    const std::string name = k < f.CaseNames.size() ? f.CaseNames[k] : std::string();
    // A case of which the plot file holds neither stations nor a summary has
    // no results: its values are null, never zeros that read as an answer.
    const bool none = CaseFailed(c);
    auto value = [&](double v, const char* unit) { return none ? Quantity(nullptr, unit) : Quantity(v, unit); };
    Json j{{"number", c.Number},
           {"lrfd", c.Lrfd},
           {"name", name.empty() ? Json(nullptr) : Json(name)},
           {"complete", c.StationsComplete && c.HasSummary},
           {"failed", none},
           {"headShear", value(c.HeadShear, u.Force)},
           {"headDeflection", value(c.HeadDeflection, u.Length)},
           {"maxMoment", value(c.MaxMoment, u.Moment)},
           {"depthOfMaxMoment", value(c.DepthMaxMoment, u.Length)},
           {"maxShear", value(c.MaxShear, u.Force)},
           {"depthOfMaxShear", value(c.DepthMaxShear, u.Length)}};
    // From the report's summary of pile responses, when it has the case.
    const CaseSummaryRow* row = nullptr;
    for (const CaseSummaryRow& s : f.CaseSummaries)
        if (s.Case == c.Number) row = &s;
    const PrintedStations* printed = nullptr;
    for (const PrintedStations& s : f.CaseStations)
        if (s.Case == c.Number && printed == nullptr) printed = &s;
    j["printedStations"] = printed == nullptr
                               ? Json(nullptr)
                               : Json{{"units", Json{{"depth", u.Length}, {"slope", "rad"}, {"ei", u.SectionEI}}},
                                      {"depth", printed->Depth},
                                      {"slope", printed->Slope},
                                      {"ei", printed->EI}};
    if (row != nullptr) {
        j["headCondition"] = Json{{"loadType", row->LoadType},
                                  {"condition1", Quantity(row->Condition1, ConditionUnit(row->Condition1Kind, u))},
                                  {"condition2", Quantity(row->Condition2, ConditionUnit(row->Condition2Kind, u))}};
        j["axialLoad"] = Quantity(row->AxialLoad, u.Force);
        j["headRotation"] = Quantity(row->HeadRotation, "rad");
    } else {
        j["headCondition"] = nullptr;
        j["axialLoad"] = nullptr;
        j["headRotation"] = nullptr;
    }
    j["stations"] = Json{
        {"units", Json{{"depth", u.Length}, {"deflection", u.Length}, {"moment", u.Moment}, {"shear", u.Force},
                       {"soilReaction", u.ForcePerLength}}},
        {"number", Column(c.Stations, [](const Station& s) { return s.Number; })},
        {"depth", Column(c.Stations, [](const Station& s) { return s.Depth; })},
        {"deflection", Column(c.Stations, [](const Station& s) { return s.Deflection; })},
        {"moment", Column(c.Stations, [](const Station& s) { return s.Moment; })},
        {"shear", Column(c.Stations, [](const Station& s) { return s.Shear; })},
        {"soilReaction", Column(c.Stations, [](const Station& s) { return s.SoilReaction; })}};
    StationValuesJson(j["stations"], r, c, u);
    if (c.LengthStudy.empty()) {
        j["lengthStudy"] = nullptr;
    } else {
        j["lengthStudy"] = Json{
            {"units", Json{{"pileLength", u.Length}, {"headDeflection", u.Length}, {"maxMoment", u.Moment},
                           {"maxShear", u.Force}}},
            {"pileLength", Column(c.LengthStudy, [](const LengthPoint& q) { return q.PileLength; })},
            {"headDeflection", Column(c.LengthStudy, [](const LengthPoint& q) { return q.HeadDeflection; })},
            {"maxMoment", Column(c.LengthStudy, [](const LengthPoint& q) { return q.MaxMoment; })},
            {"maxShear", Column(c.LengthStudy, [](const LengthPoint& q) { return q.MaxShear; })}};
    }
    return j;
}

Json StiffnessJson(const PlotResults& p, const PlotUnits& u) {
    if (p.Stiffness.empty()) return nullptr;
    const auto& s = p.Stiffness;
    return Json{{"units", Json{{"headShear", u.Force}, {"headMoment", u.Moment}, {"k22", u.K22}, {"k23", u.K23},
                               {"k32", u.K32}, {"k33", u.K33}, {"headDeflection", u.Length}, {"headRotation", "rad"}}},
                {"headShear", Column(s, [](const StiffnessStep& q) { return q.HeadShear; })},
                {"headMoment", Column(s, [](const StiffnessStep& q) { return q.HeadMoment; })},
                {"k22", Column(s, [](const StiffnessStep& q) { return q.K22; })},
                {"k23", Column(s, [](const StiffnessStep& q) { return q.K23; })},
                {"k32", Column(s, [](const StiffnessStep& q) { return q.K32; })},
                {"k33", Column(s, [](const StiffnessStep& q) { return q.K33; })},
                {"headDeflection", Column(s, [](const StiffnessStep& q) { return q.HeadDeflection; })},
                {"headRotation", Column(s, [](const StiffnessStep& q) { return q.HeadRotation; })}};
}

Json OrNull(int v) { return v < 0 ? Json(nullptr) : Json(v); }

}  // namespace

nlohmann::ordered_json ResultsJson(const RunResults& r) {
    const PlotResults& p = r.Plot;
    const PlotUnits u = UnitsOf(p.UnitSystem);
    Json j;
    j["schema"] = "kestro-results";
    j["schemaVersion"] = ResultsSchemaVersion;
    j["name"] = r.Name;
    j["files"] = Json{{"plot", r.PlotFile}, {"report", r.ReportFile}, {"messages", r.MessageFile}};
    j["title"] = r.Facts.Title;
    j["run"] = RunJson(r);
    j["plotFile"] = Json{{"complete", p.Complete},
                         {"problem", p.Problem.empty() ? Json(nullptr) : Json(p.Problem)},
                         {"problemLine", p.ProblemLine > 0 ? Json(p.ProblemLine) : Json(nullptr)},
                         {"lines", p.LinesRead}};
    j["units"] = p.HasHeader ? UnitsJson(u, p.UnitSystem) : Json(nullptr);
    j["analysis"] = Json{{"computationMode", p.HasHeader ? Json(p.ComputationMode) : Json(nullptr)},
                         {"lengthStudyEntry", p.HasHeader ? Json(p.LengthStudyEntry) : Json(nullptr)},
                         {"stiffnessMatrix", p.HasHeader ? Json(p.StiffnessMatrix == 1) : Json(nullptr)},
                         {"numSections", OrNull(p.NumSections)},
                         {"numPrintedPyCurves", OrNull(p.NumPyDepths)},
                         {"numLoadCases", OrNull(p.NumLoadCases)},
                         {"numStations", OrNull(p.NumStations)}};
    j["profile"] = ProfileJson(r.Facts, u);
    j["sections"] = SectionsJson(p, u);
    j["pyCurves"] = PyCurvesJson(p, u);
    Json cases = Json::array();
    for (const LoadCase& c : p.LoadCases) cases.push_back(LoadCaseJson(c, r, u));
    j["loadCases"] = cases;
    j["envelope"] = EnvelopeJson(p, u);
    j["stiffness"] = StiffnessJson(p, u);
    j["lrfdChecks"] = LrfdChecksJson(r.Facts, u);
    j["interaction"] = InteractionJson(r.Facts, u);
    j["axial"] = AxialJson(p.Axial, p.UnitSystem);
    return j;
}

bool CaseFailed(const LoadCase& c) { return c.Stations.empty() && !c.HasSummary; }

std::string ExactNumber(double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string RunJsonText(const RunResults& r) {
    return RunJson(r).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string ResultsJsonText(const RunResults& r) {
    // Invalid UTF-8 in a report text (a title typed in another code page) is
    // replaced rather than allowed to stop the writing.
    return WithShortestReals(ResultsJson(r).dump(1, ' ', false, nlohmann::json::error_handler_t::replace)) + "\n";
}

}  // namespace kestro::results
