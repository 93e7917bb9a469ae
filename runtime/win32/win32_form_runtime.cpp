#include "runtime/win32/win32_form_runtime.h"

#include <cstdio>
#include <string>

#include "capture/gdi_snapshot.h"
#include "runtime/win32/balloon.h"
#include "runtime/win32/draw_panel.h"
#include "runtime/win32/file_writer.h"
#include "runtime/win32/text_input_box.h"
#include "runtime/win32/fatal_error.h"
#include "runtime/win32/picture_box.h"
#include "runtime/win32/test_log.h"
#include "runtime/win32/wide_text.h"
#include "runtime/win32/window_builder.h"
#include "runtime/win32/window_geometry.h"

namespace moyuan::win32 {

namespace {

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring currentDirectory() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    dir.resize(GetCurrentDirectoryW(n, dir.data()));
    return dir;
}

Edge edgeOf(Property p) {
    switch (p) {
    case Property::Left: return Edge::Left;
    case Property::Top: return Edge::Top;
    case Property::Width: return Edge::Width;
    default: return Edge::Height;
    }
}

bool isEdge(Property p) {
    return p == Property::Left || p == Property::Top || p == Property::Width || p == Property::Height;
}

} // namespace

Win32FormRuntime::~Win32FormRuntime() = default;

void Win32FormRuntime::startRuntime(const FormDefinition& form) {
    form_ = form;
    const std::wstring folder = programFolder();
    if (folder.empty() || !SetCurrentDirectoryW(folder.c_str()))
        fatalError(L"The program's folder cannot be made the current directory.");
    testLog("runtime started in " + wideToUtf8(currentDirectory()));
#ifdef MOYUAN_TEST_HOOKS
    // The tests compare the pointer's shape with these.
    const auto handle = [](const wchar_t* id) {
        char text[32];
        std::snprintf(text, sizeof text, "%#llx",
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(LoadCursorW(nullptr, id))));
        return std::string(text);
    };
    testLog("cursor cross " + handle(IDC_CROSS));
    testLog("cursor arrow " + handle(IDC_ARROW));
#endif
}

void Win32FormRuntime::addExitRoutine(ExitRoutine routine) { exitList_.add(routine); }

void Win32FormRuntime::loadStartWindow(ControlId windowId) {
#ifdef MOYUAN_TEST_HOOKS
    if (const std::string id = testSetting("MOYUAN_TEST_START_WINDOW"); !id.empty())
        windowId = static_cast<ControlId>(std::stoul(id, nullptr, 16));
#endif
    windowForm_ = form_.find(windowId);
    if (!windowForm_) fatalError(L"The start window is not among the program's forms.");
    window_ = buildWindow(*windowForm_, [this](const Control& c) { return sinkFor(c); });
    if (!window_) fatalError(L"The start window cannot be created.");
    ++windowsAlive_;
    window_->onGone([this] {
        // The last window of the program is gone: end the message loop with exit code 0.
        if (--windowsAlive_ == 0 && loopStarted_) PostQuitMessage(0);
    });
    testLog("window shown");
}

EventSink Win32FormRuntime::sinkFor(const Control& control) {
    const ControlId id = control.id();
    const std::string_view name = control.name();
    return [this, id, name](EventCode code, const MouseArgs& args) {
        if (!windowForm_) return;
        for (const EventBinding& b : windowForm_->bindings) {
            if (b.control != id || b.code != code || !b.handler) continue;
            b.handler(*this, args);
#ifdef MOYUAN_TEST_HOOKS
            // Logged once the handler has run to its end. (Not built at all otherwise: this
            // runs on every pointer move.)
            testLog("event " + std::string(name) + " " + std::to_string(static_cast<int>(code)) + " " +
                    std::to_string(args.x) + " " + std::to_string(args.y) + " " +
                    std::to_string(args.keys));
#endif
        }
    };
}

