// A form's top-level window: frame styles by border code, the light-grey client area, its
// font and icon, and the controls it owns. Clicks of its buttons are routed here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "runtime/win32/base_window.h"
#include "runtime/win32/control.h"
#include "runtime/win32/scoped_win.h"

namespace moyuan::win32 {

class MainWindow final : public BaseWindow<MainWindow> {
public:
    // Creates the window hidden, at the given outer rectangle.
    MainWindow(const WindowSpec& spec, const Bounds& outer);

    const WindowSpec& spec() const { return spec_; }

    void addControl(std::unique_ptr<Control> control);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    Control* findControl(ControlId id) const;
    Control* findControl(HWND hwnd) const;

    // 0: no frame and no caption; 6: fixed frame, caption, sunken client edge. The outer
    // rectangle stays where it is.
    void setBorder(int border);
    int border() const { return border_; }

    void setCursorCode(int code) { cursorCode_ = code; }

    // Called once the window is gone.
    void onGone(std::function<void()> callback) { gone_ = std::move(callback); }

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    void onDestroyed() override {
        if (gone_) gone_();
    }

    const WindowSpec& spec_;
    int border_;
    int cursorCode_ = kCursorDefault;
    UniqueBrush background_;
    UniqueIcon bigIcon_, smallIcon_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::function<void()> gone_;
};

} // namespace moyuan::win32
