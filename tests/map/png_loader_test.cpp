#include "map/png_loader.h"

#include <gtest/gtest.h>

#include "map/test_png.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::PngSpec;
using test::TempFolder;
using test::WritePng;

Picture Filled(int width, int height, Bgr colour) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bgr.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.Set(x, y, colour);
    return p;
}

TEST(PngLoader, PaletteWithTransparencyBlendsOverThePreviousPicture) {
    TempFolder dir;
    PngSpec spec;
    spec.width = 3;
    spec.colourType = PNG_COLOR_TYPE_PALETTE;
    spec.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    spec.paletteAlpha = {255, 0, 128};  // opaque red, transparent green, half blue
    spec.rows = {{0, 1, 2}};
    WritePng(dir / "p.png", spec);

    Picture picture = Filled(3, 1, {100, 100, 100});
    std::string error;
    ASSERT_TRUE(LoadPngBitmap(dir / "p.png", picture, &error)) << error;
    ASSERT_EQ(picture.width, 3);
    ASSERT_EQ(picture.height, 1);
    EXPECT_EQ(picture.At(0, 0), (Bgr{0, 0, 255}));      // opaque: the source colour
    EXPECT_EQ(picture.At(1, 0), (Bgr{100, 100, 100}));  // transparent: what was there
    // inverted alpha 127: (127 * old + 128 * new) / 255
    EXPECT_EQ(picture.At(2, 0), (Bgr{(127 * 100 + 128 * 255) / 255, 127 * 100 / 255, 127 * 100 / 255}));

    // A new picture is white below translucent pixels.
    Picture fresh;
    ASSERT_TRUE(LoadPngBitmap(dir / "p.png", fresh, &error));
    EXPECT_EQ(fresh.At(1, 0), (Bgr{255, 255, 255}));
}

TEST(PngLoader, RgbRgbaGreyAndSixteenBitImages) {
    TempFolder dir;
    PngSpec rgb;
    rgb.width = 2;
    rgb.height = 2;
    rgb.rows = {{10, 20, 30, 40, 50, 60}, {70, 80, 90, 1, 2, 3}};
    WritePng(dir / "rgb.png", rgb);
    Picture picture;
    std::string error;
    ASSERT_TRUE(LoadPngBitmap(dir / "rgb.png", picture, &error)) << error;
    ASSERT_EQ(picture.bgr.size(), 12u);
    EXPECT_EQ(picture.At(0, 0), (Bgr{30, 20, 10}));  // red and blue exchanged
    EXPECT_EQ(picture.At(1, 1), (Bgr{3, 2, 1}));

    PngSpec rgba;
    rgba.width = 2;
    rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba.rows = {{200, 100, 50, 255, 200, 100, 50, 0}};
    WritePng(dir / "rgba.png", rgba);
    picture = Filled(2, 1, {1, 2, 3});
    ASSERT_TRUE(LoadPngBitmap(dir / "rgba.png", picture, &error)) << error;
    EXPECT_EQ(picture.At(0, 0), (Bgr{50, 100, 200}));
    EXPECT_EQ(picture.At(1, 0), (Bgr{1, 2, 3}));

    PngSpec grey;
    grey.width = 2;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {{0, 77}};
    WritePng(dir / "grey.png", grey);
    ASSERT_TRUE(LoadPngBitmap(dir / "grey.png", picture, &error)) << error;
    EXPECT_EQ(picture.At(1, 0), (Bgr{77, 77, 77}));

    PngSpec grey2;  // 2 bits per sample: 0, 1, 2, 3 become 0, 85, 170, 255
    grey2.width = 4;
    grey2.colourType = PNG_COLOR_TYPE_GRAY;
    grey2.bitDepth = 2;
    grey2.rows = {{0b00011011}};
    WritePng(dir / "grey2.png", grey2);
    ASSERT_TRUE(LoadPngBitmap(dir / "grey2.png", picture, &error)) << error;
    EXPECT_EQ(picture.At(1, 0), (Bgr{85, 85, 85}));
    EXPECT_EQ(picture.At(3, 0), (Bgr{255, 255, 255}));

    PngSpec deep;  // 16 bits per sample, stored big-endian; the high byte counts
    deep.width = 1;
    deep.bitDepth = 16;
    deep.rows = {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}};
    WritePng(dir / "rgb16.png", deep);
    ASSERT_TRUE(LoadPngBitmap(dir / "rgb16.png", picture, &error)) << error;
    EXPECT_EQ(picture.At(0, 0), (Bgr{0xFF, 0xAB, 0x12}));

    PngSpec greyAlpha16;
    greyAlpha16.width = 2;
    greyAlpha16.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha16.bitDepth = 16;
    greyAlpha16.rows = {{0x40, 0x00, 0xFF, 0xFF, 0x40, 0x00, 0x00, 0x00}};
    WritePng(dir / "ga16.png", greyAlpha16);
    picture = Filled(2, 1, {9, 9, 9});
    ASSERT_TRUE(LoadPngBitmap(dir / "ga16.png", picture, &error)) << error;
    EXPECT_EQ(picture.At(0, 0), (Bgr{0x40, 0x40, 0x40}));
    EXPECT_EQ(picture.At(1, 0), (Bgr{9, 9, 9}));
}

