// Tree view: nodes made only when needed and in item order, selection by tag
// and data, the NeedTag guard, Ctrl/Shift selection, collapsing and the look.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/lists/ptreeview_model.h"

namespace orvalis::controls {
namespace {

// Stands in for the platform tree: numbers nodes, keeps each parent's node
// order, and answers a selection request the way the control's notifications do.
class FakeTree : public TreeNodeSink {
 public:
  struct Node {
    TreeNode parent;
    std::string caption;
  };
  TreeViewModel* model = nullptr;
  bool ctrl = false;
  bool shift = false;
  std::vector<Node> nodes{{}};  // index = node; 0 is none
  std::vector<std::vector<TreeNode>> order{{}};
  std::vector<TreeNode> collapsed;

  TreeNode InsertNode(TreeNode parent, TreeNode before, const std::string& caption, int, int, PTreeItem&) override {
    const TreeNode node = nodes.size();
    nodes.push_back({parent, caption});
    order.emplace_back();
    auto& list = order[parent];
    list.insert(before ? std::find(list.begin(), list.end(), before) : list.end(), node);
    return node;
  }
  void DeleteAllNodes() override {
    for (TreeNode n = 1; n < nodes.size(); ++n) model->NodeDeleted(n);
    for (auto& list : order) list.clear();
  }
  void CollapseNode(TreeNode node) override { collapsed.push_back(node); }
  void SelectNode(TreeNode node) override {
    if (model->SelectionChanging(node)) model->SelectionChanged(node, ctrl, shift);
  }
  void Repaint() override {}

