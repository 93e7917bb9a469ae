#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <zlib.h>

#include "capture/picture_bytes.h"
#include "runtime/picture_decode.h"

#if defined(__SANITIZE_ADDRESS__)
#define MOYUAN_WATCH_ALLOCATIONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOYUAN_WATCH_ALLOCATIONS 1
#endif
#endif

#ifdef MOYUAN_WATCH_ALLOCATIONS
// The sanitizer runtime's allocation hooks (declared here: GCC does not ship the header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t), void (*free_hook)(const volatile void*));
#endif

namespace moyuan {
namespace {

using Bytes = std::vector<std::uint8_t>;

// --- Watching allocations -------------------------------------------------------------------
// Under AddressSanitizer every allocation (malloc inside libpng and zlib, operator new in the
// decoder) passes a hook; it records the largest one made while a decode is watched.

#ifdef MOYUAN_WATCH_ALLOCATIONS
std::atomic<bool> watching{false};
std::atomic<std::size_t> largestAllocation{0};

void onMalloc(const volatile void*, std::size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return;
    std::size_t seen = largestAllocation.load(std::memory_order_relaxed);
    while (size > seen &&
           !largestAllocation.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
}

void onFree(const volatile void*) {}

bool hooksInstalled() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
    return installed;
}
#endif

struct WatchedDecode {
    std::optional<Image> image;
    std::optional<std::size_t> largestAllocation; // empty when it cannot be watched
};

WatchedDecode decodeWatched(std::span<const std::uint8_t> bytes) {
    WatchedDecode result;
#ifdef MOYUAN_WATCH_ALLOCATIONS
    if (hooksInstalled()) {
        largestAllocation = 0;
        watching = true;
        result.image = decodePicture(bytes);
        watching = false;
        result.largestAllocation = largestAllocation.load();
        return result;
    }
#endif
    result.image = decodePicture(bytes);
    return result;
}

// Well below any picture a lying header asks for (a gigabyte and up), well above libpng's
// and zlib's own working memory for the small inputs here.
constexpr std::size_t kSmallAllocation = 1u << 20;

void expectRefused(std::span<const std::uint8_t> bytes) {
    const WatchedDecode decoded = decodeWatched(bytes);
    EXPECT_FALSE(decoded.image.has_value());
    if (decoded.largestAllocation) {
        EXPECT_LT(*decoded.largestAllocation, kSmallAllocation);
    }
}

// --- Bytes ----------------------------------------------------------------------------------

void put16le(Bytes& b, std::size_t at, std::uint32_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void put32le(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

void append32be(Bytes& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}

Bytes readFixture(const std::string& name) {
    const std::string path = std::string(MOYUAN_SOURCE_DIR) + "/tests/fixtures/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) ADD_FAILURE() << "missing fixture " << path << " (tools/make_fixtures.py)";
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// --- Pixels ---------------------------------------------------------------------------------

struct Rgba {
    std::uint8_t r, g, b, a;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

std::ostream& operator<<(std::ostream& out, const Rgba& p) {
    return out << "(" << int(p.r) << "," << int(p.g) << "," << int(p.b) << "," << int(p.a) << ")";
}

using PixelFormula = std::function<Rgba(int x, int y)>;

std::uint8_t low8(int v) { return static_cast<std::uint8_t>(v & 255); }

Rgba pixelAt(const Image& image, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * image.width + x) * 4;
    return {image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]};
}

// Checks size and every pixel; reports the first pixel that differs.
void expectPixels(const std::optional<Image>& image, int width, int height,
                  const PixelFormula& expected) {
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(image->height, height);
    ASSERT_EQ(image->rgba.size(), static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixelAt(*image, x, y) != expected(x, y)) {
                ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << pixelAt(*image, x, y)
                              << ", expected " << expected(x, y);
                return;
            }
}

// The pixels tools/make_fixtures.py writes (the same formulas).
Rgba adam7Rgba(int x, int y) {
    return {low8(x * 29 + y * 7), low8(x * 11 + y * 37 + 5), low8(x * x + y * 53),
            low8(x * 17 + y * 31 + 9)};
}

constexpr std::array<std::array<std::uint8_t, 3>, 6> kPalette = {
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {250, 240, 10}, {12, 34, 56}, {200, 100, 50}}};
constexpr std::array<std::uint8_t, 3> kPaletteAlpha = {255, 128, 0};

Rgba paletteRgba(int x, int y) {
    const std::size_t index = static_cast<std::size_t>(x + 2 * y) % kPalette.size();
    const auto& c = kPalette[index];
    return {c[0], c[1], c[2], index < kPaletteAlpha.size() ? kPaletteAlpha[index] : std::uint8_t{255}};
}

Rgba gray16Rgba(int x, int y) {
    const std::uint8_t v = low8((x * 40 + y * 70) % 256); // stored as v x 257 in 16 bits
    return {v, v, v, 255};
}

constexpr Rgba kRgb8Transparent = {10, 200, 30, 255};

Rgba rgb8Rgba(int x, int y) {
    if ((x + y) % 3 == 0) return {kRgb8Transparent.r, kRgb8Transparent.g, kRgb8Transparent.b, 0};
    return {low8(x * 40), low8(y * 60), 99, 255};
}

Rgba bmpRgb(int x, int y) { return {low8(x * 50 + 7), low8(y * 80 + 3), low8(x * 13 + y * 29), 255}; }

Rgba bmpRgba(int x, int y) {
    Rgba p = bmpRgb(x, y);
    p.a = low8(x * 60 + y * 90 + 15);
    return p;
}

// --- Decoding the fixtures ------------------------------------------------------------------

struct FixtureCase {
    const char* file;
    int width, height;
    PixelFormula pixels;
};

TEST(PictureDecode, FixturesDecodeToTheirPixels) {
    const FixtureCase cases[] = {
        // Adam7: at 9 x 7 every one of the seven passes holds pixels.
        {"rgba_adam7_9x7.png", 9, 7, adam7Rgba},
        // 4-bit palette indexes with a tRNS chunk giving some entries alpha.
        {"palette4_trns_5x4.png", 5, 4, paletteRgba},
        // 16-bit grey: scaled to 8 bits, spread over red, green and blue, opaque.
        {"gray16_6x3.png", 6, 3, gray16Rgba},
        // 8-bit RGB whose tRNS colour becomes alpha 0 (the colour itself stays).
        {"rgb8_trns_6x4.png", 6, 4, rgb8Rgba},
        // 24-bit, bottom-up, rows padded from 15 to 16 bytes.
        {"rgb24_bottom_up_5x3.bmp", 5, 3, bmpRgb},
        // 124-byte header, BI_BITFIELDS with an alpha mask, top-down.
        {"rgba32_v5_top_down_4x3.bmp", 4, 3, bmpRgba},
    };
    for (const FixtureCase& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = readFixture(c.file);
        expectPixels(decodePicture(bytes), c.width, c.height, c.pixels);
    }
}

TEST(PictureDecode, ReadsBackOurOwnPictureBytes) {
    constexpr int kWidth = 7, kHeight = 4; // 21 pixel bytes, 3 padding bytes a row
    PictureBytes picture = makePictureBytes(kWidth, kHeight);
    std::span<std::uint8_t> rows = pictureRows(picture);
    const std::size_t stride = bmpStride(kWidth);
    for (int y = 0; y < kHeight; ++y) {
        // The rows are stored bottom row first, blue-green-red.
        std::uint8_t* row = rows.data() + static_cast<std::size_t>(kHeight - 1 - y) * stride;
        for (int x = 0; x < kWidth; ++x) {
            const Rgba p = bmpRgb(x, y);
            row[3 * x] = p.b;
            row[3 * x + 1] = p.g;
            row[3 * x + 2] = p.r;
        }
    }
    expectPixels(decodePicture(picture), kWidth, kHeight, bmpRgb);
}

// --- BMP header layouts ---------------------------------------------------------------------

struct BmpLayout {
    const char* name;
    std::uint32_t infoSize;     // 40, 108 or 124
    int bitsPerPixel;           // 24 or 32
    bool topDown;
    std::uint32_t compression;  // 0 BI_RGB or 3 BI_BITFIELDS
    std::uint32_t alphaMask;    // written in headers of 56 bytes and up
    std::uint32_t gap;          // bytes between the headers and the pixels
};

constexpr int kLayoutWidth = 5, kLayoutHeight = 3;

// A BMP of the bmpRgba pixels (the fourth byte of a 32-bit pixel holds their alpha).
Bytes writeBmp(const BmpLayout& layout, std::array<std::uint32_t, 3> masks = {
                                           0x00FF0000u, 0x0000FF00u, 0x000000FFu}) {
    const std::size_t bytesPerPixel = static_cast<std::size_t>(layout.bitsPerPixel / 8);
    const std::size_t stride = (bytesPerPixel * kLayoutWidth + 3) / 4 * 4;
    // With BI_BITFIELDS the masks take 12 bytes at the end of the 40 bytes, which a
    // 40-byte header does not hold.
    const bool bitfields = layout.compression == 3;
    const std::size_t headers = 14 + std::max<std::size_t>(layout.infoSize, bitfields ? 52 : 0);
    const std::size_t offset = headers + layout.gap;
    Bytes b(offset + stride * kLayoutHeight, 0xEE);
    b[0] = 'B';
    b[1] = 'M';
    put32le(b, 2, static_cast<std::uint32_t>(b.size()));
    put32le(b, 10, static_cast<std::uint32_t>(offset));
    std::fill(b.begin() + 14, b.begin() + static_cast<std::ptrdiff_t>(headers), 0);
    put32le(b, 14, layout.infoSize);
    put32le(b, 18, kLayoutWidth);
    put32le(b, 22, static_cast<std::uint32_t>(layout.topDown ? -kLayoutHeight : kLayoutHeight));
    put16le(b, 26, 1);
    put16le(b, 28, static_cast<std::uint32_t>(layout.bitsPerPixel));
    put32le(b, 30, layout.compression);
    if (bitfields)
        for (std::size_t i = 0; i < 3; ++i) put32le(b, 54 + 4 * i, masks[i]);
    if (layout.infoSize >= 56) put32le(b, 66, layout.alphaMask);
    for (int y = 0; y < kLayoutHeight; ++y) {
        const int stored = layout.topDown ? y : kLayoutHeight - 1 - y;
        std::uint8_t* row = b.data() + offset + static_cast<std::size_t>(stored) * stride;
        for (int x = 0; x < kLayoutWidth; ++x) {
            const Rgba p = bmpRgba(x, y);
            std::uint8_t* out = row + bytesPerPixel * static_cast<std::size_t>(x);
            out[0] = p.b;
            out[1] = p.g;
            out[2] = p.r;
            if (bytesPerPixel == 4) out[3] = p.a;
        }
    }
    return b;
}

TEST(PictureDecode, BmpHeaderLayouts) {
    struct Case {
        BmpLayout layout;
        bool alphaKept; // otherwise every pixel is opaque
    };
    const Case cases[] = {
        {{"40-byte header, 24-bit, bottom-up", 40, 24, false, 0, 0, 0}, false},
        {{"40-byte header, 24-bit, top-down", 40, 24, true, 0, 0, 0}, false},
        {{"the fourth byte of 32-bit BI_RGB is unused", 40, 32, false, 0, 0, 0}, false},
        {{"bitfields behind a 40-byte header", 40, 32, true, 3, 0, 0}, false},
        {{"108-byte header, pixels after a gap", 108, 24, false, 0, 0, 7}, false},
        {{"124-byte header, bitfields, no alpha mask", 124, 32, false, 3, 0, 0}, false},
        {{"124-byte header, bitfields with an alpha mask", 124, 32, true, 3, 0xFF000000u, 0},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout.name);
        expectPixels(decodePicture(writeBmp(c.layout)), kLayoutWidth, kLayoutHeight,
                     c.alphaKept ? PixelFormula(bmpRgba) : PixelFormula(bmpRgb));
    }
}

// --- Refused BMPs ---------------------------------------------------------------------------

struct Patch {
    std::size_t at;
    std::uint32_t value;
    int size = 4; // bytes
};

struct BmpLie {
    const char* name;
    std::vector<Patch> patches;
};

// Our own 3 x 2 picture: 54 bytes of headers and two rows of 12 bytes.
constexpr int kOursWidth = 3, kOursHeight = 2;
const std::size_t kOursSize = pictureBytesSize(kOursWidth, kOursHeight);

TEST(PictureDecode, RefusesBmpHeadersThatLie) {
    const std::uint32_t size = static_cast<std::uint32_t>(kOursSize);
    const BmpLie lies[] = {
        {"pixel offset beyond the end", {{10, size + 1}}},
        {"pixel offset at the end", {{10, size}}},
        {"pixel offset one byte late: the last row is short", {{10, 55}}},
        {"pixel offset inside the headers", {{10, 20}}},
        {"pixel offset near 4 GB", {{10, 0xFFFFFFF0u}}},
        {"info header beyond the end", {{14, 0xFFFFFFF0u}}},
        {"12-byte core header", {{14, 12}}},
        {"zero width", {{18, 0}}},
        {"negative width", {{18, static_cast<std::uint32_t>(-3)}}},
        {"zero height", {{22, 0}}},
        {"height of the most negative number", {{22, 0x80000000u}}},
        {"more rows than the file holds", {{22, 3}}},
        {"wider rows than the file holds", {{18, 5}}},
        {"top-down with more rows than the file holds", {{22, static_cast<std::uint32_t>(-3)}}},
        {"100000 x 100000", {{18, 100000}, {22, 100000}}},
        {"a side above the largest", {{18, 65536}, {22, 1}}},
        {"more pixels than the largest picture", {{18, 20000}, {22, 20000}}},
        {"the largest picture, in a file of 78 bytes", {{18, 16384}, {22, 16384}}},
        {"rows past 4 GB", {{18, 0x40000000u}, {22, 4}}},
        {"zero planes", {{26, 0, 2}}},
        {"8 bits per pixel", {{28, 8, 2}}},
        {"16 bits per pixel", {{28, 16, 2}}},
        {"RLE8 compression", {{30, 1}}},
        {"bitfields on a 24-bit picture", {{30, 3}}},
    };
    for (const BmpLie& lie : lies) {
        SCOPED_TRACE(lie.name);
        Bytes bytes = makePictureBytes(kOursWidth, kOursHeight);
        for (const Patch& p : lie.patches)
            p.size == 2 ? put16le(bytes, p.at, p.value) : put32le(bytes, p.at, p.value);
        expectRefused(bytes);
    }
}

TEST(PictureDecode, RefusesBitfieldsOtherThan888) {
    const BmpLayout v5{"124-byte header, bitfields", 124, 32, false, 3, 0, 0};
    const std::array<std::uint32_t, 3> masks565 = {0xF800u, 0x07E0u, 0x001Fu};
    const std::array<std::uint32_t, 3> swapped = {0x000000FFu, 0x0000FF00u, 0x00FF0000u};
    expectRefused(writeBmp(v5, masks565));
    expectRefused(writeBmp(v5, swapped));
    BmpLayout oddAlpha = v5;
    oddAlpha.alphaMask = 0x0000FF00u;
    expectRefused(writeBmp(oddAlpha));
}

// --- PNG built byte by byte -----------------------------------------------------------------

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void appendChunk(Bytes& png, const char (&type)[5], const Bytes& data) {
    append32be(png, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    append32be(png, crc32(typed));
}

// A zlib stream holding the bytes in stored (uncompressed) deflate blocks.
Bytes zlibStored(const Bytes& raw) {
    Bytes z = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    append32be(z, b << 16 | a);
    return z;
}

const Bytes kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

Bytes ihdr(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
           std::uint8_t colourType, std::uint8_t interlace = 0) {
    Bytes data;
    append32be(data, width);
    append32be(data, height);
    data.insert(data.end(), {bitDepth, colourType, 0, 0, interlace});
    return data;
}

TEST(PictureDecode, PngBuiltHereDecodes) {
    // The builder below is the one the refusals use: a picture it makes honestly decodes.
    constexpr int kWidth = 3, kHeight = 2;
    Bytes raw;
    for (int y = 0; y < kHeight; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < kWidth; ++x) {
            const Rgba p = adam7Rgba(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    Bytes png = kPngSignature;
    appendChunk(png, "IHDR", ihdr(kWidth, kHeight, 8, 6));
    appendChunk(png, "IDAT", zlibStored(raw));
    appendChunk(png, "IEND", {});
    expectPixels(decodePicture(png), kWidth, kHeight, adam7Rgba);
}

struct PngLie {
    const char* name;
    Bytes header;          // the IHDR data
    Bytes raw;             // what the IDAT inflates to
    bool badHeaderCrc = false;
};

TEST(PictureDecode, RefusesPngHeadersThatLie) {
    const Bytes oneByte = {0};
    const PngLie lies[] = {
        // Each of these claims a picture of gigabytes and holds one byte of image data.
        {"100000 x 100000", ihdr(100000, 100000, 8, 6), oneByte},
        {"a side above the largest", ihdr(70000, 1, 8, 6), oneByte},
        {"more pixels than the largest picture", ihdr(20000, 20000, 8, 6), oneByte},
        {"the largest picture, but almost no data for it", ihdr(16384, 16384, 8, 6), oneByte},
        {"the largest picture in 1-bit grey", ihdr(16384, 16384, 1, 0), oneByte},
        {"width with the top bit set", ihdr(0x80000000u, 1, 8, 6), oneByte},
        {"zero width", ihdr(0, 5, 8, 6), oneByte},
        {"zero height", ihdr(5, 0, 8, 6), oneByte},
        {"three rows of seven", ihdr(9, 7, 8, 6), Bytes(3 * (1 + 9 * 4), 0)},
        {"colour type 5", ihdr(9, 7, 8, 5), Bytes(7 * (1 + 9 * 4), 0)},
        {"4-bit RGBA", ihdr(9, 7, 4, 6), Bytes(7 * (1 + 9 * 2), 0)},
        {"header checksum wrong", ihdr(2, 2, 8, 6), Bytes(2 * (1 + 2 * 4), 0), true},
    };
    for (const PngLie& lie : lies) {
        SCOPED_TRACE(lie.name);
        Bytes png = kPngSignature;
        appendChunk(png, "IHDR", lie.header);
        if (lie.badHeaderCrc) png[8 + 8 + 13] ^= 0x01;
        appendChunk(png, "IDAT", zlibStored(lie.raw));
        appendChunk(png, "IEND", {});
        expectRefused(png);
    }
}

TEST(PictureDecode, RefusesAPngAboveTheLargestPictureThatHoldsAllItsData) {
    // 16385 x 16385 in 1-bit grey, every row present: 33 MB of rows that compress to a few
    // kilobytes. Only the pixel count tells it from a picture that may be decoded.
    constexpr std::uint32_t kSide = 16385;
    const Bytes raw(kSide * (1 + (kSide + 7) / 8), 0);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    ASSERT_EQ(compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9),
              Z_OK);
    packed.resize(packedSize);

    Bytes png = kPngSignature;
    appendChunk(png, "IHDR", ihdr(kSide, kSide, 1, 0));
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    expectRefused(png);
}

TEST(PictureDecode, RefusesAPngChunkLongerThanTheFile) {
    // A text chunk before the image data that claims nearly 2 GB in a file of a hundred bytes:
    // it must not be allocated before the reads behind it fail.
    for (const char* type : {"tEXt", "zTXt", "iCCP", "abCd"}) {
        SCOPED_TRACE(type);
        Bytes png = kPngSignature;
        appendChunk(png, "IHDR", ihdr(2, 2, 8, 6));
        append32be(png, 0x7FFFFFF0u);
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), {'k', 'e', 'y', 0, 0, 'x', 'y', 'z'});
        appendChunk(png, "IDAT", zlibStored(Bytes(2 * (1 + 2 * 4), 0)));
        appendChunk(png, "IEND", {});
        expectRefused(png);
    }
}

// --- Truncated and foreign bytes ------------------------------------------------------------

TEST(PictureDecode, RefusesTruncatedFiles) {
    const Bytes png = readFixture("rgba_adam7_9x7.png");
    const Bytes bmp = readFixture("rgb24_bottom_up_5x3.bmp");
    ASSERT_TRUE(decodePicture(png).has_value());
    ASSERT_TRUE(decodePicture(bmp).has_value());

    struct Cut {
        const Bytes* file;
        const char* where;
        std::size_t keep;
    };
    const Cut cuts[] = {
        {&png, "inside the signature", 5},
        {&png, "after the signature", 8},
        {&png, "inside the header chunk", 20},
        {&png, "before the header checksum", 29},
        {&png, "after the header chunk", 33},
        {&png, "inside the image data", png.size() / 2},
        {&png, "before the end chunk", png.size() - 12},
        {&png, "one byte short", png.size() - 1},
        {&bmp, "inside the file header", 10},
        {&bmp, "after the file header", 14},
        {&bmp, "inside the info header", 30},
        {&bmp, "after the headers", 54},
        {&bmp, "inside the first stored row", 60},
        {&bmp, "one byte short", bmp.size() - 1},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(testing::Message() << cut.where << " (" << cut.keep << " bytes)");
        ASSERT_LT(cut.keep, cut.file->size());
        expectRefused(std::span(cut.file->data(), cut.keep));
    }
}

TEST(PictureDecode, RefusesWhatIsNoPicture) {
    Bytes noise(300);
    std::uint32_t state = 12345;
    for (std::uint8_t& b : noise) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    Bytes pngThenNoise = kPngSignature;
    pngThenNoise.insert(pngThenNoise.end(), noise.begin(), noise.end());
    Bytes bmpThenNoise = {'B', 'M'};
    bmpThenNoise.insert(bmpThenNoise.end(), noise.begin(), noise.end());

    const std::pair<const char*, Bytes> inputs[] = {
        {"empty", {}},
        {"noise", noise},
        {"a PNG signature alone", kPngSignature},
        {"a PNG signature, then noise", pngThenNoise},
        {"BM alone", {'B', 'M'}},
        {"BM, then noise", bmpThenNoise},
        {"a GIF header", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0}},
    };
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        expectRefused(bytes);
    }
    EXPECT_FALSE(decodePicture(std::span<const std::uint8_t>()).has_value());
}

// --- Blending -------------------------------------------------------------------------------

Image onePixel(Rgba p) { return Image{1, 1, {p.r, p.g, p.b, p.a}}; }

TEST(PictureDecode, BlendOverGivenPixels) {
    struct Case {
        Rgba pixel;
        std::array<std::uint8_t, 3> background;
        Rgba expected;
    };
    const Case cases[] = {
        {{93, 195, 233, 227}, {0, 0, 0}, {83, 174, 207, 255}},
        {{93, 195, 233, 0}, {10, 20, 30}, {10, 20, 30, 255}},       // transparent: background
        {{93, 195, 233, 255}, {10, 20, 30}, {93, 195, 233, 255}},   // opaque: unchanged
        {{127, 128, 255, 1}, {0, 0, 0}, {0, 1, 1, 255}},            // 0.498 down, 0.502 up
        {{0, 0, 0, 254}, {255, 128, 127}, {1, 1, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pixel);
        Image image = onePixel(c.pixel);
        blendOver(image, c.background[0], c.background[1], c.background[2]);
        EXPECT_EQ(pixelAt(image, 0, 0), c.expected);
    }
}

TEST(PictureDecode, BlendOverMatchesTheRoundedBlendForEveryAlphaAndColour) {
    // Each row is one alpha, each column one colour value: all 65536 combinations, on three
    // backgrounds, against the blend computed in floating point and rounded.
    for (const std::uint8_t bg : {std::uint8_t{0}, std::uint8_t{77}, std::uint8_t{255}}) {
        SCOPED_TRACE(testing::Message() << "background " << int(bg));
        Image image{256, 256, Bytes(256 * 256 * 4)};
        for (int a = 0; a < 256; ++a)
            for (int c = 0; c < 256; ++c) {
                std::uint8_t* p = image.rgba.data() + (static_cast<std::size_t>(a) * 256 + c) * 4;
                p[0] = static_cast<std::uint8_t>(c);
                p[1] = static_cast<std::uint8_t>(255 - c);
                p[2] = static_cast<std::uint8_t>(c ^ 0x5A);
                p[3] = static_cast<std::uint8_t>(a);
            }
        const Image before = image;
        blendOver(image, bg, bg, bg);

        int wrong = 0;
        for (int a = 0; a < 256 && wrong < 5; ++a)
            for (int c = 0; c < 256 && wrong < 5; ++c) {
                const Rgba in = pixelAt(before, c, a);
                const auto blend = [&](std::uint8_t colour) {
                    const double t = a / 255.0;
                    return static_cast<std::uint8_t>(std::lround(t * colour + (1 - t) * bg));
                };
                const Rgba expected{blend(in.r), blend(in.g), blend(in.b), 255};
                if (pixelAt(image, c, a) != expected) {
                    ++wrong;
                    ADD_FAILURE() << "alpha " << a << ", colour " << in << " gives "
                                  << pixelAt(image, c, a) << ", expected " << expected;
                }
            }
    }
}

} // namespace
} // namespace moyuan
