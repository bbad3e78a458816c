#include "model/Channels.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <ostream>
#include <system_error>

namespace kestro {
namespace {

struct OutputChannels {
    std::ofstream Report;
    std::ofstream Plot;
    std::ofstream Message;
    std::ofstream DefaultMessage;
    // Per channel 2..4 (index k - 2): the final name and the file being
    // written (the partial file, or the final name for a device).
    std::string Final[3];
    std::string Written[3];
    bool ReportLost = false;  // the report could not be opened again after the rewind
    bool InRun = false;
    bool LogStarted = false;  // the log was emptied in this run; later opens append
};

OutputChannels& Ch() {
    static OutputChannels channels;
    return channels;
}

// A stream that swallows everything, for the plot channel before it opens.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

std::ostream& NullStream() {
    static NullBuffer nullBuffer;
    static std::ostream nullStream(&nullBuffer);
    return nullStream;
}

// True when `path` can be opened for writing. The test opens for appending,
// so an existing file keeps its contents; a file the test had to create is
// recorded in `created` so that it can be removed again.
bool CanWrite(const std::string& path, bool& created) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    const bool existed = fs::exists(st);
    // A pipe or socket would block the run at the open; a folder is no file.
    if (fs::is_fifo(st) || fs::is_socket(st) || fs::is_directory(st)) {
        created = false;
        return false;
    }
    std::ofstream probe(path, std::ios::out | std::ios::app);
    created = probe.is_open() && !existed;
    return probe.is_open();
}

// A device (the null device, a terminal) is written in place: it cannot be
// replaced by a rename, and it holds no earlier file to protect.
bool WrittenInPlace(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    return fs::is_character_file(st) || fs::is_block_file(st);
}

std::ofstream* Stream(int k) {
    OutputChannels& c = Ch();
    std::ofstream* streams[3] = {&c.Report, &c.Plot, &c.Message};
    return streams[k];
}

}  // namespace

void SetInRun(bool inRun) {
    Ch().InRun = inRun;
    if (inRun) {
        // A run's log is its own: one left open by messages written outside
        // a run (the engine's functions called directly, in another folder)
        // is closed, so this run's messages reach the log of its own folder.
        CloseEngineLog();
        Ch().LogStarted = false;
    }
}

void CloseEngineLog() {
    OutputChannels& c = Ch();
    if (c.DefaultMessage.is_open()) c.DefaultMessage.close();
    c.DefaultMessage.clear();
}

std::ostream& EngineLog() {
    OutputChannels& c = Ch();
    if (!c.DefaultMessage.is_open()) {
        // The log holds the messages of one run: emptied at its first use in
        // the run, appended to afterwards.
        c.DefaultMessage.clear();
        c.DefaultMessage.open(DefaultMessageFile, std::ios::out | (c.LogStarted ? std::ios::app : std::ios::trunc));
        c.LogStarted = c.LogStarted || c.DefaultMessage.is_open();
    }
    if (c.DefaultMessage.is_open()) return c.DefaultMessage;
    return NullStream();
}

std::ostream& ReportOut() {
    if (Ch().Report.is_open()) return Ch().Report;
    if (Ch().InRun) return EngineLog();
    return std::cout;
}

std::ostream& PlotOut() {
    if (Ch().Plot.is_open()) return Ch().Plot;
    return NullStream();
}

std::ostream& MessageOut() {
    OutputChannels& c = Ch();
    if (c.Message.is_open()) return c.Message;
    return EngineLog();
}

