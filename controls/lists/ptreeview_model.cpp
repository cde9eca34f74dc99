// The tree view's item model: lazy nodes, search, multiple selection and look.
#include "controls/lists/ptreeview_model.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/text.h"

namespace orvalis::controls {
namespace {

constexpr std::size_t kMaxCaption = 255;
constexpr std::size_t kShortCaption = 252;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte offset after the first `count` characters (or the text's size).
std::size_t CharsToBytes(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
    ++pos;
    while (pos < text.size() && IsContinuation(text[pos])) ++pos;
  }
  return pos;
}

template <class Match>
PTreeItem* FindDepthFirst(const PTreeItem& item, const Match& match) {
  for (const auto& child : item.Children()) {
    if (match(*child)) return child.get();
    if (PTreeItem* found = FindDepthFirst(*child, match)) return found;
  }
  return nullptr;
}

void CollectTags(const PTreeItem& item, std::vector<TreeTag>& out) {
  for (const auto& child : item.Children()) {
    if (child->HasTag()) out.push_back({child->Tag(), child->Data});
    CollectTags(*child, out);
  }
}

}  // namespace

std::string TreeCaption(std::string_view text) {
  const std::size_t cut = CharsToBytes(text, kMaxCaption);
  if (cut == text.size()) return std::string(text);
  std::string caption(text.substr(0, CharsToBytes(text, kShortCaption)));
  caption += "...";
  return caption;
}

void PTreeItem::SetTag(std::string tag) {
  hasTag_ = true;
  upperTag_ = UpperCase(tag);
  tag_ = std::move(tag);
}

PTreeItem& PTreeItem::AddChild(std::string text, int data) {
  children_.push_back(std::unique_ptr<PTreeItem>(new PTreeItem(tree_, this)));
  PTreeItem& child = *children_.back();
  child.Text = std::move(text);
  child.Data = data;
  return child;
}

TreeViewModel::TreeViewModel(TreeNodeSink& sink) : sink_(sink), root_(new PTreeItem(this, nullptr)) {}

PTreeItem* TreeViewModel::ItemOf(TreeNode node) const {
  const auto it = byNode_.find(node);
  return it == byNode_.end() ? nullptr : it->second;
}

PTreeItem& TreeViewModel::GetItem(TreeNode node) {
  PTreeItem* item = ItemOf(node);
  return item ? *item : *root_;
}

void TreeViewModel::CreateNodes(PTreeItem& item) {
  const bool isRoot = &item == root_.get();
  if (!isRoot && item.node_ == kNoNode && item.parent_) CreateNodes(*item.parent_);
  // An item whose own node could not be made has nowhere to hang its children.
  if (!isRoot && item.node_ == kNoNode) return;
  auto& children = item.children_;
  for (std::size_t i = 0; i < children.size(); ++i) {
    PTreeItem& child = *children[i];
    if (child.node_ != kNoNode) continue;
    TreeNode before = kNoNode;
    for (std::size_t j = i + 1; j < children.size() && before == kNoNode; ++j) before = children[j]->node_;
    const TreeNode node = sink_.InsertNode(isRoot ? kNoNode : item.node_, before, TreeCaption(child.Text),
                                           child.ImageIndex, child.SelectedImageIndex, child);
    if (node == kNoNode) continue;
    child.node_ = node;
    byNode_[node] = &child;
  }
}

TreeLook TreeViewModel::Look() const {
  constexpr TreeLook kTree{true, true, false};
  constexpr TreeLook kList{false, false, true};
  switch (option_) {
    case PTreeOption::ptoAsTree:
      return kTree;
    case PTreeOption::ptoNoTree:
      return kList;
    case PTreeOption::ptoNoRoot:
      return {true, false, false};
    case PTreeOption::ptoDynamic:
      break;
  }
  return asTree_ ? kTree : kList;
}

PTreeItem* TreeViewModel::GetSelectedItem() const { return ItemOf(selected_); }

void TreeViewModel::Select(PTreeItem& item) {
  if (&item == root_.get()) return;
  if (item.parent_) CreateNodes(*item.parent_);
  if (item.node_ != kNoNode) sink_.SelectNode(item.node_);
}

void TreeViewModel::SetSelectedItem(PTreeItem& item) { Select(item); }

void TreeViewModel::SetTag(std::string_view tag) {
  const std::string upper = UpperCase(tag);
  if (PTreeItem* found =
          FindDepthFirst(*root_, [&](const PTreeItem& i) { return i.HasTag() && i.UpperTag() == upper; }))
    Select(*found);
}

void TreeViewModel::SetData(int data) {
  if (PTreeItem* found = FindDepthFirst(*root_, [&](const PTreeItem& i) { return i.Data == data; }))
    Select(*found);
}

std::string TreeViewModel::GetTag() const {
  const PTreeItem* item = GetSelectedItem();
  return item ? item->Tag() : std::string();
}

int TreeViewModel::GetData() const {
  const PTreeItem* item = GetSelectedItem();
  return item ? item->Data : 0;
}

bool TreeViewModel::GetHasTag() const {
  const PTreeItem* item = GetSelectedItem();
  return item && item->HasTag();
}

std::string TreeViewModel::GetText() const {
  const PTreeItem* item = GetSelectedItem();
  return item ? item->Text : std::string();
}

TreeNode TreeViewModel::GetSel(int i) const {
  return i >= 0 && i < GetSelCount() ? multi_[static_cast<std::size_t>(i)] : kNoNode;
}

int TreeViewModel::GetSelItem(int i) const {
  const PTreeItem* item = ItemOf(GetSel(i));
  return item ? item->Data : 0;
}

const std::vector<TreeTag>& TreeViewModel::GetTags() {
  tags_.clear();
  CollectTags(*root_, tags_);
  return tags_;
}

bool TreeViewModel::SelectionChanging(TreeNode node) const {
  if (!NeedTag) return true;
  const PTreeItem* item = ItemOf(node);
  return item && item->HasTag();
}

void TreeViewModel::SelectionChanged(TreeNode node, bool ctrl, bool shift) {
  selected_ = node;
  if (MultiSelect) {
    if (ctrl) {
      const auto it = std::find(multi_.begin(), multi_.end(), node);
      if (it == multi_.end())
        multi_.push_back(node);
      else
        multi_.erase(it);
    } else if (shift && !multi_.empty()) {
      const PTreeItem* anchor = ItemOf(multi_.front());
      const PTreeItem* target = ItemOf(node);
      multi_.clear();
      if (anchor && target && anchor->parent_ == target->parent_) {
        // From the anchor toward the new node, whichever side it lies on, so the
        // anchor stays first and a further Shift click extends from it again.
        const auto& siblings = anchor->parent_->children_;
        const auto indexOf = [&](const PTreeItem* p) {
          return static_cast<std::ptrdiff_t>(
              std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == p; }) -
              siblings.begin());
        };
        const std::ptrdiff_t from = indexOf(anchor);
        const std::ptrdiff_t to = indexOf(target);
        const std::ptrdiff_t step = from <= to ? 1 : -1;
        for (std::ptrdiff_t k = from;; k += step) {
          const TreeNode n = siblings[static_cast<std::size_t>(k)]->node_;
          if (n != kNoNode) multi_.push_back(n);
          if (k == to) break;
        }
      }
    } else {
      multi_.clear();
    }
    if (multi_.empty()) multi_.push_back(node);
    sink_.Repaint();
  }
  if (OnChanged) OnChanged(*this);
}

