// The tagged combo box's and tagged check list's rules without a window: the
// items with their parallel tag (and hint) lists, selection and checks by tag,
// and the tool tip that follows the selected item. The lists are worked on
// only while they are in step with the items; the views show Items().
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "controls/entry/edit_model.h"

namespace orvalis::controls {

struct ComboItem {
  std::string caption;
  int data = 0;
  friend bool operator==(const ComboItem&, const ComboItem&) = default;
};

class TagComboModel {
 public:
  [[nodiscard]] const std::vector<ComboItem>& Items() const { return items_; }
  [[nodiscard]] const std::vector<std::string>& Tags() const { return tags_; }
  [[nodiscard]] const std::vector<std::string>& Hints() const { return hints_; }
  void SetTagList(std::vector<std::string> tags) { tags_ = std::move(tags); }
  void SetHintList(std::vector<std::string> hints) { hints_ = std::move(hints); }

  // Appends an item without tag or hint (so the lists fall out of step).
  void Add(std::string caption, int data = 0);
  // Each returns false and changes nothing when the lists it adds to are not
  // in step with the items (or the index is outside 0..count).
  bool AddTag(std::string caption, std::string tag, int data = 0);
  bool AddTag(std::string caption, std::string tag, std::string hint);
  bool InsertTag(int index, std::string caption, std::string tag);
  bool InsertTag(int index, std::string caption, std::string tag, std::string hint);

  // Remove the first item found by data or by tag with its tag and hint; false
  // when none matches.
  bool Delete(int data);
  bool Delete(std::string_view tag);
  bool Rename(int data, std::string caption);
  bool Rename(std::string_view tag, std::string caption);

  // Selects by tag: an exact match first, else the first tag equal ignoring
  // case, else the first item.
  void SetTag(std::string_view tag);
  [[nodiscard]] std::string GetTag() const;
  void SetData(int data);
  [[nodiscard]] int GetData() const;
  // Selects a position (−1 for none) and sets the tool tip from its hint; the
  // view calls it also for selections made with the mouse or keyboard.
  void SetPItemIndex(int index);
  [[nodiscard]] int GetPItemIndex() const { return itemIndex_; }

  // The tool tip: shown with HintText() only while the selected item has a
  // non-empty hint.
  [[nodiscard]] bool ShowHint() const { return showHint_; }
  [[nodiscard]] const std::string& HintText() const { return hint_; }

  // Copies the items, tags and hints; nothing is selected afterwards.
  void Assign(const TagComboModel& source);
  void Clear();

  StoredFlags Stored;

 private:
  [[nodiscard]] bool TagsInStep() const { return tags_.size() == items_.size(); }
  [[nodiscard]] bool HintsInStep() const { return hints_.size() == items_.size(); }
  [[nodiscard]] int FindTag(std::string_view tag) const;
  void RemoveAt(std::size_t index);
  void InsertAt(std::size_t index, ComboItem item, std::string tag);

  std::vector<ComboItem> items_;
  std::vector<std::string> tags_;
  std::vector<std::string> hints_;
  int itemIndex_ = -1;
  bool showHint_ = false;
  std::string hint_;
};

struct CheckItem {
  std::string caption;
  bool checked = false;
  friend bool operator==(const CheckItem&, const CheckItem&) = default;
};

class TagCheckListModel {
 public:
  [[nodiscard]] const std::vector<CheckItem>& Items() const { return items_; }
  [[nodiscard]] const std::vector<std::string>& TagList() const { return tags_; }

  // An item without a tag, as the framework's own Items.Add does.
  void Add(std::string caption);
  // False and nothing added when the lists are out of step.
  bool AddTag(std::string caption, std::string tag);
  void SetChecked(std::size_t index, bool checked);
  void Clear();

  // The checked items' tags in item order, LF between; "" when out of step.
  [[nodiscard]] std::string GetTags() const;
  // Checks exactly the items whose tag is a whole line of `tags`; nothing
  // changes when out of step. "" unchecks every item.
  void SetTags(std::string_view tags);

  StoredFlags Stored;
  bool CalcFormControls = false;

 private:
  std::vector<CheckItem> items_;
  std::vector<std::string> tags_;
};

}  // namespace orvalis::controls
