#include "capture/region_selection.h"

#include "forms/control_ids.h"

namespace moyuan {

Bounds markerBounds(int startX, int startY, int x, int y) {
    // The outline lies on the columns min and max - 1 and the rows min and max - 1 of the two
    // corners; the marker starts one pixel in and leaves out both outline lines. Pointer
    // coordinates are 16-bit, so none of these sums can overflow.
    if (x < startX) {
        if (y < startY) return {x + 1, y + 1, startX - x - 2, startY - y - 2};  // up-left
        return {x + 1, startY + 1, startX - x - 2, y - startY - 2};              // down-left
    }
    if (y > startY) return {startX + 1, startY + 1, x - startX - 2, y - startY - 2}; // down-right
    return {startX + 1, y + 1, x - startX - 2, startY - y - 2};                      // up-right
}

void startDrag(ProgramState& state, const MouseArgs& at) {
    state.dragStartX = at.x;
    state.dragStartY = at.y;
    state.selecting = 1;
}

void previewSelection(FormRuntime& runtime, ProgramState& state, const MouseArgs& at) {
    if (state.selecting != 1) return;

    PictureBytes().swap(state.capturedPicture);
    runtime.clearPanel(画板1);
    runtime.drawRectangle(画板1, state.dragStartX, state.dragStartY, at.x, at.y);

    const Bounds marker = markerBounds(state.dragStartX, state.dragStartY, at.x, at.y);
    runtime.setProperty(画板2, Property::Left, marker.left);
    runtime.setProperty(画板2, Property::Top, marker.top);
    runtime.setProperty(画板2, Property::Width, marker.width);
    runtime.setProperty(画板2, Property::Height, marker.height);

    state.capturedPicture = runtime.snapshot(runtime.windowHandle(画板2));
    runtime.setBytesProperty(图片框1, Property::Picture, state.capturedPicture);
}

} // namespace moyuan
