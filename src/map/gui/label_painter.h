// Draws map labels onto a picture quickly: each character of a font is rendered once into a
// coverage mask, and labels are composed from the masks, so tens of thousands of labels cost
// little more than the pixels they cover.
#pragma once

#include <QImage>

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "map/map_view.h"

namespace vantrel {

class LabelPainter {
public:
    // Draws each label in blue (#0000FF) over the image (Format_RGB32), its top-left corner at the
    // label's point multiplied by the scale; the image's resolution gives the size of a point.
    void Paint(QImage& image, std::span<const MapLabel> labels, double scaleX = 1, double scaleY = 1);

private:
    struct Covered {
        std::int16_t dx, dy;  // from the mask's top-left corner
        std::uint8_t alpha;
    };
    struct Glyph {
        int left = 0, top = 0, width = 0, height = 0;  // mask place relative to the pen, line top
        std::vector<Covered> pixels;                  // the pixels the character covers, row by row
    };
    struct Face {
        std::array<std::unique_ptr<Glyph>, 128> glyphs;
        std::array<double, 128> advance{};
    };
    Face& FaceFor(const std::string& name, int size, int dotsPerMetre);
    const Glyph& GlyphFor(Face& face, const std::string& name, int size, int dotsPerMetre, char c);

    std::map<std::pair<std::string, int>, std::unique_ptr<Face>> faces_;
    int dotsPerMetre_ = 0;
};

}  // namespace vantrel
