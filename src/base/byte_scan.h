// Scans over large blocks of bytes, vectorised where the processor allows (base/simd.h).
#pragma once

#include <cstddef>
#include <string_view>

namespace vantrel {

// How many times the byte occurs.
std::size_t CountByte(std::string_view bytes, char byte);
// The position of the n-th occurrence (counted from 1) of the byte; npos when there are fewer.
std::size_t FindNthByte(std::string_view bytes, char byte, std::size_t n);
// The position of the n-th occurrence counted from the end (1 is the last); npos when fewer.
std::size_t FindNthByteFromEnd(std::string_view bytes, char byte, std::size_t n);

// The position of the first occurrence of `needle` at or after `from`, the ASCII letters compared
// without regard to case (every other byte exactly); npos when there is none, and for an empty
// needle.
std::size_t FindTextNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// What a text holds in line ends, for deciding how its lines are kept.
struct LineEnds {
    std::size_t lf = 0;         // LF bytes
    std::size_t cr = 0;         // CR bytes
    std::size_t bareLf = 0;     // LF bytes without a CR before them
    std::size_t emptyLf = 0;    // empty lines if the line end is LF ("\n\n", or LF first)
    std::size_t emptyCrLf = 0;  // empty lines if the line end is CR LF ("\n\r\n", or CR LF first)
};
LineEnds ScanLineEnds(std::string_view bytes);

}  // namespace vantrel
