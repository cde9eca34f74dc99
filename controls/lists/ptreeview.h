// PTreeView: the tree view's window, a SysTreeView32 around TreeViewModel
// (which holds every rule). The host fills Root() with items and calls
// CreateNodes(Root()); further nodes are made as their parents open.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/lists/ptreeview_model.h"
#include "ui/control.h"

namespace orvalis::controls {

class PTreeView : public ui::WinControl, private TreeNodeSink {
 public:
  PTreeView();
  // The window goes while the model still exists: its node deletions reach it.
  ~PTreeView() override;

  // ---- Items and nodes.
  [[nodiscard]] PTreeItem& Root() { return model_.Root(); }
  // The node's item; for no node, the root.
  [[nodiscard]] PTreeItem& GetItem(HTREEITEM node) { return model_.GetItem(ToNode(node)); }
  [[nodiscard]] static HTREEITEM NodeOf(const PTreeItem& item) { return ToHandle(item.Node()); }
  void CreateNodes(PTreeItem& item) { model_.CreateNodes(item); }
  // Every platform node made so far, in tree order.
  [[nodiscard]] std::vector<HTREEITEM> GetNodes() const;

  void Expand(HTREEITEM node);
  void Collapse(HTREEITEM node);
  void FullCollapse() { model_.FullCollapse(); }
  void Clear();

  // ---- Selection.
  [[nodiscard]] PTreeItem* GetSelectedItem() const { return model_.GetSelectedItem(); }
  void SetSelectedItem(PTreeItem& item) { model_.SetSelectedItem(item); }
  void SetTag(std::string_view tag) { model_.SetTag(tag); }
  [[nodiscard]] std::string GetTag() const { return model_.GetTag(); }
  void SetData(int data) { model_.SetData(data); }
  [[nodiscard]] int GetData() const { return model_.GetData(); }
  [[nodiscard]] bool GetHasTag() const { return model_.GetHasTag(); }
  [[nodiscard]] std::string GetText() const { return model_.GetText(); }
  [[nodiscard]] int GetSelCount() const { return model_.GetSelCount(); }
  [[nodiscard]] HTREEITEM GetSel(int i) const { return ToHandle(model_.GetSel(i)); }
  [[nodiscard]] int GetSelItem(int i) const { return model_.GetSelItem(i); }
  [[nodiscard]] const std::vector<TreeTag>& GetTags() { return model_.GetTags(); }

  // ---- Properties.
  [[nodiscard]] PTreeOption GetTreeOption() const { return model_.TreeOption(); }
  void SetTreeOption(PTreeOption option);
  [[nodiscard]] bool GetAsTree() const { return model_.GetAsTree(); }
  void SetAsTree(bool asTree);
  [[nodiscard]] bool GetMultiSelect() const { return model_.MultiSelect; }
  void SetMultiSelect(bool on);
  [[nodiscard]] bool GetNeedTag() const { return model_.NeedTag; }
  void SetNeedTag(bool on) { model_.NeedTag = on; }
  [[nodiscard]] bool GetNoDblClick() const { return model_.NoDblClick; }
  void SetNoDblClick(bool on) { model_.NoDblClick = on; }
  [[nodiscard]] bool GetOrgFullCollapse() const { return model_.OrgFullCollapse; }
  void SetOrgFullCollapse(bool on) { model_.OrgFullCollapse = on; }
  // The background; raises no OnChanged.
  void SetColor(ui::Color color) override;

  // Stored only.
  bool StoreInFile = true;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool QQ = false;

  std::function<void(PTreeView&)> OnChanged;
  // A double click that is not on a node's icon.
  std::function<void(PTreeView&)> OnDblClick;
  // A key the dialog manager asks the tree about, before it answers.
  std::function<void(PTreeView&, unsigned key)> OnKeyDown;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void WndProc(ui::Message& m) override;

 private:
  [[nodiscard]] static TreeNode ToNode(HTREEITEM node) { return reinterpret_cast<TreeNode>(node); }
  [[nodiscard]] static HTREEITEM ToHandle(TreeNode node) { return reinterpret_cast<HTREEITEM>(node); }

  // TreeNodeSink.
  TreeNode InsertNode(TreeNode parent, TreeNode before, const std::string& caption, int image, int selectedImage,
                      PTreeItem& item) override;
  void DeleteAllNodes() override;
  void CollapseNode(TreeNode node) override;
  void SelectNode(TreeNode node) override;
  void Repaint() override;

  [[nodiscard]] DWORD LookStyle() const;
  void ApplyLook();
  bool Notify(const NMHDR& header, LRESULT& result);
  [[nodiscard]] LRESULT CustomDraw(NMTVCUSTOMDRAW& draw) const;
  [[nodiscard]] bool InMultiSelection(HTREEITEM node) const;

  TreeViewModel model_{*this};
  // Deleting nodes: the platform moves the selection and must not be stopped.
  bool deleting_ = false;
  // While a mouse button is down: the MK_ flags of that message.
  bool mouseDown_ = false;
  WPARAM mouseKeys_ = 0;
  POINT doubleClickAt_{-1, -1};
};

}  // namespace orvalis::controls
