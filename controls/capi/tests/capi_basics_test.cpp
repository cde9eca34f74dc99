// Every creator on a plain host window, the calls every control has, the
// panel's looks, the buttons, check boxes, labels and the colour dialog, as a
// host reaches them through the loaded module.
#include "host_window.h"

#include <commctrl.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace orvalis::capi_test {
namespace {

// Where a window lies in its host's client area.
RECT PlaceIn(HWND host, HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The window a control is drawn on: its own, or the site's for a windowless one.
bool Windowless(OrvalisControl* control) {
  HWND window = api.PControl_Handle(control);
  wchar_t name[32] = {};
  ::GetClassNameW(window, name, 32);
  return std::wstring(name) == L"OrvalisSite";
}

using Creator = Function<decltype(&::PPanel_Create)>;

struct Made {
  Creator* create;
  const char* name;
  bool windowless;
};

const Made kEveryClass[] = {
    {&api.PPanel_Create, "Panel", false},       {&api.PParent_Create, "Parent", false},
    {&api.PGroupBox_Create, "Group", false},    {&api.PMemo_Create, "Memo", false},
    {&api.PButton_Create, "Button", false},     {&api.PBitBtn_Create, "BitBtn", false},
    {&api.PImgBtn_Create, "ImgBtn", true},      {&api.PCheckBox_Create, "CheckBox", false},
    {&api.PRadioButton_Create, "Radio", false}, {&api.PLabel_Create, "Label", true},
    {&api.PRichEdit_Create, "Rich", false},     {&api.PEdit_Create, "Edit", false},
    {&api.PDateEdit_Create, "Date", false},     {&api.PNumEdit_Create, "Number", false},
    {&api.PZipEdit_Create, "Postcode", false},  {&api.PChoice_Create, "Choice", false},
    {&api.PLineEdit_Create, "Formula", false},  {&api.PComboBox_Create, "Combo", false},
    {&api.PCheckListBox_Create, "Checks", false}, {&api.PTreeView_Create, "Tree", false},
};

using ControlTest = HostTest;

TEST_F(ControlTest, EveryCreatorPutsItsControlOnAPlainWindowAndDestroyTakesItAway) {
  for (const Made& made : kEveryClass) {
    const std::string name = std::string(made.name) + "_\xC3\xA9";  // a designer name with "é"
    OrvalisControl* control = (*made.create)(host_, name.c_str(), 12, 34, 180, 90);
    ASSERT_NE(control, nullptr) << made.name;
    HWND window = api.PControl_Handle(control);
    ASSERT_TRUE(::IsWindow(window)) << made.name;
    EXPECT_EQ(Windowless(control), made.windowless) << made.name;
    EXPECT_EQ(::GetAncestor(window, GA_ROOT), host_) << made.name;
    // The control fills the site window, which sits where the host asked.
    HWND site = made.windowless ? window : ::GetParent(window);
    EXPECT_EQ(::GetParent(site), host_) << made.name;
    const RECT r = PlaceIn(host_, site);
    EXPECT_EQ(r.left, 12) << made.name;
    EXPECT_EQ(r.top, 34) << made.name;
    EXPECT_EQ(r.right - r.left, 180) << made.name;
    EXPECT_EQ(r.bottom - r.top, 90) << made.name;
    EXPECT_EQ(Read(api.PControl_GetName, control), name) << made.name;
    EXPECT_EQ(api.PControl_GetVisible(control), 1) << made.name;
    EXPECT_EQ(api.PControl_GetEnabled(control), 1) << made.name;
    api.PControl_Destroy(control);
    EXPECT_FALSE(::IsWindow(window)) << made.name;
    EXPECT_FALSE(::IsWindow(site)) << made.name;
  }
}

TEST_F(ControlTest, CommonCallsReachTheControlsWindow) {
  const struct {
    Creator* create;
    const char* text;  // what PControl_GetText reads back after PControl_SetText
  } cases[] = {
      {&api.PMemo_Create, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93"},  // "Grüße ✓"
      {&api.PButton_Create, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93"},
      {&api.PPanel_Create, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93"},
      {&api.PLabel_Create, ""},  // windowless: no window text to set or read
  };
  for (const auto& c : cases) {
    OrvalisControl* control = Make(*c.create, "Common", 8, 8, 150, 40);
    ASSERT_NE(control, nullptr) << c.create->name;
    HWND window = Window(control);
    const bool windowed = !Windowless(control);
    HWND site = windowed ? ::GetParent(window) : window;

    api.PControl_SetBounds(control, 30, 60, 210, 50);
    RECT r = PlaceIn(host_, site);
    EXPECT_EQ(r.left, 30) << c.create->name;
    EXPECT_EQ(r.top, 60) << c.create->name;
    EXPECT_EQ(r.right - r.left, 210) << c.create->name;
    if (windowed) {
      RECT client{};
      ::GetWindowRect(window, &client);
      EXPECT_EQ(client.right - client.left, 210) << "the control fills its site: " << c.create->name;
      EXPECT_EQ(client.bottom - client.top, 50) << c.create->name;
    }

    api.PControl_SetVisible(control, 0);
    EXPECT_EQ(api.PControl_GetVisible(control), 0) << c.create->name;
    EXPECT_FALSE(::IsWindowVisible(window)) << c.create->name;
    api.PControl_SetVisible(control, 1);
    EXPECT_EQ(api.PControl_GetVisible(control), 1) << c.create->name;
    EXPECT_TRUE(::IsWindowVisible(window)) << c.create->name;

    api.PControl_SetEnabled(control, 0);
    EXPECT_EQ(api.PControl_GetEnabled(control), 0) << c.create->name;
    if (windowed) {
      EXPECT_FALSE(::IsWindowEnabled(window)) << c.create->name;
    }
    api.PControl_SetEnabled(control, 1);
    EXPECT_EQ(api.PControl_GetEnabled(control), 1) << c.create->name;
    if (windowed) {
      EXPECT_TRUE(::IsWindowEnabled(window)) << c.create->name;
    }

    api.PControl_SetText(control, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93");
    EXPECT_EQ(Read(api.PControl_GetText, control), c.text) << c.create->name;
    if (windowed) {
      EXPECT_EQ(WindowText(window), c.text) << c.create->name;
    }

    api.PControl_SetColor(control, 0x00336699);
    EXPECT_EQ(api.PControl_GetColor(control), 0x00336699u) << c.create->name;
    api.PControl_SetColor(control, 0x80000000u + COLOR_INFOBK);
    EXPECT_EQ(api.PControl_GetColor(control), 0x80000000u + COLOR_INFOBK) << "a system colour stays a reference";

    if (windowed && ::SendMessageW(window, WM_GETFONT, 0, 0)) {  // a system window keeps its font
      api.PControl_SetFont(control, "Tahoma", 14, 1, 1);
      LOGFONTW font{};
      ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font))
          << c.create->name;
      HDC screen = ::GetDC(nullptr);
      EXPECT_EQ(font.lfHeight, -::MulDiv(14, ::GetDeviceCaps(screen, LOGPIXELSY), 72)) << c.create->name;
      ::ReleaseDC(nullptr, screen);
      EXPECT_STREQ(font.lfFaceName, L"Tahoma") << c.create->name;
      EXPECT_GE(font.lfWeight, FW_BOLD) << c.create->name;
      EXPECT_TRUE(font.lfItalic) << c.create->name;
      api.PControl_SetFont(control, "", 0, 0, 0);  // no face, no size: only the style changes
      ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
      EXPECT_STREQ(font.lfFaceName, L"Tahoma") << c.create->name;
      EXPECT_LT(font.lfWeight, FW_BOLD) << c.create->name;
      EXPECT_FALSE(font.lfItalic) << c.create->name;
    } else {
      // The framework's own windows and the windowless controls paint with the font: more ink.
      if (!windowed) api.PLabel_SetCaption(control, "Gr\xC3\xBC\xC3\x9F" "e");
      api.PControl_SetColor(control, 0x00FFFFFF);
      auto ink = [&] {
        return Shot(window).Count(RECT{3, 3, 207, 47}, [](COLORREF p) { return p != 0x00FFFFFF; });
      };
      api.PControl_SetFont(control, "Tahoma", 8, 0, 0);
      const int small = ink();
      api.PControl_SetFont(control, "Tahoma", 20, 0, 0);
      const int large = ink();
      EXPECT_GT(small, 0) << c.create->name;
      EXPECT_GT(large, 2 * small) << c.create->name;
    }
    if (windowed) {
      api.PControl_SetHint(control, "Tip: \xE2\x82\xAC 5");
      EXPECT_EQ(HintOf(window), "(no tool)") << "no hint until it is to be shown: " << c.create->name;
      api.PControl_SetShowHint(control, 1);
      EXPECT_EQ(HintOf(window), "Tip: \xE2\x82\xAC 5") << c.create->name;
      api.PControl_SetShowHint(control, 0);
      EXPECT_EQ(HintOf(window), "(no tool)") << c.create->name;
    }
    Destroy(control);
  }
}

TEST_F(ControlTest, FocusComesAndGoesWithTheUsersClicksAndTheHostsCall) {
  OrvalisControl* memo = Make(api.PMemo_Create, "Memo", 8, 8, 150, 60);
  OrvalisControl* label = Make(api.PLabel_Create, "Label", 8, 80, 100, 20);
  ASSERT_TRUE(memo && label);
  Recorder entered, left;
  api.PControl_SetOnEnter(memo, Record, &entered);
  api.PControl_SetOnExit(memo, Record, &left);

  Click(Window(memo), 10, 10);  // the edit takes the focus itself
  EXPECT_TRUE(WaitFor([&] { return entered.calls == 1; }));
  EXPECT_EQ(entered.control, memo);
  EXPECT_EQ(api.PControl_GetFocused(memo), 1);
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return left.calls == 1; }));
  EXPECT_EQ(left.control, memo);
  EXPECT_EQ(api.PControl_GetFocused(memo), 0);

  api.PControl_SetFocus(memo);
  EXPECT_EQ(::GetFocus(), Window(memo));
  EXPECT_EQ(entered.calls, 2);
  // A windowless label takes no focus.
  api.PControl_SetFocus(label);
  EXPECT_EQ(::GetFocus(), Window(memo));
  EXPECT_EQ(api.PControl_GetFocused(label), 0);

  api.PControl_SetOnEnter(memo, nullptr, nullptr);
  api.PControl_SetOnExit(memo, nullptr, nullptr);
  ::SetFocus(Elsewhere());
  api.PControl_SetFocus(memo);
  Pump();
  EXPECT_EQ(entered.calls, 2) << "removed";
  EXPECT_EQ(left.calls, 1) << "removed";
}

// The common calls that need a window of the control's own give their neutral
// result for a windowless control: none of them reaches its site window.
TEST_F(ControlTest, WindowCallsAreNeutralForAWindowlessControl) {
  OrvalisControl* label = Make(api.PLabel_Create, "Label", 8, 8, 100, 20);
  ASSERT_NE(label, nullptr);
  HWND site = Window(label);
  api.PLabel_SetCaption(label, "zichtbaar");
  Recorder entered, left;
  api.PControl_SetOnEnter(label, Record, &entered);
  api.PControl_SetOnExit(label, Record, &left);
  api.PControl_SetText(label, "anders");
  EXPECT_EQ(WindowText(site), "");
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(api.PControl_GetText(label, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  api.PControl_SetFocus(label);
  EXPECT_NE(::GetFocus(), site);
  EXPECT_EQ(api.PControl_GetFocused(label), 0);
  ::SetFocus(site);  // the site itself may take the focus: the label's events stay unset
  ::SetFocus(Elsewhere());
  EXPECT_EQ(entered.calls + left.calls, 0);
}

TEST_F(ControlTest, ClicksOfTheUserReachOnClick) {
  OrvalisControl* button = Make(api.PButton_Create, "Button", 8, 8, 100, 30);
  OrvalisControl* label = Make(api.PLabel_Create, "Label", 8, 50, 100, 20);
  OrvalisControl* bit = Make(api.PBitBtn_Create, "BitBtn", 120, 8, 100, 30);
  ASSERT_TRUE(button && label && bit);
  for (OrvalisControl* control : {button, label, bit}) {
    Recorder clicks;
    api.PControl_SetOnClick(control, Record, &clicks);
    Click(Window(control), 10, 10);
    EXPECT_TRUE(WaitFor([&] { return clicks.calls == 1; })) << Read(api.PControl_GetName, control);
    EXPECT_EQ(clicks.control, control);
    api.PControl_SetOnClick(control, nullptr, nullptr);
    Click(Window(control), 10, 10);
    EXPECT_EQ(clicks.calls, 1) << "removed: " << Read(api.PControl_GetName, control);
  }
}

// ---------------------------------------------------------------- PPanel

constexpr uint32_t kFill = 0x00204060, kPen = 0x00A0B0C0, kShade = 0x00102030, kShadePen = 0x00FF00FF;
constexpr uint32_t kFirst = 0x0000C000, kSecond = 0x00C00000;

using PanelTest = HostTest;

TEST_F(PanelTest, LookPropertiesPaintTheBox) {
  // Each case starts from a plain box: 200 × 100, one pixel of border, square
  // corners, the fill and pen colours above, no shadow.
  struct Pixel {
    int x, y;
    uint32_t colour;
    bool equal;  // false: the pixel must not have this colour
  };
  const struct {
    const char* what;
    std::function<void(OrvalisControl*)> set;
    std::vector<Pixel> pixels;
  } cases[] = {
      {"the box takes the panel colour inside its pen", [](OrvalisControl*) {},
       {{100, 50, kFill, true}, {0, 0, kPen, true}, {1, 1, kFill, true}}},
      {"a wider border is drawn in the pen colour", [](OrvalisControl* p) { api.PPanel_SetBorderSize(p, 3); },
       {{1, 1, kPen, true}, {3, 3, kFill, true}}},
      {"the shadow lies right of and below the box",
       [](OrvalisControl* p) {
         api.PPanel_SetShadowWidth(p, 6);
         api.PPanel_SetShadowColor(p, kShade);
         api.PPanel_SetShadowPenColor(p, kShadePen);
       },
       {{197, 50, kShade, true}, {199, 50, kShadePen, true}, {100, 50, kFill, true}}},
      {"the box height rounds the corners", [](OrvalisControl* p) { api.PPanel_SetBoxHeight(p, 30); },
       {{0, 0, kPen, false}, {0, 50, kPen, true}}},
      {"the panel pen colour outlines the box", [](OrvalisControl* p) { api.PPanel_SetPanelPenColor(p, kShade); },
       {{0, 0, kShade, true}, {199, 99, kShade, true}}},
      {"the normal draw mode leaves the framework's panel", [](OrvalisControl* p) { api.PPanel_SetDrawMode(p, 0); },
       {{100, 50, kFill, false}, {100, 50, 0x00EEEEEE, true}}},
      {"a horizontal gradient runs from the panel colour through both gradient colours",
       [](OrvalisControl* p) { api.PPanel_SetDrawMode(p, 2); },
       {{1, 50, kFill, true}, {100, 50, kFirst, true}, {198, 50, kSecond, true}}},
      {"the first position moves the first colour right",
       [](OrvalisControl* p) {
         api.PPanel_SetDrawMode(p, 2);
         api.PPanel_SetGradient1Pos(p, 80);
       },
       {{100, 50, kFill, true}}},
      {"the second position moves the second colour left",
       [](OrvalisControl* p) {
         api.PPanel_SetDrawMode(p, 2);
         api.PPanel_SetGradient2Pos(p, 30);
       },
       {{100, 50, kSecond, true}}},
      {"without a gradient width the blend starts at the left edge", [](OrvalisControl* p) { api.PPanel_SetDrawMode(p, 2); },
       {{21, 50, kFill, false}}},
      {"a gradient width keeps the panel colour further in",
       [](OrvalisControl* p) {
         api.PPanel_SetDrawMode(p, 2);
         api.PPanel_SetGradientWidth(p, 10);
       },
       {{21, 50, kFill, true}}},
      {"a gradient size keeps the run at the right end",
       [](OrvalisControl* p) {
         api.PPanel_SetDrawMode(p, 2);
         api.PPanel_SetGradientSize(p, 50);
       },
       {{100, 50, kFill, true}, {198, 50, kSecond, true}}},
      {"the positions are marked below the run",
       [](OrvalisControl* p) {
         api.PPanel_SetDrawMode(p, 2);
         api.PPanel_SetGradientPositions(p, 1);
       },
       {{40, 91, 0x000000, true}, {160, 91, 0x000000, true}}},
      {"unmarked positions", [](OrvalisControl* p) { api.PPanel_SetDrawMode(p, 2); }, {{40, 91, 0x000000, false}}},
      {"a caption gets a tab in the pen colour", [](OrvalisControl* p) { api.PPanel_SetCaption(p, "Kop \xC3\xA9"); },
       {{5, 5, kPen, true}}},
  };
  for (const auto& c : cases) {
    OrvalisControl* panel = Make(api.PPanel_Create, "Panel", 8, 8, 200, 100);
    ASSERT_NE(panel, nullptr);
    api.PControl_SetColor(panel, 0x00EEEEEE);
    api.PPanel_SetDrawMode(panel, 1);
    api.PPanel_SetBorderSize(panel, 1);
    api.PPanel_SetPanelColor(panel, kFill);
    api.PPanel_SetPanelPenColor(panel, kPen);
    api.PPanel_SetGradient1Color(panel, kFirst);
    api.PPanel_SetGradient2Color(panel, kSecond);
    api.PPanel_SetGradient1Pos(panel, 20);
    api.PPanel_SetGradient2Pos(panel, 80);
    c.set(panel);
    const Shot shot(Window(panel));
    for (const Pixel& p : c.pixels) {
      if (p.equal)
        EXPECT_EQ(shot.At(p.x, p.y), p.colour) << c.what << " at " << p.x << "," << p.y;
      else
        EXPECT_NE(shot.At(p.x, p.y), p.colour) << c.what << " at " << p.x << "," << p.y;
    }
    Destroy(panel);
  }
}

TEST_F(PanelTest, NailsTakeTheNailColour) {
  OrvalisControl* panel = Make(api.PPanel_Create, "Panel", 8, 8, 200, 100);
  ASSERT_NE(panel, nullptr);
  api.PPanel_SetDrawMode(panel, 1);
  api.PPanel_SetBorderSize(panel, 1);
  api.PPanel_SetPanelColor(panel, 0x000000);
  // (12, 12) lies in the upper-left nail (8..24), off its slot.
  EXPECT_EQ(Shot(Window(panel)).At(12, 12), 0x000000u) << "no nails";
  api.PPanel_SetNailSize(panel, 16);
  api.PPanel_SetNailColor(panel, 0xFF0000);  // blue
  COLORREF c = Shot(Window(panel)).At(12, 12);
  EXPECT_EQ(GetBValue(c), 255) << std::hex << c;
  EXPECT_LT(GetRValue(c), 255) << std::hex << c;
  api.PPanel_SetNailColor(panel, 0x0000FF);  // red
  c = Shot(Window(panel)).At(12, 12);
  EXPECT_EQ(GetRValue(c), 255) << std::hex << c;
  EXPECT_LT(GetBValue(c), 255) << std::hex << c;
}

// Pixels of the caption's ink in the left, middle and right third of the panel.
std::array<int, 3> InkThirds(HWND window, COLORREF background) {
  const Shot shot(window);
  std::array<int, 3> ink{};
  const int third = shot.Width() / 3;
  for (int i = 0; i < 3; ++i)
    ink[std::size_t(i)] = shot.Count(RECT{i * third + 2, 3, (i + 1) * third - 2, shot.Height() - 3},
                                     [&](COLORREF p) { return p != background; });
  return ink;
}

TEST_F(PanelTest, CaptionFollowsTheAlignment) {
  OrvalisControl* panel = Make(api.PPanel_Create, "Panel", 8, 8, 300, 40);
  ASSERT_NE(panel, nullptr);
  api.PControl_SetColor(panel, 0x00FFFFFF);
  api.PPanel_SetCaption(panel, "W\xC3\xA9g");
  EXPECT_EQ(Read(api.PControl_GetText, panel), "W\xC3\xA9g");
  const struct {
    int alignment;
    std::size_t inked;  // the only third with ink
  } cases[] = {{0, 0}, {2, 1}, {1, 2}};
  for (const auto& c : cases) {
    api.PPanel_SetAlignment(panel, c.alignment);
    const auto ink = InkThirds(Window(panel), 0x00FFFFFF);
    for (std::size_t i = 0; i < 3; ++i) {
      if (i == c.inked)
        EXPECT_GT(ink[i], 0) << "alignment " << c.alignment << ", third " << i;
      else
        EXPECT_EQ(ink[i], 0) << "alignment " << c.alignment << ", third " << i;
    }
  }
}

TEST_F(PanelTest, ThemeClassPartAndStateDrawTheThemedBackground) {
  OrvalisControl* panel = Make(api.PPanel_Create, "Panel", 8, 8, 120, 40);
  ASSERT_NE(panel, nullptr);
  HWND window = Window(panel);
  const Shot classic(window);
  api.PPanel_SetThemeClass(panel, "BUTTON");
  api.PPanel_SetThemePart(panel, 1);  // push button
  api.PPanel_SetThemeState(panel, 1);
  const Shot normal(window);
  if (!Differ(classic, normal)) GTEST_SKIP() << "visual styles are off in this prefix";
  api.PPanel_SetThemeState(panel, 3);  // pressed
  const Shot pressed(window);
  EXPECT_TRUE(Differ(normal, pressed)) << "the state picks the look";
  StylesOf(window, false);
  api.PPanel_LoadTheme(panel);
  EXPECT_FALSE(Differ(classic, Shot(window))) << "without styles for its window the panel is classic again";
  StylesOf(window, true);
  api.PPanel_LoadTheme(panel);
  EXPECT_FALSE(Differ(pressed, Shot(window)));
}

TEST_F(PanelTest, WheelReachesTheHostWithItsDistance) {
  OrvalisControl* panel = Make(api.PPanel_Create, "Panel", 8, 8, 120, 40);
  ASSERT_NE(panel, nullptr);
  Recorder wheel;
  api.PPanel_SetOnMouseWheel(panel, RecordValue, &wheel);
  for (int delta : {120, -240}) {
    const int before = wheel.calls;
    Wheel(Window(panel), delta);
    EXPECT_TRUE(WaitFor([&] { return wheel.calls == before + 1; })) << delta;
    EXPECT_EQ(wheel.value, delta);
    EXPECT_EQ(wheel.control, panel);
  }
  api.PPanel_SetOnMouseWheel(panel, nullptr, nullptr);
  Wheel(Window(panel), 120);
  EXPECT_EQ(wheel.calls, 2) << "removed";
}

// ---------------------------------------------------------------- buttons

using ButtonTest = HostTest;

TEST_F(ButtonTest, CaptionsReadBackAsSet) {
  const char* caption = "Opsl\xC3\xA1" "an \xE2\x80\xA6";  // "Opsláan …"
  OrvalisControl* button = Make(api.PButton_Create, "Button", 8, 8, 120, 30);
  OrvalisControl* bit = Make(api.PBitBtn_Create, "BitBtn", 8, 48, 120, 30);
  OrvalisControl* check = Make(api.PCheckBox_Create, "Check", 8, 88, 120, 20);
  OrvalisControl* radio = Make(api.PRadioButton_Create, "Radio", 8, 118, 120, 20);
  OrvalisControl* image = Make(api.PImgBtn_Create, "Image", 8, 148, 120, 30);
  ASSERT_TRUE(button && bit && check && radio && image);
  api.PButton_SetCaption(button, caption);
  api.PBitBtn_SetCaption(bit, caption);
  api.PCheckBox_SetCaption(check, caption);
  api.PRadioButton_SetCaption(radio, caption);
  api.PImgBtn_SetText(image, caption);
  for (OrvalisControl* windowed : {button, bit, check, radio}) {
    EXPECT_EQ(Read(api.PControl_GetText, windowed), caption);
    EXPECT_EQ(WindowText(Window(windowed)), caption);
  }
  EXPECT_EQ(Read(api.PBitBtn_GetCaption, bit), caption);
  EXPECT_EQ(Read(api.PImgBtn_GetText, image), caption);
}

TEST_F(ButtonTest, BitBtnStatesFollowTheMouseAndGrayedKeepsTakingClicks) {
  OrvalisControl* bit = Make(api.PBitBtn_Create, "BitBtn", 8, 8, 120, 30);
  ASSERT_NE(bit, nullptr);
  api.PBitBtn_SetCaption(bit, "Verder");
  HWND window = Window(bit);
  EXPECT_EQ(api.PBitBtn_GetButtonState(bit), 1) << "normal";
  ::PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return api.PBitBtn_GetButtonState(bit) == 2; })) << "hot";
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return api.PBitBtn_GetButtonState(bit) == 3; })) << "pressed";
  ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return api.PBitBtn_GetButtonState(bit) != 3; })) << "released";

  const Shot normal(window);
  EXPECT_EQ(api.PBitBtn_GetGrayed(bit), 0);
  api.PBitBtn_SetGrayed(bit, 1);
  EXPECT_EQ(api.PBitBtn_GetGrayed(bit), 1);
  EXPECT_TRUE(Differ(normal, Shot(window))) << "painted as disabled";
  Recorder clicks;
  api.PControl_SetOnClick(bit, Record, &clicks);
  Click(window, 10, 10);
  EXPECT_TRUE(WaitFor([&] { return clicks.calls == 1; })) << "a greyed button still takes clicks";
  api.PBitBtn_SetGrayed(bit, 0);
  EXPECT_EQ(api.PBitBtn_GetGrayed(bit), 0);
}

