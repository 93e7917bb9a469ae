// A window class whose messages reach one member function of a C++ object. The object's
// address travels in the creation parameters and is stored at WM_NCCREATE.
#pragma once

#include <windows.h>

namespace moyuan::win32 {

template <typename Derived>
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    virtual ~BaseWindow() {
        if (hwnd_) {
            // Destroying from the destructor: the object is going away, so stop routing.
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            DestroyWindow(hwnd_);
        }
    }

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class once per process; later calls find it registered.
    static void registerClass(const wchar_t* className, HCURSOR cursor, HICON icon = nullptr,
                              UINT style = 0) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return;
        wc.style = style;
        wc.lpfnWndProc = &BaseWindow::windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = cursor;
        wc.hIcon = icon;
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }

    HWND create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x,
                int y, int width, int height, HWND parent, HMENU idOrMenu) {
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                               idOrMenu, GetModuleHandleW(nullptr), this);
    }

    // The window is gone (WM_NCDESTROY): the object no longer owns a handle.
    virtual void onDestroyed() {}

    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            self = static_cast<Derived*>(static_cast<BaseWindow*>(cs->lpCreateParams));
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            const LRESULT r = self->handleMessage(msg, wp, lp);
            self->hwnd_ = nullptr;
            static_cast<BaseWindow*>(self)->onDestroyed();
            return r;
        }
        return self->handleMessage(msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
};

} // namespace moyuan::win32
