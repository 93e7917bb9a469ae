// The ids of the main window and its controls. The handlers address controls by these.
#pragma once

#include "runtime/form_runtime.h"

namespace moyuan {

inline constexpr ControlId kMainWindowId = 0x52010001;
// The main window addressed as a control, for its properties.
inline constexpr ControlId kWindow = kMainWindowAsControl;

inline constexpr ControlId 气球提示框1 = 0x16010042;
inline constexpr ControlId 图片框1 = 0x1601003C;
inline constexpr ControlId 画板2 = 0x16010007;
inline constexpr ControlId 画板1 = 0x16010006;
inline constexpr ControlId 按钮3 = 0x16010005;
inline constexpr ControlId 按钮2 = 0x16010004;
inline constexpr ControlId 按钮1 = 0x16010002;

} // namespace moyuan
