// The modal text input box, driven from inside its own message loop: each step of a test is a
// message posted to the box's owner, and the input a step posts is handled before the next
// step runs, because one thread's posted messages are taken in order.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/win32/scoped_win.h"
#include "runtime/win32/text_input_box.h"
#include "runtime/win32/wide_text.h"

namespace moyuan::win32 {
namespace {

constexpr UINT kRunStep = WM_APP + 1;
constexpr UINT_PTR kWatchdogTimer = 1;
constexpr UINT kWatchdogMs = 10000;
constexpr wchar_t kOwnerClass[] = L"MoyuanInputBoxTestOwner";
constexpr wchar_t kRefusal[] = L"名称中含有无法保存的字符，请修改";

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring classOf(HWND hwnd) {
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
}

BOOL CALLBACK keepIfBox(HWND hwnd, LPARAM out) {
    if (classOf(hwnd) != kInputBoxClassName) return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
}

// The box of this thread, if one is open.
HWND findBox() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &keepIfBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND editOf(HWND box) { return GetDlgItem(box, kInputBoxEditId); }

struct EditSelection {
    DWORD start = 0, end = 0;
};
EditSelection selectionOf(HWND edit) {
    EditSelection s;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start), reinterpret_cast<LPARAM>(&s.end));
    return s;
}

RECT rectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// What a person does to the box, as posted input.
struct Action {
    enum Kind { Type, Press, SetText, Click, CloseBox } kind;
    std::wstring text;
    UINT code = 0;

    void perform(HWND box) const {
        const HWND edit = editOf(box);
        switch (kind) {
        case Type:
            for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
            break;
        case Press: {
            // To the control with the focus, as the keyboard would.
            const HWND target = GetFocus() ? GetFocus() : box;
            const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC)) << 16;
            PostMessageW(target, WM_KEYDOWN, code, scan | 1);
            PostMessageW(target, WM_KEYUP, code, scan | 0xC0000001);
            break;
        }
        case SetText:
            SetWindowTextW(edit, text.c_str());
            break;
        case Click:
            PostMessageW(GetDlgItem(box, static_cast<int>(code)), BM_CLICK, 0, 0);
            break;
        case CloseBox:
            PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
    }
};

Action type(std::wstring text) { return {Action::Type, std::move(text), 0}; }
Action press(UINT key) { return {Action::Press, {}, key}; }
Action setText(std::wstring text) { return {Action::SetText, std::move(text), 0}; }
Action click(int id) { return {Action::Click, {}, static_cast<UINT>(id)}; }
Action closeBox() { return {Action::CloseBox, {}, 0}; }

// A plain top-level window that owns the box and runs the test's steps inside the box's loop.
// A watchdog closes a box that stays open too long, so a fault fails the test instead of
// hanging it.
class Owner {
public:
    Owner() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Owner::proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kOwnerClass;
        RegisterClassExW(&wc);
        const int w = 500, h = 360;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
        hwnd_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h,
                                nullptr, nullptr, GetModuleHandleW(nullptr), this);
        SetForegroundWindow(hwnd_);
        SetActiveWindow(hwnd_);
        pump();
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    ~Owner() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        pump();
    }

    HWND hwnd() const { return hwnd_; }

    Owner& then(std::function<void(HWND box)> step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    Owner& then(const Action& action) {
        return then([action](HWND box) { action.perform(box); });
    }
    Owner& then(const std::vector<Action>& actions) {
        for (const Action& a : actions) then(a);
        return *this;
    }

    std::optional<std::wstring> run(const TextInputRequest& request,
                                    const std::function<void(const MSG&)>& observe = {}) {
        PostMessageW(hwnd_, kRunStep, 0, 0);
        SetTimer(hwnd_, kWatchdogTimer, kWatchdogMs, nullptr);
        std::optional<std::wstring> result = runTextInputBox(hwnd_, request, observe);
        if (IsWindow(hwnd_)) KillTimer(hwnd_, kWatchdogTimer);
        EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps were not reached";
        EXPECT_FALSE(timedOut_) << "the box stayed open";
        return result;
    }

    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == kRunStep) {
            self->runStep(hwnd);
            return 0;
        }
        if (self && msg == WM_TIMER && wp == kWatchdogTimer) {
            KillTimer(hwnd, kWatchdogTimer);
            self->timedOut_ = true;
            if (HWND box = findBox()) PostMessageW(box, WM_CLOSE, 0, 0);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    void runStep(HWND hwnd) {
        if (steps_.empty()) return;
        const HWND box = findBox();
        if (!box) {
            ADD_FAILURE() << "no box is open for the next step";
            steps_.clear();
            return;
        }
        std::function<void(HWND)> step = std::move(steps_.front());
        steps_.pop_front();
        step(box);
        if (!steps_.empty() && IsWindow(hwnd)) PostMessageW(hwnd, kRunStep, 0, 0);
    }

    HWND hwnd_ = nullptr;
    std::deque<std::function<void(HWND)>> steps_;
    bool timedOut_ = false;
};

