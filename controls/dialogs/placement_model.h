// Pop-up placement arithmetic: the monitor under a point, a monitor's work
// area beside the taskbar, where the colour dialog goes, and pulling a pop-up
// back inside a work area. Rectangles are screen pixels, right and bottom
// exclusive as on the platform.
#pragma once

#include <optional>
#include <vector>

#include "ui/canvas.h"

namespace orvalis::controls {

// The screen edge a taskbar is docked to (ABE_LEFT … ABE_BOTTOM).
enum class TaskbarEdge { Left = 0, Top = 1, Right = 2, Bottom = 3 };

struct Taskbar {
  TaskbarEdge edge = TaskbarEdge::Bottom;
  ui::Rect bounds;
};

// The index of the first monitor with left <= x <= right and top <= y <= bottom
// (edges inclusive), -1 when none.
[[nodiscard]] int MonitorAt(const std::vector<ui::Rect>& monitors, int x, int y);

// The monitor to use for index `index`: a negative index means the monitor at
// the centre of `form` (the placement form), and 0 when that finds none or
// there is no form; an index past the list also gives 0. -1 when there are no
// monitors at all.
[[nodiscard]] int ResolveMonitor(const std::vector<ui::Rect>& monitors, int index,
                                 const std::optional<ui::Rect>& form);

// The monitor minus a taskbar that lies on it and spans the whole edge it is
// docked to; a taskbar that does not span its edge, or stands on another
// monitor, changes nothing.
[[nodiscard]] ui::Rect WorkAreaOf(const ui::Rect& monitor, const std::optional<Taskbar>& taskbar);

// The top-left corner of a w × h dialog asked for at (x, y): (kNoPosition,
// kNoPosition) with a form centres it on the form; then the right and bottom
// edges are pulled back inside `area` (left and top are not checked).
[[nodiscard]] ui::Point DialogPosition(int x, int y, int w, int h, const ui::Rect& area,
                                       const std::optional<ui::Rect>& form);

// The monitor of a pop-up: the first of its centre, top-left, top-right,
// bottom-right and bottom-left corners that lies on a monitor; 0 when none does.
[[nodiscard]] int MonitorOfRect(const std::vector<ui::Rect>& monitors, const ui::Rect& popup);

// Whether a work area is worth trusting: width and height 1 to 10000, left and
// top -10000 to 10000.
[[nodiscard]] bool PlausibleArea(const ui::Rect& area);

// The pop-up moved (never resized) so that it lies inside `area`: right and
// bottom first, then left and top, so the top-left corner wins for a pop-up
// larger than the area. An implausible area leaves it where it is.
[[nodiscard]] ui::Rect KeepInside(const ui::Rect& popup, const ui::Rect& area);

}  // namespace orvalis::controls
