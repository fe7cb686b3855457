#include "log/line_text.h"

namespace vantrel {

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = FoldCase(static_cast<unsigned char>(a[i]));
        const unsigned char y = FoldCase(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::size_t HashNoCase::operator()(std::string_view text) const {
    // FNV-1a over the folded bytes.
    std::size_t h = 1469598103934665603ull;
    for (const char c : text) {
        h ^= FoldCase(static_cast<unsigned char>(c));
        h *= 1099511628211ull;
    }
    return h;
}

std::uint64_t FoldedPrefixKey(std::string_view text) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        key <<= 8;
        if (i < text.size()) key |= FoldCase(static_cast<unsigned char>(text[i]));
    }
    return key;
}

std::string_view TrimBlanks(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return text.substr(b, e - b);
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    return out;
}

FieldSpan FindField(std::string_view line, unsigned n) {
    if (n == 0) return {};
    std::size_t start = 0;
    for (unsigned i = 1; i < n; ++i) {
        const auto comma = line.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    auto end = line.find(',', start);
    if (end == std::string_view::npos) end = line.size();
    return {start, end - start, true};
}

std::string ReplaceField(std::string_view line, unsigned n, std::string_view value) {
    if (n == 0) return std::string(line);
    const FieldSpan span = FindField(line, n);
    std::string out;
    if (!span.found) {
        // Count the fields the line has and add empty ones up to field n.
        unsigned fields = 1;
        for (const char c : line) fields += c == ',';
        out.reserve(line.size() + (n - fields) + value.size());
        out.append(line);
        out.append(n - fields, ',');
        out.append(value);
        return out;
    }
    out.reserve(line.size() - span.length + value.size());
    out.append(line.substr(0, span.start));
    out.append(value);
    out.append(line.substr(span.start + span.length));
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace vantrel
