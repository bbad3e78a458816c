#pragma once
// The input channel and its two kinds of read:
//  - whole records (keyword, option and title lines): at most 256 characters,
//    trailing blanks removed;
//  - free-format lists: values separated by blanks, commas or tabs; a list
//    may continue on the following lines; what is left on the last line read
//    is ignored.
// An end of file or a value that cannot be read ends the run with an input
// data error naming the line and what was expected.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "model/Errors.h"

namespace kestro {

bool OpenInput(const std::string& path);
void CloseInput();
bool InputIsOpen();
// Size of the input file in bytes, as found when it was opened.
long long InputSize();
// Back to the first line.
void RewindInput();
// Number of the last line read (1-based), 0 before the first.
int InputLineNumber();

// Loads input text directly (used by tests and by the file open).
void LoadInputText(std::string text);

// One target of a free-format read.
struct ListItem {
    enum Kind { Real, Integer, Word } kind;
    void* target;
    ListItem(double& v) : kind(Real), target(&v) {}
    ListItem(int& v) : kind(Integer), target(&v) {}
    ListItem(std::string& v) : kind(Word), target(&v) {}
};

// Reads a whole record. On end of file: input data error naming `what`.
bool ReadRecord(std::string& line, std::string_view what);
// Same, without raising an error at the end of the file.
bool TryReadRecord(std::string& line);
// The next record as TryReadRecord would return it, without consuming it.
bool PeekRecord(std::string& line);

// Reads the listed values in free format, starting on a new line.
bool ReadList(std::string_view what, std::initializer_list<ListItem> items);
// The same for a list put together at run time.
bool ReadList(std::string_view what, std::span<const ListItem> items);

// The reals that follow the first `skip` values on the last line read, up to
// `max` of them and up to the first token that is not a number (the
// description that may close a line). Returns how many were stored.
int TrailingReals(int skip, double* values, int max);

// Reads the first value of the next line as a word without raising an error
// (used for the format tag). Returns false on end of file or an empty file.
bool TryReadFirstWord(std::string& word);

// Parses one free-format token as a real or an integer (exposed for tests).
bool ParseReal(std::string_view token, double& value);
bool ParseInteger(std::string_view token, int& value);

// True when `line` (without trailing blanks) is a section keyword line or END.
bool IsSectionKeyword(std::string_view line);

// Input data errors raised by the reader itself.
inline constexpr int ErrEndOfInput = 80;
inline constexpr int ErrUnreadableValue = 81;

// InputError, the framed input data error block of the readers: model/Errors.h.

}  // namespace kestro