void Win32FormRuntime::runMessageLoop() {
    loopStarted_ = true;
    if (windowsAlive_ == 0) return;
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode_ = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) break;
        observe(msg);
        if (preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32FormRuntime::observe(const MSG& msg) const {
    if (!window_) return;
    for (const auto& c : window_->controls())
        if (auto* balloon = dynamic_cast<Balloon*>(c.get())) balloon->observe(msg);
}

bool Win32FormRuntime::belongsToMainWindow(HWND hwnd) const {
    const HWND main = window_ ? window_->hwnd() : nullptr;
    return main && hwnd && (hwnd == main || IsChild(main, hwnd));
}

bool Win32FormRuntime::preTranslate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !belongsToMainWindow(msg.hwnd)) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const HWND main = window_->hwnd();
    if (msg.wParam == VK_ESCAPE && windowForm_->window.escCloses && !ctrl && !shift && !alt) {
        SendMessageW(main, WM_CLOSE, 0, 0);
        return true;
    }
    if (msg.wParam == VK_TAB && !ctrl && !alt) {
        // Tab and Shift+Tab move the focus among the controls with a tab stop.
        if (HWND next = GetNextDlgTabItem(main, GetFocus(), shift)) SetFocus(next);
        return true;
    }
    return false;
}

int Win32FormRuntime::exitStep() {
    const std::size_t routines = exitList_.size();
    exitList_.runAll();
    testLog("exit routines ran: " + std::to_string(routines));
    window_.reset();
    testLog("exit code " + std::to_string(exitCode_));
    return exitCode_;
}

Control* Win32FormRuntime::control(ControlId id) const { return window_ ? window_->findControl(id) : nullptr; }

HWND Win32FormRuntime::windowOf(ControlId id) const {
    if (!window_) return nullptr;
    if (id == kMainWindowAsControl) return window_->hwnd();
    Control* c = control(id);
    return c ? c->window() : nullptr;
}

