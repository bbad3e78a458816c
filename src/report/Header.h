#pragma once
// The report header: banner, licensee, run files, date and time.

#include <ctime>
#include <iosfwd>
#include <string>

namespace kestro {

struct PathParts {
    std::string Drive, Directory, Base, Extension;
};
// Splits a run file path into drive, directory, base name and extension (the
// extension keeps its dot and is cut to 5 characters).
PathParts SplitPath(const std::string& path);

// "Date:  December 7, 2026     Time:  19:53:22" preceded by 15 blanks.
std::string DateTimeLine(const std::tm& t);

void WriteReportHeader(std::ostream& out, const std::tm& now);

}  // namespace kestro
