// An in-memory runtime: the program's real handlers run against it natively, and the tests
// read back what a user would see — the window's place, the controls, the pictures, the
// notices, the files written — and raise the events a user would cause.
//
// What it models:
// - One window built from the form, with its controls in the form's stacking order. The
//   window's left/top/width/height are its outer rectangle; changing the border keeps it.
// - A synthetic screen (`screen`, 1920 x 1080 black until a test fills it). The displayed
//   screen is that picture with every visible drawing panel of nonzero size laid over it,
//   bottom of the stacking order first: its background picture tiled from the panel's
//   top-left, then the rectangles drawn on it since it was last cleared. The window frame,
//   buttons, picture boxes and panel colours are not painted. Rectangles are drawn with a
//   one-pixel pen of the panel's pen colour, filled with its fill colour unless the brush is
//   hollow. Snapshot pixels beyond the screen's edges are black.
// - A window with the fixed border (6) has its client area inset by a frame of
//   kFrameLeft/kFrameTop/kFrameRight/kFrameBottom pixels; with no border the client area is
//   the outer rectangle.
// - Mouse and click events reach a control only while it is visible and both its width and
//   its height are positive, as a real window of no size, or a hidden one, gets no input.
// - Files are real: names are taken as paths (the tests use ASCII names), relative ones
//   from currentDirectory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "runtime/exit_list.h"
#include "runtime/form_definition.h"
#include "runtime/form_runtime.h"
#include "tests/support/fake_screen.h"
#include "tests/support/image.h"
#include "tests/support/printers.h"

namespace moyuan::test {

class FakeFormRuntime : public FormRuntime {
public:
    static constexpr int kDefaultScreenWidth = 1920;
    static constexpr int kDefaultScreenHeight = 1080;
    static constexpr int kFrameLeft = 5;
    static constexpr int kFrameTop = 27; // frame, caption and client edge
    static constexpr int kFrameRight = 5;
    static constexpr int kFrameBottom = 5;

    // A scripted answer to the next text box.
    struct TextAnswer {
        bool confirm = true;
        std::string text;
    };
    struct TextInputCall {
        Text prompt, title, initialText;
    };
    struct Notice {
        int x = 0, y = 0;
        Text text; // GBK
        friend bool operator==(const Notice&, const Notice&) = default;
        friend void PrintTo(const Notice& n, std::ostream* os) {
            *os << "{(" << n.x << ", " << n.y << "), " << n.text.size() << " bytes of text}";
        }
    };

    FakeFormRuntime();

    // --- Set up by the tests ----------------------------------------------------------------
    Image screen{kDefaultScreenWidth, kDefaultScreenHeight};
    std::string exeFolder;                   // becomes currentDirectory when the runtime starts
    std::deque<TextAnswer> textAnswers;      // consumed front first
    std::optional<std::size_t> failWriteAfterBytes; // every write fails after this many bytes

    // --- Recorded ---------------------------------------------------------------------------
    bool started = false;
    bool messageLoopRan = false;
    std::string currentDirectory;
    std::string fatalError; // empty while none happened
    std::vector<TextInputCall> textInputCalls;
    std::vector<Notice> notices;

    // --- Events and the end ---------------------------------------------------------------
    void click(ControlId control);
    void mouse(ControlId control, EventCode code, int x, int y, int keys = 0);
    // The exit step: runs the exit list.
    void exitStep();
    // The last window closes, then the exit step runs.
    void finishProgram();
    std::size_t exitRoutineCount() const { return exitList_.size(); }

    // --- Read back --------------------------------------------------------------------------
    bool windowLoaded() const { return !records_.empty(); }
    bool hasControl(ControlId control) const { return records_.contains(control); }
    // Left, top, width and height as the properties give them (outer for the window).
    Bounds bounds(ControlId control) const;
    bool visible(ControlId control) const;
    int border(ControlId control) const;
    // The first four cursor bytes, little-endian; 0 when fewer were given.
    std::int32_t cursorCode(ControlId control) const;
    // The control's own copy of its picture bytes.
    const PictureBytes& picture(ControlId control) const;
    // Where the control lies on the screen: the window's client origin plus its place.
    Bounds screenBounds(ControlId control) const;
    // The synthetic screen with the drawing panels laid over it.
    Image displayedScreen() const;

    // --- FormRuntime ------------------------------------------------------------------------
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
    int screenWidth() override { return screen.width; }
    int screenHeight() override { return screen.height; }
    PictureBytes snapshot(WindowHandle window) override;
    bool textInput(const Text& prompt, const Text& title, const Text& initialText,
                   Text& variable, InputType type) override;
    void balloonNotice(ControlId balloon, int x, int y, const Text& text,
                       IconIndex icon) override;
    bool writeFile(const Text& fileName, std::span<const std::uint8_t> bytes) override;

private:
    struct Record {
        ControlKind kind = ControlKind::Button;
        Bounds place;
        bool visible = true;
        int border = 0;
        std::vector<std::uint8_t> cursor;
        PictureBytes picture;
        std::optional<Image> decodedPicture; // the picture, when it is one the fake can read
        PanelLook panel;
        std::vector<DrawnRectangle> rectangles;
        WindowHandle handle = 0;
    };

    Record* find(ControlId control);
    const Record* find(ControlId control) const;
    // The record of a control a handler addresses; a missing one fails the test.
    Record* expect(ControlId control, const char* operation);
    const WindowForm* loadedForm() const;
    void raise(ControlId control, EventCode code, const MouseArgs& args);
    std::filesystem::path resolve(const Text& fileName) const;
    // What is displayed in the given area of the screen; black beyond the screen's edges.
    Image displayedArea(const Bounds& area) const;

    std::optional<FormDefinition> form_;
    ControlId loadedWindowId_ = 0;
    ExitList exitList_;
    std::map<ControlId, Record> records_;
    std::vector<ControlId> stacking_; // the topmost first, as the form lists them
    unsigned temporaryCounter_ = 0;
};

} // namespace moyuan::test
