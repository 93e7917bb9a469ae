#include "tests/support/fake_form_runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "tests/support/bmp_reader.h"

namespace moyuan::test {

namespace {

constexpr WindowHandle kFirstHandle = 0x1000;
constexpr WindowHandle kHandleStep = 0x10;

std::string hex(ControlId id) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(id));
    return buffer;
}

} // namespace

FakeFormRuntime::FakeFormRuntime() : exeFolder(std::filesystem::current_path().string()) {}

// --- Start-up --------------------------------------------------------------------------------

void FakeFormRuntime::startRuntime(const FormDefinition& form) {
    // The definition the program passes may be a temporary: keep a copy of it.
    form_ = form;
    currentDirectory = exeFolder;
    started = true;
}

void FakeFormRuntime::addExitRoutine(ExitRoutine routine) { exitList_.add(routine); }

void FakeFormRuntime::loadStartWindow(ControlId windowId) {
    const WindowForm* form = form_ ? form_->find(windowId) : nullptr;
    if (!form) {
        // A fatal error ends the process without the exit step.
        fatalError = "the forms hold no window " + hex(windowId);
        exitList_.discard();
        return;
    }
    if (windowLoaded()) return;
    loadedWindowId_ = windowId;

    Record window;
    window.place = form->window.place;
    if (form->window.centred) {
        window.place.left = (screen.width - window.place.width) / 2;
        window.place.top = (screen.height - window.place.height) / 2;
    }
    window.border = form->window.border;
    window.handle = kFirstHandle;
    records_[kMainWindowAsControl] = window;

    WindowHandle next = kFirstHandle;
    for (const ControlSpec& given : form->controls) {
        Record control;
        control.kind = given.kind;
        control.place = given.place;
        control.visible = given.visible;
        control.border = given.border;
        control.panel = given.panel;
        control.picture.assign(given.picture.begin(), given.picture.end());
        control.decodedPicture = readBmp(control.picture);
        control.handle = next += kHandleStep;
        records_[given.id] = std::move(control);
        stacking_.push_back(given.id);
    }
}

void FakeFormRuntime::runMessageLoop() { messageLoopRan = true; }

// --- Events and the end ----------------------------------------------------------------------

void FakeFormRuntime::click(ControlId control) { raise(control, EventCode::Click, {}); }

void FakeFormRuntime::mouse(ControlId control, EventCode code, int x, int y, int keys) {
    raise(control, code, {x, y, keys});
}

void FakeFormRuntime::raise(ControlId control, EventCode code, const MouseArgs& args) {
    const Record* record = find(control);
    const WindowForm* form = loadedForm();
    if (!record || !form) return;
    // A hidden control, or one without area, receives no input.
    if (!record->visible || record->place.width <= 0 || record->place.height <= 0) return;
    for (const EventBinding& binding : form->bindings) {
        if (binding.control == control && binding.code == code) {
            const EventHandler handler = binding.handler;
            handler(*this, args);
            return;
        }
    }
}

void FakeFormRuntime::exitStep() { exitList_.runAll(); }

void FakeFormRuntime::finishProgram() {
    records_.clear();
    stacking_.clear();
    loadedWindowId_ = 0;
    exitStep();
}

// --- Records ---------------------------------------------------------------------------------

FakeFormRuntime::Record* FakeFormRuntime::find(ControlId control) {
    const auto it = records_.find(control);
    return it == records_.end() ? nullptr : &it->second;
}

const FakeFormRuntime::Record* FakeFormRuntime::find(ControlId control) const {
    const auto it = records_.find(control);
    return it == records_.end() ? nullptr : &it->second;
}

FakeFormRuntime::Record* FakeFormRuntime::expect(ControlId control, const char* operation) {
    Record* record = find(control);
    if (!record) ADD_FAILURE() << operation << " on " << hex(control) << ", which does not exist";
    return record;
}

const WindowForm* FakeFormRuntime::loadedForm() const {
    return form_ && windowLoaded() ? form_->find(loadedWindowId_) : nullptr;
}

