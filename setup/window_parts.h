// The parts the setup windows are assembled from, beside the themed controls:
// system edit box, list box, check-list box, progress bar and a static text
// that a driver can read, and the panel looks the windows share.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/ppanel.h"
#include "ui/control.h"
#include "ui/check_box.h"
#include "ui/form.h"

namespace orvalis {

// "MS Sans Serif" 8 pt, the windows' font.
[[nodiscard]] ui::Font DialogFont(std::uint8_t style = 0);

// Static text drawn over its parent's background.
class TextLabel : public ui::WinControl {
 public:
  TextLabel();
  void SetCaption(std::string_view caption);
  void SetCentered(bool centered) { centered_ = centered; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(ui::Message& m) override;

 private:
  bool centered_ = false;
  bool wordWrap_ = false;
};

// A check box standing on a white frame: its background is the window colour
// rather than the frame's outer colour.
class FrameCheckBox : public ui::CheckBox {
 public:
  FrameCheckBox();

 protected:
  void WndProc(ui::Message& m) override;
};

class EditBox : public ui::WinControl {
 public:
  EditBox();

 protected:
  void MakeCreateParams(CreateParams& params) override;
};

class ListBox : public ui::WinControl {
 public:
  ListBox();
  void Clear();
  int AddItem(std::string_view text);
  [[nodiscard]] int Count() const;
  [[nodiscard]] int ItemIndex() const;
  void SetItemIndex(int index);
  void SetItemHeight(int height);

  std::function<void(ListBox&)> OnDblClick;
  // A key released in the list (virtual key code).
  std::function<void(ListBox&, unsigned key)> OnKeyUp;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void WndProc(ui::Message& m) override;

  int itemHeight_ = 13;
};

// A list box whose items carry a tick and an integer tag. Space or a click on
// the box toggles the current item.
class CheckListBox : public ListBox {
 public:
  int AddItem(std::string_view text, int tag, bool checked);
  [[nodiscard]] bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  [[nodiscard]] int Tag(int index) const;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(ui::Message& m) override;

 private:
  void Toggle(int index);
  void DrawItem(const DRAWITEMSTRUCT& item);
  struct Entry {
    int tag;
    bool checked;
  };
  std::vector<Entry> entries_;
};

class ProgressBar : public ui::WinControl {
 public:
  ProgressBar();
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  [[nodiscard]] int Position() const;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
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