TEST_F(ButtonTest, LoadThemeFollowsTheStylesOfTheWindow) {
  OrvalisControl* bit = Make(api.PBitBtn_Create, "BitBtn", 8, 8, 120, 30);
  OrvalisControl* check = Make(api.PCheckBox_Create, "Check", 8, 48, 120, 20);
  OrvalisControl* radio = Make(api.PRadioButton_Create, "Radio", 8, 78, 120, 20);
  ASSERT_TRUE(bit && check && radio);
  api.PBitBtn_SetCaption(bit, "Verder");
  api.PCheckBox_SetCaption(check, "");
  api.PRadioButton_SetCaption(radio, "");
  const struct {
    OrvalisControl* control;
    Function<decltype(&::PBitBtn_LoadTheme)>* load;
  } cases[] = {{bit, &api.PBitBtn_LoadTheme}, {check, &api.PCheckBox_LoadTheme}, {radio, &api.PRadioButton_LoadTheme}};
  for (const auto& c : cases) {
    HWND window = Window(c.control);
    // The check box and radio button draw their themed box while focused.
    api.PControl_SetFocus(c.control);
    const Shot themed(window);
    StylesOf(window, false);
    (*c.load)(c.control);
    const Shot classic(window);
    if (!Differ(themed, classic)) {
      ADD_FAILURE() << c.load->name << ": the look did not change when the styles went (or they are off)";
      continue;
    }
    StylesOf(window, true);
    (*c.load)(c.control);
    EXPECT_FALSE(Differ(themed, Shot(window))) << c.load->name;
  }
}

