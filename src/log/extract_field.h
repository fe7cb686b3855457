// Cutting a line into fields: field n (counted from 1) of a text split on one character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Fields are not trimmed; adjacent separators give an empty field; a trailing separator gives an
// empty last field; n = 0 or n past the last field gives the empty text. n is at most 255.
std::string_view ExtractFieldView(std::string_view text, char separator, std::uint8_t n);
inline std::string ExtractField(std::string_view text, char separator, std::uint8_t n) {
    return std::string(ExtractFieldView(text, separator, n));
}

// Fields 1 to `count` of the text in one pass, into fields[0 .. count); fields past the last are
// empty. The same views ExtractFieldView gives, for a caller that needs several fields of a line.
void CutFirstFields(std::string_view text, char separator, std::string_view* fields, std::size_t count);

// Every piece of the text split on the separator (an empty text gives one empty piece).
std::vector<std::string_view> SplitPieces(std::string_view text, char separator);

}  // namespace vantrel
