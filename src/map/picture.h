// A 24-bit picture: rows from the top, three bytes per pixel in blue, green, red order, no
// padding between rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel {

struct Bgr {
    std::uint8_t b = 0, g = 0, r = 0;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;  // width * height * 3 bytes

    bool Empty() const { return width <= 0 || height <= 0; }
    std::size_t Offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    }
    Bgr At(int x, int y) const {
        const std::size_t i = Offset(x, y);
        return {bgr[i], bgr[i + 1], bgr[i + 2]};
    }
    void Set(int x, int y, Bgr c) {
        const std::size_t i = Offset(x, y);
        bgr[i] = c.b;
        bgr[i + 1] = c.g;
        bgr[i + 2] = c.r;
    }
};

}  // namespace vantrel
