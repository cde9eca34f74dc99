// Messages on their way to the controls: the window procedures of own and
// system classes, what goes on to the default or original procedure, the
// object behind a window, and the notifications a parent hands back to the
// child control that sent them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/tests/probe_controls.h"
#include "win/gdi.h"
#include "win/unique_any.h"

namespace orvalis::ui {
namespace {

using probe::Probe;

// ---------------------------------------------------------------- routing

TEST(DispatchRouting, ControlsAreBoundBeforeTheirFirstMessage) {
  Form form;
  Probe<WinControl> own;
  Probe<EditBox> edit;
  Probe<Button> button;
  CheckBox check;
  check.SetChecked(true);  // applied by the control on WM_CREATE
  own.SetParent(&form);
  edit.SetParent(&form);
  button.SetParent(&form);
  check.SetParent(&form);
  (void)form.Handle();
  auto boundFirst = [](const std::vector<probe::Seen>& seen) {
    return !seen.empty() && seen.front().msg == WM_NCCREATE &&
           std::any_of(seen.begin(), seen.end(), [](const probe::Seen& s) { return s.msg == WM_CREATE; });
  };
  EXPECT_TRUE(boundFirst(own.seen)) << "own class";
  EXPECT_TRUE(boundFirst(edit.seen)) << "EDIT";
  EXPECT_TRUE(boundFirst(button.seen)) << "BUTTON";
  EXPECT_EQ(::SendMessageW(check.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WinControl::FromHandle(own.Handle()), &own);
  EXPECT_EQ(WinControl::FromHandle(edit.Handle()), &edit);
  EXPECT_EQ(WinControl::FromHandle(button.Handle()), &button);
}

TEST(DispatchRouting, AnOwnWindowsMessagesReachTheControlAndTheRestTheDefaultProcedure) {
  Form form;
  Probe<WinControl> own;
  own.SetParent(&form);
  own.answer = [](Message& m) {
    if (m.msg != WM_USER + 7) return false;
    m.result = LRESULT(m.wParam + m.lParam);
    return true;
  };
  HWND h = own.Handle();
  EXPECT_EQ(::SendMessageW(h, WM_USER + 7, 0x1200, 0x34), 0x1234) << "the control's answer is the window's";
  ASSERT_NE(own.Last(WM_USER + 7), nullptr);
  EXPECT_EQ(own.Last(WM_USER + 7)->wParam, WPARAM(0x1200));
  EXPECT_EQ(::SendMessageW(h, WM_USER + 8, 1, 2), 0) << "unhandled: the default procedure's answer";
  EXPECT_EQ(own.Count(WM_USER + 8), 1);
  EXPECT_TRUE(::SetWindowTextW(h, L"typed"));
  EXPECT_EQ(own.Text(), "typed") << "the default procedure keeps the text";
  EXPECT_EQ(own.Count(WM_SETTEXT), 1);
}

TEST(DispatchRouting, ASubclassedSystemControlKeepsItsBehaviourUnderTheControlsHandling) {
  Form form;
  Probe<EditBox> edit;
  edit.SetParent(&form);
  HWND h = edit.Handle();
  ::SendMessageW(h, WM_CHAR, 'x', 1);
  EXPECT_EQ(edit.Text(), "x") << "unhandled: the edit's own procedure";
  EXPECT_EQ(edit.Count(WM_CHAR), 1);

  edit.answer = [](Message& m) {
    if (m.msg == WM_CHAR && m.wParam == 'q') return true;  // swallowed
    if (m.msg == WM_CHAR && m.wParam == 'a') m.wParam = 'b';  // passed on changed
    if (m.msg == EM_GETLIMITTEXT) {
      m.result = 77;
      return true;
    }
    return false;
  };
  ::SendMessageW(h, WM_CHAR, 'q', 1);
  ::SendMessageW(h, WM_CHAR, 'a', 1);
  EXPECT_EQ(edit.Text(), "xb") << "what the control changed reaches the original procedure";
  ::SendMessageW(h, EM_SETLIMITTEXT, 5, 0);
  EXPECT_EQ(::SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 77) << "the control's answer";
  edit.answer = nullptr;
  EXPECT_EQ(::SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 5) << "the original procedure's answer";

  Probe<Button> button;
  button.SetParent(&form);
  HWND b = button.Handle();
  ::SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_TRUE(::SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED) << "the button still presses";
  ::SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  if (::GetCapture() == b) ::ReleaseCapture();
}

TEST(DispatchRouting, MouseMessagesBecomeTheControlsMouseEvents) {
  Form form;
  Probe<WinControl> own;
  own.SetParent(&form);
  own.SetBounds(0, 0, 50, 50);
  std::string got;
  auto write = [&](const char* what, MouseButton b, unsigned keys, int x, int y) {
    const char* button = b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
    char line[64];
    std::snprintf(line, sizeof line, "%s %s %u %d,%d", what, button, keys, x, y);
    got = line;
  };
  own.OnMouseDown = [&](Control& c, MouseButton b, unsigned keys, int x, int y) {
    EXPECT_EQ(&c, &own);
    write("down", b, keys, x, y);
  };
  own.OnMouseUp = [&](Control&, MouseButton b, unsigned keys, int x, int y) { write("up", b, keys, x, y); };
  own.OnMouseMove = [&](Control&, unsigned keys, int x, int y) {
    char line[64];
    std::snprintf(line, sizeof line, "move %u %d,%d", keys, x, y);
    got = line;
  };
  const struct {
    UINT msg;
    WPARAM keys;
    int x, y;
    const char* expected;
  } cases[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, 4, 5, "down left 1 4,5"},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, 4, 5, "down left 1 4,5"},
      {WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, -3, 7, "down right 6 -3,7"},
      {WM_MBUTTONDOWN, MK_MBUTTON, 1, 1, "down middle 16 1,1"},
      {WM_LBUTTONUP, 0, 60, -2, "up left 0 60,-2"},
      {WM_RBUTTONUP, MK_CONTROL, 2, 2, "up right 8 2,2"},
      {WM_MBUTTONUP, 0, 9, 9, "up middle 0 9,9"},
      {WM_MOUSEMOVE, MK_LBUTTON, -40, 30000, "move 1 -40,30000"},
  };
  HWND h = own.Handle();
  for (const auto& c : cases) {
    got.clear();
    ::SendMessageW(h, c.msg, c.keys, MAKELPARAM(c.x, c.y));
    EXPECT_EQ(got, c.expected) << "message 0x" << std::hex << c.msg;
  }
  if (::GetCapture() == h) ::ReleaseCapture();
}

TEST(DispatchRouting, FocusMovingBetweenControlsIsTheirExitAndEnter) {
  Form form;
  form.SetBounds(50, 50, 200, 120);
  EditBox first, second;
  first.SetParent(&form);
  first.SetBounds(10, 10, 100, 20);
  second.SetParent(&form);
  second.SetBounds(10, 40, 100, 20);
  std::string events;
  first.OnEnter = [&](Control&) { events += "enter first;"; };
  first.OnExit = [&](Control&) { events += "exit first;"; };
  second.OnEnter = [&](Control&) { events += "enter second;"; };
  second.OnExit = [&](Control&) { events += "exit second;"; };
  form.Show();
  first.SetFocus();
  ASSERT_TRUE(probe::PumpUntil([&] { return first.Focused(); }));
  events.clear();
  second.SetFocus();
  EXPECT_TRUE(probe::PumpUntil([&] { return second.Focused(); }));
  EXPECT_EQ(events, "exit first;enter second;");
  EXPECT_FALSE(first.Focused());
}

TEST(DispatchRouting, FromHandleKnowsOnlyThisFrameworksLiveWindows) {
  Form form;
  Probe<WinControl> own;
  EditBox edit;
  own.SetParent(&form);
  edit.SetParent(&form);
  (void)form.Handle();
  win::unique_window plain(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form.Handle(), nullptr,
                                             nullptr, nullptr));
  ASSERT_TRUE(plain);
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);
  EXPECT_EQ(WinControl::FromHandle(form.Handle()), &form);
  EXPECT_EQ(WinControl::FromHandle(own.Handle()), &own);
  EXPECT_EQ(WinControl::FromHandle(edit.Handle()), &edit);
  EXPECT_EQ(WinControl::FromHandle(plain.get()), nullptr) << "a system window the framework did not make";
  EXPECT_EQ(WinControl::FromHandle(gone), nullptr) << "a destroyed window";
  EXPECT_EQ(WinControl::FromHandle(nullptr), nullptr);
  EXPECT_EQ(WinControl::FromHandle(::GetDesktopWindow()), nullptr) << "a window of another process";
  EXPECT_EQ(own.Count(::RegisterWindowMessageW(L"OrvalisControlObject")), 0)
      << "the question is answered before the control sees it";
}

