// The window framework under Windows: designer names readable from outside,
// reflected clicks, modal results, exceptions stopped at the window procedure
// and the GDI canvas's transparent drawing.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/gdi_canvas.h"
#include "ui/label.h"
#include "win/tests/debug_capture.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

std::string NameProperty(HWND hwnd) {
  auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropW(hwnd, kNameProperty)));
  if (!atom) return {};
  wchar_t buf[256] = {};
  UINT n = ::GlobalGetAtomNameW(atom, buf, 256);
  return win::Narrow(std::wstring(buf, n));
}

TEST(Framework, DesignerNamesAreWindowProperties) {
  Form form;
  form.SetName("TSForm");
  Button button;
  button.SetName("btnInstall");
  button.SetParent(&form);
  (void)form.Handle();
  EXPECT_EQ(NameProperty(form.Handle()), "TSForm");
  EXPECT_EQ(NameProperty(button.Handle()), "btnInstall");
  button.SetName("btnCancel");
  EXPECT_EQ(NameProperty(button.Handle()), "btnCancel");
  EXPECT_EQ(WinControl::FromHandle(button.Handle()), &button);
  EXPECT_EQ(WinControl::FromHandle(form.Handle()), &form);
}

TEST(Framework, ReflectedClickSetsTheModalResultAndEndsTheLoop) {
  Form form;
  form.SetClientSize(200, 100);
  Button ok;
  ok.SetParent(&form);
  ok.SetModalResult(mrOk);
  int clicks = 0;
  ok.OnClick = [&](Control& c) {
    EXPECT_EQ(&c, &ok);
    ++clicks;
  };
  (void)form.Handle();
  ::PostMessageW(ok.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(::IsWindowVisible(form.Handle()));
}

TEST(Framework, ClosingAModalFormCancels) {
  Form form;
  (void)form.Handle();
  ::PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST(Framework, WindowlessChildrenGetClicksReleasedInsideOnly) {
  Form form;
  form.SetClientSize(200, 100);
  Label label;
  label.SetParent(&form);
  label.SetAutoSize(false);
  label.SetBounds(10, 10, 50, 20);
  int clicks = 0;
  label.OnClick = [&](Control&) { ++clicks; };
  HWND hwnd = form.Handle();
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(22, 16));
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 80));  // released outside: no click
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 80));
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
  EXPECT_EQ(clicks, 1);
}

TEST(GdiCanvas, TransparentBitmapLeavesKeyPixelsAlone) {
  win::unique_hdc dc;
  win::unique_hbitmap target;
  {
    win::window_dc screen(nullptr);
    dc.reset(::CreateCompatibleDC(screen.get()));
    target.reset(::CreateCompatibleBitmap(screen.get(), 8, 8));
  }
  win::selected_object sel(dc.get(), target.get());
  RECT all{0, 0, 8, 8};
  win::unique_hbrush blue(::CreateSolidBrush(RGB(0, 0, 255)));
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(blue.get()));
  Bitmap glyph(4, 4, 0xFF00FF);
  glyph.FillRect({1, 1, 3, 3}, 0x00FF00);
  {
    GdiCanvas canvas(dc.get());
    canvas.DrawTransparent(2, 2, glyph, 0xFF00FF);
  }
  EXPECT_EQ(::GetPixel(dc.get(), 2, 2), RGB(0, 0, 255)) << "key pixel shows the destination";
  EXPECT_EQ(::GetPixel(dc.get(), 3, 3), RGB(0, 255, 0));
  EXPECT_EQ(::GetPixel(dc.get(), 0, 0), RGB(0, 0, 255));
}

TEST(GdiCanvas, SystemColoursAreResolved) {
  EXPECT_EQ(ResolveColor(kBtnFace), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ResolveColor(0x123456), COLORREF(0x123456));
}

}  // namespace
}  // namespace orvalis::ui

namespace orvalis::ui {
namespace {

TEST(Framework, AskingAChildForItsWindowFirstMakesOneWindowOnly) {
  Form form;
  Button first, second;
  first.SetParent(&form);
  second.SetParent(&form);
  HWND made = second.Handle();  // makes the form, which makes both children
  ASSERT_NE(made, nullptr);
  int children = 0;
  for (HWND c = ::GetWindow(form.Handle(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 2);
  EXPECT_EQ(second.Handle(), made);
  EXPECT_EQ(WinControl::FromHandle(made), &second);
}

// A control whose handling of one message fails, as a faulty event handler would.
class FailingControl : public WinControl {
 protected:
  void WndProc(Message& m) override {
    if (m.msg == WM_GETTEXTLENGTH) throw std::runtime_error("handler failed");
    WinControl::WndProc(m);
  }
};

TEST(Framework, AnExceptionStopsAtTheWindowProcedureIsLoggedAndAnsweredByDefault) {
  Form form;
  FailingControl control;
  control.SetName("edtFailing");
  control.SetText("four");
  control.SetParent(&form);
  win::DebugCapture capture;
  EXPECT_EQ(::SendMessageW(control.Handle(), WM_GETTEXTLENGTH, 0, 0), 4) << "the default procedure's answer";
  EXPECT_NE(capture.Text().find("\"edtFailing\", message 0x000E: handler failed"), std::string::npos)
      << capture.Text();
  EXPECT_TRUE(::IsWindow(control.Handle()));
}

}  // namespace
}  // namespace orvalis::ui
