// A window with every themed control in each of its looks, for photographs:
//   orvalis-gallery.exe [--rects FILE] [--focus NAME] [--hover NAME] [--press NAME] [--stop FILE]
// --rects writes "name left top right bottom" in screen pixels for each control
// once the window is shown; the program ends when the stop file appears (or
// after a minute).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "controls/basics/pbitbtn.h"
#include "controls/basics/pbutton.h"
#include "controls/basics/pcheckbox.h"
#include "controls/basics/pgroupbox.h"
#include "controls/basics/pimgbtn.h"
#include "controls/basics/plabel.h"
#include "controls/basics/pmemo.h"
#include "controls/basics/ppanel.h"
#include "controls/basics/pparent.h"
#include "controls/basics/pradiobutton.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/label.h"
#include "win/wide.h"

namespace {

using namespace orvalis;
using controls::PPanelDM;

struct Options {
  std::wstring rects;
  std::string focus;
  std::string hover;
  std::string press;
  std::wstring stop;
};

Options ParseArguments() {
  Options o;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  for (int i = 1; i + 1 < argc; i += 2) {
    std::wstring key = argv[i], value = argv[i + 1];
    if (key == L"--rects") o.rects = value;
    else if (key == L"--focus") o.focus = win::Narrow(value);
    else if (key == L"--hover") o.hover = win::Narrow(value);
    else if (key == L"--press") o.press = win::Narrow(value);
    else if (key == L"--stop") o.stop = value;
  }
  ::LocalFree(argv);
  return o;
}

// A 16 × 16 glyph: a red square with a white bar on magenta (transparent).
ui::Bitmap MakeGlyph() {
  ui::Bitmap b(16, 16, 0xFF00FF);
  b.FillRect({2, 2, 14, 14}, 0x0000FF);
  b.FillRect({4, 7, 12, 9}, 0xFFFFFF);
  return b;
}

// A rounded-looking frame image for the image buttons: dark border, light body,
// magenta corners.
ui::Bitmap MakeFrameImage(ui::Color body, int width = 12, int height = 12) {
  ui::Bitmap b(width, height, 0x404040);
  b.FillRect({1, 1, width - 1, height - 1}, body);
  for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
    b.SetPixel(x, y, 0xFF00FF);
  return b;
}

class Gallery {
 public:
  explicit Gallery(const Options& options) : options_(options) {}

  void Build();
  void WriteRects();
  ui::Form& Form() { return form_; }

 private:
  template <typename T>
  T& Add(ui::WinControl& parent, const std::string& name, int x, int y, int w, int h) {
    auto owned = std::make_unique<T>();
    T& c = *owned;
    c.SetName(name);
    c.SetBounds(x, y, w, h);
    c.SetParent(&parent);
    controls_.push_back(std::move(owned));
    return c;
  }
  void Caption(int x, int y, const std::string& text);
  controls::PPanel& PanelIn(const std::string& name, PPanelDM mode, int x, int y);

