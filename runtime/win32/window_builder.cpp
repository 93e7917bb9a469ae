#include "runtime/win32/window_builder.h"

#include "runtime/win32/balloon.h"
#include "runtime/win32/button.h"
#include "runtime/win32/draw_panel.h"
#include "runtime/win32/picture_box.h"

namespace moyuan::win32 {

namespace {

std::unique_ptr<Control> makeControl(const ControlSpec& spec, HWND parent) {
    switch (spec.kind) {
    case ControlKind::Button: return std::make_unique<Button>(spec, parent);
    case ControlKind::DrawPanel: return std::make_unique<DrawPanel>(spec, parent);
    case ControlKind::PictureBox: return std::make_unique<PictureBox>(spec, parent);
    case ControlKind::Balloon: return std::make_unique<Balloon>(spec, parent);
    }
    return nullptr;
}

} // namespace

Bounds centredBounds(const Bounds& size) {
    const double screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    return {static_cast<int>((screenW - size.width) / 2), static_cast<int>((screenH - size.height) / 2),
            size.width, size.height};
}

std::unique_ptr<MainWindow> buildWindow(const WindowForm& form,
                                        const std::function<EventSink(const Control&)>& makeSink) {
    const WindowSpec& spec = form.window;
    const Bounds outer = spec.centred ? centredBounds(spec.place) : spec.place;
    auto window = std::make_unique<MainWindow>(spec, outer);
    if (!window->hwnd()) return nullptr;

    // Hidden, in reverse stacking order: the bottom control first.
    for (auto it = form.controls.rbegin(); it != form.controls.rend(); ++it) {
        auto control = makeControl(*it, window->hwnd());
        if (!control || !control->window()) return nullptr;
        control->setEventSink(makeSink(*control));
        window->addControl(std::move(control));
    }

    // Stacked: the first control at the top, each next one directly below the one before.
    HWND above = HWND_TOP;
    for (const ControlSpec& c : form.controls) {
        HWND hwnd = window->findControl(c.id)->window();
        SetWindowPos(hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = hwnd;
    }

    // Shown: the visible controls (never the balloon control's own window), then the window.
    for (const ControlSpec& c : form.controls)
        if (c.visible && c.kind != ControlKind::Balloon)
            ShowWindow(window->findControl(c.id)->window(), SW_SHOWNA);
    ShowWindow(window->hwnd(), SW_SHOWNORMAL);
    UpdateWindow(window->hwnd());
    return window;
}

} // namespace moyuan::win32
