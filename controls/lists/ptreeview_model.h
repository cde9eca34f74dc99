// The tree view's rules without a window: the item tree a host fills, the
// platform nodes created only when they are about to show, selection by tag or
// data, the Ctrl/Shift multiple selection and the look. The view implements
// TreeNodeSink over the tree control and forwards its notifications here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvalis::controls {

class TreeViewModel;

// A platform node (the view's HTREEITEM); 0 is none.
using TreeNode = std::uintptr_t;
inline constexpr TreeNode kNoNode = 0;

// One tree entry. The model owns the root; the host adds the rest with AddChild.
class PTreeItem {
 public:
  int ImageIndex = 0;
  int SelectedImageIndex = 0;
  std::string Text;
  int Data = 0;

  [[nodiscard]] bool HasTag() const { return hasTag_; }
  [[nodiscard]] const std::string& Tag() const { return tag_; }
  [[nodiscard]] const std::string& UpperTag() const { return upperTag_; }
  void SetTag(std::string tag);

  // Appends a child (its node is made when the parent's children are shown).
  PTreeItem& AddChild(std::string text, int data = 0);
  [[nodiscard]] const std::vector<std::unique_ptr<PTreeItem>>& Children() const { return children_; }
  [[nodiscard]] PTreeItem* Parent() const { return parent_; }
  [[nodiscard]] TreeViewModel* Tree() const { return tree_; }
  [[nodiscard]] TreeNode Node() const { return node_; }

 private:
  friend class TreeViewModel;
  PTreeItem(TreeViewModel* tree, PTreeItem* parent) : parent_(parent), tree_(tree) {}

  bool hasTag_ = false;
  std::string tag_;
  std::string upperTag_;
  std::vector<std::unique_ptr<PTreeItem>> children_;
  PTreeItem* parent_ = nullptr;
  TreeViewModel* tree_ = nullptr;
  TreeNode node_ = kNoNode;
};

// What the view does on the platform tree for the model.
class TreeNodeSink {
 public:
  virtual ~TreeNodeSink() = default;
  // Inserts a node under `parent` (kNoNode: top level) before `before`
  // (kNoNode: last), carrying `item` as its data. Returns kNoNode on failure.
  virtual TreeNode InsertNode(TreeNode parent, TreeNode before, const std::string& caption, int image,
                              int selectedImage, PTreeItem& item) = 0;
  virtual void DeleteAllNodes() = 0;
  virtual void CollapseNode(TreeNode node) = 0;
  // Asks the platform to select; it answers through SelectionChanging/Changed.
  virtual void SelectNode(TreeNode node) = 0;
  virtual void Repaint() = 0;
};

enum class PTreeOption : std::uint8_t { ptoDynamic, ptoAsTree, ptoNoTree, ptoNoRoot };

// The window styles of a look.
struct TreeLook {
  bool lines = false;
  bool rootLines = false;
  bool fullRowSelect = true;
  bool operator==(const TreeLook&) const = default;
};

// One entry of GetTags: a tagged item's tag as given, and its data.
struct TreeTag {
  std::string tag;
  int data = 0;
  bool operator==(const TreeTag&) const = default;
};

// A node caption: at most 255 characters; a longer text keeps its first 252
// and ends in "...". Counted in characters, so a UTF-8 sequence is never split.
[[nodiscard]] std::string TreeCaption(std::string_view text);

class TreeViewModel {
 public:
  explicit TreeViewModel(TreeNodeSink& sink);
  TreeViewModel(const TreeViewModel&) = delete;
  TreeViewModel& operator=(const TreeViewModel&) = delete;

  [[nodiscard]] PTreeItem& Root() { return *root_; }
  // The node's item; for kNoNode (or a node the model does not know) the root.
  [[nodiscard]] PTreeItem& GetItem(TreeNode node);

  // Gives every child of `item` a node, its ancestors' nodes first.
  void CreateNodes(PTreeItem& item);

  // ---- Properties.
  bool MultiSelect = false;
  bool NeedTag = false;
  bool NoDblClick = false;
  bool OrgFullCollapse = false;
  std::function<void(TreeViewModel&)> OnChanged;

  [[nodiscard]] PTreeOption TreeOption() const { return option_; }
  void SetTreeOption(PTreeOption option) { option_ = option; }
  void SetAsTree(bool asTree) { asTree_ = asTree; }
  [[nodiscard]] TreeLook Look() const;
  [[nodiscard]] bool GetAsTree() const { return !Look().fullRowSelect; }

  // ---- Selection.
  [[nodiscard]] PTreeItem* GetSelectedItem() const;
  void SetSelectedItem(PTreeItem& item);
  // Select the first tagged item whose tag equals `tag` ignoring case, or the
  // first item with `data`, depth first; nothing happens when none matches.
  void SetTag(std::string_view tag);
  void SetData(int data);
  [[nodiscard]] std::string GetTag() const;
  [[nodiscard]] int GetData() const;
  [[nodiscard]] bool GetHasTag() const;
  [[nodiscard]] std::string GetText() const;

  [[nodiscard]] int GetSelCount() const { return static_cast<int>(multi_.size()); }
  // Node i of the multiple selection, kNoNode outside the range.
  [[nodiscard]] TreeNode GetSel(int i) const;
  // The data of item i of the multiple selection, 0 outside the range.
  [[nodiscard]] int GetSelItem(int i) const;

  // Every tagged item's tag and data, each item before its children.
  [[nodiscard]] const std::vector<TreeTag>& GetTags();

  // ---- What the view forwards.
  // TVN_SELCHANGING: false keeps the current selection.
  [[nodiscard]] bool SelectionChanging(TreeNode node) const;
  // TVN_SELCHANGED, with the modifier keys held at the time.
  void SelectionChanged(TreeNode node, bool ctrl, bool shift);
  // TVN_ITEMEXPANDED.
  void Expanded(TreeNode node);
  void Collapsed(TreeNode node);
  // TVN_DELETEITEM: the platform dropped a node (the host deleted it).
  void NodeDeleted(TreeNode node);
  // Whether a double click reaches OnDblClick, and whether it toggles the node.
  [[nodiscard]] static bool DblClickReachesHost(bool onIcon) { return !onIcon; }
  [[nodiscard]] bool DblClickToggles(bool onIcon) const { return !NoDblClick && !onIcon; }

  void FullCollapse();
  void Clear();

  [[nodiscard]] const std::vector<TreeNode>& ExpandedNodes() const { return expanded_; }

 private:
  [[nodiscard]] PTreeItem* ItemOf(TreeNode node) const;
  void Select(PTreeItem& item);
  void Forget(TreeNode node);

  TreeNodeSink& sink_;
  std::unique_ptr<PTreeItem> root_;
  std::unordered_map<TreeNode, PTreeItem*> byNode_;
  std::vector<TreeNode> expanded_;
  std::vector<TreeNode> multi_;
  std::vector<TreeTag> tags_;
  TreeNode selected_ = kNoNode;
  PTreeOption option_ = PTreeOption::ptoDynamic;
  bool asTree_ = false;
};

}  // namespace orvalis::controls
