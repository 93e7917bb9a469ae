// This file is compiled with GBK as its execution character set: every literal below is
// stored as GBK bytes, while the source stays readable UTF-8.
#include "forms/form_texts.h"

namespace moyuan::form_texts {

const std::string_view kWindowCaption = "墨鸢截图工具V2.0  联系作者：moyuan.capture@example.org";
const std::string_view kCaptureButton = "截图";
const std::string_view kFolderButton = "存储路径";
const std::string_view kSaveButton = "保存";

} // namespace moyuan::form_texts
