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

// Opens the report, plot and message channels, emptying the files, but only
// after each of the three was found writable; otherwise `failedChannel` is the
// first that is not (2 report, 3 plot, 4 message) and no file was emptied.
bool OpenOutputChannels(const std::string& report, const std::string& plot, const std::string& message,
                        int& failedChannel);
// Discards everything written to the report channel so far.
void RewindReport();
// Flushes the open output channels and returns the first whose writing
// failed (2 report, 3 plot, 4 message), or 0 when all writes succeeded.
int FailedOutputChannel();
// True while channel 2, 3 or 4 is open.
bool OutputChannelOpen(int channel);
// Closes the channels; false when writing any of them failed, at any time
// during the run or in the final flush.
bool CloseOutputChannels();

}  // namespace kestro
