// Stress-strain laws of the section analysis (interfaces; filled in next).

#include "section/Materials.h"

namespace kestro {

void DeriveConcreteProperties(ConcreteProperties& c, int model, double, int, bool, bool) { c.Model = model; }
void ManderParameters(ConcreteProperties&, double, const ManderInputs&, bool) {}
bool SetSectionMaterials(int, int, int, SectionMaterials&) { return false; }
double ConcreteCompressionStress(const ConcreteProperties&, double) { return 0.0; }
double ConcreteTensionStress(const ConcreteProperties&, double) { return 0.0; }
double PowerLawConcreteStress(const ConcreteProperties&, double, double) { return 0.0; }
double ReinforcementStress(const ReinforcementProperties&, double, SectionRunFlags&) { return 0.0; }
double ElasticPlasticStress(const SteelProperties&, double, SectionRunFlags&) { return 0.0; }
void SliceStrains(const SliceTable&, double, double, SliceArray&) {}
void ConcreteStresses(const ConcreteProperties&, const SliceTable&, const SliceArray&, double, double, bool,
                      SliceArray&, SectionRunFlags&) {}
bool Calculate_Strains_Due_To_Prestressing(const PrestressInputs&, PrestressResults&) { return false; }
void PrestressInputsOf(int, const SliceTable&, const SectionMaterials&, PrestressInputs&) {}

}  // namespace kestro
