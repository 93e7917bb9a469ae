// The texts the Win32 runtime shows on its own (outside the program's forms), as GBK bytes.
#pragma once

#include <string_view>

namespace moyuan::runtime_texts {

extern const std::string_view kOkButton;
extern const std::string_view kCancelButton;
// Shown in the text input box when the text holds a character that cannot be saved.
extern const std::string_view kUnsavableText;

} // namespace moyuan::runtime_texts
