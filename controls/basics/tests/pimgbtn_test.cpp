// The image button on a form under Wine: pressed while the mouse holds it, up
// again when the press ends, also when another window takes the mouse.
#include "controls/basics/pimgbtn.h"

#include <gtest/gtest.h>

#include "ui/form.h"
#include "win/unique_any.h"

namespace orvalis::controls {
namespace {

TEST(PImgBtnWindow, APressEndedFromOutsideLeavesTheButtonUp) {
  ui::Form form;
  form.SetBounds(0, 0, 200, 100);
  PImgBtn button;
  button.SetParent(&form);
  button.SetBounds(10, 10, 60, 24);
  int clicks = 0;
  button.OnClick = [&](ui::Control&) { ++clicks; };
  HWND window = form.Handle();
  const LPARAM at = MAKELPARAM(20, 15);
  ::SendMessageW(window, WM_MOUSEMOVE, 0, at);
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_TRUE(button.Pressed());
  win::unique_window thief(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                             nullptr));
  ASSERT_TRUE(thief);
  ::SetCapture(thief.get());  // a menu or a message box
  EXPECT_FALSE(button.Pressed()) << "drawn up again";
  ::ReleaseCapture();
  ::SendMessageW(window, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 0);
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(window, WM_LBUTTONUP, 0, at);
  EXPECT_FALSE(button.Pressed());
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace orvalis::controls
