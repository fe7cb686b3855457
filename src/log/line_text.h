// Small text tools shared by the log lists and repairs: letter-case-blind ordering, blank
// trimming and field positions in comma-separated lines.
//
// Letter case is folded for the ASCII letters only; every other byte compares by its unsigned
// value, so 8-bit text sorts the same way wherever it is sorted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

inline unsigned char FoldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// <0, 0 or >0 as a is before, equal to or after b, ignoring letter case.
int CompareNoCase(std::string_view a, std::string_view b);
bool SameTextNoCase(std::string_view a, std::string_view b);

struct LessNoCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return CompareNoCase(a, b) < 0; }
};
struct EqualNoCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameTextNoCase(a, b); }
};
struct HashNoCase {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const;
};

// Blanks are the space and the control characters (bytes up to 32).
std::string_view TrimBlanks(std::string_view text);
std::string UpperCase(std::string_view text);

// Where field n (counted from 1) of a comma-separated line lies: its first byte and its length.
// `found` is false when the line has fewer than n fields.
struct FieldSpan {
    std::size_t start = 0, length = 0;
    bool found = false;
};
FieldSpan FindField(std::string_view line, unsigned n);

// The line with field n replaced by the value. A line with fewer fields is first extended with
// empty fields, so the value always lands in field n.
std::string ReplaceField(std::string_view line, unsigned n, std::string_view value);

}  // namespace vantrel
