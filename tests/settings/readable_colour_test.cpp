#include "settings/readable_colour.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

constexpr Rgb kWhite{0xFF, 0xFF, 0xFF}, kBlack{0, 0, 0}, kYellow{0xFF, 0xFF, 0x00}, kNavy{0x00, 0x00, 0x80};

TEST(ReadableColour, MeasuresContrastAsWcagDoes) {
    EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(kWhite, kBlack), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(kNavy, kNavy), 1.0);
    // The pairs the default palette gave: colour 1 on navy, sky blue on yellow and on white,
    // lime and aqua on white.
    EXPECT_NEAR(ContrastRatio({0x00, 0x00, 0xFF}, kNavy), 1.9, 0.05);
    EXPECT_NEAR(ContrastRatio({0xA6, 0xCA, 0xF0}, kYellow), 1.6, 0.05);
    EXPECT_NEAR(ContrastRatio({0xA6, 0xCA, 0xF0}, kWhite), 1.7, 0.05);
    EXPECT_NEAR(ContrastRatio({0x00, 0xFF, 0x00}, kWhite), 1.4, 0.05);
    EXPECT_NEAR(ContrastRatio({0x00, 0xFF, 0xFF}, kWhite), 1.3, 0.05);
}

// The hue of a colour in degrees (nothing for a grey).
std::optional<double> Hue(Rgb c) {
    const int high = std::max({c.r, c.g, c.b}), low = std::min({c.r, c.g, c.b});
    if (high - low < 24) return std::nullopt;  // too little colour left to tell a hue reliably
    const double d = high - low;
    double h = high == c.r ? std::fmod((c.g - c.b) / d + 6, 6) : high == c.g ? (c.b - c.r) / d + 2 : (c.r - c.g) / d + 4;
    return h * 60;
}

TEST(ReadableColour, KeepsWhatReadsAndMovesTheRestOnlyAsFarAsNeeded) {
    // Readable already: unchanged.
    EXPECT_EQ(ReadableOn(kNavy, kWhite), kNavy);
    EXPECT_EQ(ReadableOn({0xA6, 0xCA, 0xF0}, kNavy), (Rgb{0xA6, 0xCA, 0xF0}));
    // Sky blue on yellow becomes a darker blue of the same hue, just readable.
    const Rgb sky = ReadableOn({0xA6, 0xCA, 0xF0}, kYellow);
    EXPECT_GE(ContrastRatio(sky, kYellow), kReadableContrast);
    EXPECT_LT(ContrastRatio(sky, kYellow), kReadableContrast + 0.3);
    EXPECT_NEAR(*Hue(sky), *Hue({0xA6, 0xCA, 0xF0}), 3);
    // Blue on navy becomes a lighter blue.
    const Rgb blue = ReadableOn({0x00, 0x00, 0xFF}, kNavy);
    EXPECT_GE(ContrastRatio(blue, kNavy), kReadableContrast);
    EXPECT_GT(RelativeLuminance(blue), RelativeLuminance({0x00, 0x00, 0xFF}));
    EXPECT_NEAR(*Hue(blue), 240, 3);
    // A dark text on a background of middle brightness cannot get there by darkening: it is lightened.
    const Rgb grey{0x74, 0x74, 0x74}, darkRed{0x40, 0x00, 0x00};
    EXPECT_LT(ContrastRatio(kBlack, grey), kReadableContrast);
    const Rgb onGrey = ReadableOn(darkRed, grey);
    EXPECT_GE(ContrastRatio(onGrey, grey), kReadableContrast);
    EXPECT_GT(RelativeLuminance(onGrey), RelativeLuminance(grey));
}

TEST(ReadableColour, EveryColourReadsOnEveryBackground) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    auto any = [&] {
        return Rgb{static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
                   static_cast<std::uint8_t>(byte(random))};
    };
    for (int i = 0; i < 20000; ++i) {
        const Rgb text = any(), background = any();
        const Rgb shown = ReadableOn(text, background);
        ASSERT_GE(ContrastRatio(shown, background), kReadableContrast)
            << ColourToText(text) << " on " << ColourToText(background) << " gave " << ColourToText(shown);
        if (ContrastRatio(text, background) >= kReadableContrast) {
            ASSERT_EQ(shown, text);
        }
        // The hue stays while there is colour enough to have one.
        const auto before = Hue(text), after = Hue(shown);
        if (before && after) {
            const double turn = std::abs(*before - *after);
            ASSERT_LT(std::min(turn, 360 - turn), 8) << ColourToText(text) << " -> " << ColourToText(shown);
        }
    }
}

}  // namespace
}  // namespace vantrel
