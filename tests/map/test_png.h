// Writing small PNG files with libpng for the loader's tests.
#pragma once

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::test {

struct PngSpec {
    int width = 1, height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    std::vector<std::vector<unsigned char>> rows;  // packed as the PNG stores them, big-endian
    std::vector<png_color> palette;
    std::vector<unsigned char> paletteAlpha;       // tRNS of a palette image
};

inline void WritePng(const std::filesystem::path& file, const PngSpec& spec) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        throw std::runtime_error("writing a test PNG failed");
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.paletteAlpha.empty())
        png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()), nullptr);
    png_write_info(png, info);
    for (const auto& row : spec.rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

}  // namespace vantrel::test
