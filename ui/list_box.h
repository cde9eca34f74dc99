// The system list box, and the check-list box: a list box whose items carry a
// tick and an integer tag.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace orvalis::ui {

class ListBox : public WinControl {
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
  void WndProc(Message& m) override;

  int itemHeight_ = 13;
};

// Space or a click on the box toggles the current item.
class CheckListBox : public ListBox {
 public:
  int AddItem(std::string_view text, int tag, bool checked);
  [[nodiscard]] bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  [[nodiscard]] int Tag(int index) const;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(Message& m) override;

 private:
  void Toggle(int index);
  void DrawItem(const DRAWITEMSTRUCT& item);
  struct Entry {
    int tag;
    bool checked;
  };
  std::vector<Entry> entries_;
};

// Draws one item of an owner-drawn check list: the window's background, the
// check box in `box` (drawn by `drawThemedBox` when one is given and it
// succeeds, else the classic flat box), and from `textLeft` the caption on the
// selection's colours, grey when the list is disabled, with the focus frame.
void DrawCheckListItem(const DRAWITEMSTRUCT& item, const RECT& box, int textLeft, std::wstring_view caption,
                       bool checked, bool enabled, const std::function<bool(HDC dc)>& drawThemedBox = {});

}  // namespace orvalis::ui
