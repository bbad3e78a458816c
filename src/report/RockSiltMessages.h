#pragma once
// Error blocks of the weak rock, liquefied sand, loess and cemented silt p-y
// criteria. Each writes one block to `out`; the criterion writes it to the
// files the message belongs in and then terminates the run.

#include <iosfwd>

namespace kestro {

// Weak rock.
void WriteInputError31(std::ostream& out, double depth);      // below the RQD data
void WriteInputError49(std::ostream& out, double rqd);        // RQD outside 0..100
void WriteInputError62(std::ostream& out, int layer);         // qu <= 0
void WriteInputError16(std::ostream& out);                    // qu <= 0 below the layer top
void WriteInputError63(std::ostream& out, int layer);         // k_rm <= 0
void WriteRuntimeError22(std::ostream& out, int layer);       // y_rm <= 0
void WriteRuntimeError20(std::ostream& out);                  // layer of zero thickness
// Rock mass modulus Eir zero or negative at a station.
void WriteRockModulusError(std::ostream& out, int layer, double depth, double eir);

// Loess.
void WriteInputError70(std::ostream& out, int layer, double cycles);
// Cone tip resistance zero or negative at the layer's top or bottom.
void WriteConeResistanceError(std::ostream& out, int layer, double top, double bottom);

// Liquefied sand: a pile too narrow for the diameter correction.
void WriteLiquefiedSandWidthError(std::ostream& out, int layer, double widthMeters);

// Cemented silt.
void WriteInputError48(std::ostream& out, int layer, double depth, double c);
void WriteInputError10(std::ostream& out);
void WriteRuntimeError23(std::ostream& out, int layer);
void WriteInputError11(std::ostream& out, int layer);
// Default k requested in general units.
void WriteSiltDefaultKError(std::ostream& out, int layer);

}  // namespace kestro
