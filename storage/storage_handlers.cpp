#include "storage/storage_handlers.h"

#include "forms/control_ids.h"
#include "storage/storage_texts.h"

namespace moyuan {

namespace {

Text text(std::string_view s) { return Text(s); }

// The notices of "保存" all point where the missing-folder notice does.
constexpr double kSaveNoticeOffset = 50;

void saveNotice(FormRuntime& runtime, std::string_view message) {
    const NoticePoint at = noticePoint(runtime, 按钮3, kSaveNoticeOffset);
    runtime.balloonNotice(气球提示框1, at.x, at.y, text(message), IconIndex::None);
}

} // namespace

NoticePoint noticePoint(FormRuntime& runtime, ControlId button, double offsetY) {
    // The reads go in this order: window left, window width, button width, window height,
    // window top.
    const double left = runtime.property(kWindow, Property::Left);
    const double width = runtime.property(kWindow, Property::Width);
    const double buttonWidth = runtime.property(button, Property::Width);
    const double height = runtime.property(kWindow, Property::Height);
    const double top = runtime.property(kWindow, Property::Top);
    return {static_cast<int>((left + width) - buttonWidth),
            static_cast<int>(top + height / 2 + offsetY)};
}

void chooseStorageFolder(FormRuntime& runtime, ProgramState& state) {
    using namespace storage_texts;
    runtime.textInput(text(kFolderPrompt), text(kFolderTitle), text(kFolderInitial),
                      state.storagePath, InputType::PlainText);
    if (state.storagePath.empty()) return;
    const NoticePoint at = noticePoint(runtime, 按钮2, 0);
    runtime.balloonNotice(气球提示框1, at.x, at.y, text(kFolderSaved), IconIndex::None);
}

void savePicture(FormRuntime& runtime, ProgramState& state) {
    using namespace storage_texts;
    if (state.storagePath.empty()) {
        saveNotice(runtime, kFolderMissing);
        return;
    }
    // Writing an empty picture would only destroy a file of the same name.
    if (state.capturedPicture.empty()) {
        saveNotice(runtime, kNothingCaptured);
        return;
    }
    Text pictureName;
    if (!runtime.textInput(text(kNamePrompt), text(kNameTitle), text(kNameInitial), pictureName,
                           InputType::PlainText))
        return; // a cancelled name box writes nothing

    const Text fileName = state.storagePath + pictureName + Text(kPictureSuffix);
    if (!runtime.writeFile(fileName, state.capturedPicture)) saveNotice(runtime, kSaveFailed);
}

} // namespace moyuan
