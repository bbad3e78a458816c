#pragma once
#include <array>
#include <cstring>
#include <string_view>

namespace kestro {

// Fixed-length text field of the model store: holds at most N characters,
// kept without trailing blanks. Fixed-width output pads it where needed.
template <int N>
struct Text {
    std::array<char, N + 1> Chars{};

    void Set(std::string_view s) {
        std::size_t n = s.size() < static_cast<std::size_t>(N) ? s.size() : static_cast<std::size_t>(N);
        while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
        std::memcpy(Chars.data(), s.data(), n);
        Chars[n] = '\0';
    }
    void Clear() { Chars[0] = '\0'; }
    std::string_view View() const { return std::string_view(Chars.data()); }
    bool Empty() const { return Chars[0] == '\0'; }
};

}  // namespace kestro