TextInputRequest request(std::wstring initial) {
    return {L"请输入图片名称：", L"保存图片", std::move(initial)};
}

TEST(TextInputBoxTest, AnswersAsThePersonDecides) {
    struct Case {
        const char* name;
        std::wstring initial;
        std::vector<Action> actions;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"Enter confirms the initial text", L"图片一", {press(VK_RETURN)}, L"图片一"},
        {"OK confirms the initial text", L"picture 1", {click(IDOK)}, L"picture 1"},
        {"typing replaces the selected initial text", L"旧名字", {type(L"new"), press(VK_RETURN)}, L"new"},
        {"Chinese typed text comes back exactly", L"x", {type(L"图片二"), press(VK_RETURN)}, L"图片二"},
        {"non-ASCII text that GBK holds is accepted", L"", {setText(L"café №2"), click(IDOK)}, L"café №2"},
        {"an emptied text confirms as empty", L"abc", {type(L"\b"), press(VK_RETURN)}, L""},
        {"an empty initial text confirms as empty", L"", {click(IDOK)}, L""},
        {"Esc cancels even after typing", L"abc", {type(L"zz"), press(VK_ESCAPE)}, std::nullopt},
        {"the Cancel button cancels", L"abc", {type(L"zz"), click(IDCANCEL)}, std::nullopt},
        {"the close box cancels", L"abc", {closeBox()}, std::nullopt},
        {"Enter on the focused OK button confirms", L"a", {type(L"ok"), press(VK_TAB), press(VK_RETURN)}, L"ok"},
        {"Enter on the focused Cancel button cancels", L"a", {press(VK_TAB), press(VK_TAB), press(VK_RETURN)},
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Owner owner;
        owner.then(c.actions);
        EXPECT_EQ(owner.run(request(c.initial)), c.expected);
        EXPECT_EQ(findBox(), nullptr) << "the box must be gone";
    }
}

