#pragma once
// Runs the `kestro` command in the test's own process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace kestro::test {

struct CliRun {
    int Status;
    std::string Out, Err;
};

inline CliRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = kestro::cli::Main(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace kestro::test
