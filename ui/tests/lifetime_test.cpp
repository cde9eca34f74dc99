// Objects and windows that end apart: a parent object gone before its
// children, a child gone from a living parent, a window destroyed under its
// living object, and controls destroyed from inside their own handlers. Where
// an object is destroyed, a ghost of the same type is made in its place, so
// that a call through a stale pointer lands somewhere it is seen.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/edit_box.h"
#include "ui/form.h"
#include "ui/tests/probe_controls.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

using probe::Probe;
using probe::Spot;

bool AtomExists(const char* name) { return ::GlobalFindAtomW(win::Wide(name).c_str()) != 0; }

// A handle whose window is gone: no window and no object behind it.
void ExpectGone(HWND hwnd, const char* what) {
  EXPECT_FALSE(::IsWindow(hwnd)) << what;
  EXPECT_EQ(WinControl::FromHandle(hwnd), nullptr) << what;
}

TEST(DispatchLifetime, AParentDestroyedFirstLeavesItsChildrenWholeAndReusable) {
  std::vector<std::string> journal;
  Form next;  // outlives the children it gets later
  Probe<Button> button;
  Spot label(journal, "L");
  std::optional<Form> form(std::in_place);
  button.SetParent(&*form);
  label.SetParent(&*form);
  label.SetBounds(100, 10, 40, 20);
  HWND formHandle = form->Handle();
  HWND buttonHandle = button.Handle();
  form.emplace();  // destroys the first form; a ghost takes its place

  EXPECT_EQ(button.Parent(), nullptr);
  EXPECT_EQ(label.Parent(), nullptr);
  EXPECT_FALSE(button.HandleAllocated());
  ExpectGone(formHandle, "the form's window");
  ExpectGone(buttonHandle, "the child's window");

  button.SetParent(&next);
  label.SetParent(&next);
  int clicks = 0;
  button.OnClick = [&](Control&) { ++clicks; };
  HWND nextHandle = next.Handle();
  ASSERT_TRUE(button.HandleAllocated()) << "made with its new parent";
  EXPECT_EQ(::GetParent(button.Handle()), nextHandle);
  EXPECT_EQ(WinControl::FromHandle(button.Handle()), &button);
  ::SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  ::SendMessageW(nextHandle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 15));
  ::SendMessageW(nextHandle, WM_LBUTTONUP, 0, MAKELPARAM(110, 15));
  EXPECT_EQ(journal, (std::vector<std::string>{"L down 10,5", "L up 10,5", "L click"}));
}

TEST(DispatchLifetime, AChildDestroyedLeavesItsParentWorking) {
  Form form;
  std::optional<Probe<Button>> button(std::in_place);
  button->SetName("btnDispatchLifetimeGone");
  button->SetParent(&form);
  Button sibling;
  sibling.SetParent(&form);
  HWND formHandle = form.Handle();
  HWND gone = button->Handle();
  ASSERT_TRUE(AtomExists("btnDispatchLifetimeGone"));
  button.emplace();  // destroys the first
  std::vector<UINT> ghost;
  button->answer = [&](Message& m) {
    ghost.push_back(m.msg);
    return false;
  };

  ExpectGone(gone, "the child's window");
  EXPECT_FALSE(AtomExists("btnDispatchLifetimeGone")) << "its name went with it";
  EXPECT_EQ(form.Controls(), (std::vector<Control*>{&sibling}));
  const LRESULT expected = ::DefWindowProcW(formHandle, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), LPARAM(gone));
  EXPECT_EQ(::SendMessageW(formHandle, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), LPARAM(gone)), expected)
      << "a late notification of the gone child";
  int clicks = 0;
  sibling.OnClick = [&](Control&) { ++clicks; };
  ::SendMessageW(sibling.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(ghost.empty());
}

// A host destroys the window a form stands in, or the system destroys a window
// tree: the objects live on without windows and make them again when asked.
TEST(DispatchLifetime, AWindowTreeDestroyedUnderItsObjectsIsMadeAgainWhole) {
  std::vector<std::string> order;
  auto note = [&order](const char* who) {
    return [&order, who](Message& m) {
      if (m.msg == WM_NCDESTROY) order.push_back(who);
      return false;
    };
  };
  Probe<Form> form;
  form.SetName("frmDispatchLifetime");
  form.answer = note("form");
  Probe<EditBox> edit;
  edit.SetName("edtDispatchLifetime");
  edit.SetParent(&form);
  edit.answer = note("edit");
  Probe<WinControl> own;
  own.SetParent(&form);
  own.answer = note("own");
  HWND formHandle = form.Handle(), editHandle = edit.Handle(), ownHandle = own.Handle();

  ::DestroyWindow(formHandle);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order.back(), "form") << "the children's windows end first";
  for (const WinControl* c : {static_cast<WinControl*>(&form), static_cast<WinControl*>(&edit),
                              static_cast<WinControl*>(&own)})
    EXPECT_FALSE(c->HandleAllocated());
  ExpectGone(formHandle, "form");
  ExpectGone(editHandle, "system-class child");
  ExpectGone(ownHandle, "own-class child");
  EXPECT_FALSE(AtomExists("frmDispatchLifetime"));
  EXPECT_FALSE(AtomExists("edtDispatchLifetime"));

  HWND again = form.Handle();
  ASSERT_NE(again, nullptr);
  ASSERT_TRUE(edit.HandleAllocated()) << "the children come back with the parent";
  EXPECT_EQ(::GetParent(edit.Handle()), again);
  EXPECT_EQ(WinControl::FromHandle(edit.Handle()), &edit);
  EXPECT_EQ(WinControl::FromHandle(own.Handle()), &own);
  EXPECT_EQ(edit.Count(WM_NCCREATE), 2) << "the new window is subclassed from its first message";
  EXPECT_TRUE(AtomExists("edtDispatchLifetime"));
  ::SendMessageW(edit.Handle(), WM_CHAR, 'k', 1);
  EXPECT_EQ(edit.Text(), "k");
}

