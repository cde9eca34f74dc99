// Pop-up placement arithmetic.
#include "controls/dialogs/placement_model.h"

#include "controls/dialogs/color_choice.h"

namespace orvalis::controls {
namespace {

bool Overlaps(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

int MonitorAt(const std::vector<ui::Rect>& monitors, int x, int y) {
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const ui::Rect& m = monitors[i];
    if (m.left <= x && x <= m.right && m.top <= y && y <= m.bottom) return int(i);
  }
  return -1;
}

int ResolveMonitor(const std::vector<ui::Rect>& monitors, int index, const std::optional<ui::Rect>& form) {
  if (monitors.empty()) return -1;
  if (index >= 0 && index < int(monitors.size())) return index;
  if (index < 0 && form) {
    int atForm = MonitorAt(monitors, form->left + form->Width() / 2, form->top + form->Height() / 2);
    if (atForm >= 0) return atForm;
  }
  return 0;
}

ui::Rect WorkAreaOf(const ui::Rect& monitor, const std::optional<Taskbar>& taskbar) {
  ui::Rect area = monitor;
  // The shell reports one taskbar; on another monitor it takes nothing from this one.
  if (!taskbar || !Overlaps(taskbar->bounds, monitor)) return area;
  const ui::Rect& t = taskbar->bounds;
  const bool fullHeight = t.top <= monitor.top && t.bottom >= monitor.bottom;
  const bool fullWidth = t.left <= monitor.left && t.right >= monitor.right;
  switch (taskbar->edge) {
    case TaskbarEdge::Left: if (fullHeight) area.left = t.right; break;
    case TaskbarEdge::Top: if (fullWidth) area.top = t.bottom; break;
    case TaskbarEdge::Right: if (fullHeight) area.right = t.left; break;
    case TaskbarEdge::Bottom: if (fullWidth) area.bottom = t.top; break;
  }
  return area;
}

ui::Point DialogPosition(int x, int y, int w, int h, const ui::Rect& area, const std::optional<ui::Rect>& form) {
  if (x == kNoPosition && y == kNoPosition && form) {
    x = form->left + (form->Width() - w) / 2;
    y = form->top + (form->Height() - h) / 2;
  }
  if (x + w > area.right) x = area.right - w;
  if (y + h > area.bottom) y = area.bottom - h;
  return {x, y};
}

int MonitorOfRect(const std::vector<ui::Rect>& monitors, const ui::Rect& popup) {
  const ui::Point tries[] = {
      {popup.left + popup.Width() / 2, popup.top + popup.Height() / 2},
      {popup.left, popup.top},
      {popup.right, popup.top},
      {popup.right, popup.bottom},
      {popup.left, popup.bottom},
  };
  for (const auto& p : tries) {
    int m = MonitorAt(monitors, p.x, p.y);
    if (m >= 0) return m;
  }
  return 0;
}

bool PlausibleArea(const ui::Rect& area) {
  auto within = [](int v, int low, int high) { return v >= low && v <= high; };
  return within(area.Width(), 1, 10000) && within(area.Height(), 1, 10000) && within(area.left, -10000, 10000) &&
         within(area.top, -10000, 10000);
}

ui::Rect KeepInside(const ui::Rect& popup, const ui::Rect& area) {
  if (!PlausibleArea(area)) return popup;
  const int w = popup.Width(), h = popup.Height();
  int left = popup.left, top = popup.top;
  if (left + w > area.right) left = area.right - w;
  if (top + h > area.bottom) top = area.bottom - h;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  return {left, top, left + w, top + h};
}

}  // namespace orvalis::controls
