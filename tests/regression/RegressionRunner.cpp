// Runs one regression case and compares its output with the gold files.
//
//   kestro_regression CASE_DIR WORK_DIR [--after OTHER_CASE_DIR]
//
// With --after, the other case is run first in the same process, so that the
// comparison also proves that nothing of one run reaches the next.
// CASE_DIR holds input.dat, expected_result (the run result), and the gold
// files report.gold, plot.gold and messages.gold. An optional file tolerance
// holds lines "abs X" and "rel Y" (with a comment saying why) that allow
// numbers to differ; without it numbers must match exactly. Lines holding the
// date and time or the run folder are masked. Every token must start and end
// in the same columns as in the gold file: fixed width is part of the report.
// With KESTRO_UPDATE_GOLD=1 the gold files are rewritten from this run.

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "kestro/kgo.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    std::string l;
    while (std::getline(in, l)) v.push_back(l);
    return v;
}

struct Token {
    std::size_t Start, End;
    std::string Text;
};

std::vector<Token> Tokens(const std::string& line) {
    std::vector<Token> t;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::size_t s = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        t.push_back({s, i, line.substr(s, i - s)});
    }
    return t;
}

bool Number(const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && !s.empty();
}

bool Masked(const std::string& line) {
    return line.find("Date:  ") != std::string::npos || line.find("Path to file locations:") != std::string::npos;
}

int Compare(const std::string& what, const std::string& got, const std::string& gold, double absTol, double relTol) {
    auto g = Lines(got), e = Lines(gold);
    int errors = 0;
    std::size_t n = std::max(g.size(), e.size());
    for (std::size_t i = 0; i < n && errors < 20; ++i) {
        std::string a = i < g.size() ? g[i] : "<missing line>";
        std::string b = i < e.size() ? e[i] : "<missing line>";
        if (a == b || (Masked(a) && Masked(b))) continue;
        auto ta = Tokens(a), tb = Tokens(b);
        bool ok = ta.size() == tb.size();
        for (std::size_t k = 0; ok && k < ta.size(); ++k) {
            if (ta[k].Start != tb[k].Start || ta[k].End != tb[k].End) {
                ok = false;
                break;
            }
            if (ta[k].Text == tb[k].Text) continue;
            double x, y;
            if (Number(ta[k].Text, x) && Number(tb[k].Text, y)) {
                double diff = std::fabs(x - y);
                if (diff <= absTol || diff <= relTol * std::fabs(y)) continue;
            }
            ok = false;
        }
        if (!ok) {
            std::cerr << what << " line " << (i + 1) << " differs:\n  got:  [" << a << "]\n  gold: [" << b << "]\n";
            ++errors;
        }
    }
    return errors;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--after")) {
        std::cerr << "usage: kestro_regression CASE_DIR WORK_DIR [--after OTHER_CASE_DIR]\n";
        return 2;
    }
    fs::path caseDir = fs::absolute(argv[1]);
    fs::path work = fs::absolute(argv[2]);
    if (argc == 5) {
        fs::path before = work.string() + "-before";
        fs::remove_all(before);
        fs::create_directories(before);
        fs::copy_file(fs::absolute(argv[4]) / "input.dat", before / "input.dat");
        std::ofstream(before / "NAMES.DAT") << "input.dat\nreport.txt\nplot.txt\nmessages.txt\nOther Case\nElsewhere\n";
        fs::current_path(before);
        KGO();
    }
    fs::remove_all(work);
    fs::create_directories(work);
    fs::copy_file(caseDir / "input.dat", work / "input.dat");
    {
        std::ofstream names(work / "NAMES.DAT");
        names << "input.dat\nreport.txt\nplot.txt\nmessages.txt\nRegression Test\nKestro\n";
    }
    fs::current_path(work);
    int result = KGO();

    bool update = std::getenv("KESTRO_UPDATE_GOLD") != nullptr && std::string(std::getenv("KESTRO_UPDATE_GOLD")) == "1";
    const char* files[3][2] = {{"report.txt", "report.gold"}, {"plot.txt", "plot.gold"}, {"messages.txt", "messages.gold"}};
    if (update && argc == 3) {
        for (auto& f : files) fs::copy_file(work / f[0], caseDir / f[1], fs::copy_options::overwrite_existing);
        std::ofstream(caseDir / "expected_result") << result << '\n';
        std::cout << "gold files updated for " << caseDir.filename().string() << " (result " << result << ")\n";
        return 0;
    }

    double absTol = 0.0, relTol = 0.0;
    {
        std::istringstream tol(ReadText(caseDir / "tolerance"));
        std::string key;
        double v;
        while (tol >> key) {
            if ((key == "abs" || key == "rel") && (tol >> v)) (key == "abs" ? absTol : relTol) = v;
            else tol.ignore(1 << 20, '\n');
        }
    }
    int errors = 0;
    int expected = std::atoi(ReadText(caseDir / "expected_result").c_str());
    if (expected != result) {
        std::cerr << "run result " << result << ", expected " << expected << '\n';
        ++errors;
    }
    for (auto& f : files) errors += Compare(f[0], ReadText(work / f[0]), ReadText(caseDir / f[1]), absTol, relTol);
    if (errors == 0) std::cout << caseDir.filename().string() << ": matches gold\n";
    return errors == 0 ? 0 : 1;
}