Bounds FakeFormRuntime::bounds(ControlId control) const {
    const Record* record = find(control);
    return record ? record->place : Bounds{};
}

bool FakeFormRuntime::visible(ControlId control) const {
    const Record* record = find(control);
    return record && record->visible;
}

int FakeFormRuntime::border(ControlId control) const {
    const Record* record = find(control);
    return record ? record->border : 0;
}

std::int32_t FakeFormRuntime::cursorCode(ControlId control) const {
    const Record* record = find(control);
    if (!record || record->cursor.size() < 4) return 0;
    const auto& c = record->cursor;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c[0]) |
                                     static_cast<std::uint32_t>(c[1]) << 8 |
                                     static_cast<std::uint32_t>(c[2]) << 16 |
                                     static_cast<std::uint32_t>(c[3]) << 24);
}

const PictureBytes& FakeFormRuntime::picture(ControlId control) const {
    static const PictureBytes none;
    const Record* record = find(control);
    return record ? record->picture : none;
}

Bounds FakeFormRuntime::screenBounds(ControlId control) const {
    const Record* window = find(kMainWindowAsControl);
    const Record* record = find(control);
    if (!window || !record) return {};
    if (control == kMainWindowAsControl) return window->place;
    const bool framed = window->border != kBorderNone;
    return {window->place.left + (framed ? kFrameLeft : 0) + record->place.left,
            window->place.top + (framed ? kFrameTop : 0) + record->place.top,
            record->place.width, record->place.height};
}

Image FakeFormRuntime::displayedScreen() const {
    return displayedArea({0, 0, screen.width, screen.height});
}

Image FakeFormRuntime::displayedArea(const Bounds& area) const {
    Image shown(area.width, area.height);
    const int x0 = std::max(area.left, 0);
    const int x1 = std::min(area.left + area.width, screen.width);
    for (int y = std::max(area.top, 0); y < std::min(area.top + area.height, screen.height); ++y)
        if (x0 < x1)
            std::copy(&screen.at(x0, y), &screen.at(x0, y) + (x1 - x0),
                      &shown.at(x0 - area.left, y - area.top));

    // The bottom of the stacking order is painted first. Panel places are moved into the
    // coordinates of the area.
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        const Record& record = records_.at(*it);
        if (record.kind != ControlKind::DrawPanel || !record.visible ||
            record.place.width <= 0 || record.place.height <= 0)
            continue;
        Bounds panel = screenBounds(*it);
        panel.left -= area.left;
        panel.top -= area.top;
        if (record.decodedPicture) tileOnto(shown, *record.decodedPicture, panel);
        const std::optional<Rgb> fill =
            record.panel.fillStyle == 0 ? std::nullopt : std::optional<Rgb>(record.panel.fillColor);
        for (const DrawnRectangle& rectangle : record.rectangles)
            drawRectangleOnto(shown, panel, rectangle, record.panel.penColor, fill);
    }
    return shown;
}

// --- Properties ------------------------------------------------------------------------------

void FakeFormRuntime::setProperty(ControlId control, Property property, std::int32_t value) {
    Record* record = expect(control, "setProperty");
    if (!record) return;
    switch (property) {
    case Property::Left: record->place.left = value; break;
    case Property::Top: record->place.top = value; break;
    case Property::Width: record->place.width = value < 0 ? 0 : value; break;
    case Property::Height: record->place.height = value < 0 ? 0 : value; break;
    case Property::Visible: record->visible = value != 0; break;
    case Property::Border: record->border = value; break; // the outer rectangle stays
    case Property::Cursor: record->cursor = integerToBytes(value); break;
    case Property::Picture:
        ADD_FAILURE() << "a picture is bytes, not a number (" << hex(control) << ")";
        break;
    }
}

std::int32_t FakeFormRuntime::property(ControlId control, Property property) {
    const Record* record = expect(control, "property");
    if (!record) return 0;
    switch (property) {
    case Property::Left: return record->place.left;
    case Property::Top: return record->place.top;
    case Property::Width: return record->place.width;
    case Property::Height: return record->place.height;
    case Property::Visible: return record->visible ? 1 : 0;
    case Property::Border: return record->border;
    case Property::Cursor: return cursorCode(control);
    case Property::Picture: break;
    }
    ADD_FAILURE() << "a picture is bytes, not a number (" << hex(control) << ")";
    return 0;
}

