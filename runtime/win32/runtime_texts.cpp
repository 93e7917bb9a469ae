// This file is compiled with GBK as its execution character set: every literal below is
// stored as GBK bytes, while the source stays readable UTF-8.
#include "runtime/win32/runtime_texts.h"

namespace moyuan::runtime_texts {

const std::string_view kOkButton = "确定";
const std::string_view kCancelButton = "取消";
const std::string_view kUnsavableText = "名称中含有无法保存的字符，请修改";

} // namespace moyuan::runtime_texts
