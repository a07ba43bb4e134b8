#include "BmpDecoder.h"

#include "tavctrls/platform/BitmapFile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tav::platform::bmp {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t Read32(const unsigned char* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

std::uint32_t Read16(const unsigned char* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8;
}

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

std::string Hex(std::uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += digits[value >> shift & 15];
    return text;
}

// One colour channel of a bit-field pixel: where it lies and how wide it is.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    // The channel's value scaled to 8 bits, rounded down; 6-bit values are widened as the SDL-based loader
    // widened them (4v + v / 24), so that pictures look as they always did.
    std::uint32_t Expand(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8)
            return value >> (bits - 8);
        return bits == 6 ? 4 * value + value / 24 : value * 255 / ((1u << bits) - 1);
    }
};

bool MakeChannel(std::uint32_t mask, int depth, Channel& channel, std::string& error) {
    channel = {mask, 0, 0};
    if (mask == 0)
        return Fail(error, "a colour mask is empty");
    if (depth < 32 && mask >> depth != 0)
        return Fail(error,
                    "the colour mask " + Hex(mask) + " does not fit " + std::to_string(depth) + " bits");
    while ((mask >> channel.shift & 1) == 0)
        ++channel.shift;
    const std::uint64_t run = std::uint64_t{mask} >> channel.shift;
    while (run >> channel.bits & 1)
        ++channel.bits;
    if ((run >> channel.bits) != 0)
        return Fail(error, "the colour mask " + Hex(mask) + " is not one run of bits");
    return true;
}

// Writes palette indices into rows, refusing an index the palette does not have.
class IndexedSink {
public:
    IndexedSink(PixelBuffer& pixels, const std::vector<std::uint32_t>& palette)
        : pixels_(pixels), palette_(palette) {}

    bool Put(int x, int y, unsigned index, std::string& error) {
        if (index >= palette_.size())
            return Fail(error, "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") uses colour " +
                                   std::to_string(index) + " of a palette of " +
                                   std::to_string(palette_.size()));
        pixels_.Set(x, y, palette_[index]);
        return true;
    }

private:
    PixelBuffer& pixels_;
    const std::vector<std::uint32_t>& palette_;
};

// Run-length compressed rows (8 or 4 bits a pixel), always stored bottom-up.
bool DecodeRle(const unsigned char* data, std::size_t size, bool fourBits, IndexedSink sink, int width,
               int height, std::string& error) {
    const std::string cutOff = "the compressed pixels are cut off";
    std::size_t at = 0;
    int x = 0;
    int row = 0; // counted from the bottom
    const auto put = [&](unsigned count, const auto& indexAt) {
        if (row >= height || count > unsigned(width - x))
            return Fail(error,
                        "a compressed run passes the end of row " + std::to_string(row) + " from the bottom");
        for (unsigned i = 0; i < count; ++i, ++x)
            if (!sink.Put(x, height - 1 - row, indexAt(i), error))
                return false;
        return true;
    };
    for (;;) {
        if (size - at < 2)
            return Fail(error, cutOff);
        const unsigned count = data[at];
        const unsigned code = data[at + 1];
        at += 2;
        if (count > 0) {
            if (!put(count, [&](unsigned i) { return fourBits ? (i % 2 ? code & 15 : code >> 4) : code; }))
                return false;
        } else if (code == 0) { // end of the row
            x = 0;
            ++row;
        } else if (code == 1) { // end of the bitmap
            return true;
        } else if (code == 2) { // move right and up
            if (size - at < 2)
                return Fail(error, cutOff);
            x += data[at];
            row += data[at + 1];
            at += 2;
            if (x > width || row > height)
                return Fail(error, "a compressed move leaves the bitmap");
        } else { // `code` pixels stored as they are, padded to a 16-bit boundary
            const std::size_t bytes = fourBits ? (code + 1) / 2 : code;
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (size - at < padded)
                return Fail(error, cutOff);
            const unsigned char* run = data + at;
            if (!put(code,
                     [&](unsigned i) { return fourBits ? run[i / 2] >> (i % 2 ? 0 : 4) & 15u : run[i]; }))
                return false;
            at += padded;
        }
    }
}

} // namespace

