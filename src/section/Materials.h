#pragma once
// Stress-strain laws of the section analysis.
//
// Provides:
//  - the concrete model codes (none, unconfined, parabola-plateau, cased,
//    power law, Mander confined) and the reinforcement law codes (bars,
//    Richard, PCI 250 / 270 / 300 strand, smooth 145 / 160 ksi bars, deformed
//    150-160 ksi bars);
//  - `ConcreteProperties` derived from f'c (`DeriveConcreteProperties`) and
//    the Mander & Priestley confined-concrete parameters with the
//    energy-balance ultimate strain (`ManderParameters`);
//  - `SectionMaterials`, every law of one section, built from the input
//    section by `SetSectionMaterials`;
//  - the point laws (pure: no store, no files) and the slice-wise stress
//    routines that set the run flags C (cracked), Y (yielded), S (stress limit);
//  - the prestress strains of prestressed piles with Runtime Errors 14, 15.
//
// Units: compression positive. Stresses in the run's section stress unit:
// ksi in US customary runs (input psi divided by 1000 when the materials are
// set), kPa in SI runs, the input's stress unit divided by 1000 in general
// units (which use the US customary laws). Forces in kips (US) or kN (SI).
// Strains dimensionless. The strand and smooth-bar laws are written in ksi and
// scaled by `KsiToStress` (6894.75732421875 in SI runs, 1 otherwise).

#include <array>

#include "section/SliceTable.h"

