#include "base/release_version.h"

#include <algorithm>

namespace vantrel {

namespace {

bool IsBlankOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
}

}  // namespace

std::string TrimReleaseBody(std::string_view body) {
    while (!body.empty() && IsBlankOrControl(body.front())) body.remove_prefix(1);
    while (!body.empty() && IsBlankOrControl(body.back())) body.remove_suffix(1);
    return std::string(body);
}

bool LooksLikeVersionText(std::string_view trimmed) {
    constexpr std::size_t kLongest = 40;
    if (trimmed.empty() || trimmed.size() > kLongest) return false;
    return std::none_of(trimmed.begin(), trimmed.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte >= 0x7F || c == '<' || c == '>' || c == '{' || c == '}';
    });
}

bool ReleaseDiffers(std::string_view body, std::string_view ownVersion) {
    return TrimReleaseBody(body) != ownVersion;
}

}  // namespace vantrel
