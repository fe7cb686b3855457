// Decoding a PNG file into a 24-bit picture with libpng.
#pragma once

#include <filesystem>
#include <string>

#include "map/picture.h"

namespace vantrel {

// Larger images are refused before anything is allocated for them.
inline constexpr int kMaxPngSide = 8192;

// Decodes the file into the picture, which then has the image's size. Every PNG form is
// accepted (palette, grey, RGB, with or without alpha or a transparency chunk, 1 to 16 bits per
// sample; 16-bit samples keep their high byte). A translucent pixel is blended over what the
// picture held at that place before (white where the picture was smaller): with a = 255 - alpha,
// each channel becomes (a * old + (255 - a) * new) / 255.
// On failure the picture is left as it was and error holds "Error Opening File <name>!" when the
// file cannot be opened, else "Error Reading File! <name>: <reason>" (not a PNG, damaged,
// truncated, too large).
bool LoadPngBitmap(const std::filesystem::path& file, Picture& picture, std::string* error);

}  // namespace vantrel
