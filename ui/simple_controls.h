// Thin framework wrappers of system controls: the group box and the
// multi-line edit.
#pragma once

#include <string_view>

#include "ui/control.h"

namespace orvalis::ui {

class GroupBox : public WinControl {
 public:
  GroupBox();
  [[nodiscard]] std::string Caption() const { return Text(); }
  void SetCaption(std::string_view caption) { SetText(caption); }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(Message& m) override;
};

class Memo : public WinControl {
 public:
  Memo();
  // The lines joined with CR LF, as the edit control keeps them.
  [[nodiscard]] std::string Lines() const { return Text(); }
  void SetLines(std::string_view text) { SetText(text); }
  [[nodiscard]] bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);

 protected:
  void MakeCreateParams(CreateParams& params) override;

 private:
  bool readOnly_ = false;
};

}  // namespace orvalis::ui
