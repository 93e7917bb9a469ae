#include "runtime/win32/main_window.h"

#include "runtime/win32/balloon.h"
#include "runtime/win32/button.h"
#include "runtime/win32/wide_text.h"

namespace moyuan::win32 {

namespace {

constexpr wchar_t kClassName[] = L"MoyuanMainWindow";

struct FrameStyles {
    DWORD style;
    DWORD exStyle;
};

FrameStyles frameStyles(const WindowSpec& spec, int border) {
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = 0;
    if (border == kBorderNone) {
        style |= WS_POPUP;
    } else {
        // A fixed frame: no WS_THICKFRAME, so the edges cannot be dragged.
        style |= WS_OVERLAPPED | WS_CAPTION;
        if (spec.controlBox) style |= WS_SYSMENU;
        if (spec.minimizeBox) style |= WS_MINIMIZEBOX;
        if (spec.maximizeBox) style |= WS_MAXIMIZEBOX;
        ex |= WS_EX_CLIENTEDGE;
    }
    return {style, ex | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT};
}

HICON loadProgramIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"DEFAULT_ICON", IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
}

} // namespace

MainWindow::MainWindow(const WindowSpec& spec, const Bounds& outer) : spec_(spec), border_(spec.border) {
    bigIcon_.reset(loadProgramIcon(GetSystemMetrics(SM_CXICON)));
    smallIcon_.reset(loadProgramIcon(GetSystemMetrics(SM_CXSMICON)));
    // The icons go to the window itself (WM_SETICON), not to the class: the class outlives
    // this window, the icons do not.
    registerClass(kClassName, LoadCursorW(nullptr, IDC_ARROW));
    background_.reset(CreateSolidBrush(RGB(spec.background.r, spec.background.g, spec.background.b)));

    const FrameStyles fs = frameStyles(spec, border_);
    const std::wstring caption = gbkToWide(spec.caption);
    create(kClassName, caption.c_str(), fs.style, fs.exStyle, outer.left, outer.top, outer.width,
           outer.height, nullptr, nullptr);
    if (!hwnd()) return;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    // The outer size is the form's, whatever the system made of the creation request.
    SetWindowPos(hwnd(), nullptr, outer.left, outer.top, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::addControl(std::unique_ptr<Control> control) { controls_.push_back(std::move(control)); }

Control* MainWindow::findControl(ControlId id) const {
    for (const auto& c : controls_)
        if (c->id() == id) return c.get();
    return nullptr;
}

Control* MainWindow::findControl(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (const auto& c : controls_)
        if (c->window() == hwnd) return c.get();
    return nullptr;
}

void MainWindow::setBorder(int border) {
    if (!hwnd() || (border != kBorderNone && border != kBorderFixed)) return;
    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    border_ = border;
    const FrameStyles fs = frameStyles(spec_, border_);
    const DWORD keep = GetWindowLongW(hwnd(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE);
    SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>(fs.style | keep));
    SetWindowLongW(hwnd(), GWL_EXSTYLE, static_cast<LONG>(fs.exStyle));
    SetWindowPos(hwnd(), nullptr, outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

LRESULT MainWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        // WM_COMMAND carries only the low 16 bits of a control id: find the button by its
        // window handle instead.
        if (HIWORD(wp) == BN_CLICKED && lp != 0) {
            if (auto* button = dynamic_cast<Button*>(findControl(reinterpret_cast<HWND>(lp))))
                button->clicked();
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wp), &client, background_.get());
        return 1;
    }
    case WM_ACTIVATEAPP:
        if (!wp) {
            for (const auto& c : controls_)
                if (auto* balloon = dynamic_cast<Balloon*>(c.get())) balloon->programDeactivated();
        }
        break;
    case WM_GETMINMAXINFO: {
        // Sizes written as properties are taken as they are: no minimum tracking size.
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize = {0, 0};
        return 0;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == hwnd() && LOWORD(lp) == HTCLIENT &&
            cursorCode_ != kCursorDefault) {
            SetCursor(LoadCursorW(nullptr, IDC_CROSS));
            return TRUE;
        }
        break;
    }
    return defaultProc(msg, wp, lp);
}

} // namespace moyuan::win32
