// The setup windows' own looks, beside the general controls of ui/ and the
// themed ones of controls/: their font, the setup form, the check box on a
// white frame and the panel looks the windows share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/basics/ppanel.h"
#include "ui/check_box.h"
#include "ui/control.h"
#include "ui/form.h"

namespace orvalis {

// "MS Sans Serif" 8 pt, the windows' font.
[[nodiscard]] ui::Font DialogFont(std::uint8_t style = 0);

// A check box standing on a white frame: its background is the window colour
// rather than the frame's outer colour.
class FrameCheckBox : public ui::CheckBox {
 public:
  FrameCheckBox();

 protected:
  void WndProc(ui::Message& m) override;
};

// A setup window: owns its parts, has a fixed border with at most a close
// box, and is centred on the screen.
class SetupForm : public ui::Form {
 public:
  SetupForm(std::string name, bool closeBox);

 protected:
  template <typename T>
  T& Add(ui::WinControl& parent, std::string name, int x, int y, int w, int h) {
    auto owned = std::make_unique<T>();
    T& c = *owned;
    c.SetName(std::move(name));
    c.SetBounds(x, y, w, h);
    c.SetParent(&parent);
    parts_.push_back(std::move(owned));
    return c;
  }
  void MakeCreateParams(CreateParams& params) override;

 private:
  bool closeBox_;
  std::vector<std::unique_ptr<ui::Control>> parts_;
};

// Panel looks shared by the windows.
void LookAsBackground(controls::PPanel& panel);  // "ExplorerBar", part 13, state 1
void LookAsHeader(controls::PPanel& panel);      // the gradient band with the product name
void LookAsFrame(controls::PPanel& panel);       // the white boxes around content

}  // namespace orvalis
