#pragma once
// Reading an input text into the model without the later stages of a run, so
// that the values the readers store (before or after the conversion to
// internal units) can be checked whatever stages follow in the driver.

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "input/InputFile.h"
#include "input/KeywordReader.h"
#include "input/Units.h"
#include "model/ProblemData.h"
#include "model/RunState.h"

namespace kestro::test {

// Reads `input` (a whole input text with its format tag) as the driver does
// and returns the run's error number (0 when the input was read cleanly).
// Messages that a failing read writes land in a scratch folder.
inline int ReadOnly(const std::string& input, bool convert = false) {
    static const std::string dir = ScratchDir();
    std::filesystem::current_path(dir);
    ResetRunState();
    ResetProblemData();
    LoadInputText(input);
    std::string tag;
    TryReadFirstWord(tag);
    ReadKeywordInput();
    if (convert && !Failed()) ConvertToInternalUnits();
    CloseInput();
    return Run.ErrorNumber;
}

inline bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

}  // namespace kestro::test
