// Finding a short text in a large block of bytes, vectorised: candidate positions are those where
// both the first and the last byte of the text match, checked 32 (or 16) positions at a time.
#pragma once

#include <cstddef>
#include <string_view>

namespace vantrel {

// The position of the first occurrence of `needle` at or after `from`; npos when there is none
// (and for an empty needle).
std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from = 0);

}  // namespace vantrel
