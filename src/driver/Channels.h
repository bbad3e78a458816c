#pragma once
// The four run channels. The input channel is read by the input module; the
// report, plot and message channels are plain text files open for the run.

#include <iosfwd>
#include <string>

namespace kestro {

// Report channel; before it is open, standard output.
std::ostream& ReportOut();
// Plot channel; before it is open, output is discarded.
std::ostream& PlotOut();
// Runtime message channel; before it is open, the default message file in the
// working directory (opened on first use).
std::ostream& MessageOut();

// Name of the default message file used before the message channel is open.
inline constexpr const char* DefaultMessageFile = "KESTRO.MSG";

bool OpenOutputChannels(const std::string& report, const std::string& plot, const std::string& message,
                        int& failedChannel);
// Discards everything written to the report channel so far.
void RewindReport();
void CloseOutputChannels();

}  // namespace kestro
