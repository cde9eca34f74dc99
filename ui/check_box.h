// The framework's check box and radio button: system buttons whose caption
// sits left or right of the box and whose background is the parent's colour.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/control.h"
#include "ui/panel_look.h"

namespace orvalis::ui {

enum class CheckBoxState : std::uint8_t { Unchecked, Checked, Grayed };

// What check boxes and radio buttons share.
class ToggleButton : public WinControl {
 public:
  ToggleButton();
  [[nodiscard]] std::string Caption() const { return Text(); }
  void SetCaption(std::string_view caption) { SetText(caption); }
  // LeftJustify puts the caption left of the box; the default is right of it.
  [[nodiscard]] Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);
  [[nodiscard]] bool CaptionLeftOfBox() const { return alignment_ == Alignment::LeftJustify; }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(Message& m) override;
  [[nodiscard]] int CheckValue() const;
  void SetCheckValue(int value);
  int check_ = BST_UNCHECKED;

 private:
  Alignment alignment_ = Alignment::RightJustify;
};

class CheckBox : public ToggleButton {
 public:
  [[nodiscard]] CheckBoxState State() const;
  void SetState(CheckBoxState state);
  [[nodiscard]] bool Checked() const { return State() == CheckBoxState::Checked; }
  void SetChecked(bool checked) { SetState(checked ? CheckBoxState::Checked : CheckBoxState::Unchecked); }
  [[nodiscard]] bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }

 protected:
  void MakeCreateParams(CreateParams& params) override;

 private:
  bool allowGrayed_ = false;
};

class RadioButton : public ToggleButton {
 public:
  [[nodiscard]] bool Checked() const { return CheckValue() == BST_CHECKED; }
  void SetChecked(bool checked) { SetCheckValue(checked ? BST_CHECKED : BST_UNCHECKED); }

 protected:
  void MakeCreateParams(CreateParams& params) override;
};

}  // namespace orvalis::ui
