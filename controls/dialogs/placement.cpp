// Pop-up placement on the screen, over the arithmetic of placement_model.h.
#include "controls/dialogs/placement.h"

#include <shellapi.h>

namespace orvalis::controls {
namespace {

ui::Rect ToRect(const RECT& r) { return {int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT bounds, LPARAM param) noexcept {
  try {
    reinterpret_cast<std::vector<ui::Rect>*>(param)->push_back(ToRect(*bounds));
  } catch (...) {
    return FALSE;  // nothing may cross into the system's enumeration
  }
  return TRUE;
}

std::optional<ui::Rect> WindowBounds(HWND window) {
  RECT r;
  if (window == nullptr || !::GetWindowRect(window, &r)) return std::nullopt;
  return ToRect(r);
}

// The new screen rectangle of a pop-up, or none when it stays.
std::optional<ui::Rect> OnScreenBounds(HWND popup) {
  auto bounds = WindowBounds(popup);
  if (!bounds) return std::nullopt;
  const std::vector<ui::Rect> monitors = Monitors();
  ui::Rect moved = KeepInside(*bounds, WorkArea(MonitorOfRect(monitors, *bounds)));
  if (moved == *bounds) return std::nullopt;
  return moved;
}

}  // namespace

std::vector<ui::Rect> Monitors() {
  std::vector<ui::Rect> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

std::optional<Taskbar> TaskbarPosition() {
  if (::FindWindowW(L"Shell_TrayWnd", nullptr) == nullptr) return std::nullopt;
  APPBARDATA data = {};
  data.cbSize = sizeof(data);
  if (!::SHAppBarMessage(ABM_GETTASKBARPOS, &data)) return std::nullopt;
  if (data.uEdge > ABE_BOTTOM) return std::nullopt;
  return Taskbar{TaskbarEdge(data.uEdge), ToRect(data.rc)};
}

int MonitorAt(int x, int y) { return MonitorAt(Monitors(), x, y); }

ui::Rect WorkArea(int index) { return WorkArea(index, index < 0 ? PlacementForm() : nullptr); }

ui::Rect WorkArea(int index, HWND placementForm) {
  const std::vector<ui::Rect> monitors = Monitors();
  int monitor = ResolveMonitor(monitors, index, WindowBounds(placementForm));
  if (monitor < 0) return {};
  return WorkAreaOf(monitors[std::size_t(monitor)], TaskbarPosition());
}

HWND PlacementForm() {
  HWND active = ::GetActiveWindow();
  if (active != nullptr && (::GetWindowLongPtrW(active, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0)
    return ::GetAncestor(active, GA_ROOT);
  return active;
}

void KeepOnScreen(HWND popup) {
  auto moved = OnScreenBounds(popup);
  if (!moved) return;
  POINT origin{moved->left, moved->top};
  if ((::GetWindowLongPtrW(popup, GWL_STYLE) & WS_CHILD) != 0) ::ScreenToClient(::GetParent(popup), &origin);
  ::SetWindowPos(popup, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepOnScreen(ui::WinControl& control) {
  HWND popup = control.Handle();
  auto moved = OnScreenBounds(popup);
  if (!moved) return;
  POINT origin{moved->left, moved->top};
  if (control.Parent() != nullptr) ::ScreenToClient(control.Parent()->Handle(), &origin);
  control.SetBounds(origin.x, origin.y, control.Width(), control.Height());
}

}  // namespace orvalis::controls