TEST_F(ButtonTest, CheckBoxesAndRadioButtonsFollowClicksAndTheHost) {
  OrvalisControl* check = Make(api.PCheckBox_Create, "Check", 8, 8, 150, 20);
  OrvalisControl* radio = Make(api.PRadioButton_Create, "Radio", 8, 38, 150, 20);
  ASSERT_TRUE(check && radio);
  api.PCheckBox_SetCaption(check, "Akkoord");
  api.PRadioButton_SetCaption(radio, "Post");
  EXPECT_EQ(api.PCheckBox_GetChecked(check), 0);
  api.PCheckBox_SetChecked(check, 1);
  EXPECT_EQ(api.PCheckBox_GetChecked(check), 1);
  EXPECT_EQ(::SendMessageW(Window(check), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(Window(check), 5, 10);
  EXPECT_TRUE(WaitFor([&] { return api.PCheckBox_GetChecked(check) == 0; })) << "the user's click unchecks it";

  EXPECT_EQ(api.PRadioButton_GetChecked(radio), 0);
  Click(Window(radio), 5, 10);
  EXPECT_TRUE(WaitFor([&] { return api.PRadioButton_GetChecked(radio) == 1; })) << "the user's click checks it";
  api.PRadioButton_SetChecked(radio, 0);
  EXPECT_EQ(api.PRadioButton_GetChecked(radio), 0);
  EXPECT_EQ(::SendMessageW(Window(radio), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // 0 puts the caption left of the box, 1 right of it.
  api.PCheckBox_SetAlignment(check, 0);
  EXPECT_TRUE(::GetWindowLongW(Window(check), GWL_STYLE) & BS_LEFTTEXT);
  api.PCheckBox_SetAlignment(check, 1);
  EXPECT_FALSE(::GetWindowLongW(Window(check), GWL_STYLE) & BS_LEFTTEXT);
}

// ---------------------------------------------------------------- PImgBtn

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF, kCyan = 0xFFFF00,
                   kMagenta = 0xFF00FF, kGrey = 0x808080, kKey = 0x123456;

// A 4 × 4 image of one colour, its lower-left pixel `corner` (the automatic
// transparent colour) and its upper-left quarter `quarter`.
std::vector<uint32_t> Image(uint32_t colour, uint32_t corner, uint32_t quarter) {
  std::vector<uint32_t> pixels(16, colour);
  pixels[0] = pixels[1] = pixels[4] = pixels[5] = quarter;
  pixels[12] = corner;
  return pixels;
}

using ImageButtonTest = HostTest;

TEST_F(ImageButtonTest, TheStateChoosesTheImage) {
  OrvalisControl* button = Make(api.PImgBtn_Create, "Image", 8, 8, 80, 40);
  ASSERT_NE(button, nullptr);
  api.PImgBtn_SetTransparent(button, 0);
  api.PImgBtn_SetStretchMode(button, 1);
  HWND site = Window(button);
  const struct {
    int kind;
    uint32_t colour;
  } images[] = {{PImgBtn_GlyphUp, kRed},           {PImgBtn_GlyphDown, kGreen},       {PImgBtn_GlyphDisabled, kBlue},
                {PImgBtn_AltGlyphUp, kYellow},     {PImgBtn_AltGlyphDown, kCyan},     {PImgBtn_GlyphFocus, kMagenta}};
  for (const auto& i : images) {
    const auto pixels = Image(i.colour, i.colour, i.colour);
    api.PImgBtn_SetGlyph(button, i.kind, 4, 4, pixels.data());
  }
  auto centre = [&] { return Shot(site).At(40, 20); };
  const struct {
    const char* state;
    bool alternate, pressed, enabled;
    uint32_t colour;
  } cases[] = {
      {"up", false, false, true, kRed},
      {"down", false, true, true, kGreen},
      {"disabled", false, false, false, kBlue},
      {"alternate up", true, false, true, kYellow},
      {"alternate down", true, true, true, kCyan},
  };
  for (const auto& c : cases) {
    api.PImgBtn_SetAlt(button, c.alternate);
    api.PControl_SetEnabled(button, c.enabled);
    if (c.pressed) {
      ::PostMessageW(site, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 20));
      ASSERT_TRUE(WaitFor([&] { return api.PImgBtn_GetPressed(button) == 1; })) << c.state;
    }
    EXPECT_EQ(centre(), c.colour) << c.state << " (a focus image is never shown: the button takes no focus)";
    if (c.pressed) {
      Recorder clicks;
      api.PControl_SetOnClick(button, Record, &clicks);
      ::PostMessageW(site, WM_LBUTTONUP, 0, MAKELPARAM(40, 20));
      EXPECT_TRUE(WaitFor([&] { return clicks.calls == 1; })) << c.state;
      EXPECT_EQ(api.PImgBtn_GetPressed(button), 0) << c.state;
      api.PControl_SetOnClick(button, nullptr, nullptr);
    }
  }
}

TEST_F(ImageButtonTest, StretchTransparencyAlignmentAndGlyph) {
  const auto background = Image(kRed, kGreen, kBlue);  // red, its corner green, its upper-left quarter blue
  const auto glyph = Image(kYellow, kYellow, kYellow);
  const uint32_t site = ::GetSysColor(COLOR_BTNFACE);  // what the site window shows where the button draws nothing
  auto stretch = [](int mode, bool transparent) {
    return [=](OrvalisControl* b) {
      api.PImgBtn_SetStretchMode(b, mode);
      api.PImgBtn_SetTransparent(b, transparent);
    };
  };
  auto fixedBlue = [](OrvalisControl* b) {
    api.PImgBtn_SetStretchMode(b, 1);
    api.PImgBtn_SetTransparent(b, 1);
    api.PImgBtn_SetTransparentMode(b, 1);
    api.PImgBtn_SetTransparentColor(b, kBlue);
  };
  auto withGlyph = [&](int alignment) {
    return [&, alignment](OrvalisControl* b) {
      api.PImgBtn_SetStretchMode(b, 1);
      api.PImgBtn_SetGlyph(b, PImgBtn_Glyph, 4, 4, glyph.data());
      api.PImgBtn_SetAlignment(b, alignment);
    };
  };
  const struct {
    const char* what;
    std::function<void(OrvalisControl*)> set;
    int x, y;
    uint32_t colour;
    bool equal;
  } cases[] = {
      {"no stretching: the image at its size", stretch(0, false), 3, 1, kRed, true},
      {"no stretching: nothing beyond it", stretch(0, false), 60, 30, site, true},
      {"total: the quarter fills a quarter", stretch(1, false), 18, 8, kBlue, true},
      {"centre: corners kept, the centre stretched", stretch(2, false), 18, 8, kRed, true},
      {"centre: the corner at its size", stretch(2, false), 0, 0, kBlue, true},
      {"automatic transparency: the lower-left colour shows what is behind", stretch(1, true), 5, 35, site, true},
      {"centre with transparency: the button's colour fills in", stretch(2, true), 0, 39, kKey, true},
      {"a fixed transparent colour", fixedBlue, 18, 8, site, true},
      {"... which leaves the lower-left colour", fixedBlue, 5, 35, kGreen, true},
      {"the glyph is centred", withGlyph(0), 40, 20, kYellow, true},
      {"right alignment puts the glyph at the right edge", withGlyph(1), 78, 20, kYellow, true},
      {"... and not in the middle", withGlyph(1), 40, 20, kYellow, false},
  };
  for (const auto& c : cases) {
    OrvalisControl* button = Make(api.PImgBtn_Create, "Image", 8, 8, 80, 40);
    ASSERT_NE(button, nullptr);
    api.PControl_SetColor(button, kKey);
    api.PImgBtn_SetTransparent(button, 0);
    api.PImgBtn_SetGlyph(button, PImgBtn_GlyphUp, 4, 4, background.data());
    c.set(button);
    const COLORREF seen = Shot(Window(button)).At(c.x, c.y);
    if (c.equal)
      EXPECT_EQ(seen, c.colour) << c.what << ": " << std::hex << seen;
    else
      EXPECT_NE(seen, c.colour) << c.what;
    Destroy(button);
  }
}

TEST_F(ImageButtonTest, ThemePartReplacesTheImages) {
  OrvalisControl* button = Make(api.PImgBtn_Create, "Image", 8, 8, 80, 40);
  ASSERT_NE(button, nullptr);
  const auto red = Image(kRed, kRed, kRed);
  api.PImgBtn_SetTransparent(button, 0);
  api.PImgBtn_SetStretchMode(button, 1);
  api.PImgBtn_SetGlyph(button, PImgBtn_GlyphUp, 4, 4, red.data());
  HWND site = Window(button);
  ASSERT_EQ(Shot(site).At(40, 20), kRed);
  api.PImgBtn_SetThemeClass(button, "BUTTON");
  api.PImgBtn_SetThemePart(button, 1);
  if (Shot(site).At(40, 20) == kRed) GTEST_SKIP() << "visual styles are off in this prefix";
  // The button opens its theme against its parent's window: without styles there, the images again.
  StylesOf(site, false);
  api.PImgBtn_LoadTheme(button);
  EXPECT_EQ(Shot(site).At(40, 20), kRed);
  StylesOf(site, true);
  api.PImgBtn_LoadTheme(button);
  EXPECT_NE(Shot(site).At(40, 20), kRed);
}

// ---------------------------------------------------------------- PLabel

using LabelTest = HostTest;

TEST_F(LabelTest, CaptionWrapAndAlignmentPlaceTheInk) {
  OrvalisControl* label = Make(api.PLabel_Create, "Label", 8, 8, 240, 60);
  ASSERT_NE(label, nullptr);
  HWND site = Window(label);
  api.PControl_SetColor(label, 0x00FFFFFF);
  EXPECT_EQ(Shot(site).Ink(0x00FFFFFF).right, 0) << "no caption, no ink";
  api.PLabel_SetCaption(label, "\xC3\x89\xC3\xA9n twee");  // "Één twee"
  RECT ink = Shot(site).Ink(0x00FFFFFF);
  EXPECT_GT(ink.right, 0);
  EXPECT_LT(ink.left, 10) << "left by default";
  api.PLabel_SetAlignment(label, 1);
  ink = Shot(site).Ink(0x00FFFFFF);
  EXPECT_GT(ink.right, 230) << "right";
  EXPECT_GT(ink.left, 100);
  api.PLabel_SetAlignment(label, 2);
  ink = Shot(site).Ink(0x00FFFFFF);
  EXPECT_LT(std::abs(int(ink.left + ink.right) / 2 - 120), 6) << "centred";
  api.PLabel_SetAlignment(label, 0);

  api.PControl_SetBounds(label, 8, 8, 60, 60);
  api.PLabel_SetCaption(label, "een twee drie vier vijf");
  const RECT oneLine = Shot(site).Ink(0x00FFFFFF);
  api.PLabel_SetWordWrap(label, 1);
  const RECT wrapped = Shot(site).Ink(0x00FFFFFF);
  EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (oneLine.bottom - oneLine.top)) << "the words go on below";
}

TEST_F(LabelTest, LinkReadsBackAndUnderlinesUnderTheMouse) {
  OrvalisControl* label = Make(api.PLabel_Create, "Label", 8, 8, 200, 30);
  ASSERT_NE(label, nullptr);
  HWND site = Window(label);
  api.PControl_SetColor(label, 0x00FFFFFF);
  api.PLabel_SetCaption(label, "handleiding");
  const char* link = "https://example.com/h\xC3\xA4ndleiding?q=\xE2\x82\xAC";
  EXPECT_EQ(Read(api.PLabel_GetLink, label), "");
  api.PLabel_SetLink(label, link);
  EXPECT_EQ(Read(api.PLabel_GetLink, label), link);
  auto inked = [&] { return Shot(site).Count(RECT{0, 0, 200, 30}, [](COLORREF p) { return p != 0x00FFFFFF; }); };
  const int plain = inked();
  ::PostMessageW(site, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return inked() > plain; })) << "the link is underlined while the mouse is over it";
  ::PostMessageW(site, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return inked() == plain; })) << "and plain again when it leaves";
  api.PLabel_SetLink(label, "");
  EXPECT_EQ(Read(api.PLabel_GetLink, label), "");
}