// ---------------------------------------------------------------- reflection

// The parameters a parent gets for one notification of a child.
struct Notification {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// A form with two children of its own class; the first answers every
// notification handed to it with a value of its own.
class DispatchReflection : public ::testing::Test {
 protected:
  DispatchReflection() {
    child.SetParent(&form);
    sibling.SetParent(&form);
    child.answer = [](Message& m) {
      if (m.msg < CN_BASE || m.msg >= CN_BASE + 0x400) return false;
      m.result = 0x5A000 + LRESULT(m.msg - CN_BASE);
      return true;
    };
    (void)form.Handle();
    dc.reset(::CreateCompatibleDC(nullptr));
  }

  // The notification `msg` as the window `from` would send it.
  Notification From(HWND from, UINT msg) {
    switch (msg) {
      case WM_COMMAND: return {msg, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(from)};
      case WM_NOTIFY:
        header = NMHDR{from, 7, UINT(NM_CLICK)};
        return {msg, 7, reinterpret_cast<LPARAM>(&header)};
      case WM_DRAWITEM:
        item = DRAWITEMSTRUCT{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = 7;
        item.hwndItem = from;
        item.hDC = dc.get();
        return {msg, 7, reinterpret_cast<LPARAM>(&item)};
      default: return {msg, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(from)};
    }
  }
  LRESULT Send(const Notification& n) { return ::SendMessageW(form.Handle(), n.msg, n.wParam, n.lParam); }

  static constexpr UINT kAll[] = {WM_COMMAND,         WM_NOTIFY,           WM_DRAWITEM,           WM_CTLCOLORMSGBOX,
                                  WM_CTLCOLOREDIT,    WM_CTLCOLORLISTBOX,  WM_CTLCOLORBTN,        WM_CTLCOLORDLG,
                                  WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC};

  Probe<Form> form;
  Probe<WinControl> child, sibling;
  win::unique_hdc dc;
  NMHDR header{};
  DRAWITEMSTRUCT item{};
};

TEST_F(DispatchReflection, ANotificationReachesTheChildThatSentItAndItsAnswerIsTheParents) {
  for (UINT msg : kAll) {
    SCOPED_TRACE(msg);
    Notification n = From(child.Handle(), msg);
    EXPECT_EQ(Send(n), 0x5A000 + LRESULT(msg)) << "the parent answers with what the child answered";
    const probe::Seen* seen = child.Last(CN_BASE + msg);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->wParam, n.wParam);
    EXPECT_EQ(seen->lParam, n.lParam) << "the same parameters, the same structure";
  }
  EXPECT_EQ(child.Reflected(), int(std::size(kAll)));
  EXPECT_EQ(sibling.Reflected(), 0) << "nothing for a child that did not send it";
  EXPECT_EQ(form.Reflected(), 0);
}

TEST_F(DispatchReflection, ANotificationTheChildLeavesGetsTheParentsDefaultAnswer) {
  for (UINT msg : kAll) {
    SCOPED_TRACE(msg);
    Notification n = From(sibling.Handle(), msg);
    const LRESULT expected = ::DefWindowProcW(form.Handle(), n.msg, n.wParam, n.lParam);
    EXPECT_EQ(Send(n), expected);
    EXPECT_NE(sibling.Last(CN_BASE + msg), nullptr) << "the child was asked";
  }
  // Looking at it and handing it on is leaving it too.
  sibling.answer = [](Message& m) {
    m.result = 99;
    return false;
  };
  Notification n = From(sibling.Handle(), WM_CTLCOLORSTATIC);
  EXPECT_EQ(Send(n), ::DefWindowProcW(form.Handle(), n.msg, n.wParam, n.lParam));
}

TEST_F(DispatchReflection, WhatNoChildControlSentStaysWithTheParent) {
  win::unique_window plain(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form.Handle(), nullptr,
                                             nullptr, nullptr));
  ASSERT_TRUE(plain);
  Probe<WinControl> dead;
  dead.SetParent(&form);
  HWND deadHandle = dead.Handle();
  dead.DestroyHandle();
  ASSERT_FALSE(::IsWindow(deadHandle));

