// Materials of an input pile section in the section stress unit, and the
// prestress strains of prestressed piles.

#include <cmath>
#include <cstddef>

#include "model/Channels.h"
#include "model/Errors.h"
#include "model/ProblemData.h"
#include "model/SectionTypes.h"
#include "report/SectionGeometryReport.h"
#include "section/Materials.h"
#include "section/SectionErrors.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Elastic modulus of prestressing strand in the strand laws, and of the
// smooth and deformed high-strength bars, ksi.
constexpr double StrandModulusKsi = 28500.0;
constexpr double HighStrengthBarModulusKsi = 29000.0;
// Stress limit of the reinforcement, a fraction of its yield stress ("S").
constexpr double StressLimitFraction = static_cast<double>(0.6f);

bool Fail(int s, const char* item, double value, int problem) {
    return RejectSectionValue(ErrSectionValue, s, item, value, problem);
}

// The concrete of the section: the derived law, the user's tensile strength
// (zero: no tension) and the user's compression curve.
bool SetConcrete(int s, const PileSection& S, int model, int rebarLaw, double scale, bool si, SectionMaterials& m) {
    const double fc = S.ConcreteStrength * scale;
    if (!PositiveSectionValue(s, "concrete strength", S.ConcreteStrength)) return false;
    const bool curve = S.UserStressStrainCurve && S.NumConcreteCurvePoints >= 1 && model != ConcreteNone;
    DeriveConcreteProperties(m.Concrete, curve ? static_cast<int>(ConcreteUserCurve) : model, fc, rebarLaw, false, si);
    if (!S.UseDefaultTensileStrength) {
        const double ft = S.TensileStrength * scale;
        if (!(ft > 0.0)) {
            m.b_IgnoreConcreteTension = true;
        } else {
            if (!(ft < fc)) return Fail(s, "concrete tensile strength", S.TensileStrength, ValueTooLarge);
            ConcreteProperties& c = m.Concrete;
            c.fr = -ft;
            c.CrackStrain = -c.Epsilon0 * (1.0 - std::sqrt(1.0 - ft / fc));
        }
    }
    if (curve) {
        ConcreteProperties& c = m.Concrete;
        const int n = S.NumConcreteCurvePoints < MaxConcreteCurvePoints ? S.NumConcreteCurvePoints
                                                                         : MaxConcreteCurvePoints;
        double previous = 0.0;
        for (int k = 1; k <= n; ++k) {
            const double e = S.ConcreteStrain[U(k)], st = S.ConcreteStress[U(k)];
            if (!(e > previous)) return Fail(s, "strain of a concrete stress-strain point", e, ValueNotPositive);
            if (!(st >= 0.0)) return Fail(s, "stress of a concrete stress-strain point", st, ValueNegative);
            c.CurveStrain[U(k)] = e;
            c.CurveStress[U(k)] = st * scale;
            previous = e;
        }
        c.NumCurvePoints = n;
    }
    return true;
}

bool SetSteel(int s, const char* yieldItem, const char* modulusItem, double fy, double e, double scale,
              SteelProperties& st) {
    if (!PositiveSectionValue(s, yieldItem, fy) || !PositiveSectionValue(s, modulusItem, e)) return false;
    st.Yield = fy * scale;
    st.Modulus = e * scale;
    return true;
}

}  // namespace