bool OpenOutputChannels(const std::string& report, const std::string& plot, const std::string& message,
                        int& failedChannel) {
    OutputChannels& c = Ch();
    c.ReportLost = false;
    // Channels left open by an earlier caller are closed first: opening an
    // open stream fails and would be taken for a failed write.
    for (int k = 0; k < 3; ++k) {
        if (Stream(k)->is_open()) Stream(k)->close();
        Stream(k)->clear();
        c.Final[k].clear();
        c.Written[k].clear();
    }
    // Every output must be writable before anything is written: an existing
    // file is tested by opening it for appending, which leaves it as it was,
    // and the partial file beside it is created. A run that cannot start
    // leaves no file behind and never touches the files of an earlier run.
    const std::string* paths[3] = {&report, &plot, &message};
    std::error_code ec;
    auto undo = [&](int upTo) {
        for (int j = 0; j < upTo; ++j) {
            if (Stream(j)->is_open()) Stream(j)->close();
            if (c.Written[j] != c.Final[j]) std::filesystem::remove(c.Written[j], ec);
            c.Final[j].clear();
            c.Written[j].clear();
        }
    };
    for (int k = 0; k < 3; ++k) {
        const std::string& path = *paths[k];
        bool created = false;
        const bool existed = std::filesystem::exists(std::filesystem::status(path, ec));
        if (existed && !CanWrite(path, created)) {
            failedChannel = k + 2;
            undo(k);
            return false;
        }
        // An output named through a symbolic link replaces the file the link
        // points to, as writing through the link would.
        std::string finalPath = path;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
            const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
            if (!ec) finalPath = target.string();
        }
        c.Final[k] = finalPath;
        c.Written[k] = WrittenInPlace(finalPath) ? finalPath : finalPath + PartialSuffix;
        const std::filesystem::file_status partial = std::filesystem::symlink_status(c.Written[k], ec);
        const bool blocked = c.Written[k] != finalPath && std::filesystem::exists(partial) &&
                             !std::filesystem::is_regular_file(partial);
        if (!blocked) Stream(k)->open(c.Written[k], std::ios::out | std::ios::trunc);
        if (blocked || !Stream(k)->is_open()) {
            failedChannel = k + 2;
            c.Written[k] = c.Final[k];  // nothing was created
            undo(k + 1);
            return false;
        }
    }
    // Progress lines reach the file as they are written, so that a front end
    // can follow a long run (in the partial file while the run goes on).
    c.Message << std::unitbuf;
    return true;
}

void RewindReport() {
    OutputChannels& c = Ch();
    if (!c.Report.is_open()) return;
    c.Report.close();
    c.Report.open(c.Written[0], std::ios::out | std::ios::trunc);
    // A report that cannot be opened again would send the rest of the run to
    // the message log; it counts as a failed write.
    c.ReportLost = !c.Report.is_open();
}

int FailedOutputChannel() {
    OutputChannels& c = Ch();
    if (c.ReportLost) return 2;
    for (int k = 0; k < 3; ++k) {
        if (!Stream(k)->is_open()) continue;
        Stream(k)->flush();
        if (Stream(k)->fail()) return k + 2;
    }
    return 0;
}

bool OutputChannelOpen(int channel) {
    OutputChannels& c = Ch();
    switch (channel) {
        case 2: return c.Report.is_open();
        case 3: return c.Plot.is_open();
        case 4: return c.Message.is_open();
        default: return false;
    }
}

bool CloseOutputChannels() {
    OutputChannels& c = Ch();
    bool ok = true;
    std::error_code ec;
    for (int k = 0; k < 3; ++k) {
        std::ofstream& s = *Stream(k);
        bool sound = !(k == 0 && c.ReportLost);
        if (s.is_open()) {
            if (s.fail()) sound = false;
            s.close();  // flushes what is left; sets failbit when that fails
            if (s.fail()) sound = false;
        }
        if (!sound) ok = false;
        if (c.Written[k].empty() || c.Written[k] == c.Final[k]) continue;
        // A complete file replaces the earlier one in one step; a cut one is
        // dropped and the earlier file stays.
        if (sound) {
            std::filesystem::rename(c.Written[k], c.Final[k], ec);
            if (ec) ok = false;
        }
        if (!sound || ec) std::filesystem::remove(c.Written[k], ec);
    }
    for (int k = 0; k < 3; ++k) {
        c.Final[k].clear();
        c.Written[k].clear();
        Stream(k)->clear();
    }
    CloseEngineLog();
    c.ReportLost = false;
    return ok;
}

}  // namespace kestro
