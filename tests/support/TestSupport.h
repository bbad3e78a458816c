#pragma once
// Runs whole analyses in a scratch folder and returns what the engine wrote.

#include <string>

namespace kestro::test {

struct RunOutput {
    int Result = 0;
    std::string Report, Plot, Messages, DefaultMessages;
    std::string Dir;
};

// Writes `input` and a NAMES.DAT naming it into a fresh folder, calls KGO there
// and reads back the three output files.
RunOutput RunInput(const std::string& input, const std::string& user = "Test User",
                   const std::string& company = "Test Company");
// Same, with the whole NAMES.DAT text given (nullptr: no NAMES.DAT at all).
RunOutput RunWithNames(const std::string& input, const char* namesText);

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// A fresh empty folder under the system's temporary folder.
std::string ScratchDir();

// A minimal pile the input echo accepts: one elastic section 30 long and
// 24 wide in one elastic-subgrade layer to 35, one load case of zero loads.
std::string PileInput();

// A minimal valid input holding TITLE, OPTIONS in US units and the minimal
// pile, with `body` inserted before END (a section given again in `body`
// replaces the pile's).
std::string MinimalInput(const std::string& body = "", const std::string& units = "Units USCS");

}  // namespace kestro::test
