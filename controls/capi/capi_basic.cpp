// The C interface of the panels, buttons, check boxes and labels.
#include "controls/capi/capi.h"
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

using namespace orvalis::controls;
using orvalis::capi::Do;
using orvalis::capi::In;
namespace ui = orvalis::ui;

namespace {

[[nodiscard]] ui::Alignment AlignmentOf(int value) {
  return value == 1 ? ui::Alignment::RightJustify : value == 2 ? ui::Alignment::Center : ui::Alignment::LeftJustify;
}

}  // namespace

extern "C" {

ORVALIS_CREATE(PPanel)
ORVALIS_SETTER(PPanel, SetCaption, const char*, In(value))
ORVALIS_SETTER(PPanel, SetAlignment, int, AlignmentOf(value))
ORVALIS_SETTER(PPanel, SetNailSize, int, value)
ORVALIS_SETTER(PPanel, SetNailColor, uint32_t, value)
ORVALIS_SETTER(PPanel, SetBoxHeight, int, value)
ORVALIS_SETTER(PPanel, SetShadowWidth, int, value)
ORVALIS_SETTER(PPanel, SetBorderSize, int, value)
ORVALIS_SETTER(PPanel, SetPanelColor, uint32_t, value)
ORVALIS_SETTER(PPanel, SetPanelPenColor, uint32_t, value)
ORVALIS_SETTER(PPanel, SetShadowColor, uint32_t, value)
ORVALIS_SETTER(PPanel, SetShadowPenColor, uint32_t, value)
ORVALIS_SETTER(PPanel, SetGradient1Color, uint32_t, value)
ORVALIS_SETTER(PPanel, SetGradient2Color, uint32_t, value)
ORVALIS_SETTER(PPanel, SetGradient1Pos, int, value)
ORVALIS_SETTER(PPanel, SetGradient2Pos, int, value)
ORVALIS_SETTER(PPanel, SetGradientWidth, int, value)
ORVALIS_SETTER(PPanel, SetGradientSize, int, value)
ORVALIS_SETTER(PPanel, SetGradientPositions, int, value != 0)
ORVALIS_SETTER(PPanel, SetDrawMode, int, static_cast<PPanelDM>(value))
ORVALIS_SETTER(PPanel, SetThemeClass, const char*, In(value))
ORVALIS_SETTER(PPanel, SetThemePart, int, value)
ORVALIS_SETTER(PPanel, SetThemeState, int, value)
ORVALIS_COMMAND(PPanel, LoadTheme)
ORVALIS_API void ORVALIS_CALL PPanel_SetOnMouseWheel(OrvalisControl* control, OrvalisWheelEvent event,
                                                     void* context) {
  Do<PPanel>(__func__, control, [&](PPanel& c) {
    c.OnMouseWheel = nullptr;
    if (event) c.OnMouseWheel = [=](PPanel&, int delta) { event(context, control, delta); };
  });
}

ORVALIS_CREATE(PParent)
ORVALIS_CREATE(PGroupBox)
ORVALIS_CREATE(PMemo)

ORVALIS_CREATE(PButton)
ORVALIS_SETTER(PButton, SetCaption, const char*, In(value))

ORVALIS_CREATE(PBitBtn)
ORVALIS_TEXT_GETTER(PBitBtn, GetCaption, c.GetCaption())
ORVALIS_SETTER(PBitBtn, SetCaption, const char*, In(value))
ORVALIS_GETTER(PBitBtn, GetGrayed, int, c.Grayed())
ORVALIS_SETTER(PBitBtn, SetGrayed, int, value != 0)
ORVALIS_GETTER(PBitBtn, GetButtonState, int, c.ButtonState())
ORVALIS_COMMAND(PBitBtn, LoadTheme)

ORVALIS_CREATE(PImgBtn)
ORVALIS_TEXT_GETTER(PImgBtn, GetText, c.GetText())
ORVALIS_SETTER(PImgBtn, SetText, const char*, In(value))
ORVALIS_API void ORVALIS_CALL PImgBtn_SetGlyph(OrvalisControl* control, int kind, int width, int height,
                                               const uint32_t* pixels) {
  Do<PImgBtn>(__func__, control, [&](PImgBtn& c) {
    ui::Bitmap bitmap;
    if (pixels && width > 0 && height > 0 && width <= 4096 && height <= 4096) {
      bitmap.SetSize(width, height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, pixels[std::size_t(y) * std::size_t(width) + x]);
    }
    switch (kind) {
      case PImgBtn_Glyph: c.SetGlyph(bitmap); break;
      case PImgBtn_GlyphDisabled: c.SetGlyphDisabled(bitmap); break;
      case PImgBtn_GlyphUp: c.SetGlyphUp(bitmap); break;
      case PImgBtn_GlyphDown: c.SetGlyphDown(bitmap); break;
      case PImgBtn_GlyphFocus: c.SetGlyphFocus(bitmap); break;
      case PImgBtn_AltGlyphUp: c.SetAltGlyphUp(bitmap); break;
      case PImgBtn_AltGlyphDown: c.SetAltGlyphDown(bitmap); break;
      default: break;
    }
  });
}
ORVALIS_SETTER(PImgBtn, SetAlt, int, value != 0)
ORVALIS_SETTER(PImgBtn, SetStretchMode, int, static_cast<PImgStretchMode>(value >= 0 && value <= 2 ? value : 0))
ORVALIS_SETTER(PImgBtn, SetTransparent, int, value != 0)
ORVALIS_SETTER(PImgBtn, SetTransparentMode, int, value ? ui::TransparentMode::Fixed : ui::TransparentMode::Automatic)
ORVALIS_SETTER(PImgBtn, SetTransparentColor, uint32_t, value)
ORVALIS_SETTER(PImgBtn, SetAlignment, int, AlignmentOf(value))
ORVALIS_SETTER(PImgBtn, SetThemeClass, const char*, In(value))
ORVALIS_SETTER(PImgBtn, SetThemePart, int, value)
ORVALIS_COMMAND(PImgBtn, LoadTheme)
ORVALIS_GETTER(PImgBtn, GetPressed, int, c.Pressed())

ORVALIS_CREATE(PCheckBox)
ORVALIS_SETTER(PCheckBox, SetCaption, const char*, In(value))
ORVALIS_GETTER(PCheckBox, GetChecked, int, c.Checked())
ORVALIS_SETTER(PCheckBox, SetChecked, int, value != 0)
ORVALIS_SETTER(PCheckBox, SetAlignment, int, AlignmentOf(value))
ORVALIS_COMMAND(PCheckBox, LoadTheme)

ORVALIS_CREATE(PRadioButton)
ORVALIS_SETTER(PRadioButton, SetCaption, const char*, In(value))
ORVALIS_GETTER(PRadioButton, GetChecked, int, c.Checked())
ORVALIS_SETTER(PRadioButton, SetChecked, int, value != 0)
ORVALIS_COMMAND(PRadioButton, LoadTheme)

ORVALIS_CREATE(PLabel)
ORVALIS_SETTER(PLabel, SetCaption, const char*, In(value))
ORVALIS_SETTER(PLabel, SetWordWrap, int, value != 0)
ORVALIS_SETTER(PLabel, SetAlignment, int, AlignmentOf(value))
ORVALIS_TEXT_GETTER(PLabel, GetLink, c.Link())
ORVALIS_SETTER(PLabel, SetLink, const char*, std::string(In(value)))

}  // extern "C"
