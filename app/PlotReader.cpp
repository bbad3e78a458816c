#include "PlotReader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string_view>

#include "model/HeldResults.h"

namespace kestro::results {
namespace {

// One line of the plot file split into its value tokens and its label; or a
// record held in memory by the engine, its values already numbers.
struct Record {
    int Line = 0;            // line number in the file, from 1
    int Kind = 0;            // the record number after "Line "; 0 when the line has no label
    std::string_view Label;  // from "Line " to the end of the line
    std::vector<std::string_view> Values;  // the value tokens of a line read as text
    const double* Numbers = nullptr;       // the values of a held record (Values then empty)
    std::size_t NumberCount = 0;
    std::size_t Size() const { return Numbers != nullptr ? NumberCount : Values.size(); }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where the label starts ("Line " and a digit), or npos.
std::size_t LabelStart(std::string_view text) {
    std::size_t at = text.find("Line ");
    while (at != std::string_view::npos && !(at + 5 < text.size() && IsDigit(text[at + 5])))
        at = text.find("Line ", at + 1);
    return at;
}

int KindOf(std::string_view label) {
    std::size_t end = 5;
    int kind = 0;
    while (end < label.size() && IsDigit(label[end]) && kind < 1000) kind = kind * 10 + (label[end++] - '0');
    return kind;
}

void SplitValues(std::string_view values, Record& r) {
    std::size_t i = 0;
    while (i < values.size()) {
        while (i < values.size() && (values[i] == ' ' || values[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < values.size() && values[j] != ' ' && values[j] != '\t') ++j;
        if (j > i) r.Values.emplace_back(values.substr(i, j - i));
        i = j;
    }
}

// `text` must outlive the record: the label and tokens are views into it.
Record SplitRecord(std::string_view text, int lineNumber) {
    Record r;
    r.Line = lineNumber;
    const std::size_t at = LabelStart(text);
    if (at == std::string_view::npos) return r;
    r.Label = text.substr(at);
    r.Kind = KindOf(r.Label);
    SplitValues(text.substr(0, at), r);
    return r;
}

bool ParseReal(std::string_view s, double& v) {
    const char* first = s.data();
    const char* last = first + s.size();
    if (first != last && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    return ec == std::errc() && ptr == last && std::isfinite(v);
}

bool ParseInt(std::string_view s, int& v) {
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && ptr == s.data() + s.size();
}

// The integer that ends a label, e.g. the case number of Line 11.
bool TrailingInt(std::string_view label, int& v) {
    std::size_t end = label.size();
    while (end > 0 && label[end - 1] == ' ') --end;
    std::size_t begin = end;
    while (begin > 0 && IsDigit(label[begin - 1])) --begin;
    return begin < end && ParseInt(label.substr(begin, end - begin), v);
}

// The integer that follows `key` in a label, e.g. "Sect#=" in Line 5.
bool IntAfter(std::string_view label, std::string_view key, int& v) {
    std::size_t at = label.find(key);
    if (at == std::string_view::npos) return false;
    std::size_t begin = at + key.size();
    while (begin < label.size() && label[begin] == ' ') ++begin;
    std::size_t end = begin;
    while (end < label.size() && IsDigit(label[end])) ++end;
    return ParseInt(label.substr(begin, end - begin), v);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool StartsWithAny(std::string_view s, std::initializer_list<std::string_view> prefixes) {
    for (auto p : prefixes)
        if (StartsWith(s, p)) return true;
    return false;
}

std::string TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

class Parser {
public:
    Parser(std::vector<Record> records, int totalLines, PlotResults& out)
        : records_(std::move(records)), totalLines_(totalLines), r_(out) {}

    void Run();

private:
    bool AtEnd() const { return pos_ >= records_.size(); }
    int NextKind() const { return AtEnd() ? 0 : records_[pos_].Kind; }

    bool Fail(int line, const std::string& what) {
        if (r_.Problem.empty()) {
            r_.ProblemLine = line;
            r_.Problem = "line " + std::to_string(line) + ": " + what;
        }
        return false;
    }

    // Takes the next record, which must be of `kind` with `nValues` values and
    // a label beginning with one of `labels`.
    const Record* Take(int kind, std::size_t nValues, std::initializer_list<std::string_view> labels,
                       const std::string& what) {
        if (AtEnd()) {
            Fail(totalLines_ + 1, "the plot file ends where " + what + " was expected");
            return nullptr;
        }
        const Record& rec = records_[pos_];
        if (rec.Kind == 0) {
            Fail(rec.Line, "no record label (a truncated or corrupted line) where " + what + " was expected");
            return nullptr;
        }
        if (rec.Kind != kind) {
            Fail(rec.Line, "a Line " + std::to_string(rec.Kind) + " record where " + what + " was expected");
            return nullptr;
        }
        if (!StartsWithAny(rec.Label, labels)) {
            Fail(rec.Line, "unknown label \"" + TrimRight(rec.Label) + "\" for " + what);
            return nullptr;
        }
        if (rec.Size() != nValues) {
            Fail(rec.Line, std::to_string(rec.Size()) + " values where " + what + " has " +
                               std::to_string(nValues));
            return nullptr;
        }
        ++pos_;
        return &rec;
    }

    bool Real(const Record& rec, std::size_t i, double& v) {
        if (rec.Numbers != nullptr) {
            v = rec.Numbers[i];  // held records hold finite numbers only
            return true;
        }
        if (ParseReal(rec.Values[i], v)) return true;
        return Fail(rec.Line,
                    "value " + std::to_string(i + 1) + " (\"" + std::string(rec.Values[i]) + "\") is not a number");
    }
    // An integer value of a record, as a count or a code.
    static bool Int(const Record& rec, std::size_t i, int& v) {
        if (rec.Numbers != nullptr) {
            const double x = rec.Numbers[i];
            if (!(x >= -2147483648.0 && x <= 2147483647.0) || x != static_cast<double>(static_cast<int>(x)))
                return false;
            v = static_cast<int>(x);
            return true;
        }
        return ParseInt(rec.Values[i], v);
    }
    static std::string ValueText(const Record& rec, std::size_t i) {
        if (rec.Numbers == nullptr) return std::string(rec.Values[i]);
        char buf[32];
        auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, rec.Numbers[i]);
        return ec == std::errc() ? std::string(buf, ptr) : std::string();
    }
    // Values first, first + 1, ... of `rec` into `into`, in order; the first
    // that is not a number ends the reading with its problem.
    bool Reals(const Record& rec, std::initializer_list<double*> into, std::size_t first = 0) {
        for (double* v : into)
            if (!Real(rec, first++, *v)) return false;
        return true;
    }
    bool Count(const Record& rec, std::size_t i, int& v, int low = 0) {
        if (Int(rec, i, v) && v >= low) return true;
        return Fail(rec.Line, "value " + std::to_string(i + 1) + " (\"" + ValueText(rec, i) + "\") is not a count");
    }

    bool Header();
    bool SectionRecords();
    bool PyCurves();
    bool LoadCases();
    bool Summary();
    void DeriveCaseValues();

    std::vector<Record> records_;
    std::size_t pos_ = 0;
    int totalLines_ = 0;
    PlotResults& r_;
};

bool Parser::Header() {
    const Record* rec = Take(1, 4, {"Line 1 : ICOM, IUNITS, KYL, KXX"}, "the Line 1 record");
    if (rec == nullptr) return false;
    if (!Count(*rec, 0, r_.ComputationMode) || !Count(*rec, 1, r_.UnitSystem, 1) ||
        !Int(*rec, 2, r_.LengthStudyEntry) || !Count(*rec, 3, r_.StiffnessMatrix))
        return Fail(rec->Line, "Line 1 does not hold four integers");
    if (r_.UnitSystem > 3) return Fail(rec->Line, "unit system " + ValueText(*rec, 1) + " is not 1, 2 or 3");
    r_.HasHeader = true;
    rec = Take(2, 1, {"Line 2 : Total number of sections"}, "the number of sections (Line 2)");
    return rec != nullptr && Count(*rec, 0, r_.NumSections);
}

// Line 3 (thrusts of a section), Line 4 (one curve) and its Line 5 points. The
// section of a curve is the one its Line 5 records name; elastic sections after
// the first carry no Line 3 of their own.
bool Parser::SectionRecords() {
    bool newSection = true;
    while (NextKind() == 3 || NextKind() == 4) {
        if (NextKind() == 3) {
            const Record* rec = Take(3, 1, {"Line 3 : Total number of axial thrusts"}, "a Line 3 record");
            int n = 0;
            if (rec == nullptr || !Count(*rec, 0, n)) return false;
            newSection = true;
            continue;
        }
        const Record* rec = Take(4, 3, {"Line 4 : Num. "}, "a Line 4 record");
        int points = 0;
        ThrustCurve curve;
        if (rec == nullptr || !Count(*rec, 0, points) || !Reals(*rec, {&curve.Thrust, &curve.NominalMomentCapacity}, 1))
            return false;
        const std::string kind = rec->Label.find("for linear EI") != std::string_view::npos       ? "elastic"
                                 : rec->Label.find("for elastic-plastic EI") != std::string_view::npos ? "elastic-plastic"
                                                                                                   : "nonlinear";
        int section = 0, thrust = 0;
        for (int p = 1; p <= points; ++p) {
            const Record* pt = Take(5, 3, {"Line 5 : "}, "point " + std::to_string(p) + " of a section curve (Line 5)");
            if (pt == nullptr) return false;
            int s = 0, j = 0, k = 0;
            if (!IntAfter(pt->Label, "Sect#=", s) || !IntAfter(pt->Label, "AxLd#=", j) ||
                !IntAfter(pt->Label, "CurvPnt#=", k))
                return Fail(pt->Line, "Line 5 label without section, thrust and point numbers");
            if (k != p) return Fail(pt->Line, "curve point " + std::to_string(k) + " where point " + std::to_string(p) + " was expected");
            if (p == 1) {
                section = s;
                thrust = j;
            } else if (s != section || j != thrust) {
                return Fail(pt->Line, "a point of section " + std::to_string(s) + " inside the curve of section " +
                                          std::to_string(section));
            }
            SectionCurvePoint q;
            if (!Reals(*pt, {&q.Moment, &q.EI, &q.Curvature})) return false;
            curve.Points.push_back(q);
        }
        curve.ThrustNumber = thrust;
        if (newSection || r_.Sections.empty() || (section != 0 && r_.Sections.back().Number != section)) {
            r_.Sections.push_back(SectionCurves{});
            r_.Sections.back().Number = section;
            r_.Sections.back().Kind = kind;
            newSection = false;
        }
        r_.Sections.back().Thrusts.push_back(std::move(curve));
    }
    return true;
}

bool Parser::PyCurves() {
    const Record* rec = Take(6, 1, {"Line 6 : number of output p-y curves"}, "the number of p-y curves (Line 6)");
    if (rec == nullptr || !Count(*rec, 0, r_.NumPyDepths)) return false;
    static constexpr std::string_view In = "Line 7:  p-y curve depth in ";
    static constexpr std::string_view OnCurve = ", no. p-y points on curve no. ";
    for (int d = 1; d <= r_.NumPyDepths; ++d) {
        const Record* head = Take(7, 2, {"Line 7:  p-y curve depth"}, "the p-y curve of depth " + std::to_string(d) + " (Line 7)");
        PrintedPyCurve c;
        int points = 0;
        if (head == nullptr || !Real(*head, 0, c.Depth) || !Count(*head, 1, points)) return false;
        if (points > 0) {
            std::size_t at = head->Label.find(OnCurve);
            if (!StartsWith(head->Label, In) || at == std::string_view::npos || !TrailingInt(head->Label, c.Number))
                return Fail(head->Line, "Line 7 label without soil and curve number");
            c.SoilDescription = std::string(head->Label.substr(In.size(), at - In.size()));
        }
        for (int k = 1; k <= points; ++k) {
            const Record* pt = Take(8, 2, {"Line 8("}, "point " + std::to_string(k) + " of p-y curve " +
                                                           std::to_string(c.Number) + " (Line 8)");
            PyPoint q;
            int n = 0;
            if (pt == nullptr || !Reals(*pt, {&q.Y, &q.P})) return false;
            std::size_t close = pt->Label.find("): y, p, for ");
            std::string_view num = pt->Label.substr(7, close == std::string_view::npos ? 0 : close - 7);
            while (!num.empty() && num.front() == ' ') num.remove_prefix(1);
            if (close == std::string_view::npos || !ParseInt(num, n) || n != k)
                return Fail(pt->Line, "p-y point " + std::to_string(k) + " expected in this Line 8 record");
            if (k == 1) c.CurveName = TrimRight(pt->Label.substr(close + 13));
            c.Points.push_back(q);
        }
        r_.PyCurves.push_back(std::move(c));
    }
    return true;
}

bool Parser::LoadCases() {
    const Record* rec = Take(9, 3, {"Line 9:  No. loads, No. nodes"}, "the numbers of load cases and stations (Line 9)");
    if (rec == nullptr || !Count(*rec, 0, r_.NumLoadCases) || !Count(*rec, 1, r_.NumStations, 1) ||
        !Count(*rec, 2, r_.LoadUnitSystem))
        return false;
    for (int c = 1; c <= r_.NumLoadCases; ++c) {
        r_.LoadCases.push_back(LoadCase{});
        LoadCase& lc = r_.LoadCases.back();
        lc.Number = c;
        const std::string ofCase = " of load case " + std::to_string(c);
        for (int i = 1; i <= r_.NumStations; ++i) {
            const Record* st = Take(10, 5, {"Line 10("}, "station " + std::to_string(i) + ofCase + " (Line 10)");
            Station s;
            if (st == nullptr || !Reals(*st, {&s.Depth, &s.Deflection, &s.Moment, &s.Shear, &s.SoilReaction}))
                return false;
            if (!IntAfter(st->Label, "Line 10(", s.Number) || s.Number != i)
                return Fail(st->Line, "station " + std::to_string(i) + " expected in this Line 10 record");
            lc.Stations.push_back(s);
        }
        lc.StationsComplete = true;
        const Record* study = Take(11, 1, {"Line 11: Num. points on Ytop vs. "}, "the length-study count" + ofCase + " (Line 11)");
        int points = 0, number = 0;
        if (study == nullptr || !Count(*study, 0, points)) return false;
        if (!TrailingInt(study->Label, number) || number != c)
            return Fail(study->Line, "Line 11 names another load case than " + std::to_string(c));
        lc.Lrfd = study->Label.find("for LRFD load case") != std::string_view::npos;
        for (int k = 1; k <= points; ++k) {
            const Record* lp = Take(12, 4, {"Line 12: pile length, Ytop, Mmax, Vmax"},
                                    "length-study point " + std::to_string(k) + ofCase + " (Line 12)");
            LengthPoint q;
            if (lp == nullptr || !Reals(*lp, {&q.PileLength, &q.HeadDeflection, &q.MaxMoment, &q.MaxShear}))
                return false;
            lc.LengthStudy.push_back(q);
        }
    }
    return true;
}

bool Parser::Summary() {
    for (LoadCase& lc : r_.LoadCases) {
        const Record* rec = Take(13, 4, {"Line 13: TopV, TopY, Mmax, Vmax"},
                                 "the summary of load case " + std::to_string(lc.Number) + " (Line 13)");
        if (rec == nullptr || !Reals(*rec, {&lc.HeadShear, &lc.HeadDeflection, &lc.MaxMoment, &lc.MaxShear}))
            return false;
        lc.HasSummary = true;
    }
    while (NextKind() == 14) {
        const Record* rec = Take(14, 8, {"Line 14: V, M, K22, K23, K32, K33, ytop, theta"}, "a stiffness record (Line 14)");
        StiffnessStep s;
        if (rec == nullptr || !Reals(*rec, {&s.HeadShear, &s.HeadMoment, &s.K22, &s.K23, &s.K32, &s.K33,
                                            &s.HeadDeflection, &s.HeadRotation}))
            return false;
        r_.Stiffness.push_back(s);
    }
    return true;
}

// The depth of a maximum is that of the first station holding the maximum
// (the Line 13 value, whose digits are those of its Line 10 station); without
// a summary the maxima are taken from the stations, keeping the sign of the
// largest magnitude as the report does.
void Parser::DeriveCaseValues() {
    for (LoadCase& lc : r_.LoadCases) {
        if (lc.Stations.empty()) continue;
        if (!lc.HasSummary) {
            lc.HeadShear = lc.Stations.front().Shear;
            lc.HeadDeflection = lc.Stations.front().Deflection;
            lc.MaxMoment = lc.MaxShear = 0.0;
            for (const Station& s : lc.Stations) {
                if (std::fabs(s.Moment) > std::fabs(lc.MaxMoment)) lc.MaxMoment = s.Moment;
                if (std::fabs(s.Shear) > std::fabs(lc.MaxShear)) lc.MaxShear = s.Shear;
            }
        }
        bool momentFound = false, shearFound = false;
        for (const Station& s : lc.Stations) {
            if (!momentFound && s.Moment == lc.MaxMoment) {
                lc.DepthMaxMoment = s.Depth;
                momentFound = true;
            }
            if (!shearFound && s.Shear == lc.MaxShear) {
                lc.DepthMaxShear = s.Depth;
                shearFound = true;
            }
        }
    }
}

void Parser::Run() {
    if (records_.empty()) {
        Fail(1, "the plot file is empty");
        return;
    }
    bool ok = Header() && SectionRecords();
    if (ok && r_.ComputationMode == 2 && AtEnd()) {
        r_.Complete = true;  // section properties only
        return;
    }
    ok = ok && PyCurves() && LoadCases() && Summary();
    DeriveCaseValues();
    if (!ok) return;
    if (!AtEnd()) {
        const Record& rec = records_[pos_];
        Fail(rec.Line, rec.Kind == 0 ? std::string("no record label (a truncated or corrupted line) after the last record")
                                     : "an unexpected Line " + std::to_string(rec.Kind) + " record after the summary");
        return;
    }
    r_.Complete = true;
}

}  // namespace

PlotUnits UnitsOf(int unitSystem) {
    switch (unitSystem) {
        case 2:
            return {"SI", "m", "kN", "kN-m", "kN/m", "kN-m", "kN-m2", "rad/m", "kN", "kN-m",
                    "kN/m", "kN/rad", "kN-m/m", "kN-m/rad"};
        case 3:
            return {"general", "L", "F", "F-L", "F/L", "F-L", "F-L2", "rad/L", "F", "F-L",
                    "F/L", "F/rad", "F-L/L", "F-L/rad"};
        default:
            return {"US customary", "in", "lb", "in-lb", "lb/in", "kip-in", "kip-in2", "rad/in", "kip", "in-lb",
                    "lb/in", "lb/rad", "in-lb/in", "in-lb/rad"};
    }
}

PlotResults ReadPlotText(const std::string& full) {
    PlotResults r;
    const std::string text = SplitAxialRecords(full, r.Axial);
    std::vector<Record> records;
    int line = 0;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string_view l(text.data() + begin, end - begin);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        records.push_back(SplitRecord(l, ++line));
        begin = end + 1;
    }
    r.LinesRead = line;
    Parser(std::move(records), line, r).Run();
    return r;
}

PlotResults ReadHeldPlot(const HeldResults& held) {
    PlotResults r;
    std::vector<Record> records;
    records.reserve(held.Plot.size());
    std::vector<std::string> axial;
    int line = 0;
    for (const HeldRecord& h : held.Plot) {
        const std::string_view label = h.Label;
        if (StartsWith(label, "Line 2") && label.find("Axial") != std::string_view::npos) {
            // Written as the file has it: values padded to column 80, then the label.
            std::string l = h.ValuesText;
            if (l.size() < 80) l.append(80 - l.size(), ' ');
            axial.push_back(l.append(label));
            continue;
        }
        Record rec;
        rec.Line = ++line;
        if (LabelStart(label) == 0) {
            rec.Label = label;
            rec.Kind = KindOf(label);
        }
        if (h.HasText) {
            SplitValues(h.ValuesText, rec);
        } else {
            rec.Numbers = h.Numbers.data();
            rec.NumberCount = static_cast<std::size_t>(h.Count);
        }
        records.push_back(std::move(rec));
    }
    ReadAxialLines(axial, r.Axial);
    r.LinesRead = line;
    Parser(std::move(records), line, r).Run();
    // Slope, EI, Es and Pu of the stations: the k-th table of stations held is
    // that of the k-th load case with stations.
    std::size_t k = 0;
    for (LoadCase& lc : r.LoadCases) {
        if (lc.Stations.empty()) continue;
        if (k >= held.CaseStations.size()) break;
        const std::vector<HeldStation>& hs = held.CaseStations[k++];
        if (hs.size() != lc.Stations.size()) continue;
        for (std::size_t i = 0; i < hs.size(); ++i) {
            lc.Stations[i].Slope = hs[i].Slope;
            lc.Stations[i].EI = hs[i].EI;
            lc.Stations[i].Es = hs[i].Es;
            lc.Stations[i].Pu = hs[i].Pu;
        }
        lc.HasStationProperties = true;
    }
    return r;
}

PlotResults ReadPlotFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        PlotResults r;
        r.Problem = "the plot file " + path + " cannot be read";
        return r;
    }
    std::ostringstream ss;
    ss << f.rdbuf();
    return ReadPlotText(ss.str());
}

}  // namespace kestro::results
