// Axial force equilibrium and the neutral-axis search (interfaces; filled in next).

#include "section/NeutralAxis.h"

#include "section/SectionWork.h"

namespace kestro {

double AxialThrustForce(const SliceTable&, const SectionMaterials&, double, double, SectionForces&,
                        SectionRunFlags&) {
    return 0.0;
}
NeutralAxisConstants NeutralAxisConstantsFor(bool) { return NeutralAxisConstants{}; }
double FindNeutralAxis(const SliceTable&, const SectionMaterials&, double, double, const NeutralAxisConstants&,
                       NeutralAxisSearch&, SectionForces&, SectionRunFlags&) {
    return 0.0;
}
double Compute_Axial_Thrust_Force(double) { return 0.0; }
double Find_Neutral_Axis() { return 0.0; }

}  // namespace kestro
