// A helper for the end-to-end tests, run in the same Wine prefix as the program: it finds
// the program's windows and reports their rectangles, or closes one. Output is one line per
// window: class, id, visible, left, top, width, height (screen coordinates).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void printWindow(const wchar_t* role, HWND hwnd) {
    wchar_t cls[128] = L"";
    GetClassNameW(hwnd, cls, 128);
    RECT r{};
    GetWindowRect(hwnd, &r);
    RECT c{};
    GetClientRect(hwnd, &c);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    std::wprintf(L"%ls %ls id=%#llx visible=%d rect=%ld,%ld,%ld,%ld client=%ld,%ld,%ld,%ld style=%#lx exstyle=%#lx\n",
                 role, cls, static_cast<unsigned long long>(GetWindowLongPtrW(hwnd, GWLP_ID)),
                 (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) ? 1 : 0, r.left, r.top,
                 r.right - r.left, r.bottom - r.top, origin.x, origin.y, c.right, c.bottom,
                 static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)),
                 static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
}

HWND waitForClass(const wchar_t* cls, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND h = FindWindowW(cls, nullptr); h && IsWindowVisible(h)) return h;
        if (GetTickCount64() >= end) return nullptr;
        Sleep(20);
    }
}

} // namespace

// Usage: win_probe wait CLASS TIMEOUT_MS   waits until a visible top-level window of the
//                                          class exists, then prints it and its children
//        win_probe gone CLASS TIMEOUT_MS   waits until no window of the class exists
//        win_probe close CLASS             posts WM_CLOSE to it
//        win_probe run EXE                 runs EXE and prints its whole 32-bit exit code
//        win_probe focus CLASS             prints the id of the control with the keyboard focus
//        win_probe cursor CLASS            prints the handle of the pointer's current shape
//        win_probe text CLASS ID           prints the text of the window's child ID, as UTF-8
int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring verb = argv[1];
    const wchar_t* cls = argv[2];
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 10000;
    if (verb == L"wait") {
        HWND h = waitForClass(cls, timeout);
        if (!h) return 1;
        printWindow(L"window", h);
        // Children in stacking order, the topmost first.
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) printWindow(L"child", c);
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"gone") {
        const ULONGLONG end = GetTickCount64() + timeout;
        while (FindWindowW(cls, nullptr)) {
            if (GetTickCount64() >= end) return 1;
            Sleep(20);
        }
        return 0;
    }
    if (verb == L"run") {
        std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi))
            return 1;
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        std::wprintf(L"exit code %#lx\n", static_cast<unsigned long>(code));
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"focus") {
        HWND h = FindWindowW(cls, nullptr);
        if (!h) return 1;
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info)) return 1;
        std::wprintf(L"focus id=%#llx\n",
                     info.hwndFocus ? static_cast<unsigned long long>(GetWindowLongPtrW(info.hwndFocus, GWLP_ID)) : 0ull);
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"cursor") {
        // Cursor handles cannot be looked into from another process under Wine; the test
        // compares the handle with the ones the program reports in its log.
        CURSORINFO info{};
        info.cbSize = sizeof info;
        const DWORD target = GetWindowThreadProcessId(FindWindowW(cls, nullptr), nullptr);
        AttachThreadInput(GetCurrentThreadId(), target, TRUE);
        const BOOL got = GetCursorInfo(&info);
        AttachThreadInput(GetCurrentThreadId(), target, FALSE);
        if (!got) return 1;
        std::wprintf(L"cursor %#llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(info.hCursor)));
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"text" && argc > 3) {
        HWND h = FindWindowW(cls, nullptr);
        if (!h) return 1;
        HWND child = GetDlgItem(h, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
        if (!child) return 1;
        wchar_t text[1024] = L"";
        SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        char utf8[4096] = "";
        const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::fwrite(utf8, 1, n > 0 ? static_cast<size_t>(n - 1) : 0, stdout);
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"close") {
        HWND h = FindWindowW(cls, nullptr);
        if (!h) return 1;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
