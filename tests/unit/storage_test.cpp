#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "storage/storage_texts.h"
#include "tests/support/program_fixture.h"

namespace moyuan::test {
namespace {

namespace fs = std::filesystem;

// The notices, as GBK bytes.
const std::string kPathSaved = "\xC2\xB7\xBE\xB6\xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6"; // 路径保存成功
const std::string kNoPath =
    "\xCE\xB4\xC9\xE8\xD6\xC3\xC2\xB7\xBE\xB6\xA3\xAC\xC7\xEB\xC9\xE8\xD6\xC3\xC2\xB7\xBE\xB6"
    "\xBA\xF3\xD6\xD8\xCA\xD4"; // 未设置路径，请设置路径后重试
const std::string kNoCapture =
    "\xBB\xB9\xC3\xBB\xD3\xD0\xBD\xD8\xCD\xBC\xA3\xAC\xC7\xEB\xCF\xC8\xBD\xD8\xCD\xBC"; // 还没有截图，请先截图
const std::string kSaveFailed = "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC"; // 保存失败

using Notice = FakeFormRuntime::Notice;

class Storage : public RunningProgram {
protected:
    void SetUp() override {
        RunningProgram::SetUp();
        std::random_device random;
        folder = fs::temp_directory_path() /
                 ("moyuan-storage-" + std::to_string(random()) + "-" + std::to_string(random()));
        ASSERT_TRUE(fs::create_directory(folder));
        pics = folder.string() + "/pics";
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        RunningProgram::TearDown();
    }

    void chooseFolder(bool confirm, const std::string& text) {
        runtime.textAnswers.push_back({confirm, text});
        runtime.click(按钮2);
    }

    void save(bool confirm, const std::string& name) {
        runtime.textAnswers.push_back({confirm, name});
        runtime.click(按钮3);
    }

    std::set<std::string> filesInFolder() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    static PictureBytes contentsOf(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return PictureBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path folder;
    std::string pics; // a folder text without a trailing separator
};

TEST_F(Storage, ConfirmingTheOfferedFolderStoresItAndSaysSo) {
    runtime.textAnswers.push_back({true, std::string(storage_texts::kFolderInitial)});
    runtime.click(按钮2);

    ASSERT_EQ(runtime.textInputCalls.size(), 1u);
    EXPECT_EQ(runtime.textInputCalls[0].prompt,
              "\xC7\xEB\xCA\xE4\xC8\xEB\xD2\xAA\xB4\xE6\xB4\xA2\xCD\xBC\xC6\xAC\xB5\xC4\xB8\xF9"
              "\xC2\xB7\xBE\xB6"); // 请输入要存储图片的根路径
    EXPECT_EQ(runtime.textInputCalls[0].title, "\xB4\xE6\xB4\xA2\xC2\xB7\xBE\xB6"); // 存储路径
    EXPECT_EQ(runtime.textInputCalls[0].initialText, "C:\\Users\\Administrator\\Desktop\\");
    EXPECT_EQ(state().storagePath, "C:\\Users\\Administrator\\Desktop\\");
    EXPECT_EQ(runtime.notices, (std::vector<Notice>{{1188, 540, kPathSaved}}));
}

TEST_F(Storage, AnEmptyFolderIsNotKeptAndSavingAsksForOne) {
    chooseFolder(true, "");
    EXPECT_TRUE(state().storagePath.empty());
    EXPECT_TRUE(runtime.notices.empty());

    captureRegion(100, 100, 300, 200);
    runtime.click(按钮3); // no name box comes up, so no answer is scripted

    EXPECT_EQ(runtime.notices, (std::vector<Notice>{{1188, 590, kNoPath}}));
    EXPECT_EQ(runtime.textInputCalls.size(), 1u);
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(Storage, ACancelledFolderBoxKeepsTheEarlierFolder) {
    chooseFolder(true, pics);
    chooseFolder(false, "/somewhere/else/");

    EXPECT_EQ(state().storagePath, pics);
    EXPECT_EQ(runtime.notices,
              (std::vector<Notice>{{1188, 540, kPathSaved}, {1188, 540, kPathSaved}}));
}

TEST_F(Storage, SavesFolderNameAndSuffixJoinedAsTyped) {
    chooseFolder(true, pics);
    captureRegion(100, 100, 300, 200);
    save(true, "a");

    ASSERT_EQ(runtime.textInputCalls.size(), 2u);
    EXPECT_EQ(runtime.textInputCalls[1].prompt,
              "\xC7\xEB\xCA\xE4\xC8\xEB\xCD\xBC\xC6\xAC\xC3\xFB\xB3\xC6"); // 请输入图片名称
    EXPECT_EQ(runtime.textInputCalls[1].title, "\xCD\xBC\xC6\xAC\xC3\xFB\xB3\xC6"); // 图片名称
    EXPECT_EQ(runtime.textInputCalls[1].initialText, "\xCD\xBC\xC6\xAC" "1"); // 图片1

    // No separator is put between the folder and the name.
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"picsa.jpg"}));
    const PictureBytes written = contentsOf(folder / "picsa.jpg");
    EXPECT_EQ(written.size(), 58'462u);
    EXPECT_EQ(written, state().capturedPicture);
    // Success is silent: only the folder notice was shown.
    EXPECT_EQ(runtime.notices.size(), 1u);
}

TEST_F(Storage, ASecondSaveReplacesTheFirst) {
    chooseFolder(true, pics);
    captureRegion(100, 100, 300, 200);
    save(true, "a");
    captureRegion(10, 10, 50, 30);
    save(true, "a");

    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"picsa.jpg"}));
    const PictureBytes written = contentsOf(folder / "picsa.jpg");
    EXPECT_EQ(written.size(), 54u + 116u * 18u); // 38 x 18
    EXPECT_EQ(written, state().capturedPicture);
}

