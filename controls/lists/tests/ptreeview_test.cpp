// The tree view's window under Wine: nodes appear as their parents open, the
// platform's notifications reach the model (NeedTag guard, Ctrl/Shift clicks,
// deleted nodes) and long captions are cut on the node itself.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/lists/ptreeview.h"
#include "ui/form.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

class PTreeViewTest : public ::testing::Test {
 protected:
  // Root items P1 (a, b, c) and P2 (d, e (x)); every item tagged with its
  // caption upper-cased except "b".
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 320, 320);
    tree_ = std::make_unique<PTreeView>();
    tree_->SetParent(form_.get());
    tree_->SetBounds(8, 8, 280, 260);
    tree_->SetAsTree(true);
    tree_->OnChanged = [this](PTreeView&) { ++changes_; };
    const char* layout[][4] = {{"P1", "a", "b", "c"}, {"P2", "d", "e", nullptr}};
    for (const auto& row : layout) {
      PTreeItem& parent = Add(tree_->Root(), row[0]);
      for (int i = 1; i < 4 && row[i]; ++i) Add(parent, row[i]);
    }
    Add(*items_["e"], "x");
    form_->Show();
    tree_->CreateNodes(tree_->Root());
  }
  void TearDown() override {
    tree_.reset();
    form_.reset();
  }

  PTreeItem& Add(PTreeItem& parent, const std::string& text) {
    PTreeItem& item = parent.AddChild(text, static_cast<int>(items_.size()) + 1);
    if (text != "b") {
      std::string tag = text;
      for (char& c : tag) c = static_cast<char>(c - ('a' <= c && c <= 'z' ? 32 : 0));
      item.SetTag(tag);
    }
    items_[text] = &item;
    return item;
  }
  HWND Hwnd() { return tree_->Handle(); }
  HTREEITEM Node(const char* text) { return PTreeView::NodeOf(*items_.at(text)); }
  std::wstring Caption(HTREEITEM node) {
    wchar_t text[512] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = 512;
    ::SendMessageW(Hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // A mouse click on a node's caption with MK_ keys; the button-up waits in
  // the queue for the platform's own mouse tracking.
  void Click(const char* text, WPARAM keys = 0, UINT press = WM_LBUTTONDOWN) {
    RECT r{};
    ASSERT_TRUE(TreeView_GetItemRect(Hwnd(), Node(text), &r, TRUE)) << text;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::PostMessageW(Hwnd(), WM_LBUTTONUP, keys, at);
    ::SendMessageW(Hwnd(), press, keys | MK_LBUTTON, at);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  std::string SelectedTags() {
    std::string tags;
    for (int i = 0; i < tree_->GetSelCount(); ++i) {
      if (i) tags += ',';
      tags += tree_->GetItem(tree_->GetSel(i)).Tag();
    }
    return tags;
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PTreeView> tree_;
  std::map<std::string, PTreeItem*> items_;
  int changes_ = 0;
};

TEST_F(PTreeViewTest, NodesAreMadeWhenTheirParentOpensAndForgottenWhenDeleted) {
  EXPECT_EQ(::SendMessageW(Hwnd(), TVM_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Node("a"), nullptr);
  TVITEMW info{};
  info.mask = TVIF_CHILDREN;
  info.hItem = Node("P1");
  ::SendMessageW(Hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.cChildren, 1) << "an unopened parent shows its button";

  // Opened through the platform, as a click on the button does.
  TreeView_Expand(Hwnd(), Node("P2"), TVE_EXPAND);
  EXPECT_EQ(Node("a"), nullptr);
  ASSERT_NE(Node("d"), nullptr);
  EXPECT_NE(Node("x"), nullptr) << "grandchildren give the children their buttons";
  EXPECT_EQ(::SendMessageW(Hwnd(), TVM_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(Caption(TreeView_GetChild(Hwnd(), Node("P2"))), L"d");
  EXPECT_EQ(&tree_->GetItem(TreeView_GetNextSibling(Hwnd(), Node("d"))), items_["e"]);
  tree_->Expand(Node("P1"));
  EXPECT_EQ(tree_->GetNodes().size(), 8u);

  // The host deletes an opened node: its items lose their nodes and the full
  // collapse passes it by.
  TreeView_DeleteItem(Hwnd(), Node("P2"));
  EXPECT_EQ(Node("P2"), nullptr);
  EXPECT_EQ(Node("x"), nullptr);
  tree_->FullCollapse();
  EXPECT_EQ(TreeView_GetItemState(Hwnd(), Node("P1"), TVIS_EXPANDED), 0u);

  tree_->Clear();
  EXPECT_EQ(::SendMessageW(Hwnd(), TVM_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(tree_->Root().Children().empty());
  EXPECT_EQ(tree_->GetSelectedItem(), nullptr);
}

TEST_F(PTreeViewTest, DoubleClickTogglesUnlessNoDblClick) {
  int doubleClicks = 0;
  tree_->OnDblClick = [&](PTreeView&) { ++doubleClicks; };
  const struct {
    bool noDblClick;
    UINT expanded;
  } cases[] = {{false, TVIS_EXPANDED}, {true, TVIS_EXPANDED}, {false, 0}};
  for (const auto& c : cases) {
    tree_->SetNoDblClick(c.noDblClick);
    Click("P1", 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(TreeView_GetItemState(Hwnd(), Node("P1"), TVIS_EXPANDED) & TVIS_EXPANDED, c.expanded) << c.noDblClick;
  }
  EXPECT_EQ(doubleClicks, 3) << "a double click on the caption reaches the host";
  EXPECT_NE(Node("a"), nullptr);
}

TEST_F(PTreeViewTest, NeedTagAndModifierClicksReachTheSelection) {
  tree_->SetNeedTag(true);
  tree_->SetMultiSelect(true);
  tree_->Expand(Node("P1"));
  tree_->Expand(Node("P2"));
  const struct {
    const char* click;
    WPARAM keys;
    const char* tags;
    const char* platform;  // the node the tree itself holds as selected
  } steps[] = {
      {"a", 0, "A", "a"},
      {"b", 0, "A", "a"},                // untagged: the selection stays
      {"b", MK_CONTROL, "A", "a"},       // not even added
      {"c", MK_CONTROL, "A,C", "c"},
      {"a", MK_CONTROL, "C", "a"},       // a second Ctrl click takes it out
      {"P1", MK_SHIFT, "P1", "P1"},      // another parent: only the new node
      {"c", 0, "C", "c"},
      {"a", MK_SHIFT, "C,,A", "a"},      // siblings from the first to the new one
      {"d", MK_SHIFT, "D", "d"},
  };
  ::SetFocus(Hwnd());  // the platform may select the first node on focus
  int expectedChanges = changes_;
  for (const auto& s : steps) {
    const bool tagged = std::string(s.click) != "b";
    Click(s.click, s.keys);
    expectedChanges += tagged ? 1 : 0;
    EXPECT_EQ(SelectedTags(), s.tags) << s.click << " " << s.keys;
    EXPECT_EQ(TreeView_GetSelection(Hwnd()), Node(s.platform)) << s.click;
    EXPECT_EQ(changes_, expectedChanges) << s.click;
  }
  tree_->SetTag("p2");
  EXPECT_EQ(tree_->GetText(), "P2");
  EXPECT_EQ(tree_->GetData(), items_["P2"]->Data);
}

TEST_F(PTreeViewTest, LongCaptionIsCutOnTheNode) {
  std::string text;
  for (int i = 0; i < 252; ++i) text += static_cast<char>('0' + i % 10);
  text += std::string(48, 'z');
  ASSERT_EQ(text.size(), 300u);
  items_["c"]->Text = text;
  tree_->SetSelectedItem(*items_["c"]);
  EXPECT_EQ(tree_->GetText(), text) << "the host reads the whole text";
  EXPECT_EQ(Caption(Node("c")), win::Wide(text.substr(0, 252) + "..."));
  EXPECT_EQ(Caption(Node("a")), L"a");
}

}  // namespace
}  // namespace orvalis::controls
