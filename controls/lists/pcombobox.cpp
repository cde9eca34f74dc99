// The tagged combo box's window: the model's captions and data in a drop-down
// list, its selection both ways, and the selected item's hint as tool tip.
#include "controls/lists/pcombobox.h"

#include "win/wide.h"

namespace orvalis::controls {
namespace {

// A drop-down list's window height includes its list: room for this many rows
// below the closed box.
constexpr int kDropDownRows = 8;

}  // namespace

PComboBox::PComboBox() {
  color_ = ui::SystemColor(COLOR_WINDOW);
  SetSize(145, 21);
}

void PComboBox::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"COMBOBOX";
  params.systemClass = true;
  params.style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
}

void PComboBox::HandleCreated() {
  BoundsChanged();
  Reload();
}

void PComboBox::BoundsChanged() {
  HWND h = HandleIfCreated();
  if (!h) return;
  int row = int(::SendMessageW(h, CB_GETITEMHEIGHT, 0, 0));
  if (row <= 0) row = Height();
  ::MoveWindow(h, Left(), Top(), Width(), Height() + kDropDownRows * row + 2, TRUE);
}

void PComboBox::Reload() {
  HWND h = HandleIfCreated();
  if (!h) return;
  ::SendMessageW(h, CB_RESETCONTENT, 0, 0);
  for (const auto& item : model_.Items()) {
    const std::wstring caption = win::Wide(item.caption);
    const LRESULT at = ::SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    if (at >= 0) ::SendMessageW(h, CB_SETITEMDATA, WPARAM(at), LPARAM(item.data));
  }
  ShowSelection();
}

void PComboBox::ShowSelection() {
  if (HWND h = HandleIfCreated()) ::SendMessageW(h, CB_SETCURSEL, WPARAM(model_.GetPItemIndex()), 0);
  ApplyHint();
}

void PComboBox::ApplyHint() {
  if (model_.ShowHint()) SetHint(model_.HintText());
  SetShowHint(model_.ShowHint());
}

void PComboBox::Add(std::string caption, int data) {
  model_.Add(std::move(caption), data);
  Reload();
}

bool PComboBox::AddTag(std::string caption, std::string tag, int data) {
  if (!model_.AddTag(std::move(caption), std::move(tag), data)) return false;
  Reload();
  return true;
}

bool PComboBox::AddTag(std::string caption, std::string tag, std::string hint) {
  if (!model_.AddTag(std::move(caption), std::move(tag), std::move(hint))) return false;
  Reload();
  return true;
}

bool PComboBox::InsertTag(int index, std::string caption, std::string tag) {
  if (!model_.InsertTag(index, std::move(caption), std::move(tag))) return false;
  Reload();
  return true;
}

bool PComboBox::InsertTag(int index, std::string caption, std::string tag, std::string hint) {
  if (!model_.InsertTag(index, std::move(caption), std::move(tag), std::move(hint))) return false;
  Reload();
  return true;
}

bool PComboBox::Delete(int data) {
  if (!model_.Delete(data)) return false;
  Reload();
  return true;
}

bool PComboBox::Delete(std::string_view tag) {
  if (!model_.Delete(tag)) return false;
  Reload();
  return true;
}

bool PComboBox::Rename(int data, std::string caption) {
  if (!model_.Rename(data, std::move(caption))) return false;
  Reload();
  return true;
}

bool PComboBox::Rename(std::string_view tag, std::string caption) {
  if (!model_.Rename(tag, std::move(caption))) return false;
  Reload();
  return true;
}

void PComboBox::SetTagList(std::vector<std::string> tags) { model_.SetTagList(std::move(tags)); }

void PComboBox::SetHintList(std::vector<std::string> hints) {
  model_.SetHintList(std::move(hints));
  model_.SetPItemIndex(model_.GetPItemIndex());
  ApplyHint();
}

void PComboBox::SetTag(std::string_view tag) {
  model_.SetTag(tag);
  ShowSelection();
}

void PComboBox::SetData(int data) {
  model_.SetData(data);
  ShowSelection();
}

void PComboBox::SetPItemIndex(int index) {
  model_.SetPItemIndex(index);
  ShowSelection();
}

void PComboBox::Assign(const PComboBox& source) {
  model_.Assign(source.model_);
  Reload();
}

void PComboBox::Clear() {
  model_.Clear();
  Reload();
}

void PComboBox::WndProc(ui::Message& m) {
  switch (m.msg) {
    case ui::CN_COMMAND:
      if (HIWORD(m.wParam) == CBN_SELCHANGE) {
        // The user's choice: the hint rule first, then the click and change events.
        model_.SetPItemIndex(int(::SendMessageW(HandleIfCreated(), CB_GETCURSEL, 0, 0)));
        ApplyHint();
        Click();
        if (OnChange) OnChange(*this);
        m.result = 0;
        return;
      }
      break;
    case CB_SETCURSEL:
      // A position set on the window directly (not through the setters) is the
      // selection too, so Tag and Data never read a stale item.
      WinControl::WndProc(m);
      if (int(m.wParam) != model_.GetPItemIndex()) {
        model_.SetPItemIndex(int(m.wParam));
        ApplyHint();
      }
      return;
    default: break;
  }
  WinControl::WndProc(m);
}

}  // namespace orvalis::controls