// ---------------------------------------------------------------- Color_Select

// The colour dialog's red, green and blue edits (colordlg.h) and what a user types into them.
void TypeColour(HWND dialog, int red, int green, int blue) {
  const int ids[] = {706, 707, 708};
  const int values[] = {red, green, blue};
  for (int i = 0; i < 3; ++i) ::SetDlgItemInt(dialog, ids[i], UINT(values[i]), FALSE);
}

using ColourTest = HostTest;

TEST_F(ColourTest, TheDialogGivesTheConfirmedColourAndCancelKeepsIt) {
  const struct {
    const char* what;
    bool confirm;
    uint32_t expected;
    int result;
  } cases[] = {{"confirmed", true, 0x00563412, 1}, {"cancelled", false, 0x00A0B0C0, 0}};
  for (const auto& c : cases) {
    uint32_t colour = 0x00A0B0C0;
    int result = -1;
    const bool shown = AnswerDialog([&] { result = api.Color_Select(nullptr, &colour, 3); },
                                    [&](HWND dialog) {
                                      if (c.confirm) {
                                        TypeColour(dialog, 0x12, 0x34, 0x56);
                                        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                                      } else {
                                        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                                      }
                                    });
    EXPECT_TRUE(shown) << c.what;
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(colour, c.expected) << c.what << ": " << std::hex << colour;
  }
}

