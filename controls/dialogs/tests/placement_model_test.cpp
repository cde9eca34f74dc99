// Placement arithmetic: monitors under points, work areas beside a taskbar on
// each edge, the colour dialog's position and pulling pop-ups back on screen.
#include "controls/dialogs/placement_model.h"

#include <gtest/gtest.h>

#include "controls/dialogs/color_choice.h"

namespace orvalis::controls {
namespace {

// A 1280 × 1024 primary monitor and a 1024 × 768 one to its right.
const std::vector<ui::Rect> kTwo = {{0, 0, 1280, 1024}, {1280, 0, 2304, 768}};

TEST(Placement, MonitorAtCountsEdgesAndTakesTheFirstMatch) {
  const struct {
    int x, y, expected;
  } cases[] = {
      {0, 0, 0},       {640, 512, 0},    {1280, 500, 0},  // the shared edge belongs to the first
      {1281, 500, 1},  {2304, 768, 1},   {2305, 0, -1},   {1500, 800, -1},
      {-1, 0, -1},     {65535, 65535, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(MonitorAt(kTwo, c.x, c.y), c.expected) << c.x << "," << c.y;
  EXPECT_EQ(MonitorAt({}, 0, 0), -1);
}

TEST(Placement, NegativeIndexUsesThePlacementFormsMonitor) {
  EXPECT_EQ(ResolveMonitor(kTwo, 1, std::nullopt), 1);
  EXPECT_EQ(ResolveMonitor(kTwo, -1, ui::Rect{1400, 100, 1800, 400}), 1);
  EXPECT_EQ(ResolveMonitor(kTwo, -1, ui::Rect{100, 100, 300, 300}), 0);
  EXPECT_EQ(ResolveMonitor(kTwo, -1, ui::Rect{5000, 5000, 5100, 5100}), 0) << "form off every monitor";
  EXPECT_EQ(ResolveMonitor(kTwo, -1, std::nullopt), 0) << "no active form";
  EXPECT_EQ(ResolveMonitor(kTwo, 7, std::nullopt), 0) << "an index past the list";
  EXPECT_EQ(ResolveMonitor({}, 0, std::nullopt), -1);
}

TEST(Placement, WorkAreaLeavesOutATaskbarThatSpansItsEdge) {
  const ui::Rect m{0, 0, 1280, 1024};
  const struct {
    const char* what;
    std::optional<Taskbar> taskbar;
    ui::Rect expected;
  } cases[] = {
      {"none", std::nullopt, m},
      {"bottom", Taskbar{TaskbarEdge::Bottom, {0, 994, 1280, 1024}}, {0, 0, 1280, 994}},
      {"top", Taskbar{TaskbarEdge::Top, {-2, -2, 1282, 30}}, {0, 30, 1280, 1024}},
      {"left", Taskbar{TaskbarEdge::Left, {0, 0, 60, 1024}}, {60, 0, 1280, 1024}},
      {"right", Taskbar{TaskbarEdge::Right, {1220, 0, 1280, 1024}}, {0, 0, 1220, 1024}},
      {"bottom, not spanning", Taskbar{TaskbarEdge::Bottom, {100, 994, 1280, 1024}}, m},
      {"left, not spanning", Taskbar{TaskbarEdge::Left, {0, 10, 60, 1024}}, m},
      {"right, not spanning", Taskbar{TaskbarEdge::Right, {1220, 0, 1280, 1000}}, m},
      {"top, not spanning", Taskbar{TaskbarEdge::Top, {0, 0, 1000, 30}}, m},
  };
  for (const auto& c : cases) EXPECT_EQ(WorkAreaOf(m, c.taskbar), c.expected) << c.what;
}

TEST(Placement, TaskbarOnAnotherMonitorTakesNothing) {
  // A left taskbar of the primary spans the second monitor's height too, but lies beside it.
  const Taskbar left{TaskbarEdge::Left, {0, 0, 60, 1024}};
  EXPECT_EQ(WorkAreaOf(kTwo[1], left), kTwo[1]);
  const Taskbar bottom{TaskbarEdge::Bottom, {1280, 728, 2304, 768}};
  EXPECT_EQ(WorkAreaOf(kTwo[1], bottom), (ui::Rect{1280, 0, 2304, 728}));
  EXPECT_EQ(WorkAreaOf(kTwo[0], bottom), kTwo[0]);
}

TEST(Placement, DialogPositionCentresOnTheFormAndClampsRightAndBottom) {
  const ui::Rect area{1280, 0, 2304, 728};
  const ui::Rect form{1300, 100, 1700, 400};
  const struct {
    const char* what;
    int x, y;
    std::optional<ui::Rect> form;
    ui::Point expected;
  } cases[] = {
      {"as asked", 1300, 100, std::nullopt, {1300, 100}},
      {"right edge", 2200, 100, std::nullopt, {2304 - 220, 100}},
      {"bottom edge", 1300, 700, std::nullopt, {1300, 728 - 330}},
      {"left and top are not checked", 100, -50, std::nullopt, {100, -50}},
      {"centred on the form", kNoPosition, kNoPosition, form, {1300 + 90, 100 - 15}},
      {"no form: clamped from 65535", kNoPosition, kNoPosition, std::nullopt, {2304 - 220, 728 - 330}},
      {"one coordinate given", kNoPosition, 10, form, {2304 - 220, 10}},
  };
  for (const auto& c : cases) EXPECT_EQ(DialogPosition(c.x, c.y, 220, 330, area, c.form), c.expected) << c.what;
}

TEST(Placement, MonitorOfRectTriesCentreThenCorners) {
  const struct {
    const char* what;
    ui::Rect popup;
    int expected;
  } cases[] = {
      {"centre on the second", {1400, 100, 1600, 300}, 1},
      {"centre off screen, top-left on the second", {2200, 700, 2500, 900}, 1},
      {"only the bottom-right corner on the second", {1000, -200, 1300, 100}, 1},
      {"only the bottom-left corner on the second", {2300, -200, 2600, 10}, 1},
      {"nowhere", {5000, 5000, 5100, 5100}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(MonitorOfRect(kTwo, c.popup), c.expected) << c.what;
}

TEST(Placement, KeepInsideMovesIntoPlausibleAreasOnly) {
  const ui::Rect area{0, 0, 1280, 994};
  const struct {
    const char* what;
    ui::Rect popup, area, expected;
  } cases[] = {
      {"inside stays", {100, 100, 300, 200}, area, {100, 100, 300, 200}},
      {"past right and bottom", {1200, 950, 1400, 1050}, area, {1080, 894, 1280, 994}},
      {"past left and top", {-50, -20, 150, 80}, area, {0, 0, 200, 100}},
      {"larger than the area: top-left wins", {10, 10, 1500, 1200}, area, {0, 0, 1490, 1190}},
      {"area wider than 10000", {1200, 950, 1400, 1050}, {0, 0, 10001, 994}, {1200, 950, 1400, 1050}},
      {"area left beyond -10000", {1200, 950, 1400, 1050}, {-10001, 0, 1280, 994}, {1200, 950, 1400, 1050}},
      {"empty area", {1200, 950, 1400, 1050}, {0, 0, 0, 994}, {1200, 950, 1400, 1050}},
      {"area of 10000 is plausible", {9950, 0, 10050, 50}, {0, 0, 10000, 10000}, {9900, 0, 10000, 50}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeepInside(c.popup, c.area), c.expected) << c.what;
}

}  // namespace
}  // namespace orvalis::controls
