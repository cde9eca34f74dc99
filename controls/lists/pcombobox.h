// PComboBox: a drop-down list (COMBOBOX with CBS_DROPDOWNLIST) over
// TagComboModel. Items carry data, a tag and a hint; the program selects and
// reads by tag or data, and the selected item's hint is the control's tool tip.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/lists/tagged_lists.h"
#include "ui/control.h"

namespace orvalis::controls {

class PComboBox : public ui::WinControl {
 public:
  PComboBox();

  [[nodiscard]] const TagComboModel& Model() const { return model_; }
  [[nodiscard]] const std::vector<ComboItem>& Items() const { return model_.Items(); }
  [[nodiscard]] int Count() const { return static_cast<int>(model_.Items().size()); }

  void Add(std::string caption, int data = 0);
  // Each adds nothing when the lists it adds to are out of step with the items.
  bool AddTag(std::string caption, std::string tag, int data = 0);
  bool AddTag(std::string caption, std::string tag, std::string hint);
  bool InsertTag(int index, std::string caption, std::string tag);
  bool InsertTag(int index, std::string caption, std::string tag, std::string hint);
  bool Delete(int data);
  bool Delete(std::string_view tag);
  bool Rename(int data, std::string caption);
  bool Rename(std::string_view tag, std::string caption);

  [[nodiscard]] const std::vector<std::string>& Tags() const { return model_.Tags(); }
  [[nodiscard]] const std::vector<std::string>& Hints() const { return model_.Hints(); }
  void SetTagList(std::vector<std::string> tags);
  void SetHintList(std::vector<std::string> hints);

  [[nodiscard]] std::string GetTag() const { return model_.GetTag(); }
  void SetTag(std::string_view tag);
  [[nodiscard]] int GetData() const { return model_.GetData(); }
  void SetData(int data);
  [[nodiscard]] int GetPItemIndex() const { return model_.GetPItemIndex(); }
  void SetPItemIndex(int index);

  // Copies the items, tags and hints of another combo box.
  void Assign(const PComboBox& source);
  void Clear();

  StoredFlags& Stored() { return model_.Stored; }

  // The user chose another item (CBN_SELCHANGE), after OnClick.
  std::function<void(PComboBox&)> OnChange;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void WndProc(ui::Message& m) override;

 private:
  // The window's list again from the model, with its selection.
  void Reload();
  void ShowSelection();
  // The selection and tool tip follow the model's selected item.
  void ApplyHint();

  TagComboModel model_;
};

}  // namespace orvalis::controls