  Notification menu{WM_COMMAND, MAKEWPARAM(1234, 0), 0};
  Notification menuItem = From(child.Handle(), WM_DRAWITEM);
  item.CtlType = ODT_MENU;  // hwndItem is a menu handle here, whatever its value
  Notification ownDialog = From(form.Handle(), WM_CTLCOLORDLG);
  const struct {
    const char* name;
    Notification n;
  } cases[] = {
      {"a menu command", menu},
      {"a menu item to draw", menuItem},
      {"the parent's own colours", ownDialog},
      {"a command of a destroyed child", From(deadHandle, WM_COMMAND)},
      {"a command of a window the framework did not make", From(plain.get(), WM_COMMAND)},
      {"a notification without a sender", From(nullptr, WM_NOTIFY)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.n.msg == WM_NOTIFY) header.hwndFrom = nullptr;
    const LRESULT expected = ::DefWindowProcW(form.Handle(), c.n.msg, c.n.wParam, c.n.lParam);
    form.seen.clear();
    EXPECT_EQ(Send(c.n), expected);
    EXPECT_EQ(form.Count(c.n.msg), 1) << "the parent handled it itself";
    EXPECT_EQ(form.Reflected(), 0);
  }
  EXPECT_EQ(child.Reflected(), 0);
  EXPECT_EQ(dead.Reflected(), 0);
}

