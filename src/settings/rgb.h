// A colour as the settings store keeps it: red, green and blue of 0 to 255.
#pragma once

#include <cstdint>

namespace vantrel {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace vantrel
