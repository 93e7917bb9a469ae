#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "capture/region_selection.h"
#include "tests/support/bmp_reader.h"
#include "tests/support/program_fixture.h"

namespace moyuan::test {
namespace {

struct Drag {
    const char* name;
    int x0, y0, x1, y1;
    friend void PrintTo(const Drag& d, std::ostream* os) { *os << d.name; }
};

// The same outline, columns 100 and 299 and rows 100 and 199, dragged four ways.
constexpr Drag kDirections[] = {
    {"DownRight", 100, 100, 300, 200},
    {"DownLeft", 300, 100, 100, 200},
    {"UpRight", 100, 200, 300, 100},
    {"UpLeft", 300, 200, 100, 100},
};

class SelectingARegion : public RunningProgram, public testing::WithParamInterface<Drag> {};

TEST_P(SelectingARegion, CapturesExactlyTheInsideOfTheOutline) {
    const Drag d = GetParam();
    enterCaptureMode();
    drag(d.x0, d.y0, d.x1, d.y1);

    EXPECT_EQ(runtime.bounds(画板2), (Bounds{101, 101, 198, 98}));
    ASSERT_EQ(state().capturedPicture.size(), 58'462u);
    EXPECT_EQ(runtime.picture(图片框1), state().capturedPicture);

    const std::optional<Image> picture = readBmp(state().capturedPicture);
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, 198);
    ASSERT_EQ(picture->height, 98);
    int mismatches = 0;
    for (int y = 0; y < 98; ++y)
        for (int x = 0; x < 198; ++x)
            if (!(picture->at(x, y) == patternColour(101 + x, 101 + y))) ++mismatches;
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(std::count(picture->pixels.begin(), picture->pixels.end(), kOutlineRed), 0);
}

TEST_P(SelectingARegion, DrawsTheOutlineOnTheFrozenScreen) {
    const Drag d = GetParam();
    enterCaptureMode();
    drag(d.x0, d.y0, d.x1, d.y1);

    const Image shown = runtime.displayedScreen();
    for (int y = 100; y <= 199; ++y) {
        EXPECT_EQ(shown.at(100, y), kOutlineRed) << "left, row " << y;
        EXPECT_EQ(shown.at(299, y), kOutlineRed) << "right, row " << y;
    }
    for (int x = 100; x <= 299; ++x) {
        EXPECT_EQ(shown.at(x, 100), kOutlineRed) << "top, column " << x;
        EXPECT_EQ(shown.at(x, 199), kOutlineRed) << "bottom, column " << x;
    }
    // Just outside and just inside the outline the frozen screen shows through.
    const struct { int x, y; } around[] = {{99, 150}, {300, 150}, {200, 99}, {200, 200},
                                          {101, 150}, {298, 150}, {200, 101}, {200, 198}};
    for (const auto& p : around)
        EXPECT_EQ(shown.at(p.x, p.y), patternColour(p.x, p.y)) << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(FourDirections, SelectingARegion, testing::ValuesIn(kDirections),
                         [](const testing::TestParamInfo<Drag>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RunningProgram, TheCaptureComesFromTheFrozenScreen) {
    enterCaptureMode();
    runtime.screen.fill([](int, int) { return Rgb{1, 2, 3}; });
    drag(100, 100, 300, 200);

    const std::optional<Image> picture = readBmp(state().capturedPicture);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->at(0, 0), patternColour(101, 101));
    EXPECT_EQ(picture->at(197, 97), patternColour(298, 198));
}

TEST_F(RunningProgram, TheNextMoveReplacesTheOutline) {
    enterCaptureMode();
    drag(100, 100, 300, 200);
    runtime.mouse(画板1, EventCode::MouseMove, 200, 150);

    const Image shown = runtime.displayedScreen();
    // The first outline is gone ...
    EXPECT_EQ(shown.at(299, 120), patternColour(299, 120));
    EXPECT_EQ(shown.at(250, 199), patternColour(250, 199));
    // ... the new one is there, ...
    EXPECT_EQ(shown.at(199, 120), kOutlineRed);
    EXPECT_EQ(shown.at(150, 149), kOutlineRed);
    // ... and it is the only thing drawn: 2 x 100 + 2 x 50 - 4 pixels.
    int red = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.at(x, y) == kOutlineRed) ++red;
    EXPECT_EQ(red, 296);

    EXPECT_EQ(runtime.bounds(画板2), (Bounds{101, 101, 98, 48}));
    EXPECT_EQ(state().capturedPicture.size(), 54u + 296u * 48u); // 98 x 48
}

// Drags too short to leave anything inside the 1-pixel outline on each side, and the
// shortest that do.
struct SmallDrag {
    int x0, y0, x1, y1;
    Bounds marker;
    int pictureWidth, pictureHeight; // 0: no picture
    friend void PrintTo(const SmallDrag& d, std::ostream* os) {
        *os << "(" << d.x0 << "," << d.y0 << ")->(" << d.x1 << "," << d.y1 << ")";
    }
};

constexpr SmallDrag kSmallDrags[] = {
    {100, 100, 102, 150, {101, 101, 0, 48}, 0, 0},
    {102, 150, 100, 100, {101, 101, 0, 48}, 0, 0},
    {100, 100, 150, 102, {101, 101, 48, 0}, 0, 0},
    {100, 100, 101, 101, {101, 101, 0, 0}, 0, 0},   // a width of -1 becomes 0
    {100, 100, 100, 100, {101, 101, 0, 0}, 0, 0},
    {100, 100, 103, 150, {101, 101, 1, 48}, 1, 48},
    {103, 150, 100, 100, {101, 101, 1, 48}, 1, 48},
    {100, 103, 150, 100, {101, 101, 48, 1}, 48, 1},
};

class SmallSelection : public RunningProgram, public testing::WithParamInterface<SmallDrag> {};

TEST_P(SmallSelection, LeavesAnEmptyOrThinPicture) {
    const SmallDrag d = GetParam();
    state().capturedPicture = PictureBytes(10, 1); // an earlier capture is always replaced
    enterCaptureMode();
    drag(d.x0, d.y0, d.x1, d.y1);

    EXPECT_EQ(runtime.bounds(画板2), d.marker);
    if (d.pictureWidth == 0) {
        EXPECT_TRUE(state().capturedPicture.empty());
        EXPECT_TRUE(runtime.picture(图片框1).empty());
        return;
    }
    const std::optional<Image> picture = readBmp(state().capturedPicture);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, d.pictureWidth);
    EXPECT_EQ(picture->height, d.pictureHeight);
    EXPECT_EQ(picture->at(0, 0), patternColour(101, 101));
    EXPECT_EQ(runtime.picture(图片框1), state().capturedPicture);
}

INSTANTIATE_TEST_SUITE_P(TwoPixelBorders, SmallSelection, testing::ValuesIn(kSmallDrags));

} // namespace
} // namespace moyuan::test
