// Small text tools shared by the log lists and repairs: letter-case-blind ordering, blank
// trimming and field positions in comma-separated lines.
//
// Letter case is folded for the ASCII letters only; every other byte compares by its unsigned
// value, so 8-bit text sorts the same way wherever it is sorted.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The first eight bytes of the text, letter case folded, as a number that orders like the text
// (shorter texts padded with zero bytes). Equal keys need the full comparison.
std::uint64_t FoldedPrefixKey(std::string_view text);

// Sorts items by their text (textOf(item) gives a std::string_view), ignoring letter case, in the
// order of LessNoCase. Most comparisons are settled by the prefix keys, which makes this several
// times faster than comparing the texts.
template <class Item, class TextOf>
void SortNoCase(std::vector<Item>& items, TextOf textOf) {
    std::vector<std::pair<std::uint64_t, Item>> keyed;
    keyed.reserve(items.size());
    for (auto& item : items) keyed.emplace_back(FoldedPrefixKey(textOf(item)), std::move(item));
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return CompareNoCase(textOf(a.second), textOf(b.second)) < 0;
    });
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = std::move(keyed[i].second);
}

// Blanks are the space and the control characters (bytes up to 32).
std::string_view TrimBlanks(std::string_view text);
// Removes blank characters (' ' only) at both ends.
std::string_view TrimSpaces(std::string_view text);
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
