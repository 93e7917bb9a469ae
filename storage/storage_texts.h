// The prompts and notices of the storage folder and saving, as GBK bytes.
#pragma once

#include <string_view>

namespace moyuan::storage_texts {

extern const std::string_view kFolderPrompt;
extern const std::string_view kFolderTitle;
extern const std::string_view kFolderInitial;
extern const std::string_view kFolderSaved;
extern const std::string_view kFolderMissing;
extern const std::string_view kNamePrompt;
extern const std::string_view kNameTitle;
extern const std::string_view kNameInitial;
extern const std::string_view kNothingCaptured;
extern const std::string_view kSaveFailed;
extern const std::string_view kPictureSuffix;

} // namespace moyuan::storage_texts