void TreeViewModel::Expanded(TreeNode node) {
  PTreeItem* item = ItemOf(node);
  if (!item) return;
  CreateNodes(*item);
  for (const auto& child : item->children_) CreateNodes(*child);
  if (!OrgFullCollapse && std::find(expanded_.begin(), expanded_.end(), node) == expanded_.end())
    expanded_.push_back(node);
}

void TreeViewModel::Collapsed(TreeNode node) { std::erase(expanded_, node); }

void TreeViewModel::Forget(TreeNode node) {
  byNode_.erase(node);
  std::erase(expanded_, node);
  std::erase(multi_, node);
  if (selected_ == node) selected_ = kNoNode;
}

void TreeViewModel::NodeDeleted(TreeNode node) {
  if (PTreeItem* item = ItemOf(node)) item->node_ = kNoNode;
  Forget(node);
}

void TreeViewModel::FullCollapse() {
  if (OrgFullCollapse) return;
  // The platform reports no collapse for a collapse it was told to make.
  const std::vector<TreeNode> nodes = std::exchange(expanded_, {});
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
    if (byNode_.contains(*it)) sink_.CollapseNode(*it);
}

void TreeViewModel::Clear() {
  sink_.DeleteAllNodes();
  expanded_.clear();
  multi_.clear();
  byNode_.clear();
  selected_ = kNoNode;
  root_->children_.clear();
}

}  // namespace orvalis::controls