namespace kestro {

enum ConcreteModelCode : int {
    ConcreteNone = 1,
    ConcreteUnconfined = 2,
    ConcretePlateau = 3,
    ConcreteCased = 4,
    ConcretePowerLaw = 5,
    ConcreteMander = 6,
    ConcreteUserCurve = 7,   // the section's own stress-strain points in compression
};

enum ReinforcementLawCode : int {
    RebarLawNone = 1,
    RebarLawBars = 2,
    RebarLawRichard = 3,
    RebarLawPci250 = 4,
    RebarLawPci270 = 5,
    RebarLawPci300 = 6,
    RebarLawSmooth145 = 7,
    RebarLawSmooth160 = 8,
    RebarLawDeformed = 9,
};

// Prestressed (strand) laws: 3 to 9.
constexpr bool IsPrestressedLaw(int law) { return law >= RebarLawRichard && law <= RebarLawDeformed; }

inline constexpr double KsiInKPa = 6894.75732421875;

// Mander, Priestley and Park (1988) confined concrete: inputs and results.
struct ManderInputs {
    double LongitudinalSteelArea = 0.0;  // As
    double CoreArea = 0.0;               // Ac, concrete core inside the spiral
    double SpiralArea = 0.0;             // Asp, one spiral bar
    double SpiralPitch = 0.0;            // s
    double SectionDepth = 0.0;           // H
    double SpiralYield = 0.0;            // fyh, run stress unit
};

struct ManderResults {
    double ConfiningStress = 0.0;        // f'l (effective)
    double ConfinedStrength = 0.0;       // f'cc
    double R = 0.0;                      // r = Ec / (Ec - Esec)
    double Rhos = 0.0;                   // volumetric ratio of transverse steel
    double Epsilon0 = 0.0;               // 0.002
    double EpsilonCC = 0.0;              // strain at f'cc
    double Esec = 0.0;
    double Acc = 0.0;                    // Ac (1 - rho_cc)
    double Ust = 0.0, Ucc = 0.0, Uco = 0.0;
    double Imbalance = 0.0;              // Ucc - (Ust + Uco)
    double Epcu = 0.0;                   // ultimate strain from the energy balance
};

struct ConcreteProperties {
    int Model = ConcreteNone;
    double PeakStress = 0.0;     // f'c
    double Ec = 0.0;
    double fr = 0.0;             // tensile strength, negative
    double Epsilon0 = 0.0;       // strain at peak stress
    double DropStress = 0.0;     // 0.15 f'c
    double DescentSpan = 0.0;    // 0.0038 - Epsilon0
    double CrackStrain = 0.0;    // negative
    // Power law (model 5): sigma = E0 x / (1 + (E0 x / f0)^n)^(1/n); the
    // reference stress f0 and the exponent n are separate parameters.
    double PowerModulus = 0.0;
    double PowerReferenceStress = 0.0;
    double PowerExponent = 1.0;
    // User curve (model 7): points (strain, stress) 1..NumCurvePoints, strain rising.
    int NumCurvePoints = 0;
    std::array<double, MaxConcreteCurvePoints + 1> CurveStrain{}, CurveStress{};
    ManderResults Mander{};
};

struct ReinforcementProperties {
    int Law = RebarLawNone;
    double Modulus = 0.0;        // Es (law 2)
    double Yield = 0.0;          // fy (law 2), fpu of strands
    double StressLimit = 0.0;    // 0.6 fy, laws 2 and 3
    // Richard equation (law 3)
    double RichardE = 0.0, RichardEp = 0.0, RichardF0 = 0.0, RichardN = 1.0;
    int BarType = 0;             // law 9: 1 -> 157 ksi, 3 or 5 -> 160 ksi, else 150 ksi
    double KsiToStress = 1.0;
    // Prestressed strands. The slice strains of the section analysis are the
    // total concrete strains, prestress included; a bonded strand shares every
    // change of the concrete strain from the prestressed state, so its strain
    // is InitialSteelStrain + (eps - ConcretePrestrain).
    double InitialSteelStrain = 0.0;  // strand strain after losses, negative (tension)
    double ConcretePrestrain = 0.0;   // concrete strain after losses, compression positive
};

// Elastic-perfectly plastic steel: casing, core pipe, H-pile, steel pipe.
struct SteelProperties {
    double Modulus = 0.0;
    double Yield = 0.0;
};

struct SectionMaterials {
    ConcreteProperties Concrete{};      // outside every core
    ConcreteProperties CoreConcrete{};  // inside a core
    ReinforcementProperties Rebar{};
    SteelProperties Casing{}, CoreSteel{}, HPile{};
    bool b_IgnoreConcreteTension = false;  // the concrete carries no tension
    // Cracked before any curvature (a tensile thrust beyond the cracking load):
    // set by the thrust loop, read by every strain state of the thrust.
    bool b_PreCracked = false;
};

// Run messages of one strain state.
struct SectionRunFlags {
    bool b_Cracked = false;      // "C"
    bool b_Yielded = false;      // "Y"
    bool b_StressLimit = false;  // "S"
    void Clear() { b_Cracked = b_Yielded = b_StressLimit = false; }
};

// --- Derived properties ------------------------------------------------------

// Derives Ec, fr, epsilon0, the descent and the cracking strain from f'c (run
// stress unit) for model codes 2 to 4 (model 1 sets Ec = 0). `rebarLaw`
// selects the rupture stress of reinforced (law 2) or prestressed concrete;
// `core` selects the core concrete constants.
void DeriveConcreteProperties(ConcreteProperties& c, int model, double fc, int rebarLaw, bool core, bool si);
// Mander parameters of confined concrete (model 6) from f'c and the
// confinement; fills c.Mander and the tension properties. Returns false (and
// leaves the law unset) when the confinement gives no usable curve
// (Ec not above the secant modulus at f'cc, or values not positive).
bool ManderParameters(ConcreteProperties& c, double fc, const ManderInputs& in, bool si);

// Materials of input section s: concrete models, laws and strengths converted
// to the section stress unit. Values that cannot be analysed (strength or
// modulus not positive where used) end the run with an input data error that
// names the section and the value; returns false then.
bool SetSectionMaterials(int s, int concreteModel, int coreConcreteModel, SectionMaterials& m);

// --- Point laws (pure) --------------------------------------------------------

// Concrete in compression, eps > 0 (models 2, 3, 4, 6; 0 for model 1).
double ConcreteCompressionStress(const ConcreteProperties& c, double eps);
// The tension parabola -f'c (2|r| - r^2), r = eps / epsilon0, eps <= 0.
double ConcreteTensionStress(const ConcreteProperties& c, double eps);
// Power-law concrete (model 5) at strain eps (both signs).
double PowerLawConcreteStress(const ConcreteProperties& c, double eps, double prestrain);
// Reinforcement where the concrete strain is eps: the bar strain is eps, a
// strand's strain eps + InitialSteelStrain - ConcretePrestrain.
double ReinforcementStress(const ReinforcementProperties& r, double eps, SectionRunFlags& flags);
// Elastic-perfectly plastic steel; a clamped value sets "Y".
double ElasticPlasticStress(const SteelProperties& st, double eps, SectionRunFlags& flags);

// --- Slice-wise stresses ------------------------------------------------------

// Slice strains eps(i) = phi (dNA - SliceDepth(i)).
void SliceStrains(const SliceTable& t, double phi, double dNA, SliceArray& eps);
// Concrete stresses over the slices with cracking from the top slice down.
// `eps` are total concrete strains (prestress included); `bottomStrain` is the
// total strain of the bottom fibre, (dNA - H) phi; `preCracked` marks the
// section cracked before the first slice; `ignoreTension` makes concrete carry
// no tension at all.
void ConcreteStresses(const ConcreteProperties& c, const SliceTable& t, const SliceArray& eps, double bottomStrain,
                      bool ignoreTension, bool preCracked, SliceArray& stress, SectionRunFlags& flags);

// --- Prestress ------------------------------------------------------------------

struct PrestressInputs {
    double InitialForce = 0.0;     // Pi (force unit of the input: lb in US runs, kN in SI)
    double LossFraction = 0.0;     // L
    double StrandModulus = 0.0;    // Eps (section stress unit)
    double ConcreteModulus = 0.0;  // Ec (section stress unit)
    double ConcreteArea = 0.0;     // Ac
    double SteelArea = 0.0;        // As
    double ConcreteStrength = 0.0; // f'c (section stress unit)
    double StrandStrength = 0.0;   // fpu (section stress unit)
    double SectionDepth = 0.0;     // D
    double MomentFactor = 0.0;     // k of Mn = k D As fpu (0.32, 0.34, 0.37, 0.38)
    bool b_US = true;              // Eps As and Ec Ac multiplied by 1000 (force in lb, stresses in ksi)
};

struct PrestressResults {
    double EffectiveForce = 0.0;       // Pe = (1 - L) Pi
    double InitialSteelStrain = 0.0;   // Pe / (-Eps As)
    double ConcretePrestrain = 0.0;    // Pe / (Ec Ac)
    double ConcreteStress = 0.0;       // f_pc = Ec eps_pc
    double SteelStress = 0.0;          // Eps x InitialSteelStrain
    double GrossArea = 0.0;            // Ag = Ac + As
    double NominalAxialCapacity = 0.0; // Pn = (0.85 f'c - 0.60 f_pc) Ag
    double AxialLoadCapacity = 0.0;    // N = (0.33 f'c - 0.27 f_pc) Ag
    double TensileCapacity = 0.0;      // Nt = -As fpu
    double NominalMoment = 0.0;        // Mn = k D As fpu
};

// Prestress strains. Ac <= 0 ends the run with Runtime Error 14, As <= 0 with
// Runtime Error 15 (blocks written to the report); returns false then.
bool Calculate_Strains_Due_To_Prestressing(const PrestressInputs& in, PrestressResults& out);

// Fraction of loss of prestress used for every prestressed section (no input
// gives it).
inline constexpr double DefaultPrestressLoss = 0.2;

// Prestress inputs of input section s on its slice table and materials:
// Pi = initial strand stress x strand area (in the input's force unit), the
// loss fraction, the moduli, the total areas and Mn's factor k by pile kind.
void PrestressInputsOf(int s, const SliceTable& t, const SectionMaterials& m, PrestressInputs& in);

}  // namespace kestro
