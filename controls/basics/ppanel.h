// PPanel: the container the dialogs are built on. A themed background when a
// theme class is set, otherwise the framework panel plus the owner-drawn boxes.
#pragma once

#include <string>
#include <string_view>

#include "controls/basics/ppanel_model.h"
#include "controls/basics/theme.h"
#include "ui/panel.h"

namespace orvalis::controls {

class PPanel : public ui::Panel {
 public:
  PPanel();
  ~PPanel() override;

  [[nodiscard]] const PanelLook& Look() const { return look_; }

  void SetNailSize(int v) { Assign(look_.NailSize, v); }
  void SetNailColor(Color v) { Assign(look_.NailColor, v); }
  void SetBoxHeight(int v) { Assign(look_.BoxHeight, v); }
  void SetShadowWidth(int v) { Assign(look_.ShadowWidth, v); }
  void SetBorderSize(int v) { Assign(look_.BorderSize, v); }
  void SetPanelColor(Color v) { Assign(look_.PanelColor, v); }
  void SetPanelPenColor(Color v) { Assign(look_.PanelPenColor, v); }
  void SetShadowColor(Color v) { Assign(look_.ShadowColor, v); }
  void SetShadowPenColor(Color v) { Assign(look_.ShadowPenColor, v); }
  void SetGradient1Color(Color v) { Assign(look_.Gradient1Color, v); }
  void SetGradient2Color(Color v) { Assign(look_.Gradient2Color, v); }
  void SetGradient1Pos(int v) { Assign(look_.Gradient1Pos, v); }
  void SetGradient2Pos(int v) { Assign(look_.Gradient2Pos, v); }
  void SetGradientWidth(int v) { Assign(look_.GradientWidth, v); }
  void SetGradientSize(int v) { Assign(look_.GradientSize, v); }
  void SetGradientPositions(bool v) { Assign(look_.GradientPositions, v); }
  void SetDrawMode(PPanelDM v) { Assign(look_.DrawMode, v); }
  void SetThemePart(int v) { Assign(look_.ThemePart, v); }
  void SetThemeState(int v) { Assign(look_.ThemeState, v); }

  [[nodiscard]] const std::string& ThemeClass() const { return themeClass_; }
  // Reopens the theme for the new class.
  void SetThemeClass(std::string_view themeClass);
  // Closes the theme handle and opens one for the own window (made when needed).
  void LoadTheme();
  [[nodiscard]] HTHEME Theme() const { return theme_.get(); }

  // Stored only.
  bool CalcControls = false;
  bool CalcForms = false;
  bool SizeInHeight = true;
  bool SizeInWidth = true;
  bool SizeChilds = true;
  bool HeightCtrl = false;
  std::string AnsiTag;

  std::function<void(PPanel&, int delta)> OnMouseWheel;
  std::function<void(PPanel&)> OnMouseWheelDown;
  std::function<void(PPanel&)> OnMouseWheelUp;

 protected:
  void WndProc(ui::Message& m) override;
  void Paint(ui::Canvas& canvas) override;

 private:
  template <typename T>
  void Assign(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  void AdoptParentThemeColor();

  PanelLook look_;
  std::string themeClass_;
  unique_htheme theme_;
};

}  // namespace orvalis::controls
