#include "JsonWriter.h"

#include <charconv>
#include <cmath>

namespace kestro::results {

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (!level.Empty) out_ += ',';
    level.Empty = false;
    if (!compact_) {
        out_ += '\n';
        out_.append(levels_.size(), ' ');
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    out_ += bracket;
    levels_.push_back(Level{bracket == '[', true});
}

JsonWriter& JsonWriter::Object() {
    Open('{');
    return *this;
}

JsonWriter& JsonWriter::Array() {
    Open('[');
    return *this;
}

JsonWriter& JsonWriter::Close() {
    if (levels_.empty()) return *this;
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.Empty && !compact_) {
        out_ += '\n';
        out_.append(levels_.size(), ' ');
    }
    out_ += level.IsArray ? ']' : '}';
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    afterKey_ = false;
    BeforeValue();
    out_ += '"';
    out_ += key;
    out_ += compact_ ? "\":" : "\": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::Value(std::nullptr_t) {
    BeforeValue();
    out_ += "null";
    return *this;
}

JsonWriter& JsonWriter::Value(bool v) {
    BeforeValue();
    out_ += v ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Value(double v) {
    BeforeValue();
    if (!std::isfinite(v)) {
        out_ += "null";  // as the JSON library writes it
        return *this;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, res.ptr);
    return *this;
}

JsonWriter& JsonWriter::Integer(long long v) {
    BeforeValue();
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, res.ptr);
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view v) {
    BeforeValue();
    bool plain = true;
    for (const char c : v) {
        const auto u = static_cast<unsigned char>(c);
        plain = plain && u >= 0x20 && u < 0x7F && c != '"' && c != '\\';
    }
    if (plain) {
        out_ += '"';
        out_ += v;
        out_ += '"';
    } else {
        // Escapes, control characters and non-ASCII text (valid or not) are
        // left to the JSON library, so the text is escaped exactly as it would be.
        out_ += nlohmann::ordered_json(std::string(v)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    return *this;
}

JsonWriter& JsonWriter::Value(const nlohmann::ordered_json& tree) {
    BeforeValue();
    const std::string text =
        WithShortestReals(tree.dump(compact_ ? -1 : 1, ' ', false, nlohmann::json::error_handler_t::replace));
    if (compact_) {
        out_ += text;
        return *this;
    }
    // The tree's own lines are indented from zero: shift them to this level.
    for (const char c : text) {
        out_ += c;
        if (c == '\n') out_.append(levels_.size(), ' ');
    }
    return *this;
}

std::string WithShortestReals(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    auto numberChar = [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    };
    const char* const end = text.data() + text.size();
    bool inString = false;
    for (const char* p = text.data(); p < end;) {
        const char c = *p;
        if (inString) {
            // Copy up to the closing quote, escapes included.
            const char* q = p;
            while (q < end && *q != '"') q += *q == '\\' && q + 1 < end ? 2 : 1;
            if (q < end) ++q;
            out.append(p, q);
            p = q;
            inString = false;
        } else if (c == '"') {
            inString = true;
            out += c;
            ++p;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const char* q = p;
            while (q < end && numberChar(*q)) ++q;
            bool real = false;
            for (const char* t = p; t < q; ++t) real = real || *t == '.' || *t == 'e' || *t == 'E';
            double v = 0.0;
            const auto [ptr, ec] = std::from_chars(p, q, v);
            char buf[64];
            const auto shortest = std::to_chars(buf, buf + sizeof buf, v);
            if (real && ec == std::errc() && ptr == q && shortest.ec == std::errc())
                out.append(buf, shortest.ptr);
            else
                out.append(p, q);
            p = q;
        } else {
            // Structure and layout up to the next string or number.
            const char* q = p + 1;
            while (q < end && *q != '"' && *q != '-' && !(*q >= '0' && *q <= '9')) ++q;
            out.append(p, q);
            p = q;
        }
    }
    return out;
}

}  // namespace kestro::results
