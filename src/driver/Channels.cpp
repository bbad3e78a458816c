#include "driver/Channels.h"

#include <fstream>
#include <iostream>
#include <ostream>

namespace kestro {
namespace {

struct OutputChannels {
    std::ofstream Report;
    std::ofstream Plot;
    std::ofstream Message;
    std::ofstream DefaultMessage;
    std::string ReportPath;
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
    c.ReportPath = report;
    c.Report.open(report, std::ios::out | std::ios::trunc);
    if (!c.Report.is_open()) {
        failedChannel = 2;
        return false;
    }
    c.Plot.open(plot, std::ios::out | std::ios::trunc);
    if (!c.Plot.is_open()) {
        failedChannel = 3;
        return false;
    }
    c.Message.open(message, std::ios::out | std::ios::trunc);
    if (!c.Message.is_open()) {
        failedChannel = 4;
        return false;
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
}

void CloseOutputChannels() {
    OutputChannels& c = Ch();
    if (c.Report.is_open()) c.Report.close();
    if (c.Plot.is_open()) c.Plot.close();
    if (c.Message.is_open()) c.Message.close();
    if (c.DefaultMessage.is_open()) c.DefaultMessage.close();
    c.Report.clear();
    c.Plot.clear();
    c.Message.clear();
    c.DefaultMessage.clear();
    std::cout.flush();
}

}  // namespace kestro
