#include "map/label_space.h"

#include <algorithm>

namespace vantrel {

LabelSpace::LabelSpace(int width, int height, int cell)
    : columns_((std::max(width, 0) + cell - 1) / cell),
      rows_((std::max(height, 0) + cell - 1) / cell),
      cell_(cell),
      taken_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {}

LabelSpace::Cells LabelSpace::Covered(const LabelBox& box) const {
    if (box.width <= 0 || box.height <= 0) return {0, 0, -1, -1};
    const auto cellOf = [this](int pixel) { return pixel >= 0 ? pixel / cell_ : -1; };
    Cells cells{cellOf(box.x), cellOf(box.y), cellOf(box.x + box.width - 1), cellOf(box.y + box.height - 1)};
    cells.x0 = std::max(cells.x0, 0);
    cells.y0 = std::max(cells.y0, 0);
    cells.x1 = std::min(cells.x1, columns_ - 1);
    cells.y1 = std::min(cells.y1, rows_ - 1);
    return cells;
}

bool LabelSpace::Free(const LabelBox& box) const {
    const Cells cells = Covered(box);
    if (cells.x0 > cells.x1 || cells.y0 > cells.y1) return false;
    for (int row = cells.y0; row <= cells.y1; ++row) {
        const std::uint8_t* line = taken_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
        for (int column = cells.x0; column <= cells.x1; ++column)
            if (line[column]) return false;
    }
    return true;
}

void LabelSpace::Take(const LabelBox& box) {
    const Cells cells = Covered(box);
    for (int row = cells.y0; row <= cells.y1; ++row)
        std::fill_n(taken_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + cells.x0,
                    std::max(cells.x1 - cells.x0 + 1, 0), std::uint8_t{1});
}

bool LabelSpace::TryTake(const LabelBox& box) {
    if (!Free(box)) return false;
    Take(box);
    return true;
}

}  // namespace vantrel