bool ReadHeader(const unsigned char* bytes, std::size_t size, std::uint64_t fileSize, Header& header,
                std::string& error) {
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(error, "not a BMP file");
    if (size < 14 + 12)
        return Fail(error, "the BMP header is cut off");
    Header read;
    read.dataOffset = Read32(bytes + 10);
    read.infoSize = Read32(bytes + 14);
    if (read.infoSize == 12) { // the old core header: 16-bit sizes, no compression
        read.width = Read16(bytes + 18);
        read.height = Read16(bytes + 20);
        read.bits = int(Read16(bytes + 24));
    } else if (read.infoSize == 40 || read.infoSize == 52 || read.infoSize == 56 || read.infoSize == 108 ||
               read.infoSize == 124) {
        if (size < kHeaderBytes)
            return Fail(error, "the BMP header is cut off");
        read.width = std::int32_t(Read32(bytes + 18));
        read.height = std::int32_t(Read32(bytes + 22));
        read.bits = int(Read16(bytes + 28));
        read.compression = Read32(bytes + 30);
        read.coloursUsed = Read32(bytes + 46);
    } else {
        return Fail(error, "unsupported BMP header of " + std::to_string(read.infoSize) + " bytes");
    }
    if (read.height < 0) {
        read.topDown = true;
        read.height = -read.height;
    }
    const std::string size_text = std::to_string(read.width) + " x " + std::to_string(read.height);
    if (read.width < 1 || read.height < 1)
        return Fail(error, "the bitmap has no pixels (" + size_text + ")");
    if (read.width > kMaxBitmapSide || read.height > kMaxBitmapSide ||
        read.width * read.height > kMaxBitmapPixels)
        return Fail(error, "too large for a bitmap (" + size_text + "; at most " +
                               std::to_string(kMaxBitmapPixels) + " pixels, " +
                               std::to_string(kMaxBitmapSide) + " on a side)");
    const int bits = read.bits;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(error, "unsupported depth of " + std::to_string(bits) + " bits a pixel");
    const std::uint32_t compression = read.compression;
    const bool known = compression == kRgb || (compression == kRle8 && bits == 8) ||
                       (compression == kRle4 && bits == 4) ||
                       (compression == kBitFields && (bits == 16 || bits == 32));
    if (!known)
        return Fail(error, "unsupported compression " + std::to_string(compression) + " at " +
                               std::to_string(bits) + " bits a pixel");
    if (compression != kRgb && compression != kBitFields && read.topDown)
        return Fail(error, "compressed rows cannot be stored top-down");
    const std::uint64_t headers =
        14 + read.infoSize + (compression == kBitFields && read.infoSize < 52 ? 12 : 0);
    if (read.dataOffset < headers || read.dataOffset > fileSize)
        return Fail(error, "the pixel data's offset " + std::to_string(read.dataOffset) + " lies " +
                               (read.dataOffset < headers ? "inside the headers" : "past the file's end"));
    header = read;
    return true;
}

bool Decode(const unsigned char* bytes, std::size_t size, PixelBuffer& pixels, std::string& error) {
    Header header;
    if (!ReadHeader(bytes, size, size, header, error))
        return false;
    const int width = int(header.width);
    const int height = int(header.height);
    const int bits = header.bits;
    const unsigned char* data = bytes + header.dataOffset;
    const std::size_t dataSize = size - header.dataOffset;

    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        // Entries beyond what lies before the pixels are missing; a pixel that uses one is refused.
        const std::size_t entryBytes = header.infoSize == 12 ? 3 : 4;
        const std::size_t start = 14 + header.infoSize;
        std::size_t count = std::size_t{1} << bits;
        if (header.coloursUsed != 0 && header.coloursUsed < count)
            count = header.coloursUsed;
        count = std::min(count, (header.dataOffset - start) / entryBytes);
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char* entry = bytes + start + i * entryBytes;
            palette.push_back(std::uint32_t{entry[2]} << 16 | std::uint32_t{entry[1]} << 8 | entry[0]);
        }
        if (palette.empty())
            return Fail(error, "the bitmap has no palette");
    }
    std::array<Channel, 3> channels{}; // red, green, blue
    if (header.compression == kBitFields) {
        for (int c = 0; c < 3; ++c)
            if (!MakeChannel(Read32(bytes + 14 + 40 + 4 * c), bits, channels[std::size_t(c)], error))
                return false;
    } else if (bits == 16) {
        channels = {Channel{0x7C00, 10, 5}, Channel{0x3E0, 5, 5}, Channel{0x1F, 0, 5}};
    } else {
        channels = {Channel{0xFF0000, 16, 8}, Channel{0xFF00, 8, 8}, Channel{0xFF, 0, 8}};
    }

    const bool compressed = header.compression == kRle8 || header.compression == kRle4;
    const std::size_t stride = (std::size_t(width) * std::size_t(bits) + 31) / 32 * 4;
    if (!compressed && dataSize / stride < std::size_t(height))
        return Fail(error, "the pixel data is cut off (" + std::to_string(dataSize) + " of " +
                               std::to_string(stride * std::size_t(height)) + " bytes)");
    PixelBuffer result;
    if (!result.Allocate(width, height))
        return Fail(error, "cannot hold the bitmap's pixels");
    IndexedSink sink(result, palette);
    if (compressed) {
        FillRect(result, result.Bounds(), palette[0]); // where no run reaches
        if (!DecodeRle(data, dataSize, header.compression == kRle4, sink, width, height, error))
            return false;
        pixels = std::move(result);
        return true;
    }
    for (int r = 0; r < height; ++r) {
        const unsigned char* in = data + std::size_t(r) * stride;
        const int y = header.topDown ? r : height - 1 - r;
        std::uint32_t* out = result.Row(y);
        if (bits == 24) { // blue, green and red bytes (never bit fields): no channel arithmetic
            for (const unsigned char* at = in; at != in + 3 * std::size_t(width); at += 3)
                *out++ = std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16;
            continue;
        }
        for (int x = 0; x < width; ++x) {
            if (bits <= 8) {
                const int bit = x * bits;
                const unsigned index = in[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
                if (!sink.Put(x, y, index, error))
                    return false;
                continue;
            }
            const unsigned char* at = in + std::size_t(x) * std::size_t(bits / 8);
            const std::uint32_t pixel = bits == 16 ? Read16(at) : Read32(at);
            out[x] =
                channels[0].Expand(pixel) << 16 | channels[1].Expand(pixel) << 8 | channels[2].Expand(pixel);
        }
    }
    pixels = std::move(result);
    return true;
}

} // namespace tav::platform::bmp
