// PRadioButton: the framework radio button with the themed "hot" box while
// focused and a trailing space added to a tight caption on entering.
#pragma once

#include "controls/basics/pradiobutton_model.h"
#include "controls/basics/theme.h"
#include "ui/check_box.h"

namespace orvalis::controls {

class PRadioButton : public ui::RadioButton {
 public:
  PRadioButton();
  ~PRadioButton() override;

  void Loaded() override;
  // Only with a parent: closes the theme handle and opens "Button" for the own window.
  void LoadTheme();
  [[nodiscard]] HTHEME Theme() const { return theme_.get(); }

  // Stored only.
  bool StoreInFile = true;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool QQ = false;

 protected:
  void WndProc(ui::Message& m) override;
  void DoEnter() override;
  void DoExit() override;

 private:
  unique_htheme theme_;
};

}  // namespace orvalis::controls
