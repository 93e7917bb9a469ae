#include "runtime/win32/text_input_box.h"

#include <algorithm>

#include "runtime/win32/base_window.h"
#include "runtime/win32/runtime_texts.h"
#include "runtime/win32/scoped_win.h"
#include "runtime/win32/wide_text.h"

namespace moyuan::win32 {

namespace {

// The layout in dialog units (a quarter of the font's average character width across, an
// eighth of its height down), so the box grows with the font.
constexpr int kClientWidthDu = 220;
constexpr int kMarginXDu = 7, kMarginYDu = 7;
constexpr int kEditHeightDu = 14;
constexpr int kButtonWidthDu = 50, kButtonHeightDu = 14, kButtonGapDu = 4;
constexpr int kSmallGapDu = 3, kLargeGapDu = 4;
// A longer prompt is cut off rather than pushing the box off the screen.
constexpr int kMaxPromptLines = 12;

constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kBoxExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;
constexpr UINT kPromptFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

HFONT guiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

std::wstring windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

// Pixel sizes of the box's parts for its font and prompt.
struct Layout {
    SIZE client{};
    RECT prompt{}, edit{}, message{}, ok{}, cancel{};
};

RECT placed(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

Layout layOut(HFONT font, const std::wstring& prompt) {
    WindowDc dc = WindowDc::screen();
    Selection selected(dc.get(), font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    SIZE letters{};
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(dc.get(), kLetters, 52, &letters);
    const int lineHeight = tm.tmHeight > 0 ? tm.tmHeight : 13;
    const int baseX = letters.cx > 0 ? (letters.cx / 26 + 1) / 2 : 6;
    const auto dx = [baseX](int du) { return MulDiv(du, baseX, 4); };
    const auto dy = [lineHeight](int du) { return MulDiv(du, lineHeight, 8); };

    Layout l;
    const int left = dx(kMarginXDu);
    const int inner = dx(kClientWidthDu - 2 * kMarginXDu);

    RECT measured{0, 0, inner, 0};
    if (!prompt.empty())
        DrawTextW(dc.get(), prompt.c_str(), static_cast<int>(prompt.size()), &measured,
                  kPromptFormat | DT_CALCRECT);
    const int promptHeight = std::clamp(static_cast<int>(measured.bottom - measured.top), lineHeight,
                                        lineHeight * kMaxPromptLines);

    int y = dy(kMarginYDu);
    l.prompt = placed(left, y, inner, promptHeight);
    y += promptHeight + dy(kSmallGapDu);
    l.edit = placed(left, y, inner, dy(kEditHeightDu));
    y += dy(kEditHeightDu) + dy(kSmallGapDu);
    l.message = placed(left, y, inner, lineHeight);
    y += lineHeight + dy(kLargeGapDu);
    const int buttonWidth = dx(kButtonWidthDu), buttonHeight = dy(kButtonHeightDu);
    const int cancelLeft = left + inner - buttonWidth;
    l.cancel = placed(cancelLeft, y, buttonWidth, buttonHeight);
    l.ok = placed(cancelLeft - dx(kButtonGapDu) - buttonWidth, y, buttonWidth, buttonHeight);
    y += buttonHeight + dy(kMarginYDu);
    l.client = {dx(kClientWidthDu), y};
    return l;
}

// Where the box goes: centred over its owner, kept inside the owner's monitor's work area.
POINT centredOver(HWND owner, SIZE outer) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT anchor = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &anchor);
    const auto centre = [](LONG from, LONG to, LONG size, LONG areaFrom, LONG areaTo) {
        const LONG start = from + ((to - from) - size) / 2;
        return std::max(areaFrom, std::min(start, areaTo - size));
    };
    return {centre(anchor.left, anchor.right, outer.cx, area.left, area.right),
            centre(anchor.top, anchor.bottom, outer.cy, area.top, area.bottom)};
}

// Keeps the owner disabled while the box is open; enables it again (if it was enabled to begin
// with and still exists) on restore() or at the latest on leaving the scope.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner) : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_) EnableWindow(owner_, FALSE);
    }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;
    ~DisabledOwner() { restore(); }
    void restore() {
        if (owner_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
        owner_ = nullptr;
    }

private:
    HWND owner_;
};

class InputBox final : public BaseWindow<InputBox> {
public:
    InputBox(HWND owner, const TextInputRequest& request) {
        registerClass(kInputBoxClassName, LoadCursorW(nullptr, IDC_ARROW));
        const Layout l = layOut(guiFont(), request.prompt);
        RECT outer{0, 0, l.client.cx, l.client.cy};
        AdjustWindowRectEx(&outer, kBoxStyle, FALSE, kBoxExStyle);
        const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
        const POINT at = centredOver(owner, size);
        create(kInputBoxClassName, request.title.c_str(), kBoxStyle, kBoxExStyle, at.x, at.y, size.cx,
               size.cy, owner, nullptr);
        if (!hwnd()) return;

        child(L"STATIC", request.prompt, SS_LEFT | SS_NOPREFIX, 0, l.prompt, kInputBoxPromptId);
        edit_ = child(L"EDIT", request.initialText, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, l.edit, kInputBoxEditId);
        message_ = child(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, l.message, kInputBoxMessageId);
        ok_ = child(L"BUTTON", gbkToWide(runtime_texts::kOkButton),
                    BS_DEFPUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, l.ok, IDOK);
        cancel_ = child(L"BUTTON", gbkToWide(runtime_texts::kCancelButton),
                        BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, l.cancel, IDCANCEL);
        lastFocus_ = edit_;
    }

