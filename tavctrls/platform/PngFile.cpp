#include "tavctrls/platform/PngFile.h"

#include "tavctrls/files/AtomicFile.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace tav::platform {
namespace {

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
}

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void NoFlush(png_structp) {}

// libpng reports errors by a long jump back into Encode; the message is kept for the caller.
void OnPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message != nullptr ? message : "unknown error";
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Encodes into `out`; only plain data lives across the long jump (no destructors are skipped).
bool Encode(const PixelBuffer& pixels, PngChannels channels, std::vector<unsigned char>& out,
            std::vector<png_byte>& row, std::string& failure) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    const bool alpha = channels == PngChannels::Rgba;
    const std::size_t bytes = alpha ? 4 : 3;
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width()),
                 static_cast<png_uint_32>(pixels.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < pixels.height(); ++y) {
        const std::uint32_t* source = pixels.Row(y);
        for (int x = 0; x < pixels.width(); ++x) {
            png_byte* target = row.data() + static_cast<std::size_t>(x) * bytes;
            target[0] = static_cast<png_byte>(source[x] >> 16);
            target[1] = static_cast<png_byte>(source[x] >> 8);
            target[2] = static_cast<png_byte>(source[x]);
            if (alpha)
                target[3] = static_cast<png_byte>(source[x] >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool SavePngFile(const std::string& path, const PixelBuffer& pixels, std::string* error,
                 PngChannels channels) {
    if (pixels.Empty()) {
        SetError(error, "there is no picture to save");
        return false;
    }
    std::vector<unsigned char> out;
    std::vector<png_byte> row(static_cast<std::size_t>(pixels.width()) * 4);
    std::string failure = "out of memory";
    if (!Encode(pixels, channels, out, row, failure)) {
        SetError(error, "cannot encode the picture as PNG: " + failure);
        return false;
    }
    AtomicFile file(path, AtomicFile::Durability::Unsynced);
    if (!file.Open(error))
        return false;
    file.append(reinterpret_cast<const char*>(out.data()), out.size());
    return file.Commit(error);
}

} // namespace tav::platform
