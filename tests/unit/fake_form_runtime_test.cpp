// The few things of the fake runtime that the program's tests lean on without showing.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <set>

#include "tests/support/bmp_reader.h"
#include "tests/support/program_fixture.h"

namespace moyuan::test {
namespace {

using FakeRuntime = RunningProgram;

TEST_F(FakeRuntime, EveryControlHasItsOwnHandle) {
    const ControlId ids[] = {kWindow, 气球提示框1, 图片框1, 画板2, 画板1, 按钮3, 按钮2, 按钮1};
    std::set<WindowHandle> handles;
    for (ControlId id : ids) handles.insert(runtime.windowHandle(id));
    EXPECT_EQ(handles.size(), std::size(ids));
    EXPECT_FALSE(handles.contains(0));

    EXPECT_EQ(runtime.windowHandle(0x16010099), 0u);
    EXPECT_TRUE(runtime.snapshot(0x7FFF'FFFF).empty());
    EXPECT_TRUE(runtime.snapshot(runtime.windowHandle(画板2)).empty()); // no size yet
}

TEST_F(FakeRuntime, AControlOfTheFramedWindowIsSeenInsideTheFrame) {
    runtime.setProperty(画板2, Property::Left, 10);
    runtime.setProperty(画板2, Property::Top, 20);
    runtime.setProperty(画板2, Property::Width, 4);
    runtime.setProperty(画板2, Property::Height, 3);

    const std::optional<Image> seen = readBmp(runtime.snapshot(runtime.windowHandle(画板2)));
    ASSERT_TRUE(seen.has_value());
    ASSERT_EQ(seen->width, 4);
    ASSERT_EQ(seen->height, 3);
    const int left = 660 + FakeFormRuntime::kFrameLeft + 10;
    const int top = 390 + FakeFormRuntime::kFrameTop + 20;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(seen->at(x, y), patternColour(left + x, top + y)) << x << "," << y;
}

TEST_F(FakeRuntime, SizesAndBorders) {
    runtime.setProperty(画板2, Property::Width, -5);
    runtime.setProperty(画板2, Property::Height, -1);
    EXPECT_EQ(runtime.bounds(画板2), (Bounds{0, 0, 0, 0}));

    runtime.setProperty(kWindow, Property::Border, kBorderNone);
    EXPECT_EQ(runtime.bounds(kWindow), (Bounds{660, 390, 600, 300}));
    EXPECT_EQ(runtime.screenBounds(按钮1), (Bounds{660 + 464, 390 + 32, 72, 40}));
}

TEST_F(FakeRuntime, ARelativeFileNameIsInTheCurrentDirectory) {
    std::random_device random;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("moyuan-fake-" + std::to_string(random()) + std::to_string(random()));
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    runtime.currentDirectory = folder.string();

    const std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_TRUE(runtime.writeFile("x.jpg", bytes));
    EXPECT_EQ(std::filesystem::file_size(folder / "x.jpg"), 3u);

    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace moyuan::test
