// Draws map stations onto a picture quickly: each character of a font is rendered once into a
// coverage mask, and labels are composed from the masks, so tens of thousands of labels cost
// little more than the pixels they cover. Labels that would overlap one already drawn are left
// out (their dots stay), so a crowded map stays readable.
#pragma once

#include <QImage>

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "map/label_space.h"
#include "map/map_view.h"

namespace vantrel {

class LabelPainter {
public:
    // A fresh picture of this size: no label is placed on it yet.
    void Begin(const QImage& image);
    // Draws each station's dot in blue (#0000FF) over the image (Format_RGB32) at the label's
    // point multiplied by the scale, and its text beside the dot (to the right, to the left near
    // the right edge) where it overlaps no text drawn since Begin; `always` labels are drawn
    // whatever they overlap. The image's resolution gives the size of a point.
    void Paint(QImage& image, std::span<const MapLabel> labels, double scaleX = 1, double scaleY = 1);
    // Labels with their text drawn since Begin.
    int Labelled() const { return labelled_; }

    // The font family drawn for a stored font name: the name when that font is installed, else
    // the desktop's fixed-pitch font.
    static QString DrawnFamily(const std::string& name);

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
        int height = 0;  // of a line, pixels
    };
    Face& FaceFor(const std::string& name, int size, int dotsPerMetre);
    const Glyph& GlyphFor(Face& face, const std::string& name, int size, int dotsPerMetre, char c);
    // Where the text of a label goes beside its dot; false when it has no room.
    bool Place(const QImage& image, int dotX, int dotY, int gap, int width, int height, bool always, LabelBox& box);

    std::map<std::pair<std::string, int>, std::unique_ptr<Face>> faces_;
    int dotsPerMetre_ = 0;
    LabelSpace space_;
    int labelled_ = 0;
};

}  // namespace vantrel