bool SetSectionMaterials(int s, int concreteModel, int coreConcreteModel, SectionMaterials& m) {
    m = SectionMaterials{};
    if (s < 1 || s > Problem.NumSections) return false;
    const PileSection& S = Problem.Sections[U(s)];
    const bool si = IsSI();
    // Section stresses in ksi (psi input) or kPa (SI input); general units
    // follow the US customary laws.
    const double scale = si ? 1.0 : 1.0 / 1000.0;
    const SectionType& type = SectionTypeFor(S.SectionType);
    ReinforcementProperties& r = m.Rebar;
    r.KsiToStress = si ? KsiInKPa : 1.0;

    if (type.HasBars() && S.RebarPattern != RebarPatternNone) {
        const bool anyBars = S.RebarPattern == RebarCircle ? S.BarCount1 > 0 : S.NumBars > 0;
        if (anyBars) {
            SteelProperties bars;
            if (!SetSteel(s, "rebar yield strength", "rebar modulus", S.RebarYieldStrength, S.RebarModulus, scale,
                          bars))
                return false;
            r.Law = RebarLawBars;
            r.Modulus = bars.Modulus;
            r.Yield = bars.Yield;
            r.StressLimit = StressLimitFraction * r.Yield;
        }
    } else if (type.IsPrestressed()) {
        if (S.StrandTypeCode < 1 || S.StrandTypeCode > 6)
            return Fail(s, "strand type code", S.StrandTypeCode, CodeOutOfRange);
        r.Law = S.StrandTypeCode + 3;
        r.BarType = S.StrandCode2;
        if (S.NumStrands > 0 && !PositiveSectionValue(s, "strand ultimate strength", S.StrandUltimateStrength)) return false;
        r.Yield = S.StrandUltimateStrength * scale;
        r.Modulus = (r.Law <= RebarLawPci300 ? StrandModulusKsi : HighStrengthBarModulusKsi) * r.KsiToStress;
        r.StressLimit = StressLimitFraction * r.Yield;
    }

    if (type.HasConcrete()) {
        if (!SetConcrete(s, S, concreteModel, r.Law == RebarLawNone ? RebarLawBars : r.Law, scale, si, m)) return false;
        if (coreConcreteModel != ConcreteNone && type.b_Core)
            DeriveConcreteProperties(m.CoreConcrete, coreConcreteModel, S.ConcreteStrength * scale, RebarLawBars, true,
                                     si);
    } else {
        m.Concrete.Model = ConcreteNone;
    }
    if (type.b_Casing && S.CasingThickness > 0.0) {
        if (!SetSteel(s, "casing yield strength", "casing modulus", S.CasingYieldStrength, S.CasingModulus, scale,
                      m.Casing))
            return false;
    }
    if (type.b_Core && S.CoreThickness > 0.0) {
        if (!SetSteel(s, "core yield strength", "core modulus", S.CoreYieldStrength, S.CoreModulus, scale, m.CoreSteel))
            return false;
    }
    if (type.IsSteelPipe()) {
        if (!SetSteel(s, "yield strength", "elastic modulus", S.YieldStrength, S.ElasticModulus, scale, m.Casing))
            return false;
    }
    return true;
}

bool Calculate_Strains_Due_To_Prestressing(const PrestressInputs& in, PrestressResults& out) {
    out = PrestressResults{};
    if (!(in.ConcreteArea > 0.0)) {
        Fail(ErrorKind::Runtime, 14, [&](std::ostream& to) { WritePrestressAreaError(to, 14, in.ConcreteArea); });
        return false;
    }
    if (!(in.SteelArea > 0.0)) {
        Fail(ErrorKind::Runtime, 15, [&](std::ostream& to) { WritePrestressAreaError(to, 15, in.SteelArea); });
        return false;
    }
    // Forces of the input (lb) against moduli in ksi: the products are
    // taken in pounds.
    const double unit = in.b_US ? 1000.0 : 1.0;
    out.EffectiveForce = (1.0 - in.LossFraction) * in.InitialForce;
    out.InitialSteelStrain = out.EffectiveForce / (-in.StrandModulus * in.SteelArea * unit);
    out.ConcretePrestrain = in.ConcreteModulus > 0.0 ? out.EffectiveForce / (in.ConcreteModulus * in.ConcreteArea * unit)
                                                     : 0.0;
    out.ConcreteStress = in.ConcreteModulus * out.ConcretePrestrain;
    out.SteelStress = -in.StrandModulus * out.InitialSteelStrain;
    // PCI estimates of the capacities.
    out.GrossArea = in.ConcreteArea + in.SteelArea;
    out.NominalAxialCapacity = (0.85 * in.ConcreteStrength - 0.60 * out.ConcreteStress) * out.GrossArea;
    out.AxialLoadCapacity = (0.33 * in.ConcreteStrength - 0.27 * out.ConcreteStress) * out.GrossArea;
    out.TensileCapacity = -in.SteelArea * in.StrandStrength;
    out.NominalMoment = in.MomentFactor * in.SectionDepth * in.SteelArea * in.StrandStrength;
    return true;
}

void PrestressInputsOf(int s, const SliceTable& t, const SectionMaterials& m, PrestressInputs& in) {
    in = PrestressInputs{};
    if (s < 1 || s > Problem.NumSections) return;
    const PileSection& S = Problem.Sections[U(s)];
    const bool si = IsSI();
    in.b_US = !si;
    in.SteelArea = t.TotalRebarArea;
    in.ConcreteArea = t.TotalConcreteArea;
    // Pi = initial strand stress x strand area, in the input's force unit
    // (psi x in^2 = lb; kPa x m^2 = kN).
    in.InitialForce = S.StrandStrength2 * in.SteelArea;
    in.LossFraction = DefaultPrestressLoss;
    in.StrandModulus = m.Rebar.Modulus;
    in.ConcreteModulus = m.Concrete.Ec;
    in.ConcreteStrength = m.Concrete.PeakStress;
    in.StrandStrength = m.Rebar.Yield;
    in.SectionDepth = S.PileDiameter;
    in.MomentFactor = SectionTypeFor(S.SectionType).PrestressMomentFactor;
}

}  // namespace kestro
