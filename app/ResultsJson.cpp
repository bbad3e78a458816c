#include "ResultsJson.h"

#include <charconv>

#include "JsonWriter.h"
#include "Tables.h"

namespace kestro::results {
namespace {

using W = JsonWriter;

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

void InteractionJson(W& w, const RunFacts& f, const PlotUnits& u) {
    w.Key("interaction");
    if (f.Interaction.empty()) {
        w.Value(nullptr);
        return;
    }
    w.Array();
    for (std::size_t k = 0; k < f.Interaction.size(); ++k) {
        const InteractionDiagram& d = f.Interaction[k];
        w.Object().Member("diagram", k + 1).Member("directionDegrees", d.DirectionDegrees);
        w.Key("units").Object().Member("axialThrust", u.Thrust).Member("moment", u.SectionMoment).Close();
        w.Member("axialThrust", d.Thrust).Member("moment", d.Moment).Close();
    }
    w.Close();
}

void LrfdChecksJson(W& w, const RunFacts& f, const PlotUnits& u) {
    w.Key("lrfdChecks");
    if (f.LrfdChecks.empty()) {
        w.Value(nullptr);
        return;
    }
    w.Array();
    for (const LrfdCheckRow& r : f.LrfdChecks) {
        w.Object().Member("combination", r.Combination).Member("name", r.Name).Member("section", r.Section);
        w.Member("resistanceFactor", r.ResistanceFactor);
        if (r.Checked)
            w.Quantity("factoredMomentCapacity", r.FactoredCapacity, u.Moment);
        else
            w.Member("factoredMomentCapacity", nullptr);
        w.Quantity("maxMoment", r.MaxMoment, u.Moment);
        w.Member("ratio", r.Checked && r.FactoredCapacity > 0.0 ? std::optional<double>(r.MaxMoment / r.FactoredCapacity)
                                                                : std::nullopt);
        w.Member("check", !r.Checked ? "not checked" : r.Passed ? "pass" : "fail").Close();
    }
    w.Close();
}

void RunObject(W& w, const RunResults& r) {
    const RunFacts& f = r.Facts;
    w.Object().Member("status", StatusName(f.Status)).Member("outcome", OutcomeSentence(f)).Member("result", f.Result);
    w.Key("error");
    if (f.Status == RunStatus::Error) {
        w.Object().Member("number", f.ErrorNumber);
        w.Key("code").Value(f.ErrorCode.empty() ? std::optional<std::string>() : f.ErrorCode);
        w.Key("heading").Value(f.ErrorHeading.empty() ? std::optional<std::string>() : f.ErrorHeading);
        w.Member("text", f.ErrorText).Close();
    } else {
        w.Value(nullptr);
    }
    w.Key("warnings").Array();
    for (const WarningInfo& wi : f.Warnings) w.Object().Member("count", wi.Count).Member("text", wi.Text).Close();
    w.Close().Close();
}

void UnitsJson(W& w, const PlotUnits& u, int system) {
    w.Object().Member("system", system).Member("name", u.SystemName).Member("length", u.Length);
    w.Member("force", u.Force).Member("moment", u.Moment).Member("forcePerLength", u.ForcePerLength);
    w.Member("sectionMoment", u.SectionMoment).Member("sectionEI", u.SectionEI).Member("curvature", u.Curvature);
    w.Member("axialThrust", u.Thrust).Member("nominalMomentCapacity", u.Capacity).Close();
}

void ProfileJson(W& w, const RunFacts& f, const PlotUnits& u) {
    w.Object();
    if (f.HasGroundSurface)
        w.Quantity("groundSurface", f.GroundSurface, u.Length);
    else
        w.Member("groundSurface", nullptr);
    w.Key("soilLayers").Array();
    for (const SoilLayerInfo& l : f.Layers) {
        w.Object().Member("number", l.Number).Member("description", l.Description);
        w.Quantity("top", l.Top, u.Length).Quantity("bottom", l.Bottom, u.Length).Close();
    }
    w.Close().Close();
}

void SectionsJson(W& w, const PlotResults& p, const PlotUnits& u) {
    w.Array();
    for (const SectionCurves& s : p.Sections) {
        w.Object().Member("number", s.Number).Member("kind", s.Kind).Key("curves").Array();
        for (const ThrustCurve& c : s.Thrusts) {
            w.Object().Member("thrustNumber", c.ThrustNumber);
            w.Quantity("axialThrust", c.Thrust, u.Thrust);
            w.Quantity("nominalMomentCapacity", c.NominalMomentCapacity, u.Capacity);
            w.Key("units").Object().Member("moment", u.SectionMoment).Member("ei", u.SectionEI);
            w.Member("curvature", u.Curvature).Close();
            w.Column("moment", c.Points, [](const SectionCurvePoint& q) { return q.Moment; });
            w.Column("ei", c.Points, [](const SectionCurvePoint& q) { return q.EI; });
            w.Column("curvature", c.Points, [](const SectionCurvePoint& q) { return q.Curvature; }).Close();
        }
        w.Close().Close();
    }
    w.Close();
}

void PyCurvesJson(W& w, const PlotResults& p, const PlotUnits& u) {
    w.Array();
    for (const PrintedPyCurve& c : p.PyCurves) {
        w.Object().Member("number", c.Number).Quantity("depth", c.Depth, u.Length);
        w.Member("soil", c.SoilDescription).Member("curve", c.CurveName);
        w.Key("units").Object().Member("y", u.Length).Member("p", u.ForcePerLength).Close();
        w.Column("y", c.Points, [](const PyPoint& q) { return q.Y; });
        w.Column("p", c.Points, [](const PyPoint& q) { return q.P; }).Close();
    }
    w.Close();
}

// The station values of a load case: those of the plot file, the values the
// engine kept during the run (null where not known) and the mobilised soil
// resistance of every station.
void StationsJson(W& w, const RunResults& r, const LoadCase& c, const PlotUnits& u) {
    const int system = r.Plot.UnitSystem;
    w.Key("stations").Object().Key("units").Object();
    w.Member("depth", u.Length).Member("deflection", u.Length).Member("moment", u.Moment).Member("shear", u.Force);
    w.Member("soilReaction", u.ForcePerLength).Member("slope", "rad");
    w.Member("ei", system == 2 ? "kN-m2" : system == 3 ? "F-L2" : "lb-in2");
    w.Member("es", system == 2 ? "kN/m2" : system == 3 ? "F/L2" : "lb/in2");
    w.Member("ultimateResistance", u.ForcePerLength).Close();
    w.Column("number", c.Stations, [](const Station& s) { return s.Number; });
    w.Column("depth", c.Stations, [](const Station& s) { return s.Depth; });
    w.Column("deflection", c.Stations, [](const Station& s) { return s.Deflection; });
    w.Column("moment", c.Stations, [](const Station& s) { return s.Moment; });
    w.Column("shear", c.Stations, [](const Station& s) { return s.Shear; });
    w.Column("soilReaction", c.Stations, [](const Station& s) { return s.SoilReaction; });
    const bool kept = c.HasStationProperties;
    auto keptValue = [kept](double v) { return kept ? std::optional<double>(v) : std::nullopt; };
    w.Column("slope", c.Stations, [&](const Station& s) { return keptValue(s.Slope); });
    w.Column("ei", c.Stations, [&](const Station& s) { return keptValue(s.EI); });
    w.Column("es", c.Stations, [&](const Station& s) { return keptValue(s.Es); });
    std::vector<Mobilised> mobilised;
    mobilised.reserve(c.Stations.size());
    for (std::size_t i = 0; i < c.Stations.size(); ++i) mobilised.push_back(MobilisedAt(r, c, i));
    w.Column("ultimateResistance", mobilised, [](const Mobilised& m) { return m.Pu; });
    w.Column("mobilisedRatio", mobilised, [](const Mobilised& m) { return m.Ratio; });
    w.Column("ultimateResistanceNote", mobilised,
             [](const Mobilised& m) { return m.Pu ? std::optional<std::string_view>() : std::string_view(m.Reason); });
    w.Close();
}

void EnvelopeJson(W& w, const PlotResults& p, const PlotUnits& u) {
    const Envelope e = ComputeEnvelope(p);
    w.Key("envelope");
    if (e.Cases.empty()) {
        w.Value(nullptr);
        return;
    }
    w.Object().Member("cases", e.Cases).Member("casesLeftOut", e.LeftOut);
    w.Key("units").Object().Member("depth", u.Length).Member("deflection", u.Length);
    w.Member("moment", u.Moment).Member("shear", u.Force).Close();
    w.Member("depth", e.Depth).Member("deflectionMin", e.MinDeflection).Member("deflectionMax", e.MaxDeflection);
    w.Member("momentMin", e.MinMoment).Member("momentMax", e.MaxMoment);
    w.Member("shearMin", e.MinShear).Member("shearMax", e.MaxShear);
    w.Member("caseOfDeflectionMin", e.CaseMinDeflection).Member("caseOfDeflectionMax", e.CaseMaxDeflection);
    w.Member("caseOfMomentMin", e.CaseMinMoment).Member("caseOfMomentMax", e.CaseMaxMoment);
    w.Member("caseOfShearMin", e.CaseMinShear).Member("caseOfShearMax", e.CaseMaxShear).Close();
}

void LoadCaseJson(W& w, const LoadCase& c, const RunResults& r, const PlotUnits& u) {
    const RunFacts& f = r.Facts;
    const auto k = static_cast<std::size_t>(c.Number - 1);
    const std::string name = k < f.CaseNames.size() ? f.CaseNames[k] : std::string();
    // A case of which the plot file holds neither stations nor a summary has
    // no results: its values are null, never zeros that read as an answer.
    const bool none = CaseFailed(c);
    auto value = [&](const char* key, double v, const char* unit) {
        if (none)
            w.Quantity(key, nullptr, unit);
        else
            w.Quantity(key, v, unit);
    };
    w.Object().Member("number", c.Number).Member("lrfd", c.Lrfd);
    w.Key("name").Value(name.empty() ? std::optional<std::string>() : name);
    w.Member("complete", c.StationsComplete && c.HasSummary).Member("failed", none);
    value("headShear", c.HeadShear, u.Force);
    value("headDeflection", c.HeadDeflection, u.Length);
    value("maxMoment", c.MaxMoment, u.Moment);
    value("depthOfMaxMoment", c.DepthMaxMoment, u.Length);
    value("maxShear", c.MaxShear, u.Force);
    value("depthOfMaxShear", c.DepthMaxShear, u.Length);
    // From the report's summary of pile responses, when it has the case.
    const CaseSummaryRow* row = nullptr;
    for (const CaseSummaryRow& s : f.CaseSummaries)
        if (s.Case == c.Number) row = &s;
    const PrintedStations* printed = nullptr;
    for (const PrintedStations& s : f.CaseStations)
        if (s.Case == c.Number && printed == nullptr) printed = &s;
    w.Key("printedStations");
    if (printed == nullptr) {
        w.Value(nullptr);
    } else {
        w.Object().Key("units").Object().Member("depth", u.Length).Member("slope", "rad");
        w.Member("ei", u.SectionEI).Close();
        w.Member("depth", printed->Depth).Member("slope", printed->Slope).Member("ei", printed->EI).Close();
    }
    if (row != nullptr) {
        w.Key("headCondition").Object().Member("loadType", row->LoadType);
        w.Quantity("condition1", row->Condition1, ConditionUnit(row->Condition1Kind, u));
        w.Quantity("condition2", row->Condition2, ConditionUnit(row->Condition2Kind, u)).Close();
        w.Quantity("axialLoad", row->AxialLoad, u.Force);
        w.Quantity("headRotation", row->HeadRotation, "rad");
    } else {
        w.Member("headCondition", nullptr).Member("axialLoad", nullptr).Member("headRotation", nullptr);
    }
    StationsJson(w, r, c, u);
    w.Key("lengthStudy");
    if (c.LengthStudy.empty()) {
        w.Value(nullptr);
    } else {
        w.Object().Key("units").Object().Member("pileLength", u.Length).Member("headDeflection", u.Length);
        w.Member("maxMoment", u.Moment).Member("maxShear", u.Force).Close();
        w.Column("pileLength", c.LengthStudy, [](const LengthPoint& q) { return q.PileLength; });
        w.Column("headDeflection", c.LengthStudy, [](const LengthPoint& q) { return q.HeadDeflection; });
        w.Column("maxMoment", c.LengthStudy, [](const LengthPoint& q) { return q.MaxMoment; });
        w.Column("maxShear", c.LengthStudy, [](const LengthPoint& q) { return q.MaxShear; }).Close();
    }
    w.Close();
}

void StiffnessJson(W& w, const PlotResults& p, const PlotUnits& u) {
    w.Key("stiffness");
    if (p.Stiffness.empty()) {
        w.Value(nullptr);
        return;
    }
    const auto& s = p.Stiffness;
    w.Object().Key("units").Object().Member("headShear", u.Force).Member("headMoment", u.Moment);
    w.Member("k22", u.K22).Member("k23", u.K23).Member("k32", u.K32).Member("k33", u.K33);
    w.Member("headDeflection", u.Length).Member("headRotation", "rad").Close();
    w.Column("headShear", s, [](const StiffnessStep& q) { return q.HeadShear; });
    w.Column("headMoment", s, [](const StiffnessStep& q) { return q.HeadMoment; });
    w.Column("k22", s, [](const StiffnessStep& q) { return q.K22; });
    w.Column("k23", s, [](const StiffnessStep& q) { return q.K23; });
    w.Column("k32", s, [](const StiffnessStep& q) { return q.K32; });
    w.Column("k33", s, [](const StiffnessStep& q) { return q.K33; });
    w.Column("headDeflection", s, [](const StiffnessStep& q) { return q.HeadDeflection; });
    w.Column("headRotation", s, [](const StiffnessStep& q) { return q.HeadRotation; }).Close();
}

std::optional<int> OrNull(int v) { return v < 0 ? std::nullopt : std::optional<int>(v); }
std::optional<int> IfHeader(const PlotResults& p, int v) { return p.HasHeader ? std::optional<int>(v) : std::nullopt; }

}  // namespace

bool CaseFailed(const LoadCase& c) { return c.Stations.empty() && !c.HasSummary; }

std::string ExactNumber(double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string RunJsonText(const RunResults& r) {
    std::string text;
    W w(text, true);
    RunObject(w, r);
    return text;
}

std::string ResultsJsonText(const RunResults& r) {
    const PlotResults& p = r.Plot;
    const PlotUnits u = UnitsOf(p.UnitSystem);
    // About 400 characters per station of a load case (twelve columns).
    std::size_t stations = 0;
    for (const LoadCase& c : p.LoadCases) stations += c.Stations.size();
    std::string text;
    text.reserve(8192 + 400 * stations);
    W w(text);
    w.Object().Member("schema", "kestro-results").Member("schemaVersion", ResultsSchemaVersion);
    w.Member("name", r.Name);
    w.Key("files").Object().Member("plot", r.PlotFile).Member("report", r.ReportFile);
    w.Member("messages", r.MessageFile).Close();
    w.Member("title", r.Facts.Title);
    w.Key("run");
    RunObject(w, r);
    w.Key("plotFile").Object().Member("complete", p.Complete);
    w.Key("problem").Value(p.Problem.empty() ? std::optional<std::string>() : p.Problem);
    w.Member("problemLine", p.ProblemLine > 0 ? std::optional<int>(p.ProblemLine) : std::nullopt);
    w.Member("lines", p.LinesRead).Close();
    w.Key("units");
    if (p.HasHeader)
        UnitsJson(w, u, p.UnitSystem);
    else
        w.Value(nullptr);
    w.Key("analysis").Object().Member("computationMode", IfHeader(p, p.ComputationMode));
    w.Member("lengthStudyEntry", IfHeader(p, p.LengthStudyEntry));
    w.Key("stiffnessMatrix").Value(p.HasHeader ? std::optional<bool>(p.StiffnessMatrix == 1) : std::nullopt);
    w.Member("numSections", OrNull(p.NumSections)).Member("numPrintedPyCurves", OrNull(p.NumPyDepths));
    w.Member("numLoadCases", OrNull(p.NumLoadCases)).Member("numStations", OrNull(p.NumStations)).Close();
    w.Key("profile");
    ProfileJson(w, r.Facts, u);
    w.Key("sections");
    SectionsJson(w, p, u);
    w.Key("pyCurves");
    PyCurvesJson(w, p, u);
    w.Key("loadCases").Array();
    for (const LoadCase& c : p.LoadCases) LoadCaseJson(w, c, r, u);
    w.Close();
    EnvelopeJson(w, p, u);
    StiffnessJson(w, p, u);
    LrfdChecksJson(w, r.Facts, u);
    InteractionJson(w, r.Facts, u);
    w.Key("axial");
    AxialJson(w, p.Axial, p.UnitSystem);
    w.Close();
    text += '\n';
    return text;
}

}  // namespace kestro::results