void FakeFormRuntime::setBytesProperty(ControlId control, Property property,
                                       std::span<const std::uint8_t> bytes) {
    Record* record = expect(control, "setBytesProperty");
    if (!record) return;
    if (property == Property::Cursor)
        record->cursor.assign(bytes.begin(), bytes.end());
    else if (property == Property::Picture) {
        record->picture.assign(bytes.begin(), bytes.end());
        record->decodedPicture = readBmp(record->picture);
    }
    else
        ADD_FAILURE() << "property " << static_cast<int>(property) << " of " << hex(control)
                      << " does not take bytes";
}

// --- Drawing panels --------------------------------------------------------------------------

void FakeFormRuntime::clearPanel(ControlId panel) {
    if (Record* record = expect(panel, "clearPanel")) record->rectangles.clear();
}

void FakeFormRuntime::drawRectangle(ControlId panel, int x1, int y1, int x2, int y2) {
    if (Record* record = expect(panel, "drawRectangle"))
        record->rectangles.push_back({x1, y1, x2, y2});
}

// --- Windows and the screen ------------------------------------------------------------------

WindowHandle FakeFormRuntime::windowHandle(ControlId control) {
    const Record* record = find(control);
    return record ? record->handle : 0;
}

PictureBytes FakeFormRuntime::snapshot(WindowHandle window) {
    const auto encode = [this](const Bounds& area) -> PictureBytes {
        if (area.width <= 0 || area.height <= 0) return {};
        return encodeArea(displayedArea(area), {0, 0, area.width, area.height});
    };
    if (window == 0) return encode({0, 0, screen.width, screen.height});
    for (const auto& [id, record] : records_)
        if (record.handle == window) return encode(screenBounds(id));
    return {};
}

// --- Dialogs and notices ---------------------------------------------------------------------

bool FakeFormRuntime::textInput(const Text& prompt, const Text& title, const Text& initialText,
                                Text& variable, InputType) {
    textInputCalls.push_back({prompt, title, initialText});
    if (textAnswers.empty()) {
        ADD_FAILURE() << "a text box opened, but the test scripted no answer for it";
        return false;
    }
    const TextAnswer answer = textAnswers.front();
    textAnswers.pop_front();
    if (answer.confirm) variable = answer.text;
    return answer.confirm;
}

void FakeFormRuntime::balloonNotice(ControlId balloon, int x, int y, const Text& text,
                                    IconIndex) {
    expect(balloon, "balloonNotice");
    notices.push_back({x, y, text});
}

// --- Files -----------------------------------------------------------------------------------

std::filesystem::path FakeFormRuntime::resolve(const Text& fileName) const {
    // The names in the tests are ASCII, so their GBK bytes are the path itself.
    if (!fileName.empty() && fileName.front() == '/') return std::filesystem::path(fileName);
    return std::filesystem::path(currentDirectory) / fileName;
}

bool FakeFormRuntime::writeFile(const Text& fileName, std::span<const std::uint8_t> bytes) {
    // The bytes go to a temporary file beside the target, which then replaces the target in
    // one rename: a reader never sees half a picture, and a failure leaves the old file as
    // it was.
    const std::filesystem::path target = resolve(fileName);
    const std::filesystem::path temporary =
        target.parent_path() / ("." + target.filename().string() + ".part" +
                                std::to_string(++temporaryCounter_));
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;

    const auto fail = [&] {
        out.close();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    };
    const bool breaksOff = failWriteAfterBytes && *failWriteAfterBytes < bytes.size();
    const std::size_t count = breaksOff ? *failWriteAfterBytes : bytes.size();
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(count));
    out.flush();
    if (!out || breaksOff) return fail();
    out.close();
    if (!out) return fail();

    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace moyuan::test
