// This file is compiled with GBK as its execution character set: every literal below is
// stored as GBK bytes, while the source stays readable UTF-8.
#include "storage/storage_texts.h"

namespace moyuan::storage_texts {

const std::string_view kFolderPrompt = "请输入要存储图片的根路径";
const std::string_view kFolderTitle = "存储路径";
const std::string_view kFolderInitial = "C:\\Users\\Administrator\\Desktop\\";
const std::string_view kFolderSaved = "路径保存成功";
const std::string_view kFolderMissing = "未设置路径，请设置路径后重试";
const std::string_view kNamePrompt = "请输入图片名称";
const std::string_view kNameTitle = "图片名称";
const std::string_view kNameInitial = "图片1";
const std::string_view kNothingCaptured = "还没有截图，请先截图";
const std::string_view kSaveFailed = "保存失败";
const std::string_view kPictureSuffix = ".jpg";

} // namespace moyuan::storage_texts
