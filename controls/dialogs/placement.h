// Pop-up placement on the screen: the monitors as the platform enumerates
// them, a monitor's work area beside the taskbar, and pulling a pop-up back
// inside the work area of the monitor it stands on.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "controls/dialogs/placement_model.h"
#include "ui/control.h"

namespace orvalis::controls {

// Every monitor's rectangle in EnumDisplayMonitors order.
[[nodiscard]] std::vector<ui::Rect> Monitors();
// The taskbar's edge and rectangle, when the taskbar window exists and the
// shell reports its position.
[[nodiscard]] std::optional<Taskbar> TaskbarPosition();

// The index of the first monitor under (x, y), edges inclusive; -1 when none.
[[nodiscard]] int MonitorAt(int x, int y);
// The work area of monitor `index`; a negative index means the monitor under
// the placement form's centre (monitor 0 when there is none).
[[nodiscard]] ui::Rect WorkArea(int index);
// WorkArea with the placement form given instead of looked up.
[[nodiscard]] ui::Rect WorkArea(int index, HWND placementForm);
[[nodiscard]] inline ui::Rect WorkAreaAt(int x, int y) { return WorkArea(MonitorAt(x, y)); }

// The active window of the thread (its top-level window when an MDI child is
// active); null when no window is active.
[[nodiscard]] HWND PlacementForm();

// Moves a pop-up window into the work area of the monitor it stands on (found
// from its centre, then its corners); a work area that is not plausible leaves
// it where it is.
void KeepOnScreen(HWND popup);
// The same for a framework control, whose bounds follow.
void KeepOnScreen(ui::WinControl& control);

}  // namespace orvalis::controls
