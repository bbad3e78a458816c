#include "report/AxialReport.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "axial/AxialModel.h"
#include "model/ProblemData.h"
#include "report/Format.h"
#include "report/PlotFile.h"

namespace kestro {
namespace {

constexpr std::size_t U(int i) { return static_cast<std::size_t>(i); }

std::string_view LengthUnit() { return ByUnits("in", "m", "L"); }
std::string_view ForceUnit() { return ByUnits("lbs", "kN", "F"); }
std::string_view StressUnit() { return ByUnits("psi", "kPa", "F/L2"); }
std::string_view AreaUnit() { return ByUnits("sq. in", "sq. m", "L2"); }

const std::string Rule(80, '-');

void Title(std::ostream& out, std::string_view title) {
    const std::size_t pad = title.size() < 80 ? (80 - title.size()) / 2 : 0;
    out << '\n' << Rule << '\n' << std::string(pad, ' ') << title << '\n' << Rule << "\n\n";
}

// "label = value unit", the label padded to 44 characters.
void Value(std::ostream& out, std::string_view label, double v, std::string_view unit) {
    std::string l(label);
    if (l.size() < 44) l.resize(44, ' ');
    out << l << '=' << FormatNumberText(v, 15) << ' ' << unit << '\n';
}

std::string_view TipText() {
    switch (AxialInput.TipCondition) {
        case AxialTipUnplugged: return "unplugged";
        case AxialTipClosed: return "closed";
        default: return "plugged";
    }
}

void ProfileTable(std::ostream& out, const AxialProfile& p) {
    const axial::AxialPile& P = AxialColumn;
    out << "    Depth        Axial Force      Movement     Unit Friction\n";
    out << "     " << LengthUnit() << std::string(15 - LengthUnit().size(), ' ') << ForceUnit()
        << std::string(15 - ForceUnit().size(), ' ') << "  " << LengthUnit()
        << std::string(13 - LengthUnit().size(), ' ') << "  " << StressUnit() << '\n';
    out << " -------------  -------------  -------------  -------------\n";
    const int every = Problem.Options.PrintIncrement >= 1 ? Problem.Options.PrintIncrement : 1;
    for (int i = 1; i <= P.NumNodes; ++i) {
        if ((i - 1) % every != 0 && i != P.NumNodes) continue;
        out << FormatNumberText(P.Depth[U(i)], 15) << FormatNumberText(p.Force[U(i)], 15)
            << FormatNumberText(p.Movement[U(i)], 15) << FormatNumberText(p.Friction[U(i)], 15) << '\n';
    }
}

}  // namespace

void WriteAxialReport(std::ostream& out) {
    const AxialResultsData& R = AxialResults;
    const axial::AxialPile& P = AxialColumn;
    Title(out, "Axial Load Transfer of the Pile (t-z and q-z Curves)");
    out << "Load-transfer method: API RP 2GEO (2011), driven piles; movement positive downward,\n"
           "head load positive in compression.\n\n";
    out << "Pipe tip condition                          = " << TipText() << '\n';
    Value(out, "Residual ratio of the clay t-z curve", AxialInput.ResidualRatio, "");
    out << "Number of pile nodes                        =" << FormatIntegerText(P.NumNodes, 15) << '\n';
    Value(out, "Tip diameter or width", R.TipDiameter, LengthUnit());
    Value(out, "Tip bearing area", R.TipArea, AreaUnit());
    Value(out, "Unit end bearing at the tip", R.UnitEndBearing, StressUnit());
    out << "Soil layer at the tip                       =" << FormatIntegerText(R.TipLayer, 15) << "\n\n";

    // Sections with longitudinal steel: the gross transformed section
    // Ec (Ag + (n - 1) As) that the column uses.
    bool heading = false;
    for (int s = 1; s <= Problem.NumSections; ++s) {
        if (!(R.SteelStiffness[U(s)] != 0.0)) continue;
        if (!heading) {
            out << "Axial stiffness of the transformed section, EA = Ec (Ag + (n - 1) As), n = Es/Ec:\n\n";
            heading = true;
        }
        const PropertyRow& top = Problem.PropertyTable[U(2 * s - 1)];
        out << "Section " << s << ":\n";
        Value(out, "  Gross area Ag (casing, core transformed)", top.Area, AreaUnit());
        Value(out, "  Concrete modulus Ec", top.Modulus, StressUnit());
        Value(out, "  Longitudinal steel area As", R.SteelArea[U(s)], AreaUnit());
        Value(out, "  Steel modulus Es", R.SteelModulus[U(s)], StressUnit());
        Value(out, "  Axial stiffness EA at the section top", top.Modulus * top.Area + R.SteelStiffness[U(s)],
              ForceUnit());
    }
    if (heading) out << '\n';

    out << "Capacities:\n\n";
    Value(out, "Ultimate shaft resistance", R.UltimateShaft, ForceUnit());
    Value(out, "Ultimate tip resistance", R.UltimateTip, ForceUnit());
    Value(out, "Ultimate capacity in compression", R.UltimateShaft + R.UltimateTip, ForceUnit());
    Value(out, "Ultimate capacity in uplift", -R.UltimateShaft, ForceUnit());
    Value(out, "Plunging load in compression", R.PlungingCompression, ForceUnit());
    Value(out, "Plunging load in uplift", R.PlungingUplift, ForceUnit());
    Value(out, "Capacity fraction for the movement below", AxialInput.CapacityFraction, "");
    Value(out, "Settlement at the fraction in compression", R.MovementAtFractionCompression, LengthUnit());
    Value(out, "Movement at the fraction in uplift", R.MovementAtFractionUplift, LengthUnit());

    Title(out, "Axial Load-Settlement Curve");
    out << " Step      Head Load     Settlement   Shaft Resist.    Tip Resist.\n";
    out << "      " << ForceUnit() << std::string(15 - ForceUnit().size(), ' ') << LengthUnit()
        << std::string(15 - LengthUnit().size(), ' ') << ForceUnit() << std::string(15 - ForceUnit().size(), ' ')
        << ForceUnit() << '\n';
    out << " ----  -------------  -------------  -------------  -------------\n";
    for (int k = 0; k < R.NumCurvePoints; ++k)
        out << FormatIntegerText(k, 5) << ' ' << FormatNumberText(R.CurveLoad[U(k)], 15)
            << FormatNumberText(R.CurveMovement[U(k)], 15) << FormatNumberText(R.CurveShaft[U(k)], 15)
            << FormatNumberText(R.CurveTip[U(k)], 15) << '\n';

    for (int j = 1; j <= R.NumProfiles; ++j) {
        const AxialProfile& p = R.Profiles[U(j)];
        Title(out, "Axial Response for Head Load " + MinimalInteger(j));
        Value(out, "Head load", p.HeadLoad, ForceUnit());
        if (!p.b_Solved) {
            out << "\nThe head load exceeds the plunging load of the pile in its direction: not analysed.\n";
            continue;
        }
        Value(out, "Head movement", p.HeadMovement, LengthUnit());
        Value(out, "Shaft resistance", p.Shaft, ForceUnit());
        Value(out, "Tip resistance", p.Tip, ForceUnit());
        Value(out, "Tangent head stiffness", p.HeadStiffness, std::string(ForceUnit()) + "/" + std::string(LengthUnit()));
        out << '\n';
        ProfileTable(out, p);
    }
    out << '\n';
}

void WriteAxialPlotRecords(std::ostream& out) {
    const AxialResultsData& R = AxialResults;
    const axial::AxialPile& P = AxialColumn;
    WritePlotRecord(out,
                    FormatIntegerText(R.NumCurvePoints, 5) + FormatIntegerText(R.NumProfiles, 5) +
                        FormatIntegerText(P.NumNodes, 5),
                    "Line 21: Axial: No. curve points, No. head loads, No. nodes");
    WritePlotRecord(out,
                    PlotReal(R.UltimateShaft) + PlotReal(R.UltimateTip) + PlotReal(R.PlungingCompression) +
                        PlotReal(R.PlungingUplift),
                    "Line 22: Axial: Qshaft, Qtip, Qplunge compression, Qplunge uplift");
    WritePlotRecord(out,
                    PlotReal(AxialInput.CapacityFraction) + PlotReal(R.MovementAtFractionCompression) +
                        PlotReal(R.MovementAtFractionUplift),
                    "Line 23: Axial: capacity fraction, settlement, uplift movement");
    for (int k = 0; k < R.NumCurvePoints; ++k)
        WritePlotRecord(out,
                        PlotReal(R.CurveLoad[U(k)]) + PlotReal(R.CurveMovement[U(k)]) + PlotReal(R.CurveShaft[U(k)]) +
                            PlotReal(R.CurveTip[U(k)]),
                        "Line 24(" + MinimalInteger(k) + "): Axial curve: load, settlement, shaft, tip");
    for (int j = 1; j <= R.NumProfiles; ++j) {
        const AxialProfile& p = R.Profiles[U(j)];
        WritePlotRecord(out, PlotReal(p.HeadLoad) + PlotReal(p.HeadMovement) + PlotReal(p.Shaft) + PlotReal(p.Tip),
                        "Line 25: Axial head load " + MinimalInteger(j) +
                            (p.b_Solved ? ": load, movement, shaft, tip" : " beyond plunging"));
        if (!p.b_Solved) continue;
        for (int i = 1; i <= P.NumNodes; ++i)
            WritePlotRecord(out,
                            PlotReal(P.Depth[U(i)]) + PlotReal(p.Force[U(i)]) + PlotReal(p.Movement[U(i)]) +
                                PlotReal(p.Friction[U(i)]),
                            "Line 26(" + MinimalInteger(i) + "): Axial depth, force, movement, friction");
    }
}

}  // namespace kestro
