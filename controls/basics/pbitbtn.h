// PBitBtn: the dialogs' push button. With a theme it paints itself through the
// "Button" class's push-button part (hot, pressed, default and disabled looks,
// glyph beside the caption, greyed glyph); without one it is the framework's
// bitmap button unchanged.
#pragma once

#include <string>
#include <string_view>

#include "controls/basics/pbitbtn_model.h"
#include "controls/basics/theme.h"
#include "ui/button.h"

namespace orvalis::controls {

class PBitBtn : public ui::BitBtn, private PushButtonHost {
 public:
  PBitBtn();
  ~PBitBtn() override;

  [[nodiscard]] std::string GetCaption() const { return Text(); }
  void SetCaption(std::string_view caption);
  [[nodiscard]] bool Grayed() const { return grayed_; }
  // Paints as disabled while still taking clicks.
  void SetGrayed(bool grayed);
  // 1 normal, 2 hot, 3 pressed.
  [[nodiscard]] int ButtonState() const { return states_.State(); }

  // Serves both the window and the state machine.
  void Invalidate() override { ui::BitBtn::Invalidate(); }
  void Loaded() override;
  // Only with a parent: closes the theme handle and opens "Button" for the own window.
  void LoadTheme();
  [[nodiscard]] HTHEME Theme() const { return theme_.get(); }

  // The state machine's events, each followed by the inherited handler.
  void MouseDown(ui::MouseButton button, unsigned keys, int x, int y) override;
  void MouseUp(ui::MouseButton button, unsigned keys, int x, int y) override;
  void MouseMove(unsigned keys, int x, int y) override;

  // Stored only.
  bool StoreInFile = true;
  bool CalcInput = false;
  bool CalcFormControls = false;
  bool CalcControls = false;
  bool CalcForms = false;
  std::string AnsiTag;
  int OrgWindowProc = 0;
  bool ColumnFooter = false;
  bool ColumnHeader = false;
  bool RowHeader = false;

 protected:
  void WndProc(ui::Message& m) override;

 private:
  bool TrackMouseLeave() override;
  // The themed paint; false when the theme background could not be drawn.
  bool PaintThemed(HDC given);

  bool grayed_ = false;
  PushButtonStates states_;
  unique_htheme theme_;
};

}  // namespace orvalis::controls
