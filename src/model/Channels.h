#pragma once
// The four run channels. The input channel is read by the input module; the
// report, plot and message channels are plain text files open for the run.

#include <iosfwd>
#include <string>

namespace kestro {

// Report channel. Before it is open, during a run, the engine's message log
// (the default message file): the engine never writes to a standard stream of
// its caller. A stage called outside a run (a unit test) writes to standard
// output.
std::ostream& ReportOut();
// Plot channel; before it is open, output is discarded.
std::ostream& PlotOut();
// Runtime message channel; before it is open, the default message file in the
// working directory (opened on first use).
std::ostream& MessageOut();
// The engine's message log, the default message file (opened on first use);
// a log that cannot be opened discards what is written to it.
std::ostream& EngineLog();
// Closes the message log (it is opened again, appending, on its next use).
void CloseEngineLog();
// Marks the start and the end of a run (see ReportOut).
void SetInRun(bool inRun);

// Name of the default message file used before the message channel is open.
inline constexpr const char* DefaultMessageFile = "KESTRO.MSG";

// The file an output is written to while the run goes on: the final name with
// this ending, in the same folder. It is renamed to the final name when the
// file is complete, so a run that is killed or a disk that fills never leaves
// a cut file where a complete one stood.
inline constexpr const char* PartialSuffix = ".part";

// Opens the report, plot and message channels, each on its partial file
// beside the final name (a device such as /dev/null is written in place), but
// only after each of the three was found writable; otherwise `failedChannel`
// is the first that is not (2 report, 3 plot, 4 message) and no file was
// touched.
bool OpenOutputChannels(const std::string& report, const std::string& plot, const std::string& message,
                        int& failedChannel);
// Discards everything written to the report channel so far.
void RewindReport();
// Flushes the open output channels and returns the first whose writing
// failed (2 report, 3 plot, 4 message), or 0 when all writes succeeded.
int FailedOutputChannel();
// True while channel 2, 3 or 4 is open.
bool OutputChannelOpen(int channel);
// Closes the channels and moves every complete file to its final name; a
// channel whose writing failed keeps the earlier file of that name as it was.
// False when writing or moving any of them failed, at any time during the run
// or in the final flush.
bool CloseOutputChannels();

}  // namespace kestro
