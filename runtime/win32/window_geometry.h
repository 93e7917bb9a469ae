// Outer rectangles of windows: a top-level window's in screen coordinates, a child's in its
// parent's client coordinates.
#pragma once

#include <windows.h>

#include "runtime/form_definition.h"

namespace moyuan::win32 {

Bounds outerBounds(HWND hwnd);
// Moves and sizes in one step; negative sizes become 0.
void setOuterBounds(HWND hwnd, const Bounds& bounds);

enum class Edge { Left, Top, Width, Height };
int readEdge(HWND hwnd, Edge edge);
// A write of one value keeps the others: a move keeps the size, a resize keeps the place.
void writeEdge(HWND hwnd, Edge edge, int value);

// The window's own visible flag, whatever its parent's state.
bool ownVisibleFlag(HWND hwnd);

} // namespace moyuan::win32
