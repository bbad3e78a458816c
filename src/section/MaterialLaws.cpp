// Stress-strain laws of concrete, reinforcement, prestressing strand and
// structural steel, the concrete properties derived from f'c, and the Mander
// confined-concrete parameters.
//
// The concrete laws and the strand laws are written in ksi; in SI runs the
// strengths are turned into ksi first and the derived stresses and moduli are
// turned back into kPa. Single-precision constants of the laws are float
// literals widened to double.

#include <cmath>
#include <cstddef>

#include "section/Materials.h"

namespace kestro {
namespace {

constexpr double F(float v) { return static_cast<double>(v); }
std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Residual stress of crushed concrete beyond the last branch.
constexpr double CrushedStress = F(0.001f);
// Strain at which unconfined concrete (model 2) has descended to 0.85 f'c.
constexpr double DescentEndStrain = F(0.0038f);
constexpr double PlateauEndStrain = F(0.006f);

// Cased concrete (model 4): parabola, rising line, plateau at 1.176 f'c.
constexpr double CasedParabolaEnd = F(0.0017813f);
constexpr double CasedLineStart = F(0.98803f);
constexpr double CasedLineRise = F(0.17797f);
constexpr double CasedLineSpan = F(0.0017187f);
constexpr double CasedLineEnd = F(0.0035f);
constexpr double CasedPlateau = F(1.176f);
constexpr double CasedPlateauEnd = F(0.016f);

// Hognestad parabola f'c (2r - r^2), r = eps / eps0.
double Parabola(double fc, double eps, double eps0) {
    const double r = eps / eps0;
    return fc * (2.0 * r - r * r);
}

double Signed(double magnitude, double eps) { return eps < 0.0 ? -magnitude : magnitude; }

// Linear interpolation of the user's compression curve through (0, 0).
double UserCurveStress(const ConcreteProperties& c, double eps) {
    double e0 = 0.0, s0 = 0.0;
    for (int k = 1; k <= c.NumCurvePoints; ++k) {
        const double e1 = c.CurveStrain[U(k)], s1 = c.CurveStress[U(k)];
        if (eps <= e1) return e1 > e0 ? s0 + (s1 - s0) * (eps - e0) / (e1 - e0) : s1;
        e0 = e1;
        s0 = s1;
    }
    return CrushedStress;  // beyond the last point the concrete has crushed
}

}  // namespace

// --- Derived properties ------------------------------------------------------

void DeriveConcreteProperties(ConcreteProperties& c, int model, double fc, int rebarLaw, bool core, bool si) {
    c.Model = model;
    c.PeakStress = fc;
    if (model == ConcreteNone || !(fc > 0.0)) {
        c.Ec = 0.0;
        return;
    }
    const double scale = si ? KsiInKPa : 1.0;
    const double fck = fc / scale;                  // f'c in ksi
    const double root = std::sqrt(1000.0 * fck);    // sqrt(f'c in psi)
    // ACI 318: Ec = 57000 sqrt(f'c) psi = 57 sqrt(f'c psi) ksi; modulus of
    // rupture 7.5 sqrt(f'c) psi for reinforced concrete and 4 sqrt(f'c) for
    // prestressed concrete. The core concrete takes 57.5 sqrt(f'c).
    const double ec = (core ? 57.5 : 57.0) * root;
    const double fr = (core || rebarLaw == RebarLawBars ? -0.0075 : -0.004) * root;
    const double eps0 = F(1.7f) * fck / ec;
    c.Ec = ec * scale;
    c.fr = fr * scale;
    c.Epsilon0 = eps0;
    c.DropStress = F(0.15f) * fc;
    c.DescentSpan = DescentEndStrain - eps0;
    // Strain at which the tension parabola reaches fr:
    // -f'c (2|r| - r^2) = fr  ->  |r| = 1 - sqrt(1 + fr/f'c).
    c.CrackStrain = -(core ? F(0.002f) : eps0) * (1.0 - std::sqrt(1.0 + fr / fck));
}

bool ManderParameters(ConcreteProperties& c, double fc, const ManderInputs& in, bool si) {
    const double scale = si ? KsiInKPa : 1.0;
    const double fck = fc / scale;
    if (!(fck > 0.0) || !(in.CoreArea > 0.0) || !(in.SpiralPitch > 0.0) || !(in.SectionDepth > 0.0) ||
        in.LongitudinalSteelArea < 0.0 || in.SpiralArea < 0.0 || in.SpiralYield < 0.0)
        return false;
    ManderResults& m = c.Mander;
    m = ManderResults{};
    const double root = std::sqrt(1000.0 * fck);
    const double fr = -0.0075 * root;
    const double ec = 57.0 * root;
    m.Epsilon0 = F(0.002f);
    // Mander, Priestley and Park (1988): confinement by the spiral.
    const double rhoCC = in.LongitudinalSteelArea / in.CoreArea;
    if (!(rhoCC < 1.0)) return false;
    m.Acc = in.CoreArea * (1.0 - rhoCC);
    m.Rhos = 4.0 * in.SpiralArea / (in.SectionDepth * in.SpiralPitch);
    const double fl = m.Rhos * (in.SpiralYield / scale) / 2.0;
    m.ConfiningStress = fl / (1.0 - rhoCC);
    const double ratio = m.ConfiningStress / fck;
    // f'cc = f'c (2.254 sqrt(1 + 7.94 f'l/f'c) - 1.254 - 2 f'l/f'c)
    const double fcc = fck * (2.254 * std::sqrt(1.0 + 7.94 * ratio) - 1.254 - 2.0 * ratio);
    m.EpsilonCC = m.Epsilon0 * (1.0 + 5.0 * (fcc / fck - 1.0));
    m.Esec = fcc / m.EpsilonCC;
    if (!(ec > m.Esec * (1.0 + 1.0e-9))) return false;
    m.R = ec / (ec - m.Esec);
    // Energy balance: the strain energy of the transverse steel (110 MJ/m^3
    // times rhos) plus that of unconfined concrete (0.017 sqrt(f'c MPa) MJ/m^3)
    // equals the energy absorbed by the confined concrete up to eps_cu.
    m.Ust = 15.954146534204483 * m.Rhos * m.Acc;
    m.Uco = 0.0024656409620096853 * std::sqrt(6.894757 * fck) * m.Acc;
    const double target = m.Ust + m.Uco;
    auto sigma = [&](double e) {
        const double x = e / m.EpsilonCC;
        return fcc * x * m.R / (m.R - 1.0 + std::pow(x, m.R));
    };
    // Simpson's rule over steps of 0.0001 from 0.0001; the last step is
    // interpolated linearly to the strain where the energies balance. A curve
    // whose energy never reaches the target within a strain of 0.1 stops there.
    constexpr double Step = 0.0001;
    constexpr int MaxSteps = 1000;
    double e = Step, ucc = 0.0, epcu = Step * static_cast<double>(MaxSteps + 1);
    for (int k = 1; k <= MaxSteps; ++k) {
        const double du = (sigma(e) + 4.0 * sigma(e + Step / 2.0) + sigma(e + Step)) * m.Acc * Step / 6.0;
        if (ucc + du > target) {
            epcu = e + (target - ucc) / du * Step;
            ucc += du;
            break;
        }
        ucc += du;
        e += Step;
    }
    m.Ucc = ucc;
    m.Imbalance = ucc - target;
    m.Epcu = epcu;
    m.ConfinedStrength = fcc * scale;
    m.ConfiningStress *= scale;

    c.Model = ConcreteMander;
    c.PeakStress = fc;
    c.Ec = ec * scale;
    c.fr = fr * scale;
    c.Epsilon0 = m.Epsilon0;
    c.DropStress = F(0.15f) * fc;
    c.DescentSpan = DescentEndStrain - m.Epsilon0;
    c.CrackStrain = -m.Epsilon0 * (1.0 - std::sqrt(1.0 + fr / fck));
    return true;
}

// --- Point laws ----------------------------------------------------------------

double ConcreteCompressionStress(const ConcreteProperties& c, double eps) {
    const double fc = c.PeakStress;
    switch (c.Model) {
        case ConcreteUnconfined:
            if (eps <= c.Epsilon0) return Parabola(fc, eps, c.Epsilon0);
            // Linear descent to 0.85 f'c at 0.0038.
            if (eps <= DescentEndStrain) return fc - c.DropStress * (eps - c.Epsilon0) / c.DescentSpan;
            return CrushedStress;
        case ConcretePlateau:
            if (eps <= c.Epsilon0) return Parabola(fc, eps, c.Epsilon0);
            if (eps <= PlateauEndStrain) return fc;
            return CrushedStress;
        case ConcreteCased:
            if (eps <= CasedParabolaEnd) return Parabola(fc, eps, c.Epsilon0);
            if (eps <= CasedLineEnd)
                return CasedLineStart * fc + CasedLineRise * fc * (eps - CasedParabolaEnd) / CasedLineSpan;
            if (eps <= CasedPlateauEnd) return CasedPlateau * fc;
            return CrushedStress;
        case ConcreteMander: {
            const ManderResults& m = c.Mander;
            if (eps > m.Epcu) return CrushedStress;
            // Popovics curve of Mander et al.: f'cc x r / (r - 1 + x^r), x = eps/eps_cc.
            const double x = eps / m.EpsilonCC;
            return m.ConfinedStrength * x * m.R / (m.R - 1.0 + std::pow(x, m.R));
        }
        case ConcreteUserCurve:
            return UserCurveStress(c, eps);
        case ConcretePowerLaw:
            return PowerLawConcreteStress(c, eps, 0.0);
        default:
            return 0.0;
    }
}

double ConcreteTensionStress(const ConcreteProperties& c, double eps) {
    const double r = eps / c.Epsilon0;
    return -c.PeakStress * (2.0 * std::fabs(r) - r * r);
}

double PowerLawConcreteStress(const ConcreteProperties& c, double eps, double prestrain) {
    const double e = eps + prestrain;
    const double x = std::fabs(e);
    const double n = c.PowerExponent;
    if (!(c.PowerReferenceStress > 0.0) || !(n > 0.0)) return Signed(c.PowerModulus * x, e);
    // Richard form: E0 x / (1 + (E0 x / f0)^n)^(1/n).
    const double s = c.PowerModulus * x / std::pow(1.0 + std::pow(c.PowerModulus * x / c.PowerReferenceStress, n), 1.0 / n);
    return Signed(s, e);
}

double ReinforcementStress(const ReinforcementProperties& r, double eps, SectionRunFlags& flags) {
    const double e = eps + (r.InitialSteelStrain - r.ConcretePrestrain);
    const double x = std::fabs(e);
    double s = 0.0;
    switch (r.Law) {
        case RebarLawBars: {
            s = ElasticPlasticStress(SteelProperties{r.Modulus, r.Yield}, e, flags);
            if (std::fabs(s) > r.StressLimit) flags.b_StressLimit = true;
            return s;
        }
        case RebarLawRichard: {
            // Richard and Abbott (1975): (E - Ep) x / (1 + ((E - Ep) x / f0)^n)^(1/n) + Ep x.
            const double d = r.RichardE - r.RichardEp;
            const double n = r.RichardN > 0.0 ? r.RichardN : 1.0;
            const double base = r.RichardF0 > 0.0 ? std::pow(1.0 + std::pow(d * x / r.RichardF0, n), 1.0 / n) : 1.0;
            s = Signed(d * x / base + r.RichardEp * x, e);
            if (std::fabs(s) > r.StressLimit) flags.b_StressLimit = true;
            return s;
        }
        case RebarLawPci250:
            // PCI 250 ksi strand: 28500 eps to 0.0076, then 250 - 0.04/(eps - 0.0064).
            if (x <= F(0.0076f)) s = 28500.0 * e;
            else s = Signed(std::fmin(250.0, 250.0 - F(0.04f) / (x - F(0.0064f))), e);
            return s * r.KsiToStress;
        case RebarLawPci270:
            // PCI 270 ksi low-relaxation strand: 270 - 0.04/(eps - 0.007) beyond 0.0086.
            if (x <= F(0.0086f)) s = 28500.0 * e;
            else s = Signed(std::fmin(270.0, 270.0 - F(0.04f) / (x - F(0.007f))), e);
            return s * r.KsiToStress;
        case RebarLawPci300:
            // Grade 300 strand: 300 - 0.0835/(eps - 0.0071) beyond 0.0088846.
            if (x <= F(0.0088846f)) s = 28500.0 * e;
            else s = Signed(std::fmin(300.0, 300.0 - F(0.0835f) / (x - F(0.0071f))), e);
            return s * r.KsiToStress;
        case RebarLawSmooth145:
        case RebarLawSmooth160:
        case RebarLawDeformed: {
            double limit = 0.005;           // 145 / 29000
            double fy = 145.0;
            if (r.Law == RebarLawSmooth160) {
                limit = 0.005517241379310344;  // 160 / 29000
                fy = 160.0;
            } else if (r.Law == RebarLawDeformed) {
                fy = r.BarType == 1 ? 157.0 : (r.BarType == 3 || r.BarType == 5) ? 160.0 : 150.0;
                limit = fy / 29000.0;
            }
            if (x <= limit) {
                s = 29000.0 * e;
            } else {
                s = Signed(fy, e);
                flags.b_Yielded = true;
            }
            return s * r.KsiToStress;
        }
        default:
            return 0.0;
    }
}

double ElasticPlasticStress(const SteelProperties& st, double eps, SectionRunFlags& flags) {
    double s = st.Modulus * eps;
    if (s > st.Yield) {
        s = st.Yield;
        flags.b_Yielded = true;
    } else if (s < -st.Yield) {
        s = -st.Yield;
        flags.b_Yielded = true;
    }
    return s;
}

// --- Slice-wise -------------------------------------------------------------------

void SliceStrains(const SliceTable& t, double phi, double dNA, SliceArray& eps) {
    for (int i = 1; i <= t.NumSlices; ++i) eps[U(i)] = phi * (dNA - t.SliceDepth[U(i)]);
}

void ConcreteStresses(const ConcreteProperties& c, const SliceTable& t, const SliceArray& eps, double bottomStrain,
                      bool ignoreTension, bool preCracked, SliceArray& stress, SectionRunFlags& flags) {
    const int n = t.NumSlices;
    if (c.Model == ConcreteNone) {
        for (int i = 1; i <= n; ++i) stress[U(i)] = 0.0;
        return;
    }
    if (c.Model == ConcretePowerLaw) {
        // The slice strains already hold the prestress.
        for (int i = 1; i <= n; ++i) stress[U(i)] = PowerLawConcreteStress(c, eps[U(i)], 0.0);
        return;
    }
    // Cracking runs from the top slice down: once a slice has cracked every
    // lower slice in tension carries nothing.
    // A section cracked before this strain state, or whose bottom fibre is
    // already beyond the cracking strain, is cracked from the start.
    bool cracked = preCracked || bottomStrain < c.CrackStrain;
    if (cracked) flags.b_Cracked = true;
    // The rising parabola of unconfined concrete, the usual case, is taken
    // here without going through the switch over the laws.
    const bool unconfined = c.Model == ConcreteUnconfined;
    const double fc = c.PeakStress, eps0 = c.Epsilon0;
    for (int i = 1; i <= n; ++i) {
        const double e = eps[U(i)];
        if (e > 0.0) {
            stress[U(i)] = unconfined && e <= eps0 ? Parabola(fc, e, eps0) : ConcreteCompressionStress(c, e);
            continue;
        }
        // Tension: the parabola holds down to the first slice beyond fr (or
        // not at all without tensile strength); that slice and every one
        // below it carry nothing, and the parabola is not evaluated there.
        if (!cracked && !(ignoreTension && e < 0.0)) {
            const double s = ConcreteTensionStress(c, e);
            if (!(s < c.fr)) {
                stress[U(i)] = s;
                continue;
            }
        }
        stress[U(i)] = 0.0;
        cracked = true;
        flags.b_Cracked = true;
    }
}

}  // namespace kestro