// A host names the settings key: the custom colours go under it, the
// placeholder key is left alone, and a key that is no single key is refused.
std::wstring StoredColours(const std::wstring& key) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  const LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, (L"Software\\Orvalis\\" + key + L"\\Settings").c_str(),
                                        L"CustomColors", RRF_RT_REG_SZ, nullptr, value, &size);
  return status == ERROR_SUCCESS ? value : L"(none)";
}

TEST_F(ColourTest, AHostNamesTheKeyItsSettingsGoUnder) {
  const std::string before = Read(api.Orvalis_GetProductKey);
  const std::string key = "Capi\xC3\xA9Host" + std::to_string(::GetCurrentProcessId());
  const std::wstring placeholder = StoredColours(L"XXX");
  api.Orvalis_SetProductKey(key.c_str());
  for (const char* refused : {static_cast<const char*>(nullptr), "", "Two\\Levels"}) {
    api.Orvalis_SetProductKey(refused);
    EXPECT_EQ(Read(api.Orvalis_GetProductKey), key) << (refused ? refused : "null");
  }
  uint32_t colour = 0x00A0B0C0;
  EXPECT_TRUE(AnswerDialog([&] { api.Color_Select(nullptr, &colour, 0); },
                           [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDOK, 0); }));
  EXPECT_NE(StoredColours(Wide(key)), L"(none)") << "the custom colours under the host's key";
  EXPECT_EQ(StoredColours(L"XXX"), placeholder) << "the placeholder's left alone";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Orvalis\\" + Wide(key)).c_str());
  api.Orvalis_SetProductKey(before.c_str());
  EXPECT_EQ(Read(api.Orvalis_GetProductKey), before);
}

}  // namespace
}  // namespace orvalis::capi_test
