#include "map/png_loader.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

namespace vantrel {

namespace {

// What one decode produces. The libpng structures live here too, so that they are destroyed
// by the caller whichever way the decode ends.
struct DecodeState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_byte> pixels;  // height rows of rowBytes, top row first
    std::vector<png_bytep> rows;   // rows[r] points at row r of pixels
    int width = 0, height = 0;
    int bitDepth = 0, colourType = 0, channels = 0;
    std::size_t rowBytes = 0;
    int bytesPerPixel = 0;
    std::string reason;  // why the decode failed, as libpng or the checks below say it

    ~DecodeState() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// libpng reports errors here; the jump returns to the setjmp in Decode. Never the library's
// default handler, which would end the program when no jump buffer is set.
[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    if (auto* state = static_cast<DecodeState*>(png_get_error_ptr(png)); state && message) state->reason = message;
    std::longjmp(png_jmpbuf(png), 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// Reads the whole image. Only plain data is kept in this frame, so the jump back from the error
// handler skips no destructor; everything that outlives the jump is in the caller's state.
bool Decode(std::FILE* file, DecodeState& s) {
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnPngError, OnPngWarning);
    if (!s.png) return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return false;
    if (setjmp(png_jmpbuf(s.png))) return false;

    // Checked while the header is read, before any image memory is asked for.
    png_set_user_limits(s.png, kMaxPngSide, kMaxPngSide);
    png_init_io(s.png, file);
    png_set_read_status_fn(s.png, nullptr);
    png_read_info(s.png, s.info);
    png_uint_32 w = 0, h = 0;
    png_get_IHDR(s.png, s.info, &w, &h, &s.bitDepth, &s.colourType, nullptr, nullptr, nullptr);
    if (w == 0 || h == 0 || w > kMaxPngSide || h > kMaxPngSide) {
        s.reason = "image size " + std::to_string(w) + "x" + std::to_string(h) + " out of range";
        return false;
    }

    // In the decoded data an alpha of 0 is opaque and 255 fully transparent.
    png_set_invert_alpha(s.png);
    if (s.colourType == PNG_COLOR_TYPE_PALETTE && s.bitDepth <= 8) png_set_expand(s.png);
    if (s.colourType == PNG_COLOR_TYPE_GRAY && s.bitDepth < 8) png_set_expand(s.png);
    if (png_get_valid(s.png, s.info, PNG_INFO_tRNS)) png_set_expand(s.png);
    if (s.bitDepth < 8) png_set_packing(s.png);
    if (s.bitDepth == 16) png_set_swap(s.png);

    png_read_update_info(s.png, s.info);
    png_get_IHDR(s.png, s.info, &w, &h, &s.bitDepth, &s.colourType, nullptr, nullptr, nullptr);
    s.width = static_cast<int>(w);
    s.height = static_cast<int>(h);
    s.channels = png_get_channels(s.png, s.info);
    s.rowBytes = png_get_rowbytes(s.png, s.info);
    s.bytesPerPixel = static_cast<int>(s.rowBytes / w);
    if (s.bitDepth != 8 && s.bitDepth != 16) return false;
    if (s.rowBytes < static_cast<std::size_t>(w) * s.channels * (s.bitDepth / 8)) return false;

    s.pixels.resize(s.rowBytes * h);
    s.rows.resize(h);
    for (png_uint_32 r = 0; r < h; ++r) s.rows[r] = s.pixels.data() + r * s.rowBytes;
    png_read_image(s.png, s.rows.data());
    return true;
}

inline std::uint8_t Blend(std::uint8_t background, std::uint8_t source, unsigned invertedAlpha) {
    return static_cast<std::uint8_t>((invertedAlpha * background + (255 - invertedAlpha) * source) / 255);
}

// The decoded rows into a picture of the image's size over the old picture's content.
void Transfer(DecodeState& s, Picture& picture) {
    if (s.channels == 3 && s.bitDepth == 8 && s.rowBytes == static_cast<std::size_t>(s.width) * 3) {
        // Opaque 8-bit colour: red and blue exchanged where they lie, and the buffer handed over.
        for (std::size_t i = 0; i + 2 < s.pixels.size(); i += 3) std::swap(s.pixels[i], s.pixels[i + 2]);
        picture.width = s.width;
        picture.height = s.height;
        picture.bgr = std::move(s.pixels);
        return;
    }
    Picture out;
    out.width = s.width;
    out.height = s.height;
    out.bgr.assign(static_cast<std::size_t>(s.width) * s.height * 3, 0xFF);
    const int keepWidth = std::min(picture.width, s.width), keepHeight = std::min(picture.height, s.height);
    for (int y = 0; y < keepHeight; ++y)
        std::copy_n(picture.bgr.data() + picture.Offset(0, y), static_cast<std::size_t>(keepWidth) * 3,
                    out.bgr.data() + out.Offset(0, y));

    const int step = s.bitDepth / 8;     // bytes per sample
    const int high = step - 1;           // after the swap a 16-bit sample's high byte comes second
    const bool alpha = s.channels == 2 || s.channels == 4;
    const bool colour = s.channels >= 3;
    for (int y = 0; y < s.height; ++y) {
        const png_byte* from = s.rows[y];
        std::uint8_t* to = out.bgr.data() + out.Offset(0, y);
        for (int x = 0; x < s.width; ++x, from += s.bytesPerPixel, to += 3) {
            const std::uint8_t r = from[high];
            const std::uint8_t g = colour ? from[step + high] : r;
            const std::uint8_t b = colour ? from[2 * step + high] : r;
            const unsigned a = alpha ? from[(s.channels - 1) * step + high] : 0;
            if (a == 0) {
                to[0] = b;
                to[1] = g;
                to[2] = r;
            } else if (a != 255) {
                to[0] = Blend(to[0], b, a);
                to[1] = Blend(to[1], g, a);
                to[2] = Blend(to[2], r, a);
            }
        }
    }
    picture = std::move(out);
}

}  // namespace

bool LoadPngBitmap(const std::filesystem::path& file, Picture& picture, std::string* error) {
    std::FILE* handle = std::fopen(file.c_str(), "rb");
    if (!handle) {
        if (error) *error = "Error Opening File " + file.string() + "!";
        return false;
    }
    bool ok = false;
    std::string reason;
    {
        DecodeState state;
        try {
            ok = Decode(handle, state);
            if (ok) Transfer(state, picture);
        } catch (const std::bad_alloc&) {
            ok = false;
            state.reason = "not enough memory";
        }
        reason = state.reason.empty() ? "unsupported image form" : state.reason;
    }
    std::fclose(handle);
    if (!ok && error) *error = "Error Reading File! " + file.string() + ": " + reason;
    return ok;
}

}  // namespace vantrel
