#pragma once
// Writes JSON text straight into a string, in the layout of the results files:
// one space of indent per level, `"key": value`, an empty array or object as
// `[]` or `{}`, every real number in its shortest exact form (the digits the
// plot file had), a number that is not finite as null, and strings escaped as
// the JSON library escapes them (invalid UTF-8 replaced). The results files
// are large (every station of every load case); writing them directly costs a
// fraction of building a document tree and serialising it.

#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace kestro::results {

class JsonWriter {
public:
    // `compact`: no line breaks and no spaces (the form of a one-line record).
    explicit JsonWriter(std::string& out, bool compact = false) : out_(out), compact_(compact) {}

    JsonWriter& Object();  // opens {
    JsonWriter& Array();   // opens [
    JsonWriter& Close();   // closes the innermost object or array
    // Names the next value of the open object. Keys are the program's own
    // plain ASCII names and are written as they are.
    JsonWriter& Key(std::string_view key);

    JsonWriter& Value(std::nullptr_t);
    JsonWriter& Value(bool v);
    JsonWriter& Value(double v);
    JsonWriter& Value(std::string_view v);
    JsonWriter& Value(const char* v) { return Value(std::string_view(v)); }
    JsonWriter& Value(const std::string& v) { return Value(std::string_view(v)); }
    template <std::integral I>
        requires(!std::same_as<I, bool>)
    JsonWriter& Value(I v) {
        return Integer(static_cast<long long>(v));
    }
    template <class T>
    JsonWriter& Value(const std::optional<T>& v) {
        return v ? Value(*v) : Value(nullptr);
    }
    template <class T>
    JsonWriter& Value(const std::vector<T>& v) {
        Array();
        for (const T& x : v) Value(x);
        return Close();
    }
    // A value the JSON library holds as a tree, written in the same layout.
    JsonWriter& Value(const nlohmann::ordered_json& tree);

    template <class T>
    JsonWriter& Member(std::string_view key, const T& v) {
        Key(key);
        return Value(v);
    }
    // {"value": v, "unit": unit}; v may be nullptr.
    template <class T>
    JsonWriter& Quantity(std::string_view key, const T& v, std::string_view unit) {
        Key(key).Object().Member("value", v).Member("unit", unit);
        return Close();
    }
    // One field of every row, as an array.
    template <class Row, class F>
    JsonWriter& Column(std::string_view key, const std::vector<Row>& rows, F field) {
        Key(key).Array();
        for (const Row& row : rows) Value(field(row));
        return Close();
    }

private:
    JsonWriter& Integer(long long v);
    void BeforeValue();
    void Open(char bracket);

    struct Level {
        bool IsArray = false;
        bool Empty = true;
    };
    std::string& out_;
    bool compact_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

// Every real number of a JSON text rewritten in its shortest exact form (the
// JSON library writes 71.25224300000001 for the plot file's 7.1252243E+01).
std::string WithShortestReals(const std::string& text);

}  // namespace kestro::results
