// Tag and hint lists beside the items of the tagged combo box and check list.
#include "controls/lists/tagged_lists.h"

#include <algorithm>

#include "core/text.h"

namespace orvalis::controls {

void TagComboModel::Add(std::string caption, int data) { items_.push_back({std::move(caption), data}); }

void TagComboModel::InsertAt(std::size_t index, ComboItem item, std::string tag) {
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(index), std::move(tag));
  // The selection stays on the item it was on.
  if (itemIndex_ >= 0 && static_cast<std::size_t>(itemIndex_) >= index) ++itemIndex_;
}

bool TagComboModel::AddTag(std::string caption, std::string tag, int data) {
  if (!TagsInStep()) return false;
  InsertAt(items_.size(), {std::move(caption), data}, std::move(tag));
  return true;
}

bool TagComboModel::AddTag(std::string caption, std::string tag, std::string hint) {
  if (!TagsInStep() || !HintsInStep()) return false;
  hints_.push_back(std::move(hint));
  InsertAt(items_.size(), {std::move(caption), 0}, std::move(tag));
  return true;
}

bool TagComboModel::InsertTag(int index, std::string caption, std::string tag) {
  if (!TagsInStep() || index < 0 || static_cast<std::size_t>(index) > items_.size()) return false;
  InsertAt(static_cast<std::size_t>(index), {std::move(caption), 0}, std::move(tag));
  return true;
}

bool TagComboModel::InsertTag(int index, std::string caption, std::string tag, std::string hint) {
  if (!TagsInStep() || !HintsInStep() || index < 0 || static_cast<std::size_t>(index) > items_.size()) return false;
  hints_.insert(hints_.begin() + index, std::move(hint));
  InsertAt(static_cast<std::size_t>(index), {std::move(caption), 0}, std::move(tag));
  return true;
}

int TagComboModel::FindTag(std::string_view tag) const {
  const auto exact = std::find(tags_.begin(), tags_.end(), tag);
  if (exact != tags_.end()) return static_cast<int>(exact - tags_.begin());
  const auto same = std::find_if(tags_.begin(), tags_.end(), [tag](const std::string& t) { return SameText(t, tag); });
  return same == tags_.end() ? -1 : static_cast<int>(same - tags_.begin());
}

void TagComboModel::RemoveAt(std::size_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  // Lists out of step may lack the entry; the others keep theirs.
  if (index < tags_.size()) tags_.erase(tags_.begin() + static_cast<std::ptrdiff_t>(index));
  if (index < hints_.size()) hints_.erase(hints_.begin() + static_cast<std::ptrdiff_t>(index));
  if (itemIndex_ < 0) return;
  if (static_cast<std::size_t>(itemIndex_) == index) {
    SetPItemIndex(-1);
  } else if (static_cast<std::size_t>(itemIndex_) > index) {
    --itemIndex_;
  }
}

bool TagComboModel::Delete(int data) {
  const auto it = std::find_if(items_.begin(), items_.end(), [data](const ComboItem& i) { return i.data == data; });
  if (it == items_.end()) return false;
  RemoveAt(static_cast<std::size_t>(it - items_.begin()));
  return true;
}

bool TagComboModel::Delete(std::string_view tag) {
  const int i = FindTag(tag);
  if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return false;
  RemoveAt(static_cast<std::size_t>(i));
  return true;
}

bool TagComboModel::Rename(int data, std::string caption) {
  const auto it = std::find_if(items_.begin(), items_.end(), [data](const ComboItem& i) { return i.data == data; });
  if (it == items_.end()) return false;
  it->caption = std::move(caption);
  return true;
}

bool TagComboModel::Rename(std::string_view tag, std::string caption) {
  const int i = FindTag(tag);
  if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return false;
  items_[static_cast<std::size_t>(i)].caption = std::move(caption);
  return true;
}

void TagComboModel::SetTag(std::string_view tag) {
  const int i = FindTag(tag);
  // A tag beyond the items (lists out of step) selects nothing, like no match.
  SetPItemIndex(i >= 0 && static_cast<std::size_t>(i) < items_.size() ? i : (items_.empty() ? -1 : 0));
}

std::string TagComboModel::GetTag() const {
  if (itemIndex_ < 0 || static_cast<std::size_t>(itemIndex_) >= tags_.size()) return {};
  return tags_[static_cast<std::size_t>(itemIndex_)];
}

void TagComboModel::SetData(int data) {
  const auto it = std::find_if(items_.begin(), items_.end(), [data](const ComboItem& i) { return i.data == data; });
  SetPItemIndex(it != items_.end() ? static_cast<int>(it - items_.begin()) : (items_.empty() ? -1 : 0));
}

int TagComboModel::GetData() const {
  return itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)].data : 0;
}

void TagComboModel::SetPItemIndex(int index) {
  // As the combo box does, a position outside the items selects nothing.
  itemIndex_ = index >= 0 && static_cast<std::size_t>(index) < items_.size() ? index : -1;
  // The tool tip belongs to the selected item: an item without a hint entry
  // must not keep showing the previous item's hint.
  if (itemIndex_ >= 0 && static_cast<std::size_t>(itemIndex_) < hints_.size() &&
      !hints_[static_cast<std::size_t>(itemIndex_)].empty()) {
    hint_ = hints_[static_cast<std::size_t>(itemIndex_)];
    showHint_ = true;
  } else {
    showHint_ = false;
  }
}

void TagComboModel::Assign(const TagComboModel& source) {
  if (&source == this) return;
  items_ = source.items_;
  tags_ = source.tags_;
  hints_ = source.hints_;
  SetPItemIndex(-1);
}

void TagComboModel::Clear() {
  tags_.clear();
  hints_.clear();
  items_.clear();
  SetPItemIndex(-1);
}

void TagCheckListModel::Add(std::string caption) { items_.push_back({std::move(caption), false}); }

bool TagCheckListModel::AddTag(std::string caption, std::string tag) {
  if (tags_.size() != items_.size()) return false;
  tags_.push_back(std::move(tag));
  items_.push_back({std::move(caption), false});
  return true;
}

void TagCheckListModel::SetChecked(std::size_t index, bool checked) {
  if (index < items_.size()) items_[index].checked = checked;
}

void TagCheckListModel::Clear() {
  tags_.clear();
  items_.clear();
}

std::string TagCheckListModel::GetTags() const {
  if (tags_.size() != items_.size()) return {};
  std::string out;
  bool first = true;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i].checked) continue;
    if (!first) out += '\n';
    out += tags_[i];
    first = false;
  }
  return out;
}

void TagCheckListModel::SetTags(std::string_view tags) {
  if (tags_.size() != items_.size()) return;
  // Framed in line feeds, a tag matches only as a whole line. An empty string
  // is an empty list: framed, it would otherwise check an item with an empty tag.
  std::string framed(1, '\n');
  framed.append(tags).push_back('\n');
  for (std::size_t i = 0; i < items_.size(); ++i) {
    std::string line(1, '\n');
    line.append(tags_[i]).push_back('\n');
    items_[i].checked = !tags.empty() && framed.find(line) != std::string::npos;
  }
}

}  // namespace orvalis::controls
