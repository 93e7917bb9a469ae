#include "runtime/picture_decode.h"

#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <png.h>

namespace moyuan {

namespace {

// --- Little-endian fields ---------------------------------------------------------------

std::uint32_t le16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int64_t signed32(std::uint32_t v) {
    return v <= 0x7FFFFFFFu ? static_cast<std::int64_t>(v)
                            : static_cast<std::int64_t>(v) - (std::int64_t{1} << 32);
}

// Width and height a control can hold: both positive, neither side above the largest side,
// and no more pixels than the largest picture. Every size check is done in 64 bits, so a
// 32-bit build cannot wrap around.
bool acceptableSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxPictureSide || height > kMaxPictureSide) return false;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <=
           kMaxPicturePixels;
}

Image blankImage(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    return image;
}

// --- BMP --------------------------------------------------------------------------------

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::optional<Image> decodeBmp(std::span<const std::uint8_t> bytes) {
    // The file header and the info header's own size field.
    if (bytes.size() < kFileHeaderSize + 4) return std::nullopt;
    const std::uint8_t* file = bytes.data();
    const std::uint64_t pixelOffset = le32(file + 10);
    const std::uint8_t* info = file + kFileHeaderSize;
    const std::uint64_t infoSize = le32(info);

    // The 12-byte core header of old OS/2 pictures is not read; anything from the 40-byte
    // header up (the 52, 56, 108 and 124-byte versions) starts with the same fields.
    if (infoSize < kInfoHeaderSize) return std::nullopt;
    if (kFileHeaderSize + infoSize > bytes.size()) return std::nullopt;

    const std::int64_t width = signed32(le32(info + 4));
    const std::int64_t signedHeight = signed32(le32(info + 8));
    const std::uint32_t planes = le16(info + 12);
    const std::uint32_t bitsPerPixel = le16(info + 14);
    const std::uint32_t compression = le32(info + 16);

    if (planes != 1) return std::nullopt;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;

    // A negative height stores the rows top-down; the magnitude of the smallest 32-bit value
    // still fits the 64-bit height.
    const bool topDown = signedHeight < 0;
    const std::int64_t height = topDown ? -signedHeight : signedHeight;
    if (!acceptableSize(width, height)) return std::nullopt;

    // With BI_BITFIELDS the three colour masks follow the 40-byte header (they are part of
    // the larger headers); only the usual 8-8-8 layout is read. An alpha mask is present in
    // headers of 56 bytes and up; it is used when it names the fourth byte.
    std::uint64_t headersEnd = kFileHeaderSize + infoSize;
    bool useAlpha = false;
    if (compression == kBiBitfields) {
        if (bitsPerPixel != 32) return std::nullopt;
        const std::uint64_t masksEnd = kFileHeaderSize + kInfoHeaderSize + 12;
        if (masksEnd > bytes.size()) return std::nullopt;
        if (le32(info + 40) != 0x00FF0000u || le32(info + 44) != 0x0000FF00u ||
            le32(info + 48) != 0x000000FFu)
            return std::nullopt;
        if (infoSize >= 56) {
            const std::uint32_t alphaMask = le32(info + 52);
            if (alphaMask != 0 && alphaMask != 0xFF000000u) return std::nullopt;
            useAlpha = alphaMask == 0xFF000000u;
        }
        if (headersEnd < masksEnd) headersEnd = masksEnd;
    } else if (compression != kBiRgb) {
        return std::nullopt;
    }

    // The pixel rows lie behind the headers, and all of them lie inside the file.
    const std::uint64_t stride = ((bitsPerPixel * static_cast<std::uint64_t>(width) + 31) / 32) * 4;
    const std::uint64_t rowsSize = stride * static_cast<std::uint64_t>(height);
    if (pixelOffset < headersEnd || pixelOffset > bytes.size()) return std::nullopt;
    if (rowsSize > bytes.size() - pixelOffset) return std::nullopt;

    // Every size is now known to be backed by bytes of the file: only now is memory taken.
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    Image image = blankImage(w, h);
    const std::size_t pixelBytes = bitsPerPixel / 8;
    for (int y = 0; y < h; ++y) {
        const int sourceRow = topDown ? y : h - 1 - y;
        const std::uint8_t* src = file + pixelOffset + static_cast<std::size_t>(sourceRow) * stride;
        std::uint8_t* dst = image.rgba.data() + static_cast<std::size_t>(y) * w * 4;
        for (int x = 0; x < w; ++x, src += pixelBytes, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = useAlpha ? src[3] : 0xFF;
        }
    }
    return image;
}

// --- PNG --------------------------------------------------------------------------------

constexpr std::size_t kPngSignatureSize = 8;

// Deflate cannot expand its input more than 1032-fold (a 258-byte match in two bits), so a
// file of N bytes holds at most about 1032 x N bytes of image data. A header that claims
// more pixels than the file could possibly carry is refused before the picture is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// Ancillary chunks (text, colour profiles) are never needed; they may not make libpng keep
// more than these.
constexpr png_uint_32 kPngChunkCacheMax = 64;
constexpr png_alloc_size_t kPngChunkMallocMax = 1u << 20;

