#include <gtest/gtest.h>

#include <string_view>

#include "forms/form_texts.h"
#include "storage/storage_texts.h"

namespace moyuan {
namespace {

struct TextCase {
    const char* name;
    std::string_view actual;
    std::string_view gbk;
};

TEST(Texts, AreGbkBytes) {
    const TextCase cases[] = {
        {"capture button", form_texts::kCaptureButton, "\xBD\xD8\xCD\xBC"},            // 截图
        {"folder button", form_texts::kFolderButton, "\xB4\xE6\xB4\xA2\xC2\xB7\xBE\xB6"}, // 存储路径
        {"save button", form_texts::kSaveButton, "\xB1\xA3\xB4\xE6"},                  // 保存
        {"caption", form_texts::kWindowCaption,
         "\xC4\xAB\xF0\xB0\xBD\xD8\xCD\xBC\xB9\xA4\xBE\xDF" "V2.0  "
         "\xC1\xAA\xCF\xB5\xD7\xF7\xD5\xDF\xA3\xBA" "moyuan.capture@example.org"},
        // 墨鸢截图工具V2.0  联系作者：moyuan.capture@example.org
        {"folder saved", storage_texts::kFolderSaved,
         "\xC2\xB7\xBE\xB6\xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6"}, // 路径保存成功
        {"save failed", storage_texts::kSaveFailed, "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC"}, // 保存失败
        {"name initial", storage_texts::kNameInitial, "\xCD\xBC\xC6\xAC" "1"},          // 图片1
        {"suffix", storage_texts::kPictureSuffix, ".jpg"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(c.actual, c.gbk) << c.name;
}

} // namespace
} // namespace moyuan
