// PCheckBox: the framework check box whose box is painted again in the themed
// "hot" look while it has the focus, and which shows an arrow as caption while
// focused when it has no text of its own.
#pragma once

#include <functional>
#include <string>

#include "controls/basics/pcheckbox_model.h"
#include "controls/basics/theme.h"
#include "ui/check_box.h"

namespace orvalis::controls {

// What the check box and the radio button share: the system paints the whole
// control into the context first, then the focused box is drawn over it.
// `inherited` is the control's inherited window procedure; true when handled.
bool HandleFocusedBox(ui::WinControl& control, HTHEME theme, ui::Message& m, int part, int state, int sizeFlags,
                      const std::function<void(ui::Message&)>& inherited);

class PCheckBox : public ui::CheckBox {
 public:
  PCheckBox();
  ~PCheckBox() override;

  void Loaded() override;
  // Only with a parent: closes the theme handle and opens "Button" for the own window.
  void LoadTheme();
  [[nodiscard]] HTHEME Theme() const { return theme_.get(); }

  // Stored only.
  bool StoreInFile = true;
  bool CalcFormControls = false;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool ColumnFooter = false;
  bool RowHeader = false;
  bool Inverted = false;
  bool QQ = false;

 protected:
  void WndProc(ui::Message& m) override;
  void DoEnter() override;
  void DoExit() override;

 private:
  unique_htheme theme_;
};

}  // namespace orvalis::controls