TEST_F(Storage, NothingCapturedWritesNothing) {
    chooseFolder(true, pics);
    runtime.click(按钮3);

    EXPECT_EQ(runtime.notices,
              (std::vector<Notice>{{1188, 540, kPathSaved}, {1188, 590, kNoCapture}}));
    EXPECT_EQ(runtime.textInputCalls.size(), 1u);
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(Storage, ACancelledNameBoxWritesNothing) {
    chooseFolder(true, pics);
    captureRegion(100, 100, 300, 200);
    save(false, "a");

    EXPECT_TRUE(filesInFolder().empty());
    EXPECT_EQ(runtime.notices.size(), 1u);
}

TEST_F(Storage, AWriteThatBreaksOffLeavesTheOldFile) {
    chooseFolder(true, pics);
    captureRegion(100, 100, 300, 200);
    save(true, "a");
    const PictureBytes first = state().capturedPicture;

    runtime.failWriteAfterBytes = 1000;
    captureRegion(10, 10, 50, 30);
    save(true, "a");

    EXPECT_EQ(runtime.notices.back(), (Notice{1188, 590, kSaveFailed}));
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"picsa.jpg"}));
    EXPECT_EQ(contentsOf(folder / "picsa.jpg"), first);
}

TEST_F(Storage, AFolderThatDoesNotExistFailsTheSave) {
    chooseFolder(true, folder.string() + "/missing/");
    captureRegion(100, 100, 300, 200);
    save(true, "a");

    EXPECT_EQ(runtime.notices.back(), (Notice{1188, 590, kSaveFailed}));
    EXPECT_TRUE(filesInFolder().empty());
}

// Where the notices point for a window the user has moved or resized: halves and truncation
// toward zero matter.
struct Placement {
    const char* name;
    Bounds window;
    int folderButtonWidth, saveButtonWidth;
    Notice folderNotice, saveNotice; // only the points matter here
    friend void PrintTo(const Placement& p, std::ostream* os) { *os << p.name; }
};

const Placement kPlacements[] = {
    {"Start", {660, 390, 600, 300}, 72, 72, {1188, 540, {}}, {1188, 590, {}}},
    {"OddHeight", {660, 390, 600, 301}, 72, 72, {1188, 540, {}}, {1188, 590, {}}},
    {"NegativeLeft", {-7, 100, 600, 300}, 72, 72, {521, 250, {}}, {521, 300, {}}},
    {"AboveTheScreenOddHeight", {10, -400, 600, 301}, 72, 72, {538, -249, {}}, {538, -199, {}}},
    {"AboveTheScreenEvenHeight", {10, -400, 600, 300}, 72, 72, {538, -250, {}}, {538, -200, {}}},
    {"TinyOddHeight", {0, -7, 600, 1}, 72, 72, {528, -6, {}}, {528, 43, {}}},
    {"EachNoticeUsesItsOwnButton", {660, 390, 600, 300}, 100, 50, {1160, 540, {}}, {1210, 590, {}}},
};

class NoticePlacement : public Storage, public testing::WithParamInterface<Placement> {};

TEST_P(NoticePlacement, PointsAtTheRightEdgeLessTheButtonAndHalfwayDown) {
    const Placement& p = GetParam();
    runtime.setProperty(kWindow, Property::Left, p.window.left);
    runtime.setProperty(kWindow, Property::Top, p.window.top);
    runtime.setProperty(kWindow, Property::Width, p.window.width);
    runtime.setProperty(kWindow, Property::Height, p.window.height);
    runtime.setProperty(按钮2, Property::Width, p.folderButtonWidth);
    runtime.setProperty(按钮3, Property::Width, p.saveButtonWidth);

    runtime.click(按钮3); // no folder yet
    chooseFolder(true, pics);

    const std::vector<Notice> expected = {{p.saveNotice.x, p.saveNotice.y, kNoPath},
                                          {p.folderNotice.x, p.folderNotice.y, kPathSaved}};
    EXPECT_EQ(runtime.notices, expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, NoticePlacement, testing::ValuesIn(kPlacements),
                         [](const testing::TestParamInfo<Placement>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace moyuan::test