// Notifications as the system sends them: a click inside a panel, an
// owner-drawn button's paint, an edit's colours and a list view that asks
// before an item changes.
TEST(DispatchReflectionFromTheSystem, AButtonInsideAPanelIsClickedThroughItsOwnParent) {
  Probe<Form> form;
  Probe<Panel> panel;
  panel.SetParent(&form);
  Probe<Button> button;
  button.SetParent(&panel);
  int clicks = 0;
  button.OnClick = [&](Control& c) {
    EXPECT_EQ(&c, &button);
    ++clicks;
  };
  (void)form.Handle();
  ::SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  const probe::Seen* command = panel.Last(WM_COMMAND);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->lParam, reinterpret_cast<LPARAM>(button.Handle()));
  EXPECT_EQ(form.Count(WM_COMMAND), 0) << "the notification went to the window's parent, not the form";
  EXPECT_EQ(button.Count(CN_COMMAND), 1);
}

TEST(DispatchReflectionFromTheSystem, AnOwnerDrawnButtonDrawsOnItsReflectedDrawItem) {
  Form form;
  form.SetBounds(40, 40, 200, 100);
  Probe<BitBtn> button;
  button.SetParent(&form);
  button.SetCaption("Draw");
  HWND drawnItem = nullptr;
  button.answer = [&](Message& m) {
    if (m.msg == CN_DRAWITEM) drawnItem = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam)->hwndItem;
    return false;
  };
  form.Show();
  ::RedrawWindow(button.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(probe::PumpUntil([&] { return drawnItem != nullptr; }));
  EXPECT_EQ(drawnItem, button.Handle());
}

TEST(DispatchReflectionFromTheSystem, AnEditPaintsWithTheBrushItsControlAnswers) {
  Form form;
  Probe<EditBox> edit;
  edit.SetParent(&form);
  edit.SetBounds(0, 0, 80, 24);
  win::unique_hbrush red(::CreateSolidBrush(RGB(255, 0, 0)));
  edit.answer = [&](Message& m) {
    if (m.msg != CN_CTLCOLOREDIT) return false;
    ::SetBkColor(reinterpret_cast<HDC>(m.wParam), RGB(255, 0, 0));
    m.result = reinterpret_cast<LRESULT>(red.get());
    return true;
  };
  HWND h = edit.Handle();
  RECT client;
  ::GetClientRect(h, &client);
  win::unique_hdc dc;
  win::unique_hbitmap target;
  {
    win::window_dc screen(nullptr);
    dc.reset(::CreateCompatibleDC(screen.get()));
    target.reset(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  }
  win::selected_object sel(dc.get(), target.get());
  ::SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(edit.Count(CN_CTLCOLOREDIT), 1);
  EXPECT_EQ(::GetPixel(dc.get(), client.right - 2, client.bottom / 2), RGB(255, 0, 0));
}

TEST(DispatchReflectionFromTheSystem, AListViewsItemChangeIsRefusedByItsControlsAnswer) {
  Application::Initialize();
  Form form;
  Probe<WinControl> list;
  list.systemClass = WC_LISTVIEWW;
  list.extraStyle = LVS_LIST;
  list.SetParent(&form);
  list.SetBounds(0, 0, 120, 80);
  bool refuse = true;
  list.answer = [&](Message& m) {
    if (m.msg != CN_NOTIFY || reinterpret_cast<const NMHDR*>(m.lParam)->code != UINT(LVN_ITEMCHANGING)) return false;
    m.result = refuse;
    return true;
  };
  HWND h = list.Handle();
  LVITEMW add{};
  add.mask = LVIF_TEXT;
  add.pszText = const_cast<wchar_t*>(L"one");
  ASSERT_EQ(::SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&add)), 0);
  auto select = [&] {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    ::SendMessageW(h, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    return ::SendMessageW(h, LVM_GETITEMSTATE, 0, LVIS_SELECTED) & LVIS_SELECTED;
  };
  EXPECT_FALSE(select()) << "refused";
  refuse = false;
  EXPECT_TRUE(select()) << "allowed";
}

}  // namespace
}  // namespace orvalis::ui
