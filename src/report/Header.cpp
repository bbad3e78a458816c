#include "report/Header.h"

#include <cstdio>
#include <ostream>
#include <string_view>

#include "model/RunState.h"

namespace kestro {

PathParts SplitPath(const std::string& path) {
    PathParts p;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        p.Drive = rest.substr(0, 2);
        rest = rest.substr(2);
    }
    std::size_t slash = rest.find_last_of("/\\");
    std::string name = rest;
    if (slash != std::string::npos) {
        p.Directory = rest.substr(0, slash + 1);
        name = rest.substr(slash + 1);
    }
    std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        p.Base = name.substr(0, dot);
        p.Extension = name.substr(dot, 5);
    } else {
        p.Base = name;
    }
    auto trim = [](std::string& s) {
        std::size_t n = s.find_last_not_of(' ');
        s.erase(n == std::string::npos ? 0 : n + 1);
    };
    trim(p.Drive);
    trim(p.Directory);
    trim(p.Base);
    trim(p.Extension);
    return p;
}

std::string DateTimeLine(const std::tm& t) {
    static constexpr const char* Months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                               "July",    "August",   "September", "October", "November", "December"};
    int mon = (t.tm_mon >= 0 && t.tm_mon < 12) ? t.tm_mon : 0;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%15sDate:  %s %d, %04d     Time:  %2d:%02d:%02d", "", Months[mon], t.tm_mday,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

namespace {
// "6.0" of the version text "(6.0.20)".
std::string_view MajorMinor(std::string_view versionText) {
    const std::string_view v = versionText.substr(1, versionText.size() - 2);
    return v.substr(0, v.rfind('.'));
}
}  // namespace

void WriteReportHeader(std::ostream& out, const std::tm& now) {
    const std::string eq(80, '='), dash(80, '-'), pad(15, ' ');
    out << eq << "\n\n"
        << pad << "  Kestro for Windows, Version " << MajorMinor(VersionText) << ' ' << VersionText << "\n\n"
        << pad << " Analysis of Individual Piles and Drilled Shafts \n"
        << pad << "Subjected to Lateral Loading Using the p-y Method\n\n"
        << eq << "\n\n";
    out << "This program is licensed to: \n\n"
        << Run.RunFiles[5].View() << '\n'
        << Run.RunFiles[6].View() << "\n\n";
    out << dash << '\n' << std::string(28, ' ') << "Files Used for Analysis\n" << dash << '\n';
    PathParts f[5];
    for (int k = 1; k <= 4; ++k) f[k] = SplitPath(std::string(Run.RunFiles[static_cast<std::size_t>(k)].View()));
    out << "\n\n";
    out << "Path to file locations:      " << f[1].Drive << f[1].Directory << '\n';
    out << "Name of input data file:     " << f[1].Base << f[1].Extension << '\n';
    out << "Name of output file:         " << f[2].Base << f[2].Extension << '\n';
    out << "Name of plot output file:    " << f[3].Base << f[3].Extension << '\n';
    out << "Name of runtime file:        " << f[4].Base << f[4].Extension << '\n';
    out << "\n\n";
    out << dash << '\n' << std::string(27, ' ') << "Date and Time of Analysis\n" << dash << "\n\n";
    out << DateTimeLine(now) << '\n';
}

}  // namespace kestro
