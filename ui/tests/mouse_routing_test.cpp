// The mouse among windowless children: enter and leave as the pointer crosses
// them, the capture a press takes and gives back, a capture taken away by
// another window, and children that leave their parent while under the mouse.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/form.h"
#include "ui/tests/probe_controls.h"
#include "win/unique_any.h"

namespace orvalis::ui {
namespace {

using probe::Spot;
using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
  std::string all;
  for (const std::string& l : lines) all.append("\n  ").append(l);
  return all;
}

// What the presses did, without the hover lines.
Lines Presses(const Lines& lines) {
  Lines out;
  for (const std::string& l : lines)
    if (!l.ends_with(" enter") && !l.ends_with(" leave")) out.push_back(l);
  return out;
}

std::string Line(const char* what, int x, int y) {
  char line[48];
  std::snprintf(line, sizeof line, "%s %d,%d", what, x, y);
  return line;
}

// A borderless form of 200 x 100 with two windowless children side by side and
// a hidden third one; what reaches the form itself goes into the same journal.
class DispatchMouse : public ::testing::Test {
 protected:
  DispatchMouse() : a(journal, "A"), b(journal, "B"), hidden(journal, "C") {
    form.SetBorderStyle(BorderStyle::None);
    form.SetClientSize(200, 100);
    a.SetParent(&form);
    a.SetBounds(10, 10, 40, 20);
    b.SetParent(&form);
    b.SetBounds(60, 10, 40, 20);
    hidden.SetParent(&form);
    hidden.SetBounds(110, 10, 40, 20);
    hidden.SetVisible(false);
    form.OnMouseDown = [this](Control&, MouseButton, unsigned, int x, int y) {
      journal.push_back(Line("form down", x, y));
    };
    form.OnMouseMove = [this](Control&, unsigned, int x, int y) { journal.push_back(Line("form move", x, y)); };
    hwnd = form.Handle();
  }
  ~DispatchMouse() override {
    if (::GetCapture() && ::GetCapture() == form.HandleIfCreated()) ::ReleaseCapture();
  }

  void Send(UINT msg, int x, int y, WPARAM keys = 0) { ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y)); }
  Lines Take() { return std::exchange(journal, {}); }

  Lines journal;
  Form form;
  Spot a, b, hidden;
  HWND hwnd = nullptr;
};

TEST_F(DispatchMouse, EnterAndLeaveFollowThePointerAcrossVisibleChildren) {
  Send(WM_MOUSEMOVE, 20, 15);
  Send(WM_MOUSEMOVE, 25, 18);
  EXPECT_EQ(Take(), (Lines{"A enter", "A move 10,5", "A move 15,8"}));
  Send(WM_MOUSEMOVE, 70, 15);
  EXPECT_EQ(Take(), (Lines{"A leave", "B enter", "B move 10,5"})) << "from one child straight to the next";
  Send(WM_MOUSEMOVE, 120, 15);
  EXPECT_EQ(Take(), (Lines{"B leave", "form move 120,15"})) << "a hidden child is not there";
  Send(WM_MOUSEMOVE, 65, 12);
  EXPECT_EQ(Take(), (Lines{"B enter", "B move 5,2"}));
  ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Take(), (Lines{"B leave"})) << "the pointer left the window";
  ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  Send(WM_MOUSEMOVE, 150, 80);
  EXPECT_EQ(Take(), (Lines{"form move 150,80"})) << "nothing under the pointer, nothing left twice";
}