// The file being read: every read is checked against its end.
struct PngSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, std::size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->position) png_error(png, "read past the end");
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

// libpng reports errors here; control goes straight back to the setjmp of the reading
// function, and nothing is printed.
[[noreturn]] void failSilently(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// No single allocation of libpng's may exceed this. Its largest real needs are a few rows of
// the widest picture (65535 x 8 bytes each); a chunk whose length field lies (a 2 GB text
// chunk in a 100-byte file) would otherwise be allocated in full before the reads behind it
// fail, as libpng's own chunk size limit only warns. A refused chunk buffer makes libpng skip
// the chunk, and skipping past the end of the file fails the decode.
constexpr png_alloc_size_t kPngAllocationMax = 8u << 20;

png_voidp boundedMalloc(png_structp, png_alloc_size_t size) {
    return size <= kPngAllocationMax ? std::malloc(size) : nullptr;
}

void boundedFree(png_structp, png_voidp memory) {
    std::free(memory);
}

// Owns libpng's reading state for one decode.
class PngReadState {
public:
    PngReadState()
        : png_(png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, failSilently,
                                        ignoreWarning, nullptr, boundedMalloc, boundedFree)) {
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngReadState() {
        if (png_ != nullptr) png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
    }
    PngReadState(const PngReadState&) = delete;
    PngReadState& operator=(const PngReadState&) = delete;

    bool valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// What the header says, after the transformations to 8-bit RGBA are set up.
struct PngHeader {
    png_uint_32 width;
    png_uint_32 height;
    std::size_t rowBytes;
};

// The two functions that call setjmp hold only trivially destructible values, and the
// frames libpng jumps across (its own and readFromMemory) hold nothing with a destructor:
// a png_error never skips a C++ destructor. Everything owned lives in decodePng, which
// calls them.
#ifdef _MSC_VER
#pragma warning(disable : 4611) // setjmp and C++ destruction: nothing here is destroyed
#endif

// Reads the chunks up to the image data, checks the size and sets up 8-bit RGBA rows.
bool readPngHeader(png_structp png, png_infop info, PngSource* source, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_cache_max(png, kPngChunkCacheMax);
    png_set_chunk_malloc_max(png, kPngChunkMallocMax);
    png_set_read_fn(png, source, readFromMemory);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // The fuzzer's mutations would nearly all die at a checksum: there, they are not checked.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
#endif
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!acceptableSize(width, height)) return false;

    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const std::uint64_t channels = png_get_channels(png, info);
    const std::uint64_t storedBytes =
        static_cast<std::uint64_t>(width) * height * channels * static_cast<std::uint64_t>(bitDepth) / 8;
    if (storedBytes / kMaxInflateRatio > source->size) return false;

    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparentColour = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparentColour) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !transparentColour)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4) return false;
    header->width = width;
    header->height = height;
    header->rowBytes = png_get_rowbytes(png, info);
    return header->rowBytes == static_cast<std::size_t>(width) * 4;
}

// Reads every row (all seven passes of an interlaced picture) and the chunks behind them.
bool readPngRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

std::optional<Image> decodePng(std::span<const std::uint8_t> bytes) {
    PngReadState state;
    if (!state.valid()) return std::nullopt;
    PngSource source{bytes.data(), bytes.size(), 0};
    PngHeader header{};
    if (!readPngHeader(state.png(), state.info(), &source, &header)) return std::nullopt;

    Image image = blankImage(static_cast<int>(header.width), static_cast<int>(header.height));
    std::vector<png_bytep> rows(header.height);
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = image.rgba.data() + y * header.rowBytes;
    if (!readPngRows(state.png(), state.info(), rows.data())) return std::nullopt;
    return image;
}

bool isPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kPngSignatureSize &&
           png_sig_cmp(bytes.data(), 0, kPngSignatureSize) == 0;
}

bool isBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

std::uint8_t blendChannel(std::uint32_t alpha, std::uint32_t colour, std::uint32_t background) {
    // 255 is odd, so an exact half never occurs and adding 127 rounds to nearest.
    return static_cast<std::uint8_t>((alpha * colour + (255 - alpha) * background + 127) / 255);
}

} // namespace

std::optional<Image> decodePicture(std::span<const std::uint8_t> bytes) {
    if (isBmp(bytes)) return decodeBmp(bytes);
    if (isPng(bytes)) return decodePng(bytes);
    return std::nullopt;
}

void blendOver(Image& image, std::uint8_t bgRed, std::uint8_t bgGreen, std::uint8_t bgBlue) {
    const std::size_t whole = image.rgba.size() / 4 * 4;
    for (std::size_t i = 0; i < whole; i += 4) {
        std::uint8_t* p = image.rgba.data() + i;
        const std::uint32_t alpha = p[3];
        if (alpha == 255) continue;
        p[0] = blendChannel(alpha, p[0], bgRed);
        p[1] = blendChannel(alpha, p[1], bgGreen);
        p[2] = blendChannel(alpha, p[2], bgBlue);
        p[3] = 255;
    }
}

} // namespace moyuan
