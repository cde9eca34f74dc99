// PTreeView: SysTreeView32 notifications turned into model calls, and the
// model's node requests turned into tree messages.
#include "controls/lists/ptreeview.h"

#include <windowsx.h>

#include <utility>

#include "ui/gdi_canvas.h"
#include "win/scope_exit.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

constexpr DWORD kLookStyles = TVS_HASLINES | TVS_LINESATROOT | TVS_FULLROWSELECT;

// The tree sends the A or the W codes depending on its parent's format; the
// fields read here sit at the same places in both structures.
bool Is(UINT code, UINT wide, UINT ansi) { return code == wide || code == ansi; }

bool Expanding(UINT action) { return (action & (TVE_EXPAND | TVE_COLLAPSE)) == TVE_EXPAND; }

}  // namespace

PTreeView::PTreeView() {
  color_ = ui::SystemColor(COLOR_WINDOW);
  model_.OnChanged = [this](TreeViewModel&) {
    if (OnChanged) OnChanged(*this);
  };
}

PTreeView::~PTreeView() {
  deleting_ = true;
  OnChanged = nullptr;
  DestroyHandle();
}

void PTreeView::MakeCreateParams(CreateParams& params) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
  WinControl::MakeCreateParams(params);
  params.className = WC_TREEVIEWW;
  params.systemClass = true;
  // No dragging: a press on a node selects it at once.
  params.style |= TVS_HASBUTTONS | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | LookStyle();
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void PTreeView::HandleCreated() { SetColor(color_); }

// ---------------------------------------------------------------- look

DWORD PTreeView::LookStyle() const {
  const TreeLook look = model_.Look();
  DWORD style = 0;
  if (look.lines) style |= TVS_HASLINES;
  if (look.rootLines) style |= TVS_LINESATROOT;
  if (look.fullRowSelect) style |= TVS_FULLROWSELECT;
  return style;
}

void PTreeView::ApplyLook() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  const auto style = DWORD(::GetWindowLongPtrW(hwnd, GWL_STYLE));
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, LONG_PTR((style & ~kLookStyles) | LookStyle()));
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void PTreeView::SetTreeOption(PTreeOption option) {
  model_.SetTreeOption(option);
  ApplyLook();
}

void PTreeView::SetAsTree(bool asTree) {
  model_.SetAsTree(asTree);
  ApplyLook();
}

void PTreeView::SetMultiSelect(bool on) {
  model_.MultiSelect = on;
  Repaint();
}

void PTreeView::SetColor(ui::Color color) {
  ui::Control::SetColor(color);
  // The system's window colour is the tree's own default (-1), which follows
  // colour scheme changes.
  if (HWND hwnd = HandleIfCreated())
    ::SendMessageW(hwnd, TVM_SETBKCOLOR, 0,
                   color == ui::SystemColor(COLOR_WINDOW) ? LPARAM(-1) : LPARAM(ui::ResolveColor(color)));
}

// ---------------------------------------------------------------- nodes

std::vector<HTREEITEM> PTreeView::GetNodes() const {
  std::vector<HTREEITEM> nodes;
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return nodes;
  // Depth first without recursion: down to the first child, else the next
  // sibling of the nearest node that has one.
  HTREEITEM node = TreeView_GetRoot(hwnd);
  while (node) {
    nodes.push_back(node);
    HTREEITEM next = TreeView_GetChild(hwnd, node);
    for (HTREEITEM up = node; !next && up; up = TreeView_GetParent(hwnd, up)) next = TreeView_GetNextSibling(hwnd, up);
    node = next;
  }
  return nodes;
}

