// The storage folder ("存储路径") and saving the last captured region ("保存").
#pragma once

#include "app/program_state.h"
#include "runtime/form_runtime.h"

namespace moyuan {

// Where a notice's tail points: at the window's right edge less the clicked button's width,
// at half the window's height plus the given offset. Double precision, truncated.
struct NoticePoint {
    int x = 0, y = 0;
    friend bool operator==(const NoticePoint&, const NoticePoint&) = default;
};
NoticePoint noticePoint(FormRuntime& runtime, ControlId button, double offsetY);

void chooseStorageFolder(FormRuntime& runtime, ProgramState& state);
void savePicture(FormRuntime& runtime, ProgramState& state);

} // namespace moyuan
