// Placement on the real screen: the monitor list, work areas and a pop-up
// pulled back from off screen.
#include "controls/dialogs/placement.h"

#include <gtest/gtest.h>

#include "win/unique_any.h"

namespace orvalis::controls {
namespace {

TEST(ScreenPlacement, MonitorsAndWorkAreasMatchThePlatform) {
  auto monitors = Monitors();
  ASSERT_FALSE(monitors.empty());
  const ui::Rect& first = monitors[0];
  EXPECT_EQ(MonitorAt(first.left + first.Width() / 2, first.top + first.Height() / 2), 0);
  EXPECT_EQ(MonitorAt(first.right, first.bottom), 0) << "edges are inclusive";
  EXPECT_EQ(MonitorAt(-40000, -40000), -1);
  ui::Rect area = WorkArea(0);
  EXPECT_FALSE(area.Empty());
  EXPECT_GE(area.left, first.left);
  EXPECT_LE(area.right, first.right);
  EXPECT_GE(area.top, first.top);
  EXPECT_LE(area.bottom, first.bottom);
  EXPECT_EQ(WorkAreaAt(first.left + 1, first.top + 1), area);
  EXPECT_EQ(WorkArea(-1, nullptr), area) << "no placement form: monitor 0";
}

TEST(ScreenPlacement, KeepOnScreenPullsAPopupIntoTheWorkArea) {
  win::unique_window popup(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 120, 80, nullptr,
                                             nullptr, nullptr, nullptr));
  ASSERT_TRUE(popup);
  const ui::Rect area = WorkArea(0);
  const struct {
    int x, y, left, top;
  } cases[] = {
      {area.right - 20, area.bottom - 10, area.right - 120, area.bottom - 80},
      {area.left - 50, area.top - 30, area.left, area.top},
      {area.left + 10, area.top + 10, area.left + 10, area.top + 10},
  };
  for (const auto& c : cases) {
    ::SetWindowPos(popup.get(), nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    KeepOnScreen(popup.get());
    RECT r;
    ::GetWindowRect(popup.get(), &r);
    EXPECT_EQ(r.left, c.left) << c.x << "," << c.y;
    EXPECT_EQ(r.top, c.top) << c.x << "," << c.y;
    EXPECT_EQ(r.right - r.left, 120);
  }
}

}  // namespace
}  // namespace orvalis::controls
