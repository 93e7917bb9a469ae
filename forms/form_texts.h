// The form's user-visible texts, as GBK bytes.
#pragma once

#include <string_view>

namespace moyuan::form_texts {

extern const std::string_view kWindowCaption;
extern const std::string_view kCaptureButton;
extern const std::string_view kFolderButton;
extern const std::string_view kSaveButton;

} // namespace moyuan::form_texts