TEST(DispatchLifetime, ANameAtomLivesAsLongAsAWindowCarriesIt) {
  Form form;
  std::optional<Button> button(std::in_place);
  button->SetParent(&form);
  button->SetName("btnDispatchAtomFirst");
  EXPECT_FALSE(AtomExists("btnDispatchAtomFirst")) << "no window yet";
  (void)form.Handle();
  EXPECT_TRUE(AtomExists("btnDispatchAtomFirst"));
  button->SetName("btnDispatchAtomSecond");
  EXPECT_FALSE(AtomExists("btnDispatchAtomFirst")) << "renamed";
  EXPECT_TRUE(AtomExists("btnDispatchAtomSecond"));
  button->SetName("btnDispatchAtomSecond");
  button->DestroyHandle();
  EXPECT_FALSE(AtomExists("btnDispatchAtomSecond")) << "the window went, also after naming it twice the same";
  (void)button->Handle();
  EXPECT_TRUE(AtomExists("btnDispatchAtomSecond")) << "made again";
  button.reset();
  EXPECT_FALSE(AtomExists("btnDispatchAtomSecond")) << "the object went";
}

// Handlers that end their own control or its form while the system is still
// inside the control's window procedure.
TEST(DispatchLifetime, AControlDestroyedFromItsOwnHandlerGetsNoCallAfterwards) {
  std::vector<UINT> ghostCalls;
  auto ghostAnswer = [&](Message& m) {
    ghostCalls.push_back(m.msg);
    return false;
  };

  {
    SCOPED_TRACE("a button that destroys itself when clicked");
    Form form;
    std::optional<Probe<Button>> button(std::in_place);
    button->SetParent(&form);
    // Held by reference, so that the event does not destroy its own callable.
    std::function<void(Control&)> destroy = [&](Control&) {
      button.emplace();
      button->answer = ghostAnswer;
    };
    button->OnClick = std::ref(destroy);
    HWND h = button->Handle();
    ::SendMessageW(h, BM_CLICK, 0, 0);
    ExpectGone(h, "its window");
    EXPECT_TRUE(form.Controls().empty());
    EXPECT_EQ(WinControl::FromHandle(form.Handle()), &form);
  }
  {
    SCOPED_TRACE("a button that destroys its form when clicked");
    std::optional<Probe<Form>> form(std::in_place);
    Button button;
    button.SetParent(&*form);
    std::function<void(Control&)> destroy = [&](Control&) {
      form.emplace();
      form->answer = ghostAnswer;
    };
    button.OnClick = std::ref(destroy);
    HWND formHandle = form->Handle(), buttonHandle = button.Handle();
    ::SendMessageW(buttonHandle, BM_CLICK, 0, 0);
    ExpectGone(formHandle, "the form's window");
    ExpectGone(buttonHandle, "the button's window");
    EXPECT_EQ(button.Parent(), nullptr);
  }
  {
    SCOPED_TRACE("a windowless child that destroys itself when clicked");
    std::vector<std::string> journal;
    Form form;
    std::optional<Spot> label(std::in_place, journal, "L");
    label->SetParent(&form);
    label->SetBounds(10, 10, 40, 20);
    std::function<void(Control&)> destroy = [&](Control&) { label.emplace(journal, "ghost"); };
    label->OnClick = std::ref(destroy);
    HWND h = form.Handle();
    ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(22, 16));
    ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"L enter", "L move 10,5", "L down 10,5", "L up 10,5", "L click"}));
    EXPECT_NE(::GetCapture(), h);
  }
  {
    SCOPED_TRACE("an edit that destroys its window on a key and lives on");
    Form form;
    Probe<EditBox> edit;
    edit.SetParent(&form);
    edit.answer = [&](Message& m) {
      if (m.msg == WM_CHAR && m.wParam == VK_ESCAPE) edit.DestroyHandle();
      return false;
    };
    HWND h = edit.Handle();
    ::SendMessageW(h, WM_CHAR, VK_ESCAPE, 1);
    ExpectGone(h, "its window");
    EXPECT_FALSE(edit.HandleAllocated());
    HWND again = edit.Handle();
    ASSERT_NE(again, nullptr);
    ::SendMessageW(again, WM_CHAR, 'z', 1);
    EXPECT_EQ(edit.Text(), "z");
  }
  EXPECT_TRUE(ghostCalls.empty()) << ghostCalls.size() << " calls reached a destroyed control";
}

}  // namespace
}  // namespace orvalis::ui
