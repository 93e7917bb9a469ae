#include "runtime/win32/balloon.h"

namespace moyuan::win32 {

namespace {
constexpr wchar_t kClassName[] = L"MoyuanBalloonControl";
}

Balloon::Balloon(const ControlSpec& spec, HWND parent) : Control(spec) {
    registerClass(kClassName, LoadCursorW(nullptr, IDC_ARROW));
    create(kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, spec.place.left, spec.place.top,
           spec.place.width, spec.place.height, parent,
           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)));
}

} // namespace moyuan::win32
