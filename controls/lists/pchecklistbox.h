// PCheckListBox: an owner-drawn LISTBOX with a themed check box per item over
// TagCheckListModel. The checked items are read and written as one string of
// tags (LF between); a click on the box or Space toggles an item.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/lists/tagged_lists.h"
#include "controls/basics/theme.h"
#include "ui/list_box.h"

namespace orvalis::controls {

class PCheckListBox : public ui::ListBox {
 public:
  PCheckListBox();
  ~PCheckListBox() override;

  [[nodiscard]] const TagCheckListModel& Model() const { return model_; }
  [[nodiscard]] int ItemCount() const { return static_cast<int>(model_.Items().size()); }
  [[nodiscard]] const std::vector<std::string>& TagList() const { return model_.TagList(); }

  // An item without a tag (the lists fall out of step).
  void Add(std::string caption);
  // Nothing is added when the tag list and the items are out of step.
  bool AddTag(std::string caption, std::string tag);
  void Clear();

  [[nodiscard]] bool Checked(int index) const;
  // Sets a check without raising OnClickCheck.
  void SetChecked(int index, bool checked);

  [[nodiscard]] std::string GetTags() const { return model_.GetTags(); }
  void SetTags(std::string_view tags);

  void Loaded() override;
  // Only with a parent: closes the theme handle and opens "Button" for the own window.
  void LoadTheme();
  [[nodiscard]] HTHEME Theme() const { return theme_.get(); }

  // Kept for the host.
  bool StoreInFile = true;
  bool CalcFormControls = false;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool QQ = false;

  // The user toggled an item's check with the mouse or Space.
  std::function<void(PCheckListBox&, int index)> OnClickCheck;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void WndProc(ui::Message& m) override;

 private:
  void Reload();
  void InvalidateItem(int index);
  void Toggle(int index);
  [[nodiscard]] bool InBox(LPARAM point) const;
  void DrawItem(const DRAWITEMSTRUCT& item);

  TagCheckListModel model_;
  unique_htheme theme_;
};

}  // namespace orvalis::controls
