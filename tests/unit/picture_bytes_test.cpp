#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "capture/picture_bytes.h"

namespace moyuan {
namespace {

std::uint32_t read32(const PictureBytes& p, std::size_t at) {
    return static_cast<std::uint32_t>(p[at]) | static_cast<std::uint32_t>(p[at + 1]) << 8 |
           static_cast<std::uint32_t>(p[at + 2]) << 16 | static_cast<std::uint32_t>(p[at + 3]) << 24;
}

std::uint16_t read16(const PictureBytes& p, std::size_t at) {
    return static_cast<std::uint16_t>(p[at] | p[at + 1] << 8);
}

struct SizeCase {
    int width, height;
    std::size_t stride, total;
};

constexpr SizeCase kSizes[] = {
    {1, 1, 4, 58},              // 3 pixel bytes and 1 padding byte
    {3, 2, 12, 78},             // 9 pixel bytes and 3 padding bytes a row
    {198, 98, 596, 58'462},     // a typical selection: 594 pixel bytes and 2 padding
    {1920, 1080, 5760, 6'220'854}, // a whole screen, no padding
};

TEST(PictureBytes, SizeFollowsThePaddedRows) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_EQ(bmpStride(c.width), c.stride);
        EXPECT_EQ(pictureBytesSize(c.width, c.height), c.total);

        PictureBytes picture = makePictureBytes(c.width, c.height);
        ASSERT_EQ(picture.size(), c.total);
        EXPECT_EQ(read32(picture, 2), c.total);                  // file size
        EXPECT_EQ(read32(picture, 34), c.stride * c.height);     // pixel area size
        EXPECT_EQ(pictureRows(picture).size(), c.stride * c.height);
        EXPECT_EQ(pictureRows(picture).data(), picture.data() + 54);
    }
}

TEST(PictureBytes, PixelAreaAndPaddingStartZeroed) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const PictureBytes picture = makePictureBytes(c.width, c.height);
        ASSERT_EQ(picture.size(), c.total);
        EXPECT_TRUE(std::all_of(picture.begin() + 54, picture.end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
}

TEST(PictureBytes, EveryHeaderFieldOfOnePicture) {
    const PictureBytes p = makePictureBytes(3, 2);
    ASSERT_EQ(p.size(), 78u);
    // File header.
    EXPECT_EQ(p[0], 'B');
    EXPECT_EQ(p[1], 'M');
    EXPECT_EQ(read32(p, 2), 78u);  // file size
    EXPECT_EQ(read16(p, 6), 0u);   // reserved
    EXPECT_EQ(read16(p, 8), 0u);   // reserved
    EXPECT_EQ(read32(p, 10), 54u); // pixel offset
    // Info header.
    EXPECT_EQ(read32(p, 14), 40u);  // header size
    EXPECT_EQ(read32(p, 18), 3u);   // width
    EXPECT_EQ(read32(p, 22), 2u);   // height, positive: bottom-up rows
    EXPECT_EQ(read16(p, 26), 1u);   // planes
    EXPECT_EQ(read16(p, 28), 24u);  // bits per pixel
    EXPECT_EQ(read32(p, 30), 0u);   // no compression
    EXPECT_EQ(read32(p, 34), 24u);  // pixel area: 2 rows of 12 bytes
    EXPECT_EQ(read32(p, 38), 0u);   // horizontal resolution
    EXPECT_EQ(read32(p, 42), 0u);   // vertical resolution
    EXPECT_EQ(read32(p, 46), 0u);   // colours used
    EXPECT_EQ(read32(p, 50), 0u);   // important colours
}

TEST(PictureBytes, RowsOfSomethingTooShortAreEmpty) {
    PictureBytes tooShort(53, 0);
    EXPECT_TRUE(pictureRows(tooShort).empty());
    PictureBytes none;
    EXPECT_TRUE(pictureRows(none).empty());
}

} // namespace
} // namespace moyuan