TEST_F(DispatchMouse, APressCapturesItsChildUntilTheButtonComesUp) {
  Send(WM_MOUSEMOVE, 20, 15);
  Take();
  Send(WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
  EXPECT_EQ(::GetCapture(), hwnd);
  Send(WM_MOUSEMOVE, 70, 15, MK_LBUTTON);    // over B
  Send(WM_MOUSEMOVE, -30, 150, MK_LBUTTON);  // outside the window
  Send(WM_LBUTTONUP, 70, 15);
  EXPECT_EQ(Presses(Take()), (Lines{"A down 10,5", "A move 60,5", "A move -40,140", "A up 60,5"}))
      << "A has the mouse until the release, in its own coordinates; released elsewhere: no click";
  EXPECT_NE(::GetCapture(), hwnd) << "the release gives the capture back";

  Send(WM_LBUTTONDOWN, 70, 15, MK_LBUTTON);
  Send(WM_LBUTTONUP, 75, 20);
  EXPECT_EQ(Presses(Take()), (Lines{"B down 10,5", "B up 15,10", "B click"})) << "the next press is B's";
  EXPECT_NE(::GetCapture(), hwnd);

  Send(WM_RBUTTONDOWN, 20, 15, MK_RBUTTON);
  EXPECT_NE(::GetCapture(), hwnd) << "only the left button captures";
  Send(WM_RBUTTONUP, 20, 15);
  EXPECT_EQ(Presses(Take()), (Lines{"A rdown 10,5", "A rup 10,5"}));
}

TEST_F(DispatchMouse, APressOnADisabledOrHiddenChildGoesToTheParent) {
  a.SetEnabled(false);
  Send(WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
  Send(WM_LBUTTONUP, 20, 15);
  Send(WM_LBUTTONDOWN, 120, 15, MK_LBUTTON);
  Send(WM_LBUTTONUP, 120, 15);
  EXPECT_EQ(Presses(Take()), (Lines{"form down 20,15", "form down 120,15"}));
  EXPECT_NE(::GetCapture(), hwnd);
}

// A window of another part of the program takes the capture during a press
// (a menu, a message box): the press is over for the child that had it.
TEST_F(DispatchMouse, ACaptureTakenAwayEndsThePress) {
  win::unique_window thief(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                             nullptr));
  ASSERT_TRUE(thief);
  Send(WM_MOUSEMOVE, 20, 15);
  Send(WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
  ASSERT_EQ(::GetCapture(), hwnd);
  Take();
  ::SetCapture(thief.get());
  EXPECT_EQ(Take(), (Lines{"A capture lost"}));
  ::ReleaseCapture();
  Send(WM_LBUTTONUP, 20, 15);
  EXPECT_EQ(Presses(Take()), (Lines{"A up 10,5"})) << "a release without its press is no click";

  Send(WM_MOUSEMOVE, 70, 15);
  Send(WM_LBUTTONDOWN, 70, 15, MK_LBUTTON);
  EXPECT_EQ(::GetCapture(), hwnd);
  Send(WM_LBUTTONUP, 72, 16);
  EXPECT_EQ(Presses(Take()), (Lines{"B move 10,5", "B down 10,5", "B up 12,6", "B click"}))
      << "the next press belongs to the child under it";
}

// The leave comes from the system (TrackMouseEvent) when the real pointer goes,
// so the pointer itself moves here; the form is made, hovered and destroyed
// with the pointer on it, then made again.
TEST_F(DispatchMouse, ThePointerLeavingTheWindowEndsTheHoverAlsoInARemadeWindow) {
  form.SetBounds(100, 100, 200, 100);
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round == 1 ? "first window" : "window made again");
    form.Show();
    hwnd = form.Handle();
    ::SetCursorPos(120, 115);
    Send(WM_MOUSEMOVE, 20, 15);
    ASSERT_FALSE(journal.empty());
    ASSERT_EQ(journal.front(), "A enter") << Joined(journal);
    if (round == 1) {
      // The window goes while the pointer is on A, before the system says it left.
      form.DestroyHandle();
      Take();
      continue;
    }
    ::SetCursorPos(500, 400);
    EXPECT_TRUE(probe::PumpUntil([&] { return !journal.empty() && journal.back() == "A leave"; })) << Joined(journal);
  }
}

// A child that goes away while it has the mouse (destroyed, taken from its
// parent or moved to another) hears nothing more from its old parent, and a
// capture taken for it is given back. A destroyed child's place is taken by a
// ghost of the same type, so that a call through a stale pointer is seen.
TEST(DispatchMouseRemoval, AChildGoneWhileHoveredOrPressedGetsNothingMore) {
  enum class Gone { Destroyed, Orphaned, MovedAway };
  const struct {
    Gone gone;
    bool pressed;
    const char* name;
  } cases[] = {
      {Gone::Destroyed, false, "destroyed while hovered"}, {Gone::Destroyed, true, "destroyed while pressed"},
      {Gone::Orphaned, false, "orphaned while hovered"},   {Gone::Orphaned, true, "orphaned while pressed"},
      {Gone::MovedAway, false, "moved while hovered"},     {Gone::MovedAway, true, "moved while pressed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lines journal;
    Form form, other;
    form.SetBorderStyle(BorderStyle::None);
    form.SetClientSize(200, 100);
    std::optional<Spot> a(std::in_place, journal, "A");
    a->SetParent(&form);
    a->SetBounds(10, 10, 40, 20);
    HWND hwnd = form.Handle();
    auto send = [&](UINT msg, int x, int y, WPARAM keys) {
      ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y));
    };
    send(WM_MOUSEMOVE, 20, 15, 0);
    if (c.pressed) {
      send(WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
      ASSERT_EQ(::GetCapture(), hwnd);
    }
    switch (c.gone) {
      case Gone::Destroyed: a.emplace(journal, "ghost"); break;  // destroys A first
      case Gone::Orphaned: a->SetParent(nullptr); break;
      case Gone::MovedAway: a->SetParent(&other); break;
    }
    EXPECT_NE(::GetCapture(), hwnd) << "no capture is kept for a child that is not there";
    journal.clear();
    const WPARAM keys = c.pressed ? MK_LBUTTON : 0;
    send(WM_MOUSEMOVE, 25, 16, keys);
    if (c.pressed) send(WM_LBUTTONUP, 25, 16, 0);
    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    send(WM_MOUSEMOVE, 30, 17, 0);
    EXPECT_TRUE(journal.empty()) << Joined(journal);
    if (::GetCapture() == hwnd) ::ReleaseCapture();
  }
}

}  // namespace
}  // namespace orvalis::ui
