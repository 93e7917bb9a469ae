// The one interface through which the program's handlers reach the window, its controls,
// the screen and the file system. The Win32 runtime implements it for real; the tests use an
// in-memory implementation of the same interface.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace moyuan {

// GBK bytes without the terminating NUL. A missing text and an empty one are the same value.
using Text = std::string;

// The whole image of an uncompressed 24-bit bottom-up BMP file; empty means "no picture".
using PictureBytes = std::vector<std::uint8_t>;

// Numeric ids of windows and controls as the form gives them.
using ControlId = std::uint32_t;

// Where an operation expects a control, this id stands for the main window itself.
inline constexpr ControlId kMainWindowAsControl = 0x06010000;

// An opaque window handle; 0 means "none".
using WindowHandle = std::uintptr_t;

enum class Property : int {
    Left = 0,
    Top = 1,
    Width = 2,
    Height = 3,
    Visible = 5,
    Cursor = 7,   // bytes: the first four, little-endian, are a cursor code
    Border = 9,   // window only: 0 none, 6 fixed frame with caption and sunken client edge
    Picture = 10, // picture box: its picture; drawing panel: its background picture
};

enum CursorCode : std::int32_t {
    kCursorDefault = 0,
    kCursorCross = 2,
};

enum WindowBorder : std::int32_t {
    kBorderNone = 0,
    kBorderFixed = 6,
};

// Event codes as the form binds them.
enum class EventCode : int {
    Click = 0,
    LeftPress = -1,
    LeftRelease = -2,
    RightPress = -4,
    MouseMove = -6,
};

enum KeyState : int {
    kKeyCtrl = 1,
    kKeyShift = 2,
    kKeyAlt = 4,
};

// The arguments of a mouse event: client pixels of the control and the key state.
struct MouseArgs {
    int x = 0;
    int y = 0;
    int keys = 0;
};

enum class InputType : int { PlainText = 1 };

enum class IconIndex : int { None = -1 };

struct FormDefinition;
class FormRuntime;

// A routine that the exit step runs once the program ends normally.
using ExitRoutine = void (*)();

class FormRuntime {
public:
    virtual ~FormRuntime() = default;

    // --- Start-up -------------------------------------------------------------------------
    // Makes the runtime ready with the given forms: the current directory becomes the folder
    // that holds the program file. Does not return on failure.
    virtual void startRuntime(const FormDefinition& form) = 0;
    // Appends the routine to the exit list unless it is there already.
    virtual void addExitRoutine(ExitRoutine routine) = 0;
    // Creates the window with that id and all its controls and shows it. A window id the
    // forms lack is a fatal error.
    virtual void loadStartWindow(ControlId windowId) = 0;
    // Returns at once when no window of the program exists; otherwise runs until the quit
    // message, which is posted once no window is left.
    virtual void runMessageLoop() = 0;

    // --- Properties by index -------------------------------------------------------------
    virtual void setProperty(ControlId control, Property property, std::int32_t value) = 0;
    virtual std::int32_t property(ControlId control, Property property) = 0;
    // Byte-valued properties: the cursor code and pictures. The control keeps its own copy.
    virtual void setBytesProperty(ControlId control, Property property,
                                  std::span<const std::uint8_t> bytes) = 0;

    // --- Drawing panels ------------------------------------------------------------------
    // Repaints the whole panel with its background picture, else its background colour.
    virtual void clearPanel(ControlId panel) = 0;
    // GDI Rectangle with the panel's pen and brush, corners in any order, right and bottom
    // edges excluded; drawn at once and not kept across a repaint.
    virtual void drawRectangle(ControlId panel, int x1, int y1, int x2, int y2) = 0;

    // --- Windows and the screen ----------------------------------------------------------
    virtual WindowHandle windowHandle(ControlId control) = 0;
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    // The screen area of the window as it is displayed; 0 means the whole screen; a handle
    // that names no window gives the empty sequence.
    virtual PictureBytes snapshot(WindowHandle window) = 0;

    // --- Dialogs and notices -------------------------------------------------------------
    // A modal text box. Returns whether it was confirmed. On confirmation the variable gets
    // the typed text (empty when nothing was typed); on cancellation it keeps its value.
    virtual bool textInput(const Text& prompt, const Text& title, const Text& initialText,
                           Text& variable, InputType type) = 0;
    // The text in the balloon of the balloon control, with the tail's tip at screen (x, y).
    virtual void balloonNotice(ControlId balloon, int x, int y, const Text& text,
                               IconIndex icon) = 0;

    // --- Files ---------------------------------------------------------------------------
    // Writes the bytes to the named file (GBK name, relative to the current directory).
    // Returns false, and leaves any earlier file untouched, on failure.
    virtual bool writeFile(const Text& fileName, std::span<const std::uint8_t> bytes) = 0;
};

// The four bytes of an integer, little-endian: the form of a cursor code property value.
std::vector<std::uint8_t> integerToBytes(std::int32_t value);

} // namespace moyuan
