#include "map/label_space.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// A label takes its box; one that meets it is refused, one beside it is not; a label that must
// show takes its place all the same, and what it covers is refused to later labels.
TEST(LabelSpace, LabelsThatWouldOverlapAreRefused) {
    LabelSpace space(100, 50, 4);
    EXPECT_TRUE(space.TryTake({10, 10, 30, 12}));
    EXPECT_FALSE(space.TryTake({39, 21, 10, 10}));  // shares the corner pixel
    EXPECT_TRUE(space.TryTake({40, 10, 20, 12}));   // starts on the next cell
    EXPECT_TRUE(space.TryTake({10, 24, 30, 12}));   // the row below
    EXPECT_TRUE(space.TryTake({90, 40, 30, 30}));   // partly off the picture
    EXPECT_FALSE(space.TryTake({100, 0, 10, 10}));  // wholly off it
    EXPECT_FALSE(space.TryTake({0, 0, 0, 10}));     // empty
    space.Take({0, 0, 12, 8});
    EXPECT_FALSE(space.Free({4, 4, 4, 4}));
    EXPECT_TRUE(space.Free({60, 30, 20, 8}));
}

}  // namespace
}  // namespace vantrel
