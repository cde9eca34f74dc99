// The visual-styles binding under Windows: incomplete libraries count as absent
// and are retried, empty classes never load it, and a theme change reopens the
// handles of the controls.
#include "controls/basics/theme.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "controls/basics/pbitbtn.h"
#include "controls/basics/pcheckbox.h"
#include "controls/basics/pradiobutton.h"
#include "controls/basics/ppanel.h"
#include "ui/form.h"
#include "win/gdi.h"

namespace orvalis::controls {
namespace {

// A loader that hands out the real library, counts what happens and can hide
// one function; OpenThemeData and CloseThemeData are counted on their way through.
struct Counting {
  static inline int loads = 0;
  static inline int releases = 0;
  static inline int opens = 0;
  static inline int closes = 0;
  static inline std::string hidden;
  static inline HMODULE real = nullptr;
  static inline FARPROC realOpen = nullptr;
  static inline FARPROC realClose = nullptr;

  static HTHEME WINAPI Open(HWND hwnd, LPCWSTR name) {
    ++opens;
    return reinterpret_cast<HTHEME(WINAPI*)(HWND, LPCWSTR)>(reinterpret_cast<void*>(realOpen))(hwnd, name);
  }
  static HRESULT WINAPI Close(HTHEME theme) {
    ++closes;
    return reinterpret_cast<HRESULT(WINAPI*)(HTHEME)>(reinterpret_cast<void*>(realClose))(theme);
  }
  static HMODULE Load(const wchar_t* name) {
    ++loads;
    real = ::LoadLibraryW(name);
    return real;
  }
  static FARPROC Resolve(HMODULE m, const char* name) {
    if (hidden == name) return nullptr;
    if (std::strcmp(name, "OpenThemeData") == 0) {
      realOpen = ::GetProcAddress(m, name);
      return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Open));
    }
    if (std::strcmp(name, "CloseThemeData") == 0) {
      realClose = ::GetProcAddress(m, name);
      return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Close));
    }
    return ::GetProcAddress(m, name);
  }
  static void Release(HMODULE m) {
    ++releases;
    ::FreeLibrary(m);
  }
};

constexpr ThemeLibraryLoader kCounting{Counting::Load, Counting::Resolve, Counting::Release};

class ThemeBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    SetThemeLibraryLoader(&kCounting);
    Counting::loads = Counting::releases = Counting::opens = Counting::closes = 0;
    Counting::hidden.clear();
  }
  void TearDown() override { SetThemeLibraryLoader(nullptr); }
};

TEST_F(ThemeBinding, EmptyClassNeverLoadsTheLibrary) {
  EXPECT_EQ(ThemeOpen(nullptr, ""), nullptr);
  EXPECT_EQ(Counting::loads, 0);
  EXPECT_FALSE(ThemeApiLoaded());
}

TEST_F(ThemeBinding, LibraryLackingAnyFunctionIsAbsentAndRetried) {
  const char* const names[] = {"OpenThemeData",    "DrawThemeBackground", "CloseThemeData",
                               "DrawThemeText",    "GetThemeBackgroundContentRect",
                               "IsThemeBackgroundPartiallyTransparent", "DrawThemeParentBackground",
                               "GetThemeColor",    "GetThemeFilename",    "GetThemeFont",
                               "GetThemeTextExtent", "GetThemePartSize"};
  for (const char* name : names) {
    SetUp();
    Counting::hidden = name;
    EXPECT_EQ(ThemeOpen(nullptr, "Button"), nullptr) << name;
    EXPECT_FALSE(ThemeApiLoaded()) << name;
    EXPECT_EQ(Counting::releases, 1) << name;
    EXPECT_EQ(Counting::opens, 0) << name;
    EXPECT_EQ(ThemeOpen(nullptr, "Button"), nullptr) << name;
    EXPECT_EQ(Counting::loads, 2) << name << ": the next open tries again";
  }
  Counting::hidden.clear();
  EXPECT_TRUE(ThemeApiLoad());
  EXPECT_TRUE(ThemeApiLoad());
  EXPECT_EQ(Counting::loads, 3) << "a bound library stays bound";
}

TEST_F(ThemeBinding, HelpersRefuseWithoutThemeOrContext) {
  COLORREF color = 0x123456;
  EXPECT_FALSE(ThemeGetColor(nullptr, 1, 1, 3810, color));
  EXPECT_EQ(color, 0x123456u);
  win::window_dc screen(nullptr);
  EXPECT_FALSE(ThemeDrawBackground(nullptr, nullptr, screen.get(), 1, 1, 0));
  EXPECT_EQ(ThemeTextWidth(nullptr, nullptr, 1, 1, "x", RECT{0, 0, 10, 10}, 0), 0);
  EXPECT_FALSE(ThemeDrawText(nullptr, nullptr, 1, 1, "x", RECT{0, 0, 10, 10}, 0));
}

TEST_F(ThemeBinding, ThemeChangeReopensEveryControlsHandle) {
  ui::Form form;
  form.SetClientSize(300, 200);
  PPanel panel;
  panel.SetParent(&form);
  panel.SetBounds(0, 0, 300, 100);
  PBitBtn button;
  button.SetParent(&form);
  button.SetBounds(10, 120, 75, 25);
  (void)form.Handle();
  button.Loaded();
  panel.SetThemeClass("Button");
  const int opens = Counting::opens, closes = Counting::closes;
  EXPECT_GE(opens, 2) << "panel and button opened their themes";
  ::SendMessageW(panel.Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(Counting::opens, opens + 1);
  ::SendMessageW(button.Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(Counting::opens, opens + 2);
  // Handles that were open are closed before the new ones are opened.
  EXPECT_EQ(Counting::closes - closes, (panel.Theme() ? 1 : 0) + (button.Theme() ? 1 : 0));
}

TEST_F(ThemeBinding, ThemeColorLeavesTheValueOnFailure) {
  ui::Form form;
  HTHEME theme = ThemeOpen(form.Handle(), "Button");
  if (!theme) GTEST_SKIP() << "visual styles are off in this prefix";
  COLORREF color = 0xABCDEF;
  EXPECT_FALSE(ThemeGetColor(theme, 1, 1, 99999, color));
  EXPECT_EQ(color, 0xABCDEFu);
  ThemeClose(theme);
}

}  // namespace
}  // namespace orvalis::controls

namespace orvalis::controls {
namespace {

TEST(FocusCaptions, CheckBoxArrowComesAndGoesRadioGetsOneSpace) {
  ui::Form form;
  form.SetClientSize(300, 100);
  PCheckBox check;
  check.SetParent(&form);
  check.SetBounds(10, 10, 120, 20);
  check.SetCaption(" ");
  PRadioButton radio;
  radio.SetParent(&form);
  radio.SetBounds(10, 40, 120, 20);
  radio.SetCaption("Local");
  form.Show();
  check.Loaded();
  radio.Loaded();
  check.SetFocus();
  EXPECT_EQ(check.Caption(), "< ") << "a single-space caption always shows the arrow";
  radio.SetFocus();
  EXPECT_EQ(check.Caption(), "") << "the arrow goes on exit";
  EXPECT_EQ(radio.Caption(), "Local ");
  check.SetFocus();
  radio.SetFocus();
  EXPECT_EQ(radio.Caption(), "Local ") << "entering twice appends one space";
  check.SetCaption("");
  check.SetFocus();
  EXPECT_EQ(check.Caption(), check.Theme() ? "" : "< ") << "an empty caption gets the arrow only without a theme";
  EXPECT_EQ(check.Focused(), true);
}

}  // namespace
}  // namespace orvalis::controls
