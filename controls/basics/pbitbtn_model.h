// The themed push button's hot/pressed state machine, its themed paint and the
// bitmap routines shared with the image button.
#pragma once

#include <string>

#include "controls/basics/theme_surface.h"
#include "ui/bitbtn_look.h"
#include "ui/bitmap.h"

namespace orvalis::controls {

// Theme numbers of the push-button part of the class "Button".
constexpr int kPushButtonPart = 1;
enum PushButtonState : int { pbsNormal = 1, pbsHot = 2, pbsPressed = 3, pbsDisabled = 4, pbsDefault = 5 };

// What the state machine needs from its button.
class PushButtonHost {
 public:
  virtual ~PushButtonHost() = default;
  // Asks for a leave notification; false when it cannot be registered.
  virtual bool TrackMouseLeave() = 0;
  virtual void Invalidate() = 0;
};

class PushButtonStates {
 public:
  [[nodiscard]] int State() const { return state_; }
  void MouseDown(PushButtonHost& host);
  void MouseUp(PushButtonHost& host);
  void MouseMove(PushButtonHost& host);
  void MouseLeave(PushButtonHost& host);

 private:
  int state_ = pbsNormal;
};

// The state painted: default for a focused normal button, disabled for a
// disabled or greyed one.
[[nodiscard]] int DrawingState(int buttonState, bool focused, bool disabledOrGrayed);

// Every pixel becomes the grey (r + g + b) / 5 + 96.
[[nodiscard]] ui::Bitmap MakeGrayGlyph(const ui::Bitmap& source);

struct ThemedButtonFace {
  int width = 0;
  int height = 0;
  int state = pbsNormal;
  bool focused = false;
  bool enabled = true;
  bool grayed = false;
  std::string caption;
  const ui::Bitmap* glyph = nullptr;
  ui::ButtonLayout layout = ui::ButtonLayout::GlyphLeft;
  ui::Font font;
};

// The glyph's upper-left corner; `textWidth` is the themed caption width.
[[nodiscard]] ui::Point ThemedGlyphPosition(const ThemedButtonFace& face, int textWidth);

// Paints the button through the theme; false when the theme background could
// not be drawn (the caller then paints the classic look).
bool PaintThemedButton(ui::Canvas& canvas, ThemeSurface& theme, const ThemedButtonFace& face);

}  // namespace orvalis::controls