TEST(PngLoader, FailuresLeaveThePictureAsItWas) {
    TempFolder dir;
    const Picture before = Filled(2, 2, {5, 6, 7});
    Picture picture = before;
    std::string error;

    EXPECT_FALSE(LoadPngBitmap(dir / "missing.png", picture, &error));
    EXPECT_EQ(error, "Error Opening File " + (dir / "missing.png").string() + "!");

    test::WriteFile(dir / "text.png", "K1ABC,FN42\n");
    error.clear();
    EXPECT_FALSE(LoadPngBitmap(dir / "text.png", picture, &error));
    EXPECT_EQ(error, "Error Reading File! " + (dir / "text.png").string() + ": Not a PNG file");

    PngSpec rgb;
    rgb.width = 64;
    rgb.height = 64;
    rgb.rows.assign(64, std::vector<unsigned char>(64 * 3));
    for (int y = 0; y < 64; ++y)
        for (int i = 0; i < 64 * 3; ++i) rgb.rows[y][i] = static_cast<unsigned char>(y * 31 + i * 7);
    WritePng(dir / "whole.png", rgb);
    const std::string whole = test::ReadFile(dir / "whole.png");
    for (std::size_t cut : {std::size_t{8}, std::size_t{40}, whole.size() / 2, whole.size() - 20}) {
        test::WriteFile(dir / "cut.png", whole.substr(0, cut));
        error.clear();
        EXPECT_FALSE(LoadPngBitmap(dir / "cut.png", picture, &error)) << cut;
        EXPECT_TRUE(error.starts_with("Error Reading File! " + (dir / "cut.png").string() + ": ")) << error;
    }
    std::string damaged = whole;
    damaged[whole.size() / 2] ^= 0x5A;  // inside the image data: the checksum no longer holds
    test::WriteFile(dir / "damaged.png", damaged);
    EXPECT_FALSE(LoadPngBitmap(dir / "damaged.png", picture, &error));

    // Larger than 8192 pixels across: refused from its header.
    PngSpec wide;
    wide.width = kMaxPngSide + 1;
    wide.colourType = PNG_COLOR_TYPE_GRAY;
    wide.rows = {std::vector<unsigned char>(wide.width)};
    WritePng(dir / "wide.png", wide);
    error.clear();
    EXPECT_FALSE(LoadPngBitmap(dir / "wide.png", picture, &error));
    EXPECT_TRUE(error.starts_with("Error Reading File! " + (dir / "wide.png").string() + ": ")) << error;

    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.bgr, before.bgr);
}

}  // namespace
}  // namespace vantrel
