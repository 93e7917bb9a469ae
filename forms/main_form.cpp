#include "forms/main_form.h"

#include "capture/capture_mode.h"
#include "capture/region_selection.h"
#include "forms/banner_png.h"
#include "forms/control_ids.h"
#include "forms/form_texts.h"
#include "storage/storage_handlers.h"

namespace moyuan {

namespace {

PanelLook captureSurfaceLook() {
    PanelLook look;
    look.penColor = {255, 0, 0};
    look.fillStyle = 0; // hollow: the rubber band is an outline only
    return look;
}

ControlSpec control(ControlId id, ControlKind kind, std::string_view name, Bounds place) {
    ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.name = name;
    c.place = place;
    return c;
}

ControlSpec button(ControlId id, std::string_view name, Bounds place, std::string_view caption) {
    ControlSpec c = control(id, ControlKind::Button, name, place);
    c.tabStop = true;
    c.text = caption;
    return c;
}

std::vector<ControlSpec> mainControls() {
    using K = ControlKind;
    ControlSpec balloon = control(气球提示框1, K::Balloon, "气球提示框1", {432, 80, 26, 26});
    balloon.visible = false; // its own window is never shown; it only holds the notices

    ControlSpec pictureBox = control(图片框1, K::PictureBox, "图片框1", {0, 0, 400, 272});
    pictureBox.background = Rgb{0, 0, 0};
    pictureBox.displayMode = 1;
    pictureBox.picture = bannerPng();

    ControlSpec marker = control(画板2, K::DrawPanel, "画板2", {0, 0, 0, 0});
    marker.visible = false; // never shown: only its place and size matter

    ControlSpec surface = control(画板1, K::DrawPanel, "画板1", {0, 0, 0, 0});
    surface.panel = captureSurfaceLook();

    // Stacking order, the topmost first.
    return {balloon,
            pictureBox,
            marker,
            surface,
            button(按钮3, "按钮3", {464, 160, 72, 40}, form_texts::kSaveButton),
            button(按钮2, "按钮2", {464, 96, 72, 40}, form_texts::kFolderButton),
            button(按钮1, "按钮1", {464, 32, 72, 40}, form_texts::kCaptureButton)};
}

} // namespace

FormDefinition mainForm(ProgramState& state) {
    WindowForm form;
    form.window.id = kMainWindowId;
    form.window.caption = form_texts::kWindowCaption;
    form.window.place = {50, 50, 600, 300}; // replaced at load by the centred start position
    form.window.centred = true;
    form.window.border = kBorderFixed;
    form.window.background = {192, 192, 192};
    form.controls = mainControls();

    ProgramState* s = &state;
    form.bindings = {
        {画板1, EventCode::LeftPress,
         [s](FormRuntime&, const MouseArgs& a) { startDrag(*s, a); }},
        {画板1, EventCode::MouseMove,
         [s](FormRuntime& rt, const MouseArgs& a) { previewSelection(rt, *s, a); }},
        {画板1, EventCode::LeftRelease,
         [s](FormRuntime& rt, const MouseArgs&) { leaveCaptureMode(rt, *s); }},
        {画板1, EventCode::RightPress,
         [s](FormRuntime& rt, const MouseArgs&) { leaveCaptureMode(rt, *s); }},
        {按钮1, EventCode::Click, [s](FormRuntime& rt, const MouseArgs&) { enterCaptureMode(rt, *s); }},
        {按钮2, EventCode::Click,
         [s](FormRuntime& rt, const MouseArgs&) { chooseStorageFolder(rt, *s); }},
        {按钮3, EventCode::Click, [s](FormRuntime& rt, const MouseArgs&) { savePicture(rt, *s); }},
    };

    FormDefinition definition;
    definition.windows.push_back(std::move(form));
    return definition;
}

} // namespace moyuan