TEST(TextInputBoxTest, OpensCaptionedOverItsOwnerWithTheInitialTextSelected) {
    struct Seen {
        HWND box = nullptr, owner = nullptr, focus = nullptr, edit = nullptr;
        std::wstring title, prompt, text, message, ok, cancel;
        LONG boxStyle = 0, editStyle = 0, okStyle = 0, cancelStyle = 0;
        EditSelection selection;
        bool visible = false, fontsAreDefault = false;
        RECT boxRect{};
    } seen;
    Owner owner;
    const std::wstring initial = L"图片 2024";
    owner.then([&](HWND box) {
        const HWND edit = editOf(box), ok = GetDlgItem(box, IDOK), cancel = GetDlgItem(box, IDCANCEL);
        const HWND prompt = GetDlgItem(box, kInputBoxPromptId), message = GetDlgItem(box, kInputBoxMessageId);
        seen.box = box;
        seen.owner = GetWindow(box, GW_OWNER);
        seen.focus = GetFocus();
        seen.edit = edit;
        seen.title = textOf(box);
        seen.prompt = textOf(prompt);
        seen.text = textOf(edit);
        seen.message = textOf(message);
        seen.ok = textOf(ok);
        seen.cancel = textOf(cancel);
        seen.boxStyle = GetWindowLongW(box, GWL_STYLE);
        seen.editStyle = GetWindowLongW(edit, GWL_STYLE);
        seen.okStyle = GetWindowLongW(ok, GWL_STYLE);
        seen.cancelStyle = GetWindowLongW(cancel, GWL_STYLE);
        seen.selection = selectionOf(edit);
        seen.visible = IsWindowVisible(box);
        seen.boxRect = rectOf(box);
        const auto gui = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
        seen.fontsAreDefault = true;
        for (HWND control : {prompt, edit, ok, cancel})
            seen.fontsAreDefault &= static_cast<WPARAM>(SendMessageW(control, WM_GETFONT, 0, 0)) == gui;
    });
    owner.then(press(VK_ESCAPE));
    EXPECT_EQ(owner.run({L"请输入图片名称：", L"保存图片", initial}), std::nullopt);

    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.owner, owner.hwnd());
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(seen.title, L"保存图片");
    EXPECT_TRUE((seen.boxStyle & WS_CAPTION) == WS_CAPTION);
    EXPECT_TRUE(seen.boxStyle & WS_SYSMENU);
    EXPECT_EQ(seen.prompt, L"请输入图片名称：");
    EXPECT_EQ(seen.text, initial);
    ASSERT_NE(seen.edit, nullptr);
    EXPECT_EQ(seen.focus, seen.edit) << "the focus starts in the edit";
    EXPECT_EQ(seen.selection.start, 0u);
    EXPECT_EQ(seen.selection.end, initial.size()) << "all of the initial text is selected";
    EXPECT_TRUE(seen.editStyle & ES_AUTOHSCROLL);
    EXPECT_EQ(seen.message, L"");
    EXPECT_EQ(seen.ok, L"确定");
    EXPECT_EQ(seen.cancel, L"取消");
    EXPECT_EQ(seen.okStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(seen.cancelStyle & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_TRUE(seen.fontsAreDefault);

    const RECT o = rectOf(owner.hwnd()), b = seen.boxRect;
    EXPECT_NEAR((b.left + b.right) / 2, (o.left + o.right) / 2, 1);
    EXPECT_NEAR((b.top + b.bottom) / 2, (o.top + o.bottom) / 2, 1);
}

TEST(TextInputBoxTest, LongPromptWrapsAboveTheEdit) {
    struct Measured {
        int promptHeight = 0, editTop = 0, promptBottom = 0;
        RECT box{};
    };
    const auto measure = [](const std::wstring& prompt) {
        Measured m;
        Owner owner;
        owner.then([&](HWND box) {
            const RECT p = rectOf(GetDlgItem(box, kInputBoxPromptId)), e = rectOf(editOf(box));
            m.promptHeight = p.bottom - p.top;
            m.promptBottom = p.bottom;
            m.editTop = e.top;
            m.box = rectOf(box);
        });
        owner.then(press(VK_ESCAPE));
        owner.run({prompt, L"t", L""});
        return m;
    };
    const Measured shortPrompt = measure(L"名称：");
    std::wstring longText;
    for (int i = 0; i < 12; ++i) longText += L"这是一段很长的提示文字 ";
    const Measured longPrompt = measure(longText);
    EXPECT_GT(longPrompt.promptHeight, shortPrompt.promptHeight * 2);
    EXPECT_GE(longPrompt.editTop, longPrompt.promptBottom);
    EXPECT_GE(shortPrompt.editTop, shortPrompt.promptBottom);
    EXPECT_GT(longPrompt.box.bottom - longPrompt.box.top, shortPrompt.box.bottom - shortPrompt.box.top);
}

TEST(TextInputBoxTest, TabMovesAmongTheEditAndTheButtons) {
    std::vector<HWND> focusAfterEachTab;
    EditSelection selectionBack;
    HWND edit = nullptr, ok = nullptr, cancel = nullptr;
    LONG cancelStyleWhenFocused = 0, okStyleWhenCancelFocused = 0;
    Owner owner;
    owner.then([&](HWND box) {
        edit = editOf(box);
        ok = GetDlgItem(box, IDOK);
        cancel = GetDlgItem(box, IDCANCEL);
        // The caret somewhere inside: coming back by Tab selects everything again.
        SendMessageW(edit, EM_SETSEL, 2, 2);
    });
    for (int i = 0; i < 3; ++i) {
        owner.then(press(VK_TAB));
        owner.then([&](HWND box) {
            focusAfterEachTab.push_back(GetFocus());
            if (GetFocus() == cancel) {
                cancelStyleWhenFocused = GetWindowLongW(cancel, GWL_STYLE);
                okStyleWhenCancelFocused = GetWindowLongW(ok, GWL_STYLE);
            }
            if (GetFocus() == editOf(box)) selectionBack = selectionOf(editOf(box));
        });
    }
    owner.then(press(VK_RETURN));
    EXPECT_EQ(owner.run(request(L"abcdef")), L"abcdef");

    ASSERT_EQ(focusAfterEachTab.size(), 3u);
    EXPECT_EQ(focusAfterEachTab[0], ok);
    EXPECT_EQ(focusAfterEachTab[1], cancel);
    EXPECT_EQ(focusAfterEachTab[2], edit);
    EXPECT_EQ(selectionBack.start, 0u);
    EXPECT_EQ(selectionBack.end, 6u);
    EXPECT_EQ(cancelStyleWhenFocused & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "the focused button is the default";
    EXPECT_EQ(okStyleWhenCancelFocused & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST(TextInputBoxTest, RefusesTextThatGbkCannotHoldAndStaysOpen) {
    struct Case {
        const char* name;
        std::wstring unsavable;
        Action confirm;
    };
    const Case cases[] = {
        {"a Thai letter, with OK", L"名称\u0E01", click(IDOK)},
        {"a Thai letter, with Enter", L"\u0E01", press(VK_RETURN)},
        {"an emoji beyond the basic plane", L"图\U0001F600片", click(IDOK)},
        {"a lone surrogate", std::wstring(L"ab") + wchar_t(0xD800), press(VK_RETURN)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(wideToGbk(c.unsavable).has_value()) << "the case needs a character outside GBK";
        struct Seen {
            bool open = false;
            std::wstring message, edit;
            HWND focus = nullptr, editHwnd = nullptr;
            EditSelection selection;
        } seen;
        Owner owner;
        owner.then(setText(c.unsavable)).then(c.confirm).then([&](HWND box) {
            seen.open = IsWindowVisible(box);
            seen.message = textOf(GetDlgItem(box, kInputBoxMessageId));
            seen.edit = textOf(editOf(box));
            seen.focus = GetFocus();
            seen.editHwnd = editOf(box);
            seen.selection = selectionOf(editOf(box));
        });
        owner.then(type(L"名称二")).then(c.confirm);
        EXPECT_EQ(owner.run(request(L"旧")), L"名称二");

        EXPECT_TRUE(seen.open);
        EXPECT_EQ(seen.message, kRefusal);
        EXPECT_EQ(seen.edit, c.unsavable) << "the refused text stays for the person to fix";
        EXPECT_EQ(seen.focus, seen.editHwnd);
        EXPECT_EQ(seen.selection.start, 0u);
        EXPECT_EQ(seen.selection.end, c.unsavable.size());
    }
}

TEST(TextInputBoxTest, OwnerIsDisabledWhileOpenThenEnabledAndActiveAgain) {
    for (const Action& ending : {press(VK_RETURN), press(VK_ESCAPE), closeBox()}) {
        bool enabledWhileOpen = true;
        Owner owner;
        ASSERT_TRUE(IsWindowEnabled(owner.hwnd()));
        owner.then([&](HWND) { enabledWhileOpen = IsWindowEnabled(owner.hwnd()) != FALSE; });
        owner.then(ending);
        owner.run(request(L"x"));
        EXPECT_FALSE(enabledWhileOpen);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
        EXPECT_EQ(GetActiveWindow(), owner.hwnd());
    }
}

TEST(TextInputBoxTest, ObserverSeesEveryMessageBeforeItIsHandled) {
    struct Observed {
        HWND hwnd;
        UINT message;
        WPARAM wp;
        std::wstring editTextThen;
    };
    std::vector<Observed> observed;
    HWND edit = nullptr;
    Owner owner;
    owner.then([&](HWND box) { edit = editOf(box); });
    owner.then(type(L"q")).then(press(VK_RETURN));
    const auto observe = [&](const MSG& m) {
        observed.push_back({m.hwnd, m.message, m.wParam, edit ? textOf(edit) : L""});
    };
    EXPECT_EQ(owner.run(request(L"old"), observe), L"q");

    const auto find = [&](HWND hwnd, UINT message, WPARAM wp) {
        for (std::size_t i = 0; i < observed.size(); ++i)
            if (observed[i].hwnd == hwnd && observed[i].message == message && observed[i].wp == wp) return i;
        return observed.size();
    };
    const std::size_t step = find(owner.hwnd(), kRunStep, 0);
    const std::size_t typed = find(edit, WM_CHAR, L'q');
    const std::size_t enter = find(edit, WM_KEYDOWN, VK_RETURN);
    ASSERT_LT(step, observed.size()) << "the owner's own messages pass by the observer too";
    ASSERT_LT(typed, observed.size());
    ASSERT_LT(enter, observed.size());
    EXPECT_LT(typed, enter);
    EXPECT_EQ(observed[typed].editTextThen, L"old") << "observed before the edit took the character";
    EXPECT_EQ(observed[enter].editTextThen, L"q");
}

TEST(TextInputBoxTest, EndsCancelledWhenItsWindowGoesAway) {
    struct Case {
        const char* name;
        bool destroyOwner;
    };
    for (const Case& c : {Case{"the owner is destroyed", true}, Case{"the box itself is destroyed", false}}) {
        SCOPED_TRACE(c.name);
        HWND box = nullptr;
        Owner owner;
        owner.then(type(L"typed")).then([&](HWND b) {
            box = b;
            DestroyWindow(c.destroyOwner ? owner.hwnd() : b);
        });
        EXPECT_EQ(owner.run(request(L"x")), std::nullopt);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(IsWindow(box));
        EXPECT_EQ(findBox(), nullptr);
        EXPECT_EQ(IsWindow(owner.hwnd()) != FALSE, !c.destroyOwner);
        if (!c.destroyOwner) {
            EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
        }
    }
}

TEST(TextInputBoxTest, QuitMessageEndsItCancelledAndIsPostedAgain) {
    for (int code : {0, 7}) {
        SCOPED_TRACE(code);
        Owner owner;
        owner.then([&](HWND) { PostQuitMessage(code); });
        EXPECT_EQ(owner.run(request(L"x")), std::nullopt);
        EXPECT_EQ(findBox(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
        MSG quit{};
        ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message is kept";
        EXPECT_EQ(quit.wParam, static_cast<WPARAM>(code));
    }
}

struct SentMessage {
    HWND to;
    UINT message;
    WPARAM wp;
    LPARAM lp;
};

DWORD WINAPI sendFromElsewhere(void* what) {
    const auto* m = static_cast<const SentMessage*>(what);
    SendMessageW(m->to, m->message, m->wp, m->lp);
    return 0;
}

TEST(TextInputBoxTest, AnswersMessagesSentFromAnotherThread) {
    // A tool in another process drives the box with sent messages, which arrive while the loop
    // waits: the box must answer without waiting for more input.
    enum Target { ToBox, ToOk };
    struct Case {
        const char* name;
        Target target;
        UINT message;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"a click on OK", ToOk, BM_CLICK, L"sent"},
        {"OK as a command", ToBox, WM_COMMAND, L"sent"},
        {"a close request", ToBox, WM_CLOSE, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Owner owner;
        SentMessage sent{};
        Unique<HANDLE, CloseKernelHandle> sender;
        // Nothing else may wake the loop: the focus leaves the edit (no caret blinking) and
        // every window is painted before the message is sent.
        owner.then(press(VK_TAB));
        owner.then([&](HWND box) {
            RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            const HWND ok = GetDlgItem(box, IDOK);
            sent = {c.target == ToOk ? ok : box, c.message, 0, 0};
            if (c.message == WM_COMMAND) {
                sent.wp = MAKEWPARAM(IDOK, BN_CLICKED);
                sent.lp = reinterpret_cast<LPARAM>(ok);
            }
            sender.reset(CreateThread(nullptr, 0, &sendFromElsewhere, &sent, 0, nullptr));
        });
        EXPECT_EQ(owner.run(request(L"sent")), c.expected);
        ASSERT_TRUE(sender);
        EXPECT_EQ(WaitForSingleObject(sender.get(), 5000), WAIT_OBJECT_0);
    }
}

} // namespace
} // namespace moyuan::win32