void Win32FormRuntime::refreshCursor() const {
    // The pointer shape follows a change at once, not only at the next move.
    POINT p{};
    if (!GetCursorPos(&p)) return;
    HWND under = WindowFromPoint(p);
    if (!belongsToMainWindow(under)) return;
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

void Win32FormRuntime::setProperty(ControlId id, Property property, std::int32_t value) {
    HWND hwnd = windowOf(id);
    if (!hwnd) return;
    if (isEdge(property)) {
        writeEdge(hwnd, edgeOf(property), value);
        refreshCursor();
    } else if (property == Property::Visible) {
        const bool isWindow = id == kMainWindowAsControl;
        ShowWindow(hwnd, value ? (isWindow ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    } else if (property == Property::Border && id == kMainWindowAsControl) {
        window_->setBorder(value);
    }
}

std::int32_t Win32FormRuntime::property(ControlId id, Property property) {
    HWND hwnd = windowOf(id);
    if (!hwnd) return 0;
    if (isEdge(property)) return readEdge(hwnd, edgeOf(property));
    if (property == Property::Visible) return ownVisibleFlag(hwnd) ? 1 : 0;
    if (property == Property::Border && id == kMainWindowAsControl) return window_->border();
    if (property == Property::Cursor) {
        if (Control* c = control(id)) return c->cursorCode();
    }
    return 0;
}

void Win32FormRuntime::setBytesProperty(ControlId id, Property property,
                                        std::span<const std::uint8_t> bytes) {
    if (property == Property::Cursor) {
        std::int32_t code = 0;
        for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) code |= static_cast<std::int32_t>(bytes[i]) << (8 * i);
        if (id == kMainWindowAsControl) {
            if (window_) window_->setCursorCode(code);
        } else if (Control* c = control(id)) {
            c->setCursorCode(code);
        }
        refreshCursor();
    } else if (property == Property::Picture) {
        Control* c = control(id);
        if (auto* box = dynamic_cast<PictureBox*>(c)) box->setPicture(bytes);
        else if (auto* panel = dynamic_cast<DrawPanel*>(c)) panel->setPicture(bytes);
    }
}

void Win32FormRuntime::clearPanel(ControlId id) {
    if (auto* panel = dynamic_cast<DrawPanel*>(control(id))) panel->clear();
}

void Win32FormRuntime::drawRectangle(ControlId id, int x1, int y1, int x2, int y2) {
    if (auto* panel = dynamic_cast<DrawPanel*>(control(id))) panel->drawRectangle(x1, y1, x2, y2);
}

WindowHandle Win32FormRuntime::windowHandle(ControlId id) {
    return reinterpret_cast<WindowHandle>(windowOf(id));
}

int Win32FormRuntime::screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int Win32FormRuntime::screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

PictureBytes Win32FormRuntime::snapshot(WindowHandle window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    if (auto fromPanel = displayedByPanel(hwnd)) return std::move(*fromPanel);
    return gdi::snapshotWindowArea(hwnd);
}

std::optional<PictureBytes> Win32FormRuntime::displayedByPanel(HWND hwnd) const {
    // A hidden control of ours that lies wholly over a drawing panel: what the screen shows
    // there is the panel's own picture, which the panel can copy from its bitmap, at a cost
    // that follows the area rather than a read of the screen.
    if (!window_ || !hwnd || !IsWindow(hwnd) || IsWindowVisible(hwnd)) return std::nullopt;
    const HWND main = window_->hwnd();
    if (!window_->findControl(hwnd) || !IsWindowVisible(main) || IsIconic(main)) return std::nullopt;
    RECT area{};
    GetWindowRect(hwnd, &area);
    if (IsRectEmpty(&area)) return std::nullopt;

    // The area must lie on the screen and inside the window's client area...
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT client{};
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT inside{};
    if (!IntersectRect(&inside, &area, &screen) || !EqualRect(&inside, &area) ||
        !IntersectRect(&inside, &area, &client) || !EqualRect(&inside, &area))
        return std::nullopt;

    // ...and the topmost visible control over it must be a drawing panel that holds all of it.
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT childRect{};
        GetWindowRect(child, &childRect);
        if (!IntersectRect(&inside, &childRect, &area)) continue;
        auto* panel = dynamic_cast<DrawPanel*>(window_->findControl(child));
        if (!panel || !EqualRect(&inside, &area)) return std::nullopt;
        MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&area), 2);
        return panel->displayedPicture(area);
    }
    return std::nullopt;
}

bool Win32FormRuntime::textInput(const Text& prompt, const Text& title, const Text& initialText,
                                 Text& variable, InputType) {
    if (!window_ || !window_->hwnd()) return false;
    const TextInputRequest request{gbkToWide(prompt), gbkToWide(title), gbkToWide(initialText)};
    // The box has its own message loop: the notices watch its messages too.
    const auto answer = runTextInputBox(window_->hwnd(), request, [this](const MSG& msg) { observe(msg); });
    if (!answer) {
        testLog("input cancelled");
        return false;
    }
    // The box accepts only text that GBK can hold.
    const auto gbk = wideToGbk(*answer);
    if (!gbk) return false;
    variable = *gbk;
    testLog("input confirmed " + wideToUtf8(*answer));
    return true;
}

void Win32FormRuntime::balloonNotice(ControlId id, int x, int y, const Text& text, IconIndex) {
    // Notices carry no icon.
    if (auto* balloon = dynamic_cast<Balloon*>(control(id))) {
        const std::wstring wide = gbkToWide(text);
        balloon->showNotice(x, y, wide);
        testLog("notice " + std::to_string(x) + " " + std::to_string(y) + " " + wideToUtf8(wide));
    }
}

bool Win32FormRuntime::writeFile(const Text& fileName, std::span<const std::uint8_t> bytes) {
    const std::wstring name = gbkToWide(fileName);
    const bool written = writeFileSafely(name, bytes);
    testLog(std::string(written ? "file written " : "file not written ") + wideToUtf8(name));
    return written;
}

} // namespace moyuan::win32
