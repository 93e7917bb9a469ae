// The GDI read-back: copy an area of a device context into a compatible bitmap, then let
// GetDIBits convert that bitmap to 24-bit rows written straight into the final picture.
#include "capture/gdi_snapshot.h"

#include <climits>
#include <cstddef>
#include <new>
#include <optional>

#include "capture/picture_bytes.h"
#include "runtime/win32/scoped_win.h"

namespace moyuan::gdi {

namespace {

using win32::PaletteSelection;
using win32::Selection;
using win32::UniqueBitmap;
using win32::UniqueMemoryDc;
using win32::UniquePalette;
using win32::WindowDc;

// A LOGPALETTE with room for the 255 system palette entries the read uses.
constexpr WORD kPaletteEntries = 255;
struct SystemPalette {
    WORD version = 0x300;
    WORD count = kPaletteEntries;
    PALETTEENTRY entries[kPaletteEntries]{};
};
static_assert(offsetof(SystemPalette, entries) == offsetof(LOGPALETTE, palPalEntry));

// On a palette display the bitmap's indices only mean something through the colours the
// screen shows now, so the read goes through a copy of the system palette.
std::optional<UniquePalette> systemPaletteCopy(HDC screen) {
    SystemPalette logical;
    if (GetSystemPaletteEntries(screen, 0, kPaletteEntries, logical.entries) == 0) return {};
    UniquePalette palette(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical)));
    if (!palette) return {};
    return palette;
}

// Copies the width x height area at (x, y) of the source into a new picture. The screen DC
// does the conversion to 24 bits. Every object made here is released on every path.
PictureBytes readArea(HDC screen, HDC source, int x, int y, int width, int height) {
    if (!screen || !source || !snapshotSizeFits(width, height)) return {};

    UniqueMemoryDc memory(CreateCompatibleDC(source));
    if (!memory) return {};
    UniqueBitmap bitmap(CreateCompatibleBitmap(source, width, height));
    if (!bitmap) return {};
    {
        // Plain SRCCOPY: no CAPTUREBLT, and the pointer is never part of a BitBlt.
        const Selection selected(memory.get(), bitmap.get());
        if (!selected.ok()) return {};
        if (!BitBlt(memory.get(), 0, 0, width, height, source, x, y, SRCCOPY)) return {};
    } // GetDIBits wants the bitmap out of every DC.

    PictureBytes picture;
    try {
        picture = makePictureBytes(width, height);
    } catch (const std::bad_alloc&) {
        return {};
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: bottom row first, as the picture stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    // Declared before the selection, so the palette is put back before it is deleted.
    std::optional<UniquePalette> palette;
    std::optional<PaletteSelection> paletteSelected;
    if (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) {
        palette = systemPaletteCopy(screen);
        if (!palette) return {};
        paletteSelected.emplace(screen, palette->get());
        if (!paletteSelected->ok() || RealizePalette(screen) == GDI_ERROR) return {};
    }

    const int lines = GetDIBits(screen, bitmap.get(), 0, static_cast<UINT>(height),
                                pictureRows(picture).data(), &info, DIB_RGB_COLORS);
    if (lines != height) return {};
    return picture;
}

} // namespace

bool snapshotSizeFits(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    // In 64 bits even INT_MAX x INT_MAX cannot overflow: the stride stays below 2^33.
    const std::uint64_t stride = (24 * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    return kBmpPixelOffset + stride * static_cast<std::uint64_t>(height) <= kMaxSnapshotBytes;
}

PictureBytes snapshotScreen() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (!snapshotSizeFits(width, height)) return {};
    const WindowDc screen = WindowDc::screen();
    return readArea(screen.get(), screen.get(), 0, 0, width, height);
}

PictureBytes snapshotWindowArea(HWND window) {
    if (window == nullptr) return snapshotScreen();
    if (!IsWindow(window)) return {};
    RECT outer{};
    if (!GetWindowRect(window, &outer)) return {};
    const long long width = static_cast<long long>(outer.right) - outer.left;
    const long long height = static_cast<long long>(outer.bottom) - outer.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX) return {};
    if (!snapshotSizeFits(static_cast<int>(width), static_cast<int>(height))) return {};

    const WindowDc screen = WindowDc::screen();
    if (IsWindowVisible(window)) {
        const WindowDc own = WindowDc::whole(window);
        return readArea(screen.get(), own.get(), 0, 0, static_cast<int>(width),
                        static_cast<int>(height));
    }
    // A window that is not visible (itself or through an ancestor) displays nothing, and
    // its own DC is no reliable view of what lies beneath it: on Windows that DC is clipped
    // away or shows the window's own surface, while Wine happens to hand out the parent's
    // pixels for a hidden child but black for a hidden top-level window. What the screen
    // shows at the window's rectangle is the same everywhere, so that is what is read.
    return readArea(screen.get(), screen.get(), outer.left, outer.top, static_cast<int>(width),
                    static_cast<int>(height));
}

} // namespace moyuan::gdi
