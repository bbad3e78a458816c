#pragma once
// Error blocks and notes of the stiff clay and sand p-y criteria. Each writes
// one block to `out`; the criterion writes it to the files the message
// belongs in and then terminates the run.

#include <iosfwd>

namespace kestro {

// Sand (Reese): zero friction angle.
void WriteInputError8(std::ostream& out);
// Sand (Reese): ground slope steeper than the friction angle.
void WriteInputError9(std::ostream& out, int layer);
// API sand: zero friction angle.
void WriteInputError1(std::ostream& out, int layer);
// API sand: ground slope steeper than the friction angle.
void WriteInputError2(std::ostream& out, int layer);
// Stiff clay without free water: zero cohesion.
void WriteInputError13(std::ostream& out);
// Stiff clay with free water: zero cohesion.
void WriteInputError14(std::ostream& out);
// Default k of sand requested in general units.
void WriteRuntimeError13(std::ostream& out);
// Default k of stiff clay requested in general units.
void WriteStiffClayDefaultKError(std::ostream& out, int layer);
// Reese sand friction angle outside 20 to 48 degrees (runtime message file).
void WriteReeseFrictionWarning(std::ostream& out);

}  // namespace kestro