  const Options& options_;
  ui::Form form_;
  std::vector<std::unique_ptr<ui::Control>> controls_;
  ui::Bitmap glyph_ = MakeGlyph();
};

void Gallery::Caption(int x, int y, const std::string& text) {
  auto& l = Add<ui::Label>(form_, "lbl" + std::to_string(controls_.size()), x, y, 150, 14);
  l.SetAutoSize(false);
  l.SetBounds(x, y, 150, 14);
  l.SetCaption(text);
}

controls::PPanel& Gallery::PanelIn(const std::string& name, PPanelDM mode, int x, int y) {
  auto& p = Add<controls::PPanel>(form_, name, x, y, 140, 56);
  p.SetBevelOuter(ui::Bevel::None);
  p.SetColor(ui::kBtnFace);
  p.SetDrawMode(mode);
  p.SetBorderSize(2);
  p.SetBoxHeight(8);
  p.SetPanelColor(ui::Rgb(255, 255, 224));
  p.SetPanelPenColor(ui::Rgb(0, 64, 160));
  p.SetGradient1Color(ui::Rgb(0, 128, 255));
  p.SetGradient2Color(ui::Rgb(255, 128, 0));
  p.SetShadowColor(ui::Rgb(128, 128, 128));
  p.SetShadowPenColor(ui::Rgb(96, 96, 96));
  Caption(x, y + 58, name);
  return p;
}

void Gallery::Build() {
  form_.SetName("TGallery");
  form_.SetCaption("Orvalis control gallery");
  form_.SetBorderStyle(ui::BorderStyle::Single);
  form_.SetClientSize(1000, 640);
  form_.SetBounds(20, 20, form_.Width(), form_.Height());

  // Row 1 and 2: the panel in every draw mode.
  const std::pair<const char*, PPanelDM> modes[] = {
      {"pnlNormal", controls::dmNormal},           {"pnlPanel", controls::dmPanel},
      {"pnlGradH", controls::dmGradientHorizontal}, {"pnlGradV", controls::dmGradientVertical},
      {"pnlDiag1", controls::dmGradientDiagonal1}, {"pnlDiag2", controls::dmGradientDiagonal2},
      {"pnlGradBorder", controls::dmGradientBorder}, {"pnlHeader", controls::dmHeader},
      {"pnlCard", controls::dmCard},               {"pnlBaseline", controls::dmBaseline},
  };
  for (int i = 0; i < 10; ++i) {
    auto& p = PanelIn(modes[i].first, modes[i].second, 10 + (i % 5) * 150, 10 + (i / 5) * 80);
    if (modes[i].second == controls::dmHeader || modes[i].second == controls::dmNormal) p.SetCaption("Caption");
  }
  auto& fancy = PanelIn("pnlShadowNails", controls::dmPanel, 760, 10);
  fancy.SetShadowWidth(4);
  fancy.SetNailSize(8);
  fancy.SetNailColor(ui::Rgb(80, 80, 80));
  fancy.SetCaption("Tab");
  auto& markers = PanelIn("pnlMarkers", controls::dmGradientHorizontal, 760, 90);
  markers.SetGradient1Pos(30);
  markers.SetGradient2Pos(70);
  markers.SetGradientWidth(20);
  markers.SetGradientPositions(true);
  // Themed backgrounds: "Button" exists in every theme; "ExplorerBar" may not.
  auto& themed = Add<controls::PPanel>(form_, "pnlThemed", 910, 10, 80, 56);
  themed.SetThemePart(1);
  themed.SetThemeState(1);
  themed.SetCaption("Themed");
  themed.SetThemeClass("Button");
  auto& back = Add<controls::PPanel>(form_, "pnlExplorerBar", 910, 90, 80, 56);
  back.SetThemeClass("ExplorerBar");
  back.SetCaption("Back");

  // Row 3: push buttons.
  struct ButtonEntry {
    const char* name;
    const char* caption;
    bool glyph;
  };
  const ButtonEntry buttons[] = {
      {"btnNormal", "Normal", true},   {"btnHot", "Hot", true},           {"btnPressed", "Pressed", true},
      {"btnDefault", "Default", true}, {"btnDisabled", "Disabled", true}, {"btnGrayed", "Grayed", true},
      {"btnGlyph", "", true},          {"btnGlyphOff", "", true},         {"btnRight", "Right", true},
  };
  int x = 10;
  for (const auto& button : buttons) {
    auto& b = Add<controls::PBitBtn>(form_, button.name, x, 180, 90, 30);
    b.SetCaption(button.caption);
    if (button.glyph) b.SetGlyph(glyph_);
    x += 100;
  }
  auto& plain = Add<controls::PButton>(form_, "btnPlain", x, 180, 80, 30);
  plain.SetCaption("PButton");

  // Row 4: image buttons.
  ui::Bitmap up = MakeFrameImage(ui::Rgb(224, 240, 255)), down = MakeFrameImage(ui::Rgb(160, 200, 255));
  const std::pair<const char*, controls::PImgStretchMode> images[] = {
      {"imgNone", controls::stretchNone}, {"imgTotal", controls::stretchTotal}, {"imgCenter", controls::stretchCenter}};
  x = 10;
  for (const auto& [name, mode] : images) {
    auto& b = Add<controls::PImgBtn>(form_, name, x, 240, 110, 34);
    b.SetGlyphUp(up);
    b.SetGlyphDown(down);
    b.SetGlyph(glyph_);
    b.SetStretchMode(mode);
    // Unstretched, the image keeps its size and the glyph is centred on it.
    if (mode == controls::stretchNone) b.SetGlyphUp(MakeFrameImage(ui::Rgb(224, 240, 255), 60, 28));
    b.SetText(mode == controls::stretchNone ? "" : "Image");
    Caption(x, 278, name);
    x += 120;
  }
  auto& pressedImage = Add<controls::PImgBtn>(form_, "imgPressed", x, 240, 110, 34);
  pressedImage.SetGlyphUp(up);
  pressedImage.SetGlyphDown(down);
  pressedImage.SetStretchMode(controls::stretchCenter);
  pressedImage.SetText("Pressed");
  ui::Message press{WM_LBUTTONDOWN, MK_LBUTTON, 0};
  pressedImage.WndProc(press);
  Caption(x, 278, "imgPressed");
  x += 120;
  auto& disabledImage = Add<controls::PImgBtn>(form_, "imgDisabled", x, 240, 110, 34);
  disabledImage.SetGlyphUp(up);
  disabledImage.SetGlyph(glyph_);
  disabledImage.SetStretchMode(controls::stretchTotal);
  disabledImage.SetText("Off");
  disabledImage.SetEnabled(false);
  Caption(x, 278, "imgDisabled");
  x += 120;
  auto& themedImage = Add<controls::PImgBtn>(form_, "imgThemed", x, 240, 110, 34);
  themedImage.SetThemePart(1);
  themedImage.SetThemeClass("Button");
  Caption(x, 278, "imgThemed");

  // Row 5: check boxes and radio buttons.
  auto& chk = Add<controls::PCheckBox>(form_, "chkFocused", 10, 310, 140, 20);
  chk.SetCaption("Focused check");
  chk.SetChecked(true);
  auto& chkPlain = Add<controls::PCheckBox>(form_, "chkPlain", 160, 310, 140, 20);
  chkPlain.SetCaption("Unfocused check");
  auto& chkGray = Add<controls::PCheckBox>(form_, "chkGrayed", 310, 310, 140, 20);
  chkGray.SetAllowGrayed(true);
  chkGray.SetCaption("Grayed check");
  chkGray.SetState(ui::CheckBoxState::Grayed);
  auto& chkLeft = Add<controls::PCheckBox>(form_, "chkLeft", 460, 310, 140, 20);
  chkLeft.SetAlignment(ui::Alignment::LeftJustify);
  chkLeft.SetCaption("Caption left");
  auto& chkEmpty = Add<controls::PCheckBox>(form_, "chkEmpty", 610, 310, 60, 20);
  chkEmpty.SetCaption("");
  auto& rb = Add<controls::PRadioButton>(form_, "rbFocused", 10, 340, 140, 20);
  rb.SetCaption("Focused radio");
  rb.SetChecked(true);
  auto& rb2 = Add<controls::PRadioButton>(form_, "rbPlain", 160, 340, 140, 20);
  rb2.SetCaption("Other radio");

  // Row 6: label, group box, memo, parent panel.
  auto& link = Add<controls::PLabel>(form_, "lblLink", 10, 380, 200, 16);
  link.SetCaption("https://orvalis.example/notes");
  link.SetLink("https://orvalis.example/notes");
  ui::Font linkFont = link.GetFont();
  linkFont.color = ui::Rgb(0, 0, 200);
  link.SetFont(linkFont);
  auto& group = Add<controls::PGroupBox>(form_, "grpOptions", 10, 410, 220, 100);
  group.SetCaption("PGroupBox");
  auto& memo = Add<controls::PMemo>(form_, "memNotes", 250, 410, 240, 100);
  memo.SetLines("PMemo\r\nsecond line");
  auto& parent = Add<controls::PParent>(form_, "pParent", 510, 410, 200, 100);
  parent.SetCaption("PParent");
  auto& inner = Add<controls::PPanel>(parent, "pnlInner", 20, 40, 160, 40);
  inner.SetDrawMode(controls::dmPanel);
  inner.SetBorderSize(1);
  inner.SetBoxHeight(6);
  inner.SetPanelColor(ui::Rgb(255, 255, 255));
  inner.SetPanelPenColor(ui::Rgb(0, 128, 0));

  (void)form_.Handle();
  for (auto& c : controls_) c->Loaded();
  for (auto& c : controls_) {
    if (c->Name() == "btnDisabled" || c->Name() == "btnGlyphOff") c->SetEnabled(false);
    if (c->Name() == "btnGrayed") dynamic_cast<controls::PBitBtn&>(*c).SetGrayed(true);
    if (c->Name() == "btnRight") dynamic_cast<controls::PBitBtn&>(*c).SetLayout(ui::ButtonLayout::GlyphRight);
  }
}

void Gallery::WriteRects() {
  if (options_.rects.empty()) return;
  std::ofstream out(std::filesystem::path(options_.rects), std::ios::trunc);
  for (auto& c : controls_) {
    ui::Rect b = c->BoundsRect();
    POINT origin{0, 0};
    ::ClientToScreen(c->Parent()->Handle(), &origin);
    out << c->Name() << ' ' << origin.x + b.left << ' ' << origin.y + b.top << ' ' << origin.x + b.right << ' '
        << origin.y + b.bottom << '\n';
  }
  // Whether the push buttons got a theme handle: the script expects one only in the themed prefix.
  bool themed = false;
  for (auto& c : controls_)
    if (auto* b = dynamic_cast<controls::PBitBtn*>(c.get())) themed = themed || b->Theme() != nullptr;
  out << "themed " << (themed ? 1 : 0) << ' ' << 0 << ' ' << 0 << ' ' << 0 << '\n';
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Options options = ParseArguments();
  ui::Application::Initialize();
  ui::Application::SetTitle("Orvalis gallery");
  Gallery gallery(options);
  try {
    gallery.Build();
  } catch (...) {
    return 1;
  }
  ui::Form& form = gallery.Form();
  form.Show();
  form.OnClose = [](ui::Form&) { ::PostQuitMessage(0); };
  auto byName = [&](const std::string& name) -> ui::WinControl* {
    for (ui::Control* c : form.Controls())
      if (c->Name() == name) return dynamic_cast<ui::WinControl*>(c);
    return nullptr;
  };
  if (auto* f = byName(options.focus)) f->SetFocus();
  if (auto* p = dynamic_cast<controls::PBitBtn*>(byName(options.press))) p->MouseDown(ui::MouseButton::Left, MK_LBUTTON, 5, 5);
  if (auto* h = byName(options.hover)) {
    RECT r;
    ::GetWindowRect(h->Handle(), &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  } else {
    ::SetCursorPos(1270, 1010);
  }
  ui::Application::ProcessMessages();
  gallery.WriteRects();
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (!ui::Application::ProcessMessages()) break;
    if (!options.stop.empty() && ::GetFileAttributesW(options.stop.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    if (::GetTickCount() - start > 60000) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return 0;
}
