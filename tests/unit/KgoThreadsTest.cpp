// KGO called from two threads at once: the second call waits for the first,
// and both runs write exactly the files that two calls in turn write. Each
// thread has its own working directory (unshare(CLONE_FS) gives a thread its
// own), as a program that runs analyses in parallel folders would arrange.
#include <gtest/gtest.h>

#include <sched.h>
#include <unistd.h>

#include <filesystem>
#include <latch>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "kestro/kgo.h"

namespace fs = std::filesystem;
using kestro::test::ReadText;
using kestro::test::WriteText;

namespace {

struct RunFiles {
    int Result = 0;
    std::string Report, Plot, Messages;
};

// A run folder holding the input and NAMES.DAT.
std::string Prepare(const std::string& input) {
    const std::string dir = kestro::test::ScratchDir();
    WriteText(dir + "/input.dat", input);
    WriteText(dir + "/NAMES.DAT", "input.dat\nreport.txt\nplot.txt\nmessages.txt\nUser\nCompany\n");
    return dir;
}

// The report without its date and time line, which differs between runs.
std::string WithoutClock(const std::string& report) {
    std::string out;
    std::size_t start = 0;
    while (start < report.size()) {
        std::size_t end = report.find('\n', start);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(start, end - start);
        if (line.find("Date:  ") == std::string::npos || line.find("Time:  ") == std::string::npos) out += line + '\n';
        start = end + 1;
    }
    return out;
}

RunFiles Collect(const std::string& dir, int result) {
    return {result, WithoutClock(ReadText(dir + "/report.txt")), ReadText(dir + "/plot.txt"),
            ReadText(dir + "/messages.txt")};
}

RunFiles RunHere(const std::string& dir) {
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    const int result = KGO();
    fs::current_path(cwd);
    return Collect(dir, result);
}

}  // namespace

TEST(KgoThreads, OverlappingCallsRunOneAtATimeWithTheSequentialResults) {
    const std::string inputs[2] = {
        ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/soft-clay-elastic-pile.kin"),
        ReadText(std::string(KESTRO_SOURCE_DIR) + "/examples/layered-soft-clay-sand-stiff-clay.kin")};
    ASSERT_FALSE(inputs[0].empty());
    ASSERT_FALSE(inputs[1].empty());

    RunFiles sequential[2];
    for (int i = 0; i < 2; ++i) sequential[i] = RunHere(Prepare(inputs[i]));
    ASSERT_EQ(sequential[0].Result, 0) << sequential[0].Messages;
    ASSERT_EQ(sequential[1].Result, 0) << sequential[1].Messages;

    // A few rounds, so that calls which did overlap would be caught.
    for (int round = 0; round < 4; ++round) {
        const std::string dirs[2] = {Prepare(inputs[0]), Prepare(inputs[1])};
        int results[2] = {-1, -1};
        bool entered[2] = {false, false};
        std::latch start(2);
        auto work = [&](int i) {
            // The working directory is this thread's own from here on.
            if (::unshare(CLONE_FS) != 0 || ::chdir(dirs[i].c_str()) != 0) {
                start.count_down();
                return;
            }
            entered[i] = true;
            start.arrive_and_wait();
            results[i] = KGO();
        };
        std::thread a(work, 0), b(work, 1);
        a.join();
        b.join();
        ASSERT_TRUE(entered[0] && entered[1]) << "a thread could not take its own working directory";

        for (int i = 0; i < 2; ++i) {
            const RunFiles threaded = Collect(dirs[i], results[i]);
            EXPECT_EQ(threaded.Result, sequential[i].Result) << "round " << round << ", run " << i;
            EXPECT_EQ(threaded.Report, sequential[i].Report) << "round " << round << ", run " << i;
            EXPECT_EQ(threaded.Plot, sequential[i].Plot) << "round " << round << ", run " << i;
            EXPECT_EQ(threaded.Messages, sequential[i].Messages) << "round " << round << ", run " << i;
        }
    }
}
