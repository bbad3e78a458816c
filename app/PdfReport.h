#pragma once
// The printable calculation package: the HTML results page with a title block
// (project, engineer, date, engine version, SHA-256 of the input file) and the
// input echoed as tables, printed to PDF by headless Chromium.

#include <string>
#include <vector>

#include "ResultFiles.h"

namespace kestro::results {

struct PrintInfo {
    std::string Paper = "a4";  // "a4" or "letter"
    std::string Project;       // the input's title lines, joined
    std::string Engineer, Company;
    std::string Date;          // of the analysis, as the report gives it
    std::string Engine;        // the engine's version line
    std::string InputName;     // the input file's path
    std::string InputHash;     // SHA-256 of its bytes, hex; empty when it could not be read
    std::vector<std::string> InputLines;
};

// What the title block and the echo show, from the report text and the input
// file it names (`inputPath` overrides that name when not empty).
PrintInfo ReadPrintInfo(const RunResults& r, const std::string& reportText, const std::string& inputPath);

// The page for printing: `page` (HtmlReport) with the paper size and page
// numbers of the print rules, the title block after the heading and the input
// echo before the footer.
std::string PrintablePage(const std::string& page, const RunResults& r, const PrintInfo& info);

// The Chromium to print with: KESTRO_CHROMIUM when set, else chromium or
// chromium-browser on PATH; empty when none is found.
std::string FindChromium();

// Prints the page to `pdfPath` (written whole or not at all); false with the
// reason in `error`.
bool PrintToPdf(const std::string& browser, const std::string& pageText, const std::string& pdfPath,
                std::string& error);

}  // namespace kestro::results
