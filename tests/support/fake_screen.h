// The pixel work behind the fake runtime's screen: laying a panel's background picture,
// drawing rectangles the way GDI does, and encoding an area as the program's picture bytes.
#pragma once

#include <optional>

#include "runtime/form_definition.h"
#include "runtime/form_runtime.h"
#include "tests/support/image.h"

namespace moyuan::test {

// A rectangle as a handler asked for it: two corners in the panel's client pixels, in any
// order.
struct DrawnRectangle {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Repeats the tile over the area of the target, starting at the area's top-left corner at
// the tile's natural size. Pixels outside the target are dropped.
void tileOnto(Image& target, const Image& tile, const Bounds& area);

// Draws the rectangle as GDI's Rectangle does with a one-pixel pen: the outline lies on the
// columns min(x1, x2) and max(x1, x2) - 1 and the rows min(y1, y2) and max(y1, y2) - 1; with
// a fill colour the inside is filled, without one (a hollow brush) it is left as it was.
// The corners are relative to the area's top-left, and only pixels inside the area change.
void drawRectangleOnto(Image& target, const Bounds& area, const DrawnRectangle& rectangle,
                       Rgb pen, std::optional<Rgb> fill);

// The area of the image as picture bytes (makePictureBytes layout: bottom row first, BGR).
// Pixels of the area that lie outside the image are black; an area without pixels gives the
// empty sequence.
PictureBytes encodeArea(const Image& image, const Bounds& area);

} // namespace moyuan::test
