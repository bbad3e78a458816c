#include "driver/Channels.h"

#include <cstdio>
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
    std::string ReportPath;
    bool ReportLost = false;  // the report could not be opened again after the rewind
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

}  // namespace

std::ostream& ReportOut() {
    if (Ch().Report.is_open()) return Ch().Report;
    return std::cout;
}

std::ostream& PlotOut() {
    static NullBuffer nullBuffer;
    static std::ostream nullStream(&nullBuffer);
    if (Ch().Plot.is_open()) return Ch().Plot;
    return nullStream;
}

std::ostream& MessageOut() {
    OutputChannels& c = Ch();
    if (c.Message.is_open()) return c.Message;
    if (!c.DefaultMessage.is_open()) c.DefaultMessage.open(DefaultMessageFile, std::ios::out | std::ios::trunc);
    if (c.DefaultMessage.is_open()) return c.DefaultMessage;
    return std::cerr;
}

bool OpenOutputChannels(const std::string& report, const std::string& plot, const std::string& message,
                        int& failedChannel) {
    OutputChannels& c = Ch();
    c.ReportLost = false;
    // Channels left open by an earlier caller are closed first: opening an
    // open stream fails and would be taken for a failed write.
    for (std::ofstream* s : {&c.Report, &c.Plot, &c.Message}) {
        if (s->is_open()) s->close();
        s->clear();
    }
    // Every output file must be writable before any of them is emptied: a
    // run that cannot start never destroys the files of an earlier run.
    const std::string* paths[3] = {&report, &plot, &message};
    bool created[3] = {false, false, false};
    for (int k = 0; k < 3; ++k) {
        if (!CanWrite(*paths[k], created[k])) {
            failedChannel = k + 2;
            std::error_code ec;
            for (int j = 0; j < k; ++j)
                if (created[j]) std::filesystem::remove(*paths[j], ec);
            return false;
        }
    }
    c.ReportPath = report;
    std::ofstream* streams[3] = {&c.Report, &c.Plot, &c.Message};
    for (int k = 0; k < 3; ++k) {
        streams[k]->open(*paths[k], std::ios::out | std::ios::trunc);
        if (!streams[k]->is_open()) {
            failedChannel = k + 2;
            return false;
        }
    }
    // Progress lines reach the file as they are written, so that a front end
    // can follow a long run.
    c.Message << std::unitbuf;
    return true;
}

void RewindReport() {
    OutputChannels& c = Ch();
    if (!c.Report.is_open()) return;
    c.Report.close();
    c.Report.open(c.ReportPath, std::ios::out | std::ios::trunc);
    // A report that cannot be opened again would send the rest of the run to
    // standard output; it counts as a failed write.
    c.ReportLost = !c.Report.is_open();
}

int FailedOutputChannel() {
    OutputChannels& c = Ch();
    if (c.ReportLost) return 2;
    std::ofstream* streams[3] = {&c.Report, &c.Plot, &c.Message};
    for (int k = 0; k < 3; ++k) {
        if (!streams[k]->is_open()) continue;
        streams[k]->flush();
        if (streams[k]->fail()) return k + 2;
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
    bool ok = !c.ReportLost;
    for (std::ofstream* s : {&c.Report, &c.Plot, &c.Message}) {
        if (!s->is_open()) continue;
        if (s->fail()) ok = false;
        s->close();  // flushes what is left; sets failbit when that fails
        if (s->fail()) ok = false;
    }
    if (c.DefaultMessage.is_open()) c.DefaultMessage.close();
    c.Report.clear();
    c.Plot.clear();
    c.Message.clear();
    c.DefaultMessage.clear();
    c.ReportLost = false;
    std::cout.flush();
    return ok;
}

}  // namespace kestro
