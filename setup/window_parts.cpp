// The setup windows' font, form, frame check box and panel looks.
#include "setup/window_parts.h"

namespace orvalis {
namespace {

// The header band's two gradient colours.
constexpr ui::Color kHeaderColor = ui::Rgb(105, 159, 241);
constexpr ui::Color kHeaderGradient = ui::Rgb(154, 190, 245);
// The content frames: their pen and the colour around the white box.
constexpr ui::Color kFramePen = ui::Rgb(127, 157, 185);
constexpr ui::Color kFrameOutside = ui::Rgb(180, 180, 180);

}  // namespace

ui::Font DialogFont(std::uint8_t style) {
  ui::Font font;
  font.face = "MS Sans Serif";
  font.height = -11;
  font.style = style;
  return font;
}

// ---------------------------------------------------------------- FrameCheckBox

FrameCheckBox::FrameCheckBox() { SetFont(DialogFont()); }

void FrameCheckBox::WndProc(ui::Message& m) {
  if (m.msg == ui::CN_CTLCOLORSTATIC || m.msg == ui::CN_CTLCOLORBTN) {
    HDC dc = reinterpret_cast<HDC>(m.wParam);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    m.result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  ui::CheckBox::WndProc(m);
}

// ---------------------------------------------------------------- SetupForm

SetupForm::SetupForm(std::string name, bool closeBox) : closeBox_(closeBox) {
  SetName(std::move(name));
  SetBorderStyle(closeBox ? ui::BorderStyle::Single : ui::BorderStyle::Dialog);
  SetPosition(ui::FormPosition::ScreenCenter);
  SetFont(DialogFont());
}

void SetupForm::MakeCreateParams(CreateParams& params) {
  ui::Form::MakeCreateParams(params);
  params.style &= ~DWORD(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  if (!closeBox_) params.style &= ~DWORD(WS_SYSMENU);
}

// ---------------------------------------------------------------- Panel looks

void LookAsBackground(controls::PPanel& panel) {
  panel.SetBevelOuter(ui::Bevel::None);
  panel.SetThemePart(13);
  panel.SetThemeState(1);
  panel.SetThemeClass("ExplorerBar");
}

void LookAsHeader(controls::PPanel& panel) {
  panel.SetBevelOuter(ui::Bevel::None);
  panel.SetDrawMode(controls::dmGradientVertical);
  panel.SetPanelColor(kHeaderColor);
  panel.SetGradient1Color(kHeaderGradient);
  panel.SetShadowColor(ui::kBtnShadow);
  panel.SetBoxHeight(10);
  panel.SetShadowWidth(1);
  panel.SetBorderSize(1);
}

void LookAsFrame(controls::PPanel& panel) {
  panel.SetBevelOuter(ui::Bevel::None);
  panel.SetDrawMode(controls::dmPanel);
  panel.SetBoxHeight(6);
  panel.SetBorderSize(1);
  panel.SetPanelColor(ui::SystemColor(COLOR_WINDOW));
  panel.SetPanelPenColor(kFramePen);
  panel.SetColor(kFrameOutside);
}

}  // namespace orvalis
