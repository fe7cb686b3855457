// Where labels may still go on a picture: a coarse occupancy grid of cells. A label takes the
// cells its box covers; a later label whose box meets a taken cell is left out, so thousands of
// stations give a readable map instead of one patch of overlapping text.
#pragma once

#include <cstdint>
#include <vector>

namespace vantrel {

struct LabelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

class LabelSpace {
public:
    // A picture of width × height pixels, cut into square cells of `cell` pixels.
    LabelSpace(int width = 0, int height = 0, int cell = 4);

    // True, and the box's cells taken, when none of them is taken yet. Parts of the box outside
    // the picture count as free; a box wholly outside is refused.
    bool TryTake(const LabelBox& box);
    // Takes the box's cells whatever they held (a label that must be shown).
    void Take(const LabelBox& box);
    bool Free(const LabelBox& box) const;

private:
    struct Cells {
        int x0, y0, x1, y1;  // inclusive; empty when x0 > x1
    };
    Cells Covered(const LabelBox& box) const;

    int columns_ = 0, rows_ = 0, cell_ = 4;
    std::vector<std::uint8_t> taken_;
};

}  // namespace vantrel