    bool ready() const { return hwnd() && edit_ && message_ && ok_ && cancel_; }
    bool done() const { return done_; }
    const std::optional<std::wstring>& result() const { return result_; }

    void show() {
        ShowWindow(hwnd(), SW_SHOW);
        focusEdit();
    }

    void close() {
        if (hwnd()) DestroyWindow(hwnd());
    }

    // The box's own keys, taken before translation: Enter, Esc and Tab.
    bool handleKey(const MSG& msg) {
        if (msg.message != WM_KEYDOWN || !hwnd()) return false;
        if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        switch (msg.wParam) {
        case VK_RETURN:
            // A focused button is the one Enter presses; otherwise OK.
            if (GetFocus() == cancel_)
                finish(std::nullopt);
            else
                confirm();
            return true;
        case VK_ESCAPE:
            finish(std::nullopt);
            return true;
        case VK_TAB:
            if (ctrl) return false;
            if (HWND next = GetNextDlgTabItem(hwnd(), GetFocus(), GetKeyState(VK_SHIFT) < 0)) {
                SetFocus(next);
                if (next == edit_) selectAll();
            }
            return true;
        }
        return false;
    }

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_COMMAND:
            onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_CLOSE:
            finish(std::nullopt);
            return 0;
        case WM_ACTIVATE:
            // Like a dialog: the focus leaves with the activation and comes back to the same
            // control.
            if (LOWORD(wp) == WA_INACTIVE) {
                rememberFocus();
            } else {
                SetFocus(lastFocus_ ? lastFocus_ : edit_);
            }
            return 0;
        case WM_SETFOCUS:
            SetFocus(lastFocus_ ? lastFocus_ : edit_);
            return 0;
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(hwnd(), &client);
            FillRect(reinterpret_cast<HDC>(wp), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) == message_) {
                const HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, RGB(192, 0, 0));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_DESTROY:
            // Gone without an answer (its owner went away, say): that is a cancellation.
            if (!done_) finish(std::nullopt);
            return 0;
        }
        return defaultProc(msg, wp, lp);
    }

private:
    HWND child(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
               const RECT& r, int id) {
        const HWND h = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                       r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
        if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
        return h;
    }

    void onCommand(int id, int code, HWND from) {
        if (id == IDOK && (code == BN_CLICKED || !from)) {
            confirm();
        } else if (id == IDCANCEL && (code == BN_CLICKED || !from)) {
            finish(std::nullopt);
        } else if (code == BN_SETFOCUS && (from == ok_ || from == cancel_)) {
            showDefault(from);
        } else if (id == kInputBoxEditId && code == EN_SETFOCUS) {
            showDefault(ok_);
        }
    }

    // The default frame goes to the focused button, and back to OK when the edit has the focus.
    void showDefault(HWND button) {
        SendMessageW(ok_, BM_SETSTYLE, button == ok_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        SendMessageW(cancel_, BM_SETSTYLE, button == cancel_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }

    void confirm() {
        std::wstring text = windowText(edit_);
        if (!wideToGbk(text)) {
            SetWindowTextW(message_, gbkToWide(runtime_texts::kUnsavableText).c_str());
            focusEdit();
            return;
        }
        finish(std::move(text));
    }

    void finish(std::optional<std::wstring> result) {
        if (done_) return;
        done_ = true;
        result_ = std::move(result);
        // Wakes the loop when the answer came with a message sent from elsewhere.
        if (hwnd()) PostMessageW(hwnd(), WM_NULL, 0, 0);
    }

    void focusEdit() {
        SetFocus(edit_);
        selectAll();
    }
    void selectAll() { SendMessageW(edit_, EM_SETSEL, 0, -1); }

    void rememberFocus() {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
    }

    HWND edit_ = nullptr, message_ = nullptr, ok_ = nullptr, cancel_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool done_ = false;
    std::optional<std::wstring> result_;
};

} // namespace

std::optional<std::wstring> runTextInputBox(HWND owner, const TextInputRequest& request,
                                            const std::function<void(const MSG&)>& observe) {
    // Only a top-level window can own the box.
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    InputBox box(owner, request);
    if (!box.ready()) return std::nullopt;
    DisabledOwner disabled(owner);
    box.show();

    std::optional<int> quitCode;
    MSG msg{};
    while (!box.done()) {
        // The box or its owner went away without an answer.
        if (!box.hwnd() || (owner && !IsWindow(owner))) break;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (observe) observe(msg);
        if (got == 0) {
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (box.handleKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::optional<std::wstring> result = box.done() && !quitCode ? box.result() : std::nullopt;

    // The owner is enabled before the box goes, so that the activation falls back to it.
    const bool wasActive = box.hwnd() && GetActiveWindow() == box.hwnd();
    disabled.restore();
    box.close();
    if (owner && IsWindow(owner) && (wasActive || !GetActiveWindow())) SetActiveWindow(owner);
    if (quitCode) PostQuitMessage(*quitCode);
    return result;
}

} // namespace moyuan::win32