  // The captions of a parent's nodes, in shown order.
  std::vector<std::string> Shown(TreeNode parent) const {
    std::vector<std::string> out;
    for (TreeNode n : order[parent]) out.push_back(nodes[n].caption);
    return out;
  }
};

// Root with P1 (a, b, c) and P2 (d, e, f); data 1..8 in that order; all tagged
// "T" + data except "b".
struct Fixture {
  FakeTree sink;
  TreeViewModel tree{sink};
  PTreeItem* item[9] = {};
  Fixture() {
    sink.model = &tree;
    int data = 0;
    const char* names[] = {"P1", "a", "b", "c", "P2", "d", "e", "f"};
    for (int p = 0; p < 2; ++p) {
      PTreeItem& parent = tree.Root().AddChild(names[p * 4], ++data);
      item[data] = &parent;
      for (int c = 1; c <= 3; ++c) {
        ++data;
        item[data] = &parent.AddChild(names[p * 4 + c], data);
      }
    }
    for (int d = 1; d <= 8; ++d)
      if (d != 3) item[d]->SetTag(std::string("T").append(std::to_string(d)));
  }
  void Click(int data, bool ctrl = false, bool shift = false) {
    sink.ctrl = ctrl;
    sink.shift = shift;
    tree.SetSelectedItem(*item[data]);
  }
  std::vector<int> Selection() const {
    std::vector<int> out;
    for (int i = 0; i < tree.GetSelCount(); ++i) out.push_back(tree.GetSelItem(i));
    return out;
  }
};

TEST(TreeCaption, LongCaptionsEndInDots) {
  const std::string e = "\xC3\xA9";  // é: two bytes, one character
  std::string e300, e252;
  for (int i = 0; i < 300; ++i) e300 += e;
  for (int i = 0; i < 252; ++i) e252 += e;
  struct Case {
    std::string text, caption;
  };
  const Case cases[] = {
      {"", ""},
      {std::string(255, 'x'), std::string(255, 'x')},
      {std::string(256, 'x'), std::string(252, 'x') + "..."},
      {std::string(300, 'x'), std::string(252, 'x') + "..."},
      {e300, e252 + "..."},
  };
  for (const auto& c : cases) EXPECT_EQ(TreeCaption(c.text), c.caption) << c.text.size();
}

TEST(TreeViewModel, NodesAreMadeWhenTheyAreAboutToShowInItemOrder) {
  Fixture f;
  f.item[6]->AddChild(std::string(300, 'g'), 9);
  f.tree.CreateNodes(f.tree.Root());
  EXPECT_EQ(f.sink.Shown(kNoNode), (std::vector<std::string>{"P1", "P2"}));
  EXPECT_EQ(f.sink.nodes.size(), 3u) << "children wait for their parent to open";

  f.tree.Expanded(f.item[5]->Node());
  EXPECT_EQ(f.sink.Shown(f.item[5]->Node()), (std::vector<std::string>{"d", "e", "f"}));
  EXPECT_EQ(f.sink.Shown(f.item[6]->Node()), (std::vector<std::string>{std::string(252, 'g') + "..."}))
      << "grandchildren get nodes so children show their buttons";

  // A node the platform dropped comes back in its place, before its next sibling.
  const TreeNode e = f.item[7]->Node();
  f.tree.NodeDeleted(e);
  std::erase(f.sink.order[f.item[5]->Node()], e);
  f.tree.Expanded(f.item[5]->Node());
  EXPECT_EQ(f.sink.Shown(f.item[5]->Node()), (std::vector<std::string>{"d", "e", "f"}));

  // Selecting a deep item makes its ancestors' nodes first.
  f.tree.SetSelectedItem(*f.item[3]);
  EXPECT_EQ(f.sink.Shown(f.item[1]->Node()), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(f.tree.GetText(), "b");
  EXPECT_EQ(&f.tree.GetItem(f.item[3]->Node()), f.item[3]);
  EXPECT_EQ(&f.tree.GetItem(kNoNode), &f.tree.Root());
}

TEST(TreeViewModel, SelectsByTagOrDataAndReadsTheSelection) {
  Fixture f;
  f.item[7]->SetTag("abc");
  f.item[8]->SetTag("ABCD");
  struct Case {
    const char* tag;  // nullptr: select by data
    int data;
    int selected;  // data of the selected item afterwards
  };
  const Case cases[] = {
      {"ABC", 0, 7}, {"abcd", 0, 8}, {"ab", 0, 8}, {"t2", 0, 2}, {nullptr, 3, 3}, {nullptr, 42, 3}, {"", 0, 3},
  };
  for (const auto& c : cases) {
    if (c.tag)
      f.tree.SetTag(c.tag);
    else
      f.tree.SetData(c.data);
    EXPECT_EQ(f.tree.GetData(), c.selected) << (c.tag ? c.tag : "data") << c.data;
  }
  EXPECT_FALSE(f.tree.GetHasTag());
  f.tree.SetTag("T6");
  EXPECT_EQ(f.tree.GetTag(), "T6");
  EXPECT_TRUE(f.tree.GetHasTag());
  EXPECT_EQ(f.tree.GetTags().size(), 7u);
  EXPECT_EQ(f.tree.GetTags()[1], (TreeTag{"T2", 2}));
  EXPECT_EQ(f.tree.GetTags()[2], (TreeTag{"T4", 4})) << "items before their children, untagged left out";
}

TEST(TreeViewModel, NeedTagKeepsTheSelectionOnAnUntaggedItem) {
  Fixture f;
  f.tree.NeedTag = true;
  f.Click(2);
  f.Click(3);
  EXPECT_EQ(f.tree.GetData(), 2);
  f.tree.NeedTag = false;
  f.Click(3);
  EXPECT_EQ(f.tree.GetData(), 3);
}

TEST(TreeViewModel, CtrlAndShiftBuildTheMultipleSelection) {
  struct Step {
    int data;
    bool ctrl, shift;
    std::vector<int> selection;
  };
  const std::vector<Step> steps = {
      {2, false, false, {2}},
      {4, false, true, {2, 3, 4}},
      {3, false, true, {2, 3}},
      {7, true, false, {2, 3, 7}},
      {3, true, false, {2, 7}},
      {8, false, false, {8}},
      {6, false, true, {8, 7, 6}},  // backwards: the anchor stays first
      {7, false, true, {8, 7}},
      {2, false, true, {2}},  // across parents: only the new node
      {3, true, false, {2, 3}},
      {2, true, false, {3}},
      {3, true, false, {3}},  // removing the last one takes it again
  };
  Fixture f;
  f.tree.MultiSelect = true;
  int changed = 0;
  f.tree.OnChanged = [&](TreeViewModel&) { ++changed; };
  for (const auto& s : steps) {
    f.Click(s.data, s.ctrl, s.shift);
    EXPECT_EQ(f.Selection(), s.selection) << "click on " << s.data;
  }
  EXPECT_EQ(changed, static_cast<int>(steps.size()));
  EXPECT_EQ(f.tree.GetSel(1), kNoNode);
  EXPECT_EQ(f.tree.GetSelItem(-1), 0);
}

TEST(TreeViewModel, FullCollapseSkipsNodesThatAreGone) {
  Fixture f;
  f.tree.CreateNodes(f.tree.Root());
  f.tree.Expanded(f.item[1]->Node());
  f.tree.Expanded(f.item[5]->Node());
  f.tree.Expanded(f.item[6]->Node());
  const TreeNode p1 = f.item[1]->Node(), p2 = f.item[5]->Node();
  f.tree.Collapsed(p1);
  f.tree.Expanded(p1);
  f.tree.NodeDeleted(f.item[6]->Node());  // the host deleted "d", expanded
  f.tree.FullCollapse();
  EXPECT_EQ(f.sink.collapsed, (std::vector<TreeNode>{p1, p2})) << "most recent first";
  EXPECT_TRUE(f.tree.ExpandedNodes().empty());

  f.tree.OrgFullCollapse = true;
  f.tree.Expanded(p1);
  EXPECT_TRUE(f.tree.ExpandedNodes().empty());
}

TEST(TreeViewModel, ClearDropsItemsNodesAndSelection) {
  Fixture f;
  f.tree.MultiSelect = true;
  f.Click(4);
  f.tree.Clear();
  EXPECT_TRUE(f.tree.Root().Children().empty());
  EXPECT_EQ(f.tree.GetSelectedItem(), nullptr);
  EXPECT_EQ(f.tree.GetSelCount(), 0);
  EXPECT_EQ(f.tree.GetText(), "");
  EXPECT_TRUE(f.sink.Shown(kNoNode).empty());
}

TEST(TreeViewModel, TreeOptionDecidesTheLook) {
  struct Case {
    PTreeOption option;
    bool asTree;
    TreeLook look;
  };
  const TreeLook tree{true, true, false}, list{false, false, true}, noRoot{true, false, false};
  const Case cases[] = {
      {PTreeOption::ptoDynamic, false, list},  {PTreeOption::ptoDynamic, true, tree},
      {PTreeOption::ptoAsTree, false, tree},   {PTreeOption::ptoNoTree, true, list},
      {PTreeOption::ptoNoRoot, false, noRoot},
  };
  FakeTree sink;
  TreeViewModel m(sink);
  EXPECT_FALSE(m.GetAsTree()) << "starts in the list look";
  for (const auto& c : cases) {
    m.SetTreeOption(c.option);
    m.SetAsTree(c.asTree);
    EXPECT_EQ(m.Look(), c.look) << static_cast<int>(c.option) << c.asTree;
    EXPECT_EQ(m.GetAsTree(), !c.look.fullRowSelect);
  }
}

}  // namespace
}  // namespace orvalis::controls
