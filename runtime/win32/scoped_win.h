// Thin owning wrappers for Win32 handles. Each is move-only, so a handle can never be
// released twice by an accidental copy.
#pragma once

#include <windows.h>

#include <utility>

namespace moyuan::win32 {

// A handle together with the call that releases it.
template <typename Handle, typename Release>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle h) : handle_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~Unique() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle h = Handle{}) {
        if (handle_ != Handle{}) Release{}(handle_);
        handle_ = h;
    }

private:
    Handle handle_{};
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteMemoryDc {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct CloseKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct DestroyIconHandle {
    void operator()(HICON h) const { DestroyIcon(h); }
};

using UniqueBitmap = Unique<HBITMAP, DeleteGdiObject>;
using UniqueBrush = Unique<HBRUSH, DeleteGdiObject>;
using UniquePen = Unique<HPEN, DeleteGdiObject>;
using UniqueFont = Unique<HFONT, DeleteGdiObject>;
using UniqueRegion = Unique<HRGN, DeleteGdiObject>;
using UniquePalette = Unique<HPALETTE, DeleteGdiObject>;
using UniqueMemoryDc = Unique<HDC, DeleteMemoryDc>;
using UniqueIcon = Unique<HICON, DestroyIconHandle>;

// A file or other kernel handle; INVALID_HANDLE_VALUE counts as none.
class UniqueFile {
public:
    UniqueFile() = default;
    explicit UniqueFile(HANDLE h) : handle_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    UniqueFile(UniqueFile&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
    UniqueFile& operator=(UniqueFile&& o) noexcept {
        if (this != &o) {
            close();
            handle_ = std::exchange(o.handle_, nullptr);
        }
        return *this;
    }
    ~UniqueFile() { close(); }
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Closes now; returns whether the close succeeded (it can report a late write error).
    bool close() {
        if (!handle_) return true;
        return CloseHandle(std::exchange(handle_, nullptr)) != FALSE;
    }

private:
    HANDLE handle_ = nullptr;
};

// A device context from GetDC or GetWindowDC, given back with ReleaseDC to its window.
class WindowDc {
public:
    static WindowDc client(HWND hwnd) { return WindowDc(hwnd, GetDC(hwnd)); }
    static WindowDc whole(HWND hwnd) { return WindowDc(hwnd, GetWindowDC(hwnd)); }
    static WindowDc screen() { return client(nullptr); }

    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& o) noexcept
        : hwnd_(std::exchange(o.hwnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    WindowDc(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint and EndPaint as one object.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    HDC get() const { return ps_.hdc; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// Selects an object into a device context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    bool ok() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette into a device context and puts the previous one back.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette, bool background = false)
        : dc_(dc), previous_(SelectPalette(dc, palette, background)) {}
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;
    ~PaletteSelection() {
        if (previous_) SelectPalette(dc_, previous_, FALSE);
    }
    bool ok() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HPALETTE previous_;
};

// SetStretchBltMode and friends put back on scope exit.
class StretchModeScope {
public:
    StretchModeScope(HDC dc, int mode) : dc_(dc), previous_(SetStretchBltMode(dc, mode)) {}
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;
    ~StretchModeScope() {
        if (previous_) SetStretchBltMode(dc_, previous_);
    }

private:
    HDC dc_;
    int previous_;
};

} // namespace moyuan::win32
