#include "log/extract_field.h"

namespace vantrel {

std::string_view ExtractFieldView(std::string_view text, char separator, std::uint8_t n) {
    // Walks the fields as the cutting loop does: each found separator ends one field; the text
    // after the last separator is the final field.
    unsigned i = 1;
    std::string_view candidate;
    std::string_view rest = text;
    bool found = !text.empty();
    while (i <= n && found) {
        const auto p = rest.find(separator);
        if (p == std::string_view::npos) {
            candidate = rest;
            found = false;
        } else {
            candidate = rest.substr(0, p);
            rest.remove_prefix(p + 1);
            ++i;
        }
    }
    return i < n ? std::string_view() : candidate;
}

void CutFirstFields(std::string_view text, char separator, std::string_view* fields, std::size_t count) {
    std::size_t n = 0;
    for (; n < count; ++n) {
        const auto p = text.find(separator);
        fields[n] = text.substr(0, p);
        if (p == std::string_view::npos) {
            ++n;
            break;
        }
        text.remove_prefix(p + 1);
    }
    for (; n < count; ++n) fields[n] = {};
}

std::vector<std::string_view> SplitPieces(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto p = text.find(separator, start);
        if (p == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, p - start));
        start = p + 1;
    }
}

}  // namespace vantrel
