// The modal text input box: a prompt, one edit line and OK/Cancel, run by its own message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace moyuan::win32 {

struct TextInputRequest {
    std::wstring prompt, title, initialText;
};

// The box's window class and the ids of its controls, for tools that find and drive it. The
// OK and Cancel buttons have the ids IDOK and IDCANCEL.
inline constexpr wchar_t kInputBoxClassName[] = L"MoyuanInputBox";
inline constexpr int kInputBoxPromptId = 1001;
inline constexpr int kInputBoxEditId = 1002;
inline constexpr int kInputBoxMessageId = 1003;

// Shows the box owned by `owner` (which is disabled while the box is open and re-enabled and
// re-activated after) and runs its own modal message loop until OK/Enter or Cancel/Esc/close.
// Returns the text on confirmation (possibly empty), nullopt on cancellation. A text that GBK
// cannot hold is refused: the box stays open and says so.
// Every message the box's loop takes from the queue is passed to `observe` first.
// The box ends as cancelled when its owner is destroyed; a quit message ends it as cancelled
// too and is posted again for the caller's loop.
std::optional<std::wstring> runTextInputBox(HWND owner, const TextInputRequest& request,
                                            const std::function<void(const MSG&)>& observe = {});

} // namespace moyuan::win32
