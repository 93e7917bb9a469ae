// The form runtime on Windows: builds the form's window, raises control events to the bound
// handlers, runs the message loop and carries out the operations the handlers call.
#pragma once

#include <memory>
#include <optional>

#include "runtime/exit_list.h"
#include "runtime/form_definition.h"
#include "runtime/win32/main_window.h"

namespace moyuan::win32 {

class Win32FormRuntime final : public FormRuntime {
public:
    Win32FormRuntime() = default;
    ~Win32FormRuntime() override;

    void startRuntime(const FormDefinition& form) override;
    void addExitRoutine(ExitRoutine routine) override;
    void loadStartWindow(ControlId windowId) override;
    void runMessageLoop() override;

    void setProperty(ControlId control, Property property, std::int32_t value) override;
    std::int32_t property(ControlId control, Property property) override;
    void setBytesProperty(ControlId control, Property property,
                          std::span<const std::uint8_t> bytes) override;

    void clearPanel(ControlId panel) override;
    void drawRectangle(ControlId panel, int x1, int y1, int x2, int y2) override;

    WindowHandle windowHandle(ControlId control) override;
    int screenWidth() override;
    int screenHeight() override;
    PictureBytes snapshot(WindowHandle window) override;

    bool textInput(const Text& prompt, const Text& title, const Text& initialText, Text& variable,
                   InputType type) override;
    void balloonNotice(ControlId balloon, int x, int y, const Text& text, IconIndex icon) override;

    bool writeFile(const Text& fileName, std::span<const std::uint8_t> bytes) override;

    // The exit step after the program's entry has returned: the exit list runs once, the
    // runtime lets go of its windows, and the quit message's code is returned.
    int exitStep();

private:
    HWND windowOf(ControlId control) const;
    Control* control(ControlId id) const;
    EventSink sinkFor(const Control& control);
    bool preTranslate(const MSG& msg);
    // Shows each message to the controls that watch the user's input (the notices).
    void observe(const MSG& msg) const;
    bool belongsToMainWindow(HWND hwnd) const;
    void refreshCursor() const;
    std::optional<PictureBytes> displayedByPanel(HWND hwnd) const;

    FormDefinition form_;
    ExitList exitList_;
    const WindowForm* windowForm_ = nullptr;
    std::unique_ptr<MainWindow> window_;
    int windowsAlive_ = 0;
    bool loopStarted_ = false;
    int exitCode_ = 0;
};

} // namespace moyuan::win32
