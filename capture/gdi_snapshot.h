// Reading what the screen displays into picture bytes, through GDI.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/form_runtime.h"

namespace moyuan::gdi {

// The largest picture a snapshot makes, header included. A larger area gives the empty
// sequence without any attempt to read it, on the 32-bit build as on the 64-bit one.
inline constexpr std::uint64_t kMaxSnapshotBytes = std::uint64_t{1} << 30;

// Whether a W x H snapshot has area and its picture stays within kMaxSnapshotBytes.
bool snapshotSizeFits(int width, int height);

// The whole primary screen, from its top-left corner, without the mouse pointer.
PictureBytes snapshotScreen();

// What the screen displays within the window's outer rectangle, frame included. A null
// handle gives the whole screen; a handle that names no window, or a rectangle without
// area, gives the empty sequence.
PictureBytes snapshotWindowArea(HWND window);

} // namespace moyuan::gdi
