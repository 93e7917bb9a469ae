// A window and its controls written down as data: what the window builder creates, where,
// how it looks and which handler each control event reaches.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/form_runtime.h"

namespace moyuan {

enum class ControlKind { Button, DrawPanel, PictureBox, Balloon };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

// How a drawing panel draws its figures and lays out its background picture.
struct PanelLook {
    Rgb penColor{0, 0, 0};
    int penStyle = 1;    // solid
    int drawMode = 12;   // copy pen: the raster operation is the draw mode plus 1
    int penWidth = 0;    // one pixel
    int fillStyle = 1;   // 0 hollow, 1 solid
    Rgb fillColor{255, 255, 255};
    int pictureMode = 1; // tiled from the top-left at natural size
};

struct ControlSpec {
    ControlId id = 0;
    ControlKind kind = ControlKind::Button;
    std::string_view name;   // UTF-8, for logs and diagnostics
    Bounds place;            // relative to the window's client area; outer size
    bool visible = true;
    bool tabStop = false;
    std::string_view text;   // GBK caption
    int border = 0;
    std::optional<Rgb> background; // none: the kind's system colour
    PanelLook panel;
    int displayMode = 1;     // picture box: stretched over the whole box
    std::span<const std::uint8_t> picture; // picture box: encoded picture shown at start
};

struct WindowSpec {
    ControlId id = 0;
    std::string_view caption; // GBK
    Bounds place;             // left and top are replaced by the start position when centred
    bool centred = true;
    int border = kBorderFixed;
    bool controlBox = true;
    bool minimizeBox = true;
    bool maximizeBox = false;
    bool escCloses = true;
    bool enterMovesFocus = false;
    Rgb background{192, 192, 192};
};

using EventHandler = std::function<void(FormRuntime&, const MouseArgs&)>;

struct EventBinding {
    ControlId control = 0;
    EventCode code = EventCode::Click;
    EventHandler handler;
};

struct WindowForm {
    WindowSpec window;
    std::vector<ControlSpec> controls; // in stacking order, the topmost first
    std::vector<EventBinding> bindings;
};

struct FormDefinition {
    std::vector<WindowForm> windows;

    const WindowForm* find(ControlId windowId) const {
        for (const auto& w : windows)
            if (w.window.id == windowId) return &w;
        return nullptr;
    }
};

} // namespace moyuan
