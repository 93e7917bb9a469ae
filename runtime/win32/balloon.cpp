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

Balloon::~Balloon() = default;

void Balloon::showNotice(int x, int y, std::wstring_view text) {
    if (!hwnd()) return;
    // The notice belongs to the window that holds the control.
    if (!notice_) notice_ = std::make_unique<BalloonNotice>(GetAncestor(hwnd(), GA_ROOT));
    notice_->show(x, y, text);
}

void Balloon::observe(const MSG& msg) {
    if (notice_) notice_->observe(msg);
}

void Balloon::programDeactivated() {
    if (notice_) notice_->ownerDeactivated();
}

} // namespace moyuan::win32