TreeNode PTreeView::InsertNode(TreeNode parent, TreeNode before, const std::string& caption, int image,
                               int selectedImage, PTreeItem& item) {
  HWND hwnd = Handle();
  if (!hwnd) return kNoNode;
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent == kNoNode ? TVI_ROOT : ToHandle(parent);
  if (before == kNoNode) {
    insert.hInsertAfter = TVI_LAST;
  } else {
    HTREEITEM previous = TreeView_GetPrevSibling(hwnd, ToHandle(before));
    insert.hInsertAfter = previous ? previous : TVI_FIRST;
  }
  std::wstring text = win::Wide(caption);
  TVITEMW& tv = insert.item;
  tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  tv.pszText = text.data();
  tv.iImage = image;
  tv.iSelectedImage = selectedImage;
  tv.lParam = reinterpret_cast<LPARAM>(&item);
  // An item with children shows its expand button before their nodes exist.
  tv.cChildren = item.Children().empty() ? 0 : 1;
  return ToNode(reinterpret_cast<HTREEITEM>(::SendMessageW(hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
}

void PTreeView::DeleteAllNodes() {
  HWND hwnd = HandleIfCreated();
  if (!hwnd) return;
  const bool was = std::exchange(deleting_, true);
  win::scope_exit restore([&] { deleting_ = was; });
  TreeView_DeleteAllItems(hwnd);
}

void PTreeView::CollapseNode(TreeNode node) {
  if (HWND hwnd = HandleIfCreated()) TreeView_Expand(hwnd, ToHandle(node), TVE_COLLAPSE);
}

void PTreeView::SelectNode(TreeNode node) {
  if (HWND hwnd = Handle()) TreeView_SelectItem(hwnd, ToHandle(node));
}

void PTreeView::Repaint() {
  if (HWND hwnd = HandleIfCreated()) ::InvalidateRect(hwnd, nullptr, TRUE);
}

// A message-made expansion does not always notify (the platform sends its
// notifications only the first time), so the model hears of it here.
void PTreeView::Expand(HTREEITEM node) {
  model_.Expanded(ToNode(node));
  if (HWND hwnd = HandleIfCreated()) TreeView_Expand(hwnd, node, TVE_EXPAND);
}

void PTreeView::Collapse(HTREEITEM node) {
  if (HWND hwnd = HandleIfCreated()) TreeView_Expand(hwnd, node, TVE_COLLAPSE);
  model_.Collapsed(ToNode(node));
}

void PTreeView::Clear() {
  const bool was = std::exchange(deleting_, true);
  win::scope_exit restore([&] { deleting_ = was; });
  model_.Clear();
}

// ---------------------------------------------------------------- messages

bool PTreeView::InMultiSelection(HTREEITEM node) const {
  for (int i = 0; i < model_.GetSelCount(); ++i)
    if (model_.GetSel(i) == ToNode(node)) return true;
  return false;
}

// With MultiSelect the model's list is what shows as selected, whichever node
// the platform holds as its own selection.
LRESULT PTreeView::CustomDraw(NMTVCUSTOMDRAW& draw) const {
  if (!model_.MultiSelect) return CDRF_DODEFAULT;
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  if (InMultiSelection(reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec))) {
    draw.clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
  } else {
    const auto background = COLORREF(::SendMessageW(draw.nmcd.hdr.hwndFrom, TVM_GETBKCOLOR, 0, 0));
    draw.clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    draw.clrTextBk = background == COLORREF(-1) ? ::GetSysColor(COLOR_WINDOW) : background;
  }
  draw.nmcd.uItemState &= ~UINT(CDIS_SELECTED);
  return CDRF_NEWFONT;
}

bool PTreeView::Notify(const NMHDR& header, LRESULT& result) {
  const auto& tree = reinterpret_cast<const NMTREEVIEWW&>(header);
  const UINT code = header.code;
  if (Is(code, TVN_SELCHANGINGW, TVN_SELCHANGINGA)) {
    // TRUE keeps the current selection.
    result = deleting_ || model_.SelectionChanging(ToNode(tree.itemNew.hItem)) ? FALSE : TRUE;
    return true;
  }
  if (Is(code, TVN_SELCHANGEDW, TVN_SELCHANGEDA)) {
    // A click counts with the keys held at its button-down; a key with the
    // keyboard's state; a selection the program made with neither.
    bool ctrl = false;
    bool shift = false;
    if (mouseDown_) {
      ctrl = (mouseKeys_ & MK_CONTROL) != 0;
      shift = (mouseKeys_ & MK_SHIFT) != 0;
    } else if (tree.action == TVC_BYKEYBOARD) {
      ctrl = ::GetKeyState(VK_CONTROL) < 0;
      shift = ::GetKeyState(VK_SHIFT) < 0;
    }
    model_.SelectionChanged(ToNode(tree.itemNew.hItem), ctrl, shift);
    result = 0;
    return true;
  }
  if (Is(code, TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDINGA)) {
    // The children's nodes must exist before the platform opens the node.
    if (Expanding(tree.action)) model_.Expanded(ToNode(tree.itemNew.hItem));
    result = FALSE;
    return true;
  }
  if (Is(code, TVN_ITEMEXPANDEDW, TVN_ITEMEXPANDEDA)) {
    if (Expanding(tree.action))
      model_.Expanded(ToNode(tree.itemNew.hItem));
    else
      model_.Collapsed(ToNode(tree.itemNew.hItem));
    result = 0;
    return true;
  }
  if (Is(code, TVN_DELETEITEMW, TVN_DELETEITEMA)) {
    model_.NodeDeleted(ToNode(tree.itemOld.hItem));
    result = 0;
    return true;
  }
  if (code == UINT(NM_CUSTOMDRAW)) {
    result = CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    return true;
  }
  if (code == UINT(NM_DBLCLK)) {
    TVHITTESTINFO hit{};
    hit.pt = doubleClickAt_;
    ::SendMessageW(header.hwndFrom, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const bool onIcon = (hit.flags & TVHT_ONITEMICON) != 0;
    const bool toggles = model_.DblClickToggles(onIcon);
    if (TreeViewModel::DblClickReachesHost(onIcon) && OnDblClick) OnDblClick(*this);
    result = toggles ? 0 : 1;  // non-zero: no expand or collapse
    return true;
  }
  return false;
}

void PTreeView::WndProc(ui::Message& m) {
  switch (m.msg) {
    case ui::CN_NOTIFY:
      if (Notify(*reinterpret_cast<const NMHDR*>(m.lParam), m.result)) return;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The platform selects inside its button-down handling.
      if (m.msg == WM_LBUTTONDBLCLK) doubleClickAt_ = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      const bool was = std::exchange(mouseDown_, true);
      mouseKeys_ = m.wParam;
      win::scope_exit restore([&] { mouseDown_ = was; });
      ui::WinControl::WndProc(m);
      return;
    }
    case WM_GETDLGCODE:
      if (const auto* msg = reinterpret_cast<const MSG*>(m.lParam); msg && msg->message == WM_KEYDOWN && OnKeyDown)
        OnKeyDown(*this, unsigned(msg->wParam));
      break;
    default:
      break;
  }
  ui::WinControl::WndProc(m);
}

}  // namespace orvalis::controls
