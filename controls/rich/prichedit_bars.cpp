// The rich text editor's commands on the Win32 side: tool bar, ruler, keys and
// typing rules, context and drop-down menus, find dialog and printing.
#include "controls/rich/prichedit_bars.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/dialogs/color_select.h"
#include "controls/rich/prichedit.h"
#include "services/settings.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/program_starter.h"
#include "win/gdi.h"
#include "win/module.h"
#include "win/scope_exit.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

constexpr int kFirstCommand = 100;
constexpr int kSeparatorWidth = 8;
constexpr int kFontNameWidth = 130;
constexpr int kFontSizeWidth = 50;
constexpr char kSettingsSection[] = "Settings";
constexpr char kEditorColorValue[] = "TextEditorColor";

LRESULT SendTo(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return window ? ::SendMessageW(window, msg, wParam, lParam) : 0;
}

bool Dutch(const PRichEdit& rtf) { return rtf.GetLanguage() == "NLD"; }

int ScreenDpiX() {
  win::window_dc screen(nullptr);
  return screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
}

std::u16string_view Utf16(const std::wstring& text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "the window's text is UTF-16");
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// Fills the process-wide pop-up menu with the shown entries.
void FillPopup(const std::vector<MenuEntry>& items) {
  ui::ClearPopupMenu();
  for (const MenuEntry& e : items) {
    if (!e.shown) continue;
    const int state = (e.enabled ? 0 : ui::kPopupDisabled) | (e.checked ? ui::kPopupChecked : 0);
    if (e.parent < 0) ui::AddPopupItem(e.tag, e.caption, state);
    else ui::AddPopupSubItem(e.parent, e.tag, e.caption, -1, state);
  }
}

// Shows the filled pop-up menu below a rectangle of `window`; the chosen tag or -1.
int TrackBelow(HWND window, const RECT& r) {
  HMENU menu = ui::PopupMenuHandle();
  if (!menu || ::GetMenuItemCount(menu) <= 0) return -1;
  POINT p{r.left, r.bottom};
  ::ClientToScreen(window, &p);
  TPMPARAMS exclude{sizeof exclude, r};
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&exclude.rcExclude), 2);
  const UINT command = UINT(::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_VERTICAL,
                                               p.x, p.y, window, &exclude));
  return command ? ui::PopupTagOfCommand(command) : -1;
}

CHARFORMATW SelectionFormat(HWND inner) {
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_ALL;
  SendTo(inner, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  return format;
}

PARAFORMAT2 ParagraphFormat(HWND inner) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof format;
  SendTo(inner, EM_GETPARAFORMAT, 0, LPARAM(&format));
  return format;
}

void SetParagraph(HWND inner, PARAFORMAT2 format, DWORD mask) {
  format.cbSize = sizeof format;
  format.dwMask = mask;
  SendTo(inner, EM_SETPARAFORMAT, 0, LPARAM(&format));
}

CHARRANGE Selection(HWND inner) {
  CHARRANGE range{};
  SendTo(inner, EM_EXGETSEL, 0, LPARAM(&range));
  return range;
}

void Select(HWND inner, LONG start, LONG end) {
  CHARRANGE range{start, end};
  SendTo(inner, EM_EXSETSEL, 0, LPARAM(&range));
}

int CALLBACK AddFontName(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* box = reinterpret_cast<RichComboBox*>(data);
  if (font->lfFaceName[0] != L'@') box->AddItem(win::Narrow(font->lfFaceName));  // no vertical faces
  return 1;
}

// The find dialog: the last text and settings; true on "Ok".
bool ShowFindDialog(HWND inner, RichEditorBars& bars) {
  ui::Form form;
  form.SetName("frmFind");
  form.SetCaption("Find");
  form.SetBorderStyle(ui::BorderStyle::Dialog);
  ui::EditBox text;
  text.SetName("edtFind");
  text.SetParent(&form);
  text.SetBounds(8, 8, 226, 21);
  text.SetText(bars.findText);
  ui::CheckBox matchCase, searchUp;
  matchCase.SetName("chkMatchCase");
  matchCase.SetCaption("Match Case");
  matchCase.SetBounds(8, 36, 110, 17);
  matchCase.SetChecked(bars.matchCase);
  searchUp.SetName("chkSearchUp");
  searchUp.SetCaption("Search Up");
  searchUp.SetBounds(124, 36, 110, 17);
  searchUp.SetChecked(bars.searchUp);
  ui::Button cancel, ok;
  cancel.SetName("btnCancel");
  cancel.SetCaption("Cancel");
  cancel.SetCancel(true);
  cancel.SetModalResult(ui::mrCancel);
  cancel.SetBounds(78, 60, 75, 25);
  ok.SetName("btnOk");
  ok.SetCaption("Ok");
  ok.SetDefault(true);
  ok.SetModalResult(ui::mrOk);
  ok.SetBounds(159, 60, 75, 25);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&matchCase, &searchUp, &cancel, &ok}) c->SetParent(&form);
  // 250 pixels wide, centred over the inner window.
  form.SetClientSize(242, 93);
  RECT over{};
  ::GetWindowRect(inner, &over);
  const int width = 250, height = form.Height() > 0 ? form.Height() : 122;
  form.SetBounds((over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, width, height);
  if (form.ShowModal() != ui::mrOk) return false;
  bars.findText = text.Text();
  bars.matchCase = matchCase.Checked();
  bars.searchUp = searchUp.Checked();
  bars.findEntered = true;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- RichComboBox

void RichComboBox::MakeCreateParams(CreateParams& params) {
  params.className = WC_COMBOBOXW;
  params.systemClass = true;
  params.style = WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | (sorted_ ? CBS_SORT : 0);
}

void RichComboBox::WndProc(ui::Message& m) {
  if (m.msg == ui::CN_COMMAND && HIWORD(m.wParam) == CBN_SELCHANGE) {
    if (OnChange) OnChange();
    m.result = 0;
    return;
  }
  WinControl::WndProc(m);
}

void RichComboBox::AddItem(const std::string& text) {
  const std::wstring wide = win::Wide(text);
  if (SendTo(HandleIfCreated(), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(wide.c_str())) == CB_ERR)
    SendTo(HandleIfCreated(), CB_ADDSTRING, 0, LPARAM(wide.c_str()));
}

void RichComboBox::ShowText(const std::string& text) {
  const std::wstring wide = win::Wide(text);
  const LRESULT index =
      text.empty() ? CB_ERR : SendTo(HandleIfCreated(), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(wide.c_str()));
  SendTo(HandleIfCreated(), CB_SETCURSEL, WPARAM(index), 0);
}

std::string RichComboBox::SelectedText() const {
  HWND box = HandleIfCreated();
  const LRESULT index = SendTo(box, CB_GETCURSEL);
  if (index == CB_ERR) return {};
  const LRESULT length = SendTo(box, CB_GETLBTEXTLEN, WPARAM(index));
  if (length <= 0) return {};
  std::wstring text(std::size_t(length) + 1, L'\0');
  SendTo(box, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
  text.resize(std::size_t(length));
  return win::Narrow(text);
}

// ---------------------------------------------------------------- RichToolBar

RichToolBar::RichToolBar(PRichEdit& owner) : owner_(owner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  SetName("ToolBar");
  fontName_.SetName("Fontname");
  fontSize_.SetName("Fontsize");
  fontName_.SetParent(this);
  fontSize_.SetParent(this);
}

int RichToolBar::CommandId(ToolCommand command) {
  const auto& items = ToolItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].command == command) return kFirstCommand + int(i);
  return -1;
}

void RichToolBar::MakeCreateParams(CreateParams& params) {
  params.className = TOOLBARCLASSNAMEW;
  params.systemClass = true;
  params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                 CCS_NORESIZE | CCS_NOPARENTALIGN;
}

void RichToolBar::HandleCreated() {
  HWND bar = HandleIfCreated();
  SendTo(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  // The images: 16 x 16 each, white is transparent. A 24-bit list with a mask:
  // loaded as it is, the 16-colour bitmap gives a list whose black glyph pixels
  // some comctl32 versions draw as transparent.
  images_.reset(::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 21, 0));
  win::unique_hbitmap strip(static_cast<HGDIOBJ>(
      ::LoadImageW(win::ThisModule(), L"PRichEdit", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (images_ && strip) ::ImageList_AddMasked(images_.get(), static_cast<HBITMAP>(strip.get()), RGB(255, 255, 255));
  SendTo(bar, TB_SETIMAGELIST, 0, LPARAM(images_.get()));
  std::vector<TBBUTTON> buttons;
  const auto& items = ToolItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    TBBUTTON b{};
    b.idCommand = kFirstCommand + int(i);
    b.fsState = TBSTATE_ENABLED;
    b.iString = -1;
    switch (items[i].kind) {
      case ToolKind::Button: b.iBitmap = items[i].image; b.fsStyle = BTNS_BUTTON; break;
      case ToolKind::Check: b.iBitmap = items[i].image; b.fsStyle = BTNS_CHECK; break;
      case ToolKind::Combo:
        b.iBitmap = items[i].command == ToolCommand::FontName ? kFontNameWidth : kFontSizeWidth;
        b.fsStyle = BTNS_SEP;
        break;
      case ToolKind::Separator: b.iBitmap = kSeparatorWidth; b.fsStyle = BTNS_SEP; break;
    }
    buttons.push_back(b);
  }
  SendTo(bar, TB_ADDBUTTONSW, buttons.size(), LPARAM(buttons.data()));
  // The screen fonts and the usual sizes.
  win::window_dc screen(nullptr);
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  ::EnumFontFamiliesExW(screen.get(), &all, AddFontName, LPARAM(&fontName_), 0);
  for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
    fontSize_.AddItem(std::to_string(size));
  fontName_.OnChange = [this] {
    const std::string name = fontName_.SelectedText();
    if (!name.empty()) owner_.SetSelectionFont(name, 0);
  };
  fontSize_.OnChange = [this] {
    const int size = std::atoi(fontSize_.SelectedText().c_str());
    if (size > 0) owner_.SetSelectionFont("", size);
  };
  Refresh(state_);
  SetHints(dutch_);
}

void RichToolBar::WndProc(ui::Message& m) {
  switch (m.msg) {
    case ui::CN_COMMAND: {
      const int index = LOWORD(m.wParam) - kFirstCommand;
      const auto& items = ToolItems();
      if (index >= 0 && index < int(items.size())) owner_.ToolCommandClicked(items[std::size_t(index)].command);
      m.result = 0;
      return;
    }
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(HandleIfCreated(), &r);
      win::unique_hbrush brush(::CreateSolidBrush(ui::ResolveColor(owner_.GetColor())));
      ::FillRect(reinterpret_cast<HDC>(m.wParam), &r, static_cast<HBRUSH>(brush.get()));
      m.result = 1;
      return;
    }
    default: break;
  }
  WinControl::WndProc(m);
}

void RichToolBar::Refresh(const ToolBarState& state) {
  state_ = state;
  HWND bar = HandleIfCreated();
  if (!bar) return;
  const auto& items = ToolItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    SendTo(bar, TB_HIDEBUTTON, WPARAM(kFirstCommand + int(i)), MAKELPARAM(!ToolItemVisible(items[i], state), 0));
  PlaceBoxes();
}

void RichToolBar::PlaceBoxes() {
  HWND bar = HandleIfCreated();
  for (ToolCommand command : {ToolCommand::FontName, ToolCommand::FontSize}) {
    RichComboBox& box = command == ToolCommand::FontName ? fontName_ : fontSize_;
    const int id = CommandId(command);
    const bool shown = (SendTo(bar, TB_GETSTATE, WPARAM(id)) & TBSTATE_HIDDEN) == 0;
    box.SetVisible(shown);
    if (!shown) continue;
    const RECT r = ButtonRect(command);
    box.SetBounds(r.left, r.top, r.right - r.left, 200);
  }
}

void RichToolBar::SetHints(bool dutch) {
  dutch_ = dutch;
  HWND bar = HandleIfCreated();
  HWND tips = reinterpret_cast<HWND>(SendTo(bar, TB_GETTOOLTIPS));
  if (!tips) return;
  const auto& items = ToolItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].hint == HintSlot::None) continue;
    std::wstring text = win::Wide(HintText(items[i].hint, dutch));
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = bar;
    info.uId = UINT_PTR(kFirstCommand + int(i));
    info.lpszText = text.data();
    SendTo(tips, TTM_UPDATETIPTEXTW, 0, LPARAM(&info));
  }
}

void RichToolBar::SetAllEnabled(bool enabled) {
  HWND bar = HandleIfCreated();
  if (!bar) return;
  ::EnableWindow(bar, enabled);
  const auto& items = ToolItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    SendTo(bar, TB_ENABLEBUTTON, WPARAM(kFirstCommand + int(i)), MAKELPARAM(enabled ? TRUE : FALSE, 0));
  for (RichComboBox* box : {&fontName_, &fontSize_})
    if (HWND window = box->HandleIfCreated()) ::EnableWindow(window, enabled);
}

void RichToolBar::SetButton(ToolCommand command, ButtonState state) {
  HWND bar = HandleIfCreated();
  const int id = CommandId(command);
  const LRESULT now = SendTo(bar, TB_GETSTATE, WPARAM(id));
  if (now == -1) return;
  BYTE next = BYTE(now) & BYTE(~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE));
  if (state == ButtonState::Down) next |= TBSTATE_CHECKED;
  if (state == ButtonState::Indeterminate) next |= TBSTATE_INDETERMINATE;
  if (next != BYTE(now)) SendTo(bar, TB_SETSTATE, WPARAM(id), MAKELPARAM(next, 0));
}

ButtonState RichToolBar::Button(ToolCommand command) {
  const LRESULT state = SendTo(HandleIfCreated(), TB_GETSTATE, WPARAM(CommandId(command)));
  if (state == -1) return ButtonState::Up;
  if (state & TBSTATE_INDETERMINATE) return ButtonState::Indeterminate;
  return (state & TBSTATE_CHECKED) ? ButtonState::Down : ButtonState::Up;
}

RECT RichToolBar::ButtonRect(ToolCommand command) {
  RECT r{};
  SendTo(HandleIfCreated(), TB_GETRECT, WPARAM(CommandId(command)), LPARAM(&r));
  return r;
}

int RichToolBar::BarHeight() {
  HWND bar = HandleIfCreated();
  int height = bar ? HIWORD(SendTo(bar, TB_GETBUTTONSIZE)) : 22;
  if (HWND box = fontName_.HandleIfCreated()) {
    RECT r{};
    ::GetWindowRect(box, &r);  // a drop-down list's window is as tall as its closed box
    height = std::max<int>(height, int(SendTo(box, CB_GETITEMHEIGHT, WPARAM(-1))) + 6);
  }
  return height + 2;
}

// ---------------------------------------------------------------- RichRuler

int RichRuler::RulerHeight() {
  win::window_dc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  win::unique_hfont font(::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                                       0, L"MS Sans Serif"));
  SIZE size{0, 13};
  if (screen.get()) {
    win::selected_object selected(screen.get(), font.get());
    ::GetTextExtentPoint32W(screen.get(), L"A", 1, &size);
  }
  return size.cy + 3;
}

void RichRuler::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"OrvalisRichRuler";
}

RulerMarks RichRuler::Marks(int& origin) {
  HWND inner = owner_.RichEdit().Handle();
  RECT format{};
  SendTo(inner, EM_GETRECT, 0, LPARAM(&format));
  origin = owner_.RichEdit().Left() - Left() + format.left;
  const int zoom = owner_.GetZoom(), dpi = ScreenDpiX();
  const auto px = [&](int points) { return origin + PointsToPixels(points, zoom, dpi); };
  const PARAFORMAT2 p = ParagraphFormat(inner);
  RulerMarks marks;
  marks.firstIndent = px(p.dxStartIndent / 20);
  marks.leftIndent = px((p.dxStartIndent + p.dxOffset) / 20);
  marks.rightIndent = owner_.RichEdit().Left() - Left() + format.right - PointsToPixels(p.dxRightIndent / 20, zoom, dpi);
  for (int i = 0; i < p.cTabCount && i < MAX_TAB_STOPS; ++i)
    marks.tabs.push_back(px(TabPosition(TabFromTwipsForm(p.rgxTabs[i]))));
  return marks;
}

void RichRuler::Paint(ui::Canvas& canvas) {
  if (!owner_.RichEdit().HandleAllocated()) return;
  int origin = 0;
  const RulerMarks marks = Marks(origin);
  const int h = Height();
  canvas.BrushColor(owner_.GetColor());
  canvas.FillRect({0, 0, Width(), h});
  canvas.PenColor(ui::kBtnShadow);
  canvas.MoveTo(0, h - 1);
  canvas.LineTo(Width(), h - 1);
  // A tick every half centimetre, a longer one every centimetre.
  const int dpi = ScreenDpiX(), zoom = owner_.GetZoom();
  for (int half = 1;; ++half) {
    const int x = origin + PointsToPixels(half * 1417 / 100, zoom, dpi);  // 14,17 points
    if (x >= marks.rightIndent) break;
    const int tick = half % 2 == 0 ? h / 2 : h / 4;
    canvas.MoveTo(x, (h - tick) / 2);
    canvas.LineTo(x, (h + tick) / 2);
  }
  canvas.PenColor(ui::kWindowText);
  auto triangle = [&](int x, bool down) {
    for (int i = 0; i < 4; ++i) {
      const int y = down ? i : h - 2 - i;
      canvas.MoveTo(x - 3 + i, y);
      canvas.LineTo(x + 4 - i, y);
    }
  };
  triangle(marks.firstIndent, true);
  triangle(marks.leftIndent, false);
  triangle(marks.rightIndent, false);
  for (int x : marks.tabs) {
    canvas.MoveTo(x, h / 2 - 2);
    canvas.LineTo(x, h / 2 + 3);
    canvas.LineTo(x + 4, h / 2 + 3);
  }
}

void RichRuler::MouseDown(ui::MouseButton button, unsigned, int x, int y) {
  HWND inner = owner_.RichEdit().Handle();
  int origin = 0;
  const RulerMarks marks = Marks(origin);
  const RulerHit hit = HitRuler(marks, x, y, Height());
  PARAFORMAT2 p = ParagraphFormat(inner);
  std::vector<int> tabs;
  for (int i = 0; i < p.cTabCount && i < MAX_TAB_STOPS; ++i) tabs.push_back(TabFromTwipsForm(p.rgxTabs[i]));
  auto writeTabs = [&] {
    p.cTabCount = SHORT(std::min<std::size_t>(tabs.size(), MAX_TAB_STOPS));
    for (int i = 0; i < p.cTabCount; ++i) p.rgxTabs[i] = TabToTwipsForm(tabs[std::size_t(i)]);
    SetParagraph(inner, p, PFM_TABSTOPS);
  };
  moved_ = false;
  if (button == ui::MouseButton::Right) {
    if (hit.part == RulerPart::Tab) {
      tabs.erase(tabs.begin() + hit.tab);
      writeTabs();
      Invalidate();
    }
    return;
  }
  if (button != ui::MouseButton::Left) return;
  drag_ = hit;
  if (hit.part == RulerPart::None) {
    const int points = PixelsToPoints(x - origin, owner_.GetZoom(), ScreenDpiX());
    if (points < 0 || tabs.size() >= MAX_TAB_STOPS) return;
    drag_ = {RulerPart::Tab, InsertTab(tabs, points)};
    moved_ = true;  // a new tab is not cycled on release
    writeTabs();
    Invalidate();
  }
  ::SetCapture(HandleIfCreated());
}

void RichRuler::MouseMove(unsigned keys, int x, int) {
  if (drag_.part == RulerPart::None || !(keys & MK_LBUTTON)) return;
  HWND inner = owner_.RichEdit().Handle();
  int origin = 0;
  (void)Marks(origin);
  const int zoom = owner_.GetZoom(), dpi = ScreenDpiX();
  const int points = std::max(0, PixelsToPoints(x - origin, zoom, dpi));
  PARAFORMAT2 p = ParagraphFormat(inner);
  switch (drag_.part) {
    case RulerPart::FirstIndent: {
      const LONG left = p.dxStartIndent + p.dxOffset;  // the following lines stay
      p.dxStartIndent = points * 20;
      p.dxOffset = left - p.dxStartIndent;
      SetParagraph(inner, p, PFM_STARTINDENT | PFM_OFFSET);
      break;
    }
    case RulerPart::LeftIndent:
      p.dxOffset = points * 20 - p.dxStartIndent;
      SetParagraph(inner, p, PFM_OFFSET);
      break;
    case RulerPart::RightIndent: {
      RECT format{};
      SendTo(inner, EM_GETRECT, 0, LPARAM(&format));
      const int width = PixelsToPoints(format.right - format.left, zoom, dpi);
      p.dxRightIndent = std::max(0, width - points) * 20;
      SetParagraph(inner, p, PFM_RIGHTINDENT);
      break;
    }
    case RulerPart::Tab:
      if (drag_.tab < p.cTabCount) {
        const int value = TabFromTwipsForm(p.rgxTabs[drag_.tab]);
        p.rgxTabs[drag_.tab] = TabToTwipsForm(TabValue(TabKindOf(value), points));
        SetParagraph(inner, p, PFM_TABSTOPS);
      }
      break;
    case RulerPart::None: break;
  }
  moved_ = true;
  Invalidate();
}

void RichRuler::MouseUp(ui::MouseButton button, unsigned, int, int) {
  if (button != ui::MouseButton::Left) return;
  if (::GetCapture() == HandleIfCreated()) ::ReleaseCapture();
  if (drag_.part == RulerPart::Tab && !moved_) {
    HWND inner = owner_.RichEdit().Handle();
    PARAFORMAT2 p = ParagraphFormat(inner);
    if (drag_.tab < p.cTabCount) {
      // The window's advanced typography is always off (see ApplyTypography).
      p.rgxTabs[drag_.tab] = TabToTwipsForm(CycleTab(TabFromTwipsForm(p.rgxTabs[drag_.tab]), false));
      SetParagraph(inner, p, PFM_TABSTOPS);
    }
  }
  drag_ = {};
  Invalidate();
}

// ---------------------------------------------------------------- PRichEdit: bars and settings

void PRichEdit::BarsDeleter::operator()(RichEditorBars* bars) const noexcept { delete bars; }

RichEditorBars& PRichEdit::Bars() {
  if (!bars_) bars_.reset(new RichEditorBars(*this));
  return *bars_;
}

RichToolBar* PRichEdit::ToolBar() { return Bars().toolBar.get(); }
RichRuler* PRichEdit::TabBar() { return Bars().ruler.get(); }
bool PRichEdit::GetShowToolBar() const { return !bars_ || bars_->showToolBar; }
bool PRichEdit::GetShowTabBar() const { return !bars_ || bars_->showTabBar; }

void PRichEdit::SetShowToolBar(bool show) {
  Bars().showToolBar = show;
  Layout();
  ApplyEditorBackground();
}

void PRichEdit::SetShowTabBar(bool show) {
  Bars().showTabBar = show;
  Layout();
}

void PRichEdit::SetShowZoom(bool show) { Bars().showZoom = show; }
void PRichEdit::SetShowPrint(bool show) { Bars().showPrint = show; UpdateToolBar(); }
void PRichEdit::SetShowFind(bool show) { Bars().showFind = show; UpdateToolBar(); }
void PRichEdit::SetShowMenu(bool show) { Bars().showMenu = show; UpdateToolBar(); }
void PRichEdit::SetShowInsertObject(bool show) { Bars().showInsertObject = show; }
void PRichEdit::SetUseOle(bool use) { Bars().useOle = use; }
void PRichEdit::SetMaxLines(int maxLines) { Bars().maxLines = maxLines; }
void PRichEdit::SetMaxLineLength(int maxLineLength) { Bars().maxLineLength = maxLineLength; }
void PRichEdit::SetContextHelp(std::string help) { Bars().contextHelp = std::move(help); }

void PRichEdit::SetAutoHideBars(bool autoHide) {
  Bars().autoHideBars = autoHide;
  Layout();
}

void PRichEdit::SetRichFormat(bool rich) {
  richFormat_ = rich;
  UpdateToolBar();
}

int PRichEdit::PlaceBars(int b) {
  RichEditorBars& bars = Bars();
  bool created = false;
  if (bars.showToolBar && !bars.toolBar) {
    bars.toolBar = std::make_unique<RichToolBar>(*this);
    bars.toolBar->SetParent(this);
    if (HandleAllocated()) (void)bars.toolBar->Handle();
    created = true;
  } else if (!bars.showToolBar && bars.toolBar) {
    bars.toolBar.reset();
  }
  if (bars.showTabBar && !bars.ruler) {
    bars.ruler = std::make_unique<RichRuler>(*this);
    bars.ruler->SetName("TabBar");
    bars.ruler->SetParent(this);
    if (HandleAllocated()) (void)bars.ruler->Handle();
  } else if (!bars.showTabBar && bars.ruler) {
    bars.ruler.reset();
  }
  const bool shown = !bars.autoHideBars || bars.innerFocused;
  const int width = std::max(0, Width() - 2 * b);
  int y = 0;
  if (RichToolBar* bar = bars.toolBar.get()) {
    const int height = bar->BarHeight();
    bar->SetBounds(b, 0, width, height);
    bar->SetVisible(shown);
    if (shown) y = height;
  }
  if (RichRuler* ruler = bars.ruler.get()) {
    const int height = RichRuler::RulerHeight();
    ruler->SetBounds(b, y + b, width, height);
    ruler->SetVisible(shown);
    if (shown) y += b + height;
  }
  if (created && OnCreateToolBar) OnCreateToolBar(*this, *bars.toolBar);
  UpdateToolBar();
  return y;
}

void PRichEdit::ApplyEditorBackground() {
  if (!sub_.HandleAllocated()) return;
  if (GetShowToolBar() && ToolBar() && SettingExists(kSettingsSection, kEditorColorValue))
    Send(EM_SETBKGNDCOLOR, 0, LPARAM(ReadSettingInt(kSettingsSection, kEditorColorValue)));
  else
    ApplyBackground();
}

void PRichEdit::UpdateToolBar() {
  RichEditorBars& bars = Bars();
  if (bars.ruler && bars.ruler->HandleAllocated()) bars.ruler->Invalidate();
  RichToolBar* bar = bars.toolBar.get();
  if (!bar || !bar->HandleAllocated()) return;
  bar->Refresh({richFormat_, bars.showMenu, bars.showPrint, bars.showFind, bool(OnFieldEdit)});
  bar->SetHints(Dutch(*this));
  bar->Invalidate();
  HWND inner = sub_.HandleIfCreated();
  if (!inner) return;
  const CHARFORMATW c = SelectionFormat(inner);
  bar->SetButton(ToolCommand::Bold, StyleButton(c.dwMask & CFM_BOLD, c.dwEffects & CFE_BOLD));
  bar->SetButton(ToolCommand::Italic, StyleButton(c.dwMask & CFM_ITALIC, c.dwEffects & CFE_ITALIC));
  bar->SetButton(ToolCommand::Underline, StyleButton(c.dwMask & CFM_UNDERLINE, c.dwEffects & CFE_UNDERLINE));
  bar->SetButton(ToolCommand::StrikeOut, StyleButton(c.dwMask & CFM_STRIKEOUT, c.dwEffects & CFE_STRIKEOUT));
  const PARAFORMAT2 p = ParagraphFormat(inner);
  const bool aligned = (p.dwMask & PFM_ALIGNMENT) != 0;
  const auto down = [](bool on) { return on ? ButtonState::Down : ButtonState::Up; };
  bar->SetButton(ToolCommand::AlignLeft, down(aligned && p.wAlignment == PFA_LEFT));
  bar->SetButton(ToolCommand::AlignCenter, down(aligned && p.wAlignment == PFA_CENTER));
  bar->SetButton(ToolCommand::AlignRight, down(aligned && p.wAlignment == PFA_RIGHT));
  bar->SetButton(ToolCommand::Numbering, down((p.dwMask & PFM_NUMBERING) && p.wNumbering != 0));
  bar->FontName().ShowText((c.dwMask & CFM_FACE) ? win::Narrow(c.szFaceName) : "");
  bar->FontSize().ShowText((c.dwMask & CFM_SIZE) ? std::to_string(c.yHeight / 20) : "");
}

void PRichEdit::DoSelectionChange() {
  UpdateToolBar();
  if (OnSelectionChange) OnSelectionChange(*this);
}

// ---------------------------------------------------------------- formatting commands

void PRichEdit::ToolCommandClicked(ToolCommand command) {
  switch (command) {
    case ToolCommand::Menu: ClickMenu(); break;
    case ToolCommand::Undo: ClickUndo(); break;
    case ToolCommand::Cut: ClickCut(); break;
    case ToolCommand::Copy: ClickCopy(); break;
    case ToolCommand::Paste: ClickPaste(); break;
    case ToolCommand::Print: ClickPrint(); break;
    case ToolCommand::Bold: ClickBold(); break;
    case ToolCommand::Italic: ClickItalic(); break;
    case ToolCommand::Underline: ClickUnderline(); break;
    case ToolCommand::StrikeOut: ClickStrikeOut(); break;
    case ToolCommand::AlignLeft: ClickAlignLeft(); break;
    case ToolCommand::AlignCenter: ClickAlignCenter(); break;
    case ToolCommand::AlignRight: ClickAlignRight(); break;
    case ToolCommand::Numbering: ClickNumbering(); break;
    case ToolCommand::TextColor: ClickTextColor(); break;
    case ToolCommand::Find: ClickFind(); break;
    case ToolCommand::InsertField: ClickNewField(); break;
    case ToolCommand::FontName:
    case ToolCommand::FontSize:
    case ToolCommand::Separator: break;
  }
}

void PRichEdit::ClickUndo() { Send(EM_UNDO); }
void PRichEdit::ClickCut() { Send(WM_CUT); }
void PRichEdit::ClickCopy() { Send(WM_COPY); }

void PRichEdit::ClickPaste() {
  const CHARRANGE before = Selection(Inner());
  Send(WM_PASTE);
  const CHARRANGE after = Selection(Inner());
  // The pasted range is formatted again once the window is done with it.
  ::PostMessageW(Inner(), kRichPastedMessage, WPARAM(std::min(before.cpMin, after.cpMin)), LPARAM(after.cpMax));
}

void PRichEdit::ToggleStyle(DWORD mask, DWORD effect, int attribute) {
  if (!richFormat_) return;
  const CHARFORMATW now = SelectionFormat(Inner());
  CHARFORMATW next{};
  next.cbSize = sizeof next;
  next.dwMask = mask;
  next.dwEffects = ((now.dwMask & mask) && (now.dwEffects & effect)) ? 0 : effect;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&next));
  SetFieldTextAttributes(attribute, true);
  UpdateToolBar();
}

void PRichEdit::ClickBold() { ToggleStyle(CFM_BOLD, CFE_BOLD, 4); }
void PRichEdit::ClickItalic() { ToggleStyle(CFM_ITALIC, CFE_ITALIC, 8); }
void PRichEdit::ClickUnderline() { ToggleStyle(CFM_UNDERLINE, CFE_UNDERLINE, 16); }
void PRichEdit::ClickStrikeOut() { ToggleStyle(CFM_STRIKEOUT, CFE_STRIKEOUT, 32); }

void PRichEdit::SetAlignment(int alignment) {
  if (!richFormat_) return;
  PARAFORMAT2 p{};
  p.wAlignment = WORD(alignment);
  SetParagraph(Inner(), p, PFM_ALIGNMENT);
  UpdateToolBar();
}

void PRichEdit::SetSelectionFont(const std::string& name, int points) {
  if (!richFormat_) return;
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  if (!name.empty()) {
    format.dwMask = CFM_FACE;
    const std::wstring face = win::Wide(name);
    face.copy(format.szFaceName, LF_FACESIZE - 1);
  } else {
    format.dwMask = CFM_SIZE;
    format.yHeight = points * 20;
  }
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  SetFieldTextAttributes(name.empty() ? 1 : 2, true);
  Focus();
  UpdateToolBar();
}

void PRichEdit::ClickNumbering() {
  if (!richFormat_) return;
  const PARAFORMAT2 p = ParagraphFormat(Inner());
  FillPopup(NumberingMenu(p.wNumbering, Dutch(*this)));
  RichToolBar* bar = ToolBar();
  const int tag = bar && bar->HandleAllocated() ? TrackBelow(bar->Handle(), bar->ButtonRect(ToolCommand::Numbering))
                                                : ui::ShowPopupMenu(nullptr, ui::kPopupAlignLeft);
  if (tag >= 0) SetNumbering(tag);
}

void PRichEdit::SetNumbering(int style) {
  if (!richFormat_) return;
  PARAFORMAT2 p{};
  p.wNumbering = WORD(style);
  p.wNumberingStart = 1;
  SetParagraph(Inner(), p, PFM_NUMBERING | PFM_NUMBERINGSTART);
  UpdateToolBar();
}

void PRichEdit::SetLineSpacing(int rule, int value) {
  PARAFORMAT2 p{};
  p.bLineSpacingRule = BYTE(rule);
  p.dyLineSpacing = value;
  DWORD mask = PFM_LINESPACING;
  if (rule == kSpacingSingle) mask |= PFM_SPACEBEFORE | PFM_SPACEAFTER;  // with no space around the paragraph
  SetParagraph(Inner(), p, mask);
}

void PRichEdit::ClickTextColor() {
  if (!richFormat_) return;
  CHARFORMATW format = SelectionFormat(Inner());
  ui::Color color = format.crTextColor;
  if (!SelectColorAt(color, 1, kNoPosition, kNoPosition)) return;
  CHARFORMATW next{};
  next.cbSize = sizeof next;
  next.dwMask = CFM_COLOR;
  next.crTextColor = ui::ResolveColor(color);
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&next));
  SetFieldTextAttributes(64, true);
  UpdateToolBar();
}

void PRichEdit::ClickNewField() {
  if (!OnFieldEdit) return;
  POINTL at{};
  Send(EM_POSFROMCHAR, WPARAM(&at), Selection(Inner()).cpMin);
  (void)FieldEdit(int(at.x), int(at.y), true);
}

int PRichEdit::Tab(int index) {
  const PARAFORMAT2 p = ParagraphFormat(Inner());
  if (index < 0 || index >= p.cTabCount) return 0;
  return TabPosition(TabFromTwipsForm(p.rgxTabs[index]));
}

// ---------------------------------------------------------------- keys and typing

bool PRichEdit::EditorKeys(ui::Message& m) {
  RichEditorBars& bars = Bars();
  switch (m.msg) {
    case WM_SETFOCUS:
      bars.innerFocused = true;
      if (bars.autoHideBars) Layout();
      return false;
    case WM_KILLFOCUS: {
      // The bars stay while the focus is in one of them (the font boxes).
      HWND to = reinterpret_cast<HWND>(m.wParam);
      bars.innerFocused = to && HandleAllocated() && ::IsChild(HandleIfCreated(), to);
      if (bars.autoHideBars) Layout();
      return false;
    }
    case WM_CHAR:
      if (!bars.swallowChar) return false;
      bars.swallowChar = false;
      m.result = 0;
      return true;
    case WM_KEYDOWN: break;
    default: return false;
  }
  bars.swallowChar = false;
  const auto take = [&] {
    bars.swallowChar = true;  // the character this key makes is not typed
    m.result = 0;
    return true;
  };
  const unsigned key = unsigned(m.wParam);
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  const EditorKey command = ShortcutOf(key, ctrl, shift, alt);
  const bool reading = command == EditorKey::FindDialog || command == EditorKey::FindNext ||
                       command == EditorKey::CopyRichText;
  if (command != EditorKey::None && (!readOnly_ || reading)) {
    RunShortcut(command);
    return take();
  }
  if (readOnly_) return false;
  const CHARRANGE selection = Selection(Inner());
  const bool selected = selection.cpMax != selection.cpMin;
  if (key == VK_RETURN && !ctrl && !EnterAllowed(GetText(), bars.maxLines)) return take();
  if (key == VK_TAB && !ctrl && !alt && richFormat_ && selected) {
    IndentSelection(shift, false);
    return take();
  }
  if (bars.maxLineLength > 0) {
    const LRESULT line = Send(EM_EXLINEFROMCHAR, 0, selection.cpMin);
    const int length = int(Send(EM_LINELENGTH, WPARAM(Send(EM_LINEINDEX, WPARAM(line)))));
    if (!LineLengthAllows(bars.maxLineLength, selected, length, key)) return take();
  }
  return false;
}

void PRichEdit::RunShortcut(EditorKey key) {
  switch (key) {
    case EditorKey::Bold: ClickBold(); break;
    case EditorKey::Italic: ClickItalic(); break;
    case EditorKey::Underline: ClickUnderline(); break;
    case EditorKey::StrikeOut: ClickStrikeOut(); break;
    case EditorKey::IndentLines: IndentSelection(false, true); break;
    case EditorKey::OutdentLines: IndentSelection(true, true); break;
    case EditorKey::AlignLeft: ClickAlignLeft(); break;
    case EditorKey::AlignCenter: ClickAlignCenter(); break;
    case EditorKey::AlignRight: ClickAlignRight(); break;
    case EditorKey::Justify: ClickAlignJustify(); break;
    case EditorKey::TextColor: ClickTextColor(); break;
    case EditorKey::Protect: {
      const CHARFORMATW now = SelectionFormat(Inner());
      CHARFORMATW next{};
      next.cbSize = sizeof next;
      next.dwMask = CFM_PROTECTED;
      next.dwEffects = ((now.dwMask & CFM_PROTECTED) && (now.dwEffects & CFE_PROTECTED)) ? 0 : CFE_PROTECTED;
      Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&next));
      break;
    }
    case EditorKey::Paste: ClickPaste(); break;
    case EditorKey::FindDialog: Find(true); break;
    case EditorKey::FindNext: Find(false); break;
    case EditorKey::NewField: ClickNewField(); break;
    case EditorKey::CopyRichText: {
      const std::wstring text = win::Wide(GetRichText());
      if (!::OpenClipboard(Inner())) break;
      ::EmptyClipboard();
      if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (void* bytes = ::GlobalLock(memory)) {
          std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(bytes));
          ::GlobalUnlock(memory);
          if (!::SetClipboardData(CF_UNICODETEXT, memory)) ::GlobalFree(memory);
        } else {
          ::GlobalFree(memory);
        }
      }
      ::CloseClipboard();
      break;
    }
    case EditorKey::PageBreak: InsertPageBreak(); break;
    case EditorKey::None: break;
  }
}

void PRichEdit::InsertPageBreak() {
  const std::wstring marker = win::Wide(kPageBreakMarker);
  const LONG start = Selection(Inner()).cpMin;
  {
    // The host hears of the change once, when the marker is protected: read in
    // between, the text would store "[NEWPAGE]" as plain text.
    const bool wasLoading = loading_;
    loading_ = true;
    auto restore = win::scope_exit([&] { loading_ = wasLoading; });
    Send(EM_REPLACESEL, TRUE, LPARAM(marker.c_str()));
    const LONG end = start + LONG(marker.size());
    Select(Inner(), start, end);
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    format.dwEffects = CFE_PROTECTED;
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    Select(Inner(), end, end);
    // What is typed after the marker is ordinary text again.
    format.dwEffects = 0;
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  }
  InnerChanged();
}

void PRichEdit::IndentSelection(bool outdent, bool linesInSelection) {
  HWND inner = Inner();
  const CHARRANGE selection = Selection(inner);
  const std::wstring text = PositionText();
  const IndentEdit edit = outdent ? OutdentLines(Utf16(text), selection.cpMin, selection.cpMax, linesInSelection)
                                  : IndentLines(Utf16(text), selection.cpMin, selection.cpMax, linesInSelection);
  // From the end backwards, so that the positions before stay as they were.
  for (auto p = edit.positions.rbegin(); p != edit.positions.rend(); ++p) {
    Select(inner, *p, outdent ? *p + 1 : *p);
    Send(EM_REPLACESEL, TRUE, LPARAM(outdent ? L"" : L"\t"));
  }
  Select(inner, edit.selStart, edit.selEnd);
}

// ---------------------------------------------------------------- find

void PRichEdit::Find(bool showDialog) {
  RichEditorBars& bars = Bars();
  if ((showDialog || !bars.findEntered) && !ShowFindDialog(Inner(), bars)) return;
  (void)FindNext(bars.findText, bars.matchCase, bars.searchUp);
}

bool PRichEdit::FindNext(const std::string& what, bool matchCase, bool up) {
  const std::wstring text = PositionText();
  const std::wstring wanted = win::Wide(what);
  const CHARRANGE selection = Selection(Inner());
  const auto found =
      FindInText(Utf16(text), Utf16(wanted), TextRange{selection.cpMin, selection.cpMax}, matchCase, up);
  if (!found) return false;
  Select(Inner(), found->start, found->end);
  Send(EM_SCROLLCARET);
  return true;
}

// ---------------------------------------------------------------- menus

void PRichEdit::BuildContextMenu(int x, int y) {
  (void)x;
  (void)y;
  const CHARRANGE selection = Selection(Inner());
  ContextMenuState state;
  state.dutch = Dutch(*this);
  state.contextHelp = !Bars().contextHelp.empty();
  state.selection = selection.cpMax != selection.cpMin;
  state.clipboardData = Send(EM_CANPASTE) != 0;
  state.fieldEdit = bool(OnFieldEdit);
  state.fieldList = FieldList;
  FillPopup(ContextMenuItems(state));
}

void PRichEdit::ContextMenuAt(int x, int y) {
  BuildContextMenu(x, y);
  const int tag = ui::ShowPopupMenu(nullptr, ui::kPopupAlignLeft);
  switch (tag) {
    case kMenuHelp: {
      // The word under the mouse: letters, digits, "_" and "-".
      const std::wstring text = PositionText();
      const int p = std::clamp(CharFromPos(x, y), 0, int(text.size()));
      const auto inWord = [&](int i) { return ::IsCharAlphaNumericW(text[std::size_t(i)]) || text[std::size_t(i)] == L'_' || text[std::size_t(i)] == L'-'; };
      int start = p, end = p;
      while (start > 0 && inWord(start - 1)) --start;
      while (end < int(text.size()) && inWord(end)) ++end;
      (void)ui::StartProgram(Bars().contextHelp + win::Narrow(text.substr(std::size_t(start), std::size_t(end - start))), 0);
      break;
    }
    case kMenuCut: ClickCut(); break;
    case kMenuCopy: ClickCopy(); break;
    case kMenuPaste: ClickPaste(); break;
    case kMenuNewField: (void)FieldEdit(x, y, true); break;
    case kMenuEdit: (void)FieldEdit(x, y, false); break;
    default:
      // A name of the field list becomes a field at the selection.
      if (tag >= kMenuFieldBase && tag < kMenuFieldBase + int(FieldList.size()))
        (void)Insert(GetField(FieldList[std::size_t(tag - kMenuFieldBase)]), true);
      break;
  }
}

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring CharmapPath() {
  wchar_t system[MAX_PATH] = {};
  const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system, n) + L"\\charmap.exe";
}

std::vector<std::string> ImageFiles() {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  win::unique_find search(::FindFirstFileW((ProgramFolder() + L"Images\\*.BMP").c_str(), &found));
  if (!search) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(win::Narrow(found.cFileName));
  } while (::FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace

void PRichEdit::BuildDropDownMenu() {
  RichEditorBars& bars = Bars();
  DropDownState state;
  state.dutch = Dutch(*this);
  state.showInsertObject = bars.showInsertObject;
  state.useOle = bars.useOle;
  state.charmap = ::GetFileAttributesW(CharmapPath().c_str()) != INVALID_FILE_ATTRIBUTES;
  state.imageFiles = ImageFiles();
  const PARAFORMAT2 p = ParagraphFormat(Inner());
  state.spacingRule = p.bLineSpacingRule;
  state.spacingValue = p.dyLineSpacing;
  FillPopup(DropDownItems(state));
}

void PRichEdit::ClickMenu() {
  if (!richFormat_) return;
  const std::vector<std::string> images = ImageFiles();
  BuildDropDownMenu();
  RichToolBar* bar = ToolBar();
  const int tag = bar && bar->HandleAllocated() ? TrackBelow(bar->Handle(), bar->ButtonRect(ToolCommand::Menu))
                                                : ui::ShowPopupMenu(nullptr, ui::kPopupAlignLeft);
  if (const auto spacing = SpacingOfTag(tag)) {
    SetLineSpacing(spacing->rule, spacing->value);
    return;
  }
  switch (tag) {
    case kDropInsertObject: (void)InsertObject(false); break;
    case kDropPasteSpecial: (void)InsertObject(true); break;
    case kDropCharmap: (void)ui::StartProgram(win::Narrow(CharmapPath()), ui::kLaunchActivate); break;
    case kDropBackColor: {
      ui::Color color = SettingExists(kSettingsSection, kEditorColorValue)
                            ? ui::Color(ReadSettingInt(kSettingsSection, kEditorColorValue))
                            : ui::ResolveColor(GetColor());
      if (!SelectColorAt(color, 1, kNoPosition, kNoPosition)) break;
      if (const auto stored = StoredEditorColor(ui::ResolveColor(color), ui::ResolveColor(GetColor()))) {
        (void)WriteSettingInt(kSettingsSection, kEditorColorValue, std::int32_t(*stored), false);
        Send(EM_SETBKGNDCOLOR, 0, LPARAM(*stored));
      } else {
        DeleteSetting(kSettingsSection, kEditorColorValue, false);
        ApplyBackground();
      }
      const std::string rtf = GetRichText();
      SetRichText(rtf);
      break;
    }
    default:
      if (tag >= kDropImageBase && tag < kDropImageBase + int(images.size()))
        InsertFile(win::Narrow(ProgramFolder() + L"Images\\") + images[std::size_t(tag - kDropImageBase)]);
      break;
  }
}

// ---------------------------------------------------------------- objects

namespace {

// oledlg.dll is loaded when one of its dialogs is asked for: the setup never
// shows them, so it does not import the library at start.
template <typename Function>
Function OleDialog(win::unique_hmodule& module, const char* name) {
  module.reset(::LoadLibraryW(L"oledlg.dll"));
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)));
}

// A new compound storage in memory, as the inner window's callback gives every object.
HRESULT MemoryStorage(IStorage** storage) noexcept {
  *storage = nullptr;
  win::com_ptr<ILockBytes> bytes;
  const HRESULT hr = ::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
  if (FAILED(hr)) return hr;
  return ::StgCreateDocfileOnILockBytes(bytes.get(), STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0,
                                        storage);
}

// The icon picture the dialogs hand back (a METAFILEPICT in global memory).
void FreeIconPicture(HGLOBAL picture) noexcept {
  if (!picture) return;
  if (auto* metafile = static_cast<METAFILEPICT*>(::GlobalLock(picture))) {
    if (metafile->hMF) ::DeleteMetaFile(metafile->hMF);
    ::GlobalUnlock(picture);
  }
  ::GlobalFree(picture);
}

DWORD PasteTymed(PasteFormat format) {
  switch (format) {
    case PasteFormat::EmbeddedObject:
    case PasteFormat::LinkSource: return TYMED_ISTORAGE;
    case PasteFormat::EnhMetafile: return TYMED_ENHMF;
    case PasteFormat::Metafile: return TYMED_MFPICT;
    case PasteFormat::Bitmap: return TYMED_GDI;
    default: return TYMED_HGLOBAL;
  }
}

}  // namespace

CLIPFORMAT PasteClipboardFormat(PasteFormat format) {
  switch (format) {
    case PasteFormat::EmbeddedObject: return CLIPFORMAT(::RegisterClipboardFormatW(L"Embedded Object"));
    case PasteFormat::LinkSource: return CLIPFORMAT(::RegisterClipboardFormatW(L"Link Source"));
    case PasteFormat::Text: return CF_UNICODETEXT;
    case PasteFormat::RichText: return CLIPFORMAT(::RegisterClipboardFormatW(L"Rich Text Format"));
    case PasteFormat::EnhMetafile: return CF_ENHMETAFILE;
    case PasteFormat::Metafile: return CF_METAFILEPICT;
    case PasteFormat::Dib: return CF_DIB;
    case PasteFormat::Bitmap: return CF_BITMAP;
  }
  return 0;
}

std::unique_ptr<OlePasteEntries> BuildPasteEntries() {
  auto built = std::make_unique<OlePasteEntries>();
  const std::vector<PasteEntry>& table = PasteSpecialEntries();
  built->names.reserve(table.size());
  built->results.reserve(table.size());
  built->linkType = PasteClipboardFormat(PasteFormat::LinkSource);
  for (const PasteEntry& entry : table) {
    built->names.push_back(win::Wide(entry.name));
    built->results.push_back(win::Wide(entry.result));
    OLEUIPASTEENTRYW ole{};
    ole.fmtetc = FORMATETC{PasteClipboardFormat(entry.format), nullptr, DVASPECT_CONTENT, -1,
                           PasteTymed(entry.format)};
    ole.lpstrFormatName = built->names.back().c_str();
    ole.lpstrResultText = built->results.back().c_str();
    DWORD flags = 0;
    if (entry.paste) flags |= OLEUIPASTE_PASTE;
    if (entry.link) flags |= OLEUIPASTE_LINKTYPE1;
    if (entry.asIcon) flags |= OLEUIPASTE_ENABLEICON;
    ole.dwFlags = flags ? flags : DWORD(OLEUIPASTE_PASTEONLY);
    built->entries.push_back(ole);
  }
  return built;
}

bool InsertRichObject(IRichEditOle* ole, IOleObject* object, IStorage* storage, bool asIcon) {
  if (!ole || !object) return false;
  win::com_ptr<IOleClientSite> site;
  if (FAILED(ole->GetClientSite(site.put()))) return false;
  const std::wstring title = win::Wide(ui::Application::Title());
  (void)object->SetHostNames(title.c_str(), nullptr);
  (void)::OleSetContainedObject(object, TRUE);
  REOBJECT inserted{};
  inserted.cbStruct = sizeof inserted;
  inserted.cp = REO_CP_SELECTION;
  (void)object->GetUserClassID(&inserted.clsid);
  inserted.poleobj = object;
  inserted.pstg = storage;
  inserted.polesite = site.get();
  inserted.dvaspect = asIcon ? DVASPECT_ICON : DVASPECT_CONTENT;
  inserted.dwFlags = REO_RESIZABLE | REO_BELOWBASELINE | REO_DYNAMICSIZE | REO_BLANK;
  return SUCCEEDED(ole->InsertObject(&inserted));
}

bool PRichEdit::InsertObject(bool pasteSpecial) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return false;
  win::com_ptr<IOleClientSite> site;
  win::com_ptr<IStorage> storage;
  if (FAILED(ole->GetClientSite(site.put())) || FAILED(MemoryStorage(storage.put()))) return false;
  win::unique_hmodule oledlg;
  win::com_ptr<IOleObject> object;
  bool asIcon = false;

  if (!pasteSpecial) {
    using InsertDialog = UINT(WINAPI*)(LPOLEUIINSERTOBJECTW);
    const auto dialog = OleDialog<InsertDialog>(oledlg, "OleUIInsertObjectW");
    if (!dialog) return false;
    wchar_t file[257] = {};
    OLEUIINSERTOBJECTW query{};
    query.cbStruct = sizeof query;
    query.dwFlags = IOF_SELECTCREATENEW | IOF_DISABLEDISPLAYASICON | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT |
                    IOF_CREATELINKOBJECT;
    query.hWndOwner = Inner();
    query.lpszFile = file;
    query.cchFile = 256;
    query.iid = IID_IOleObject;
    query.oleRender = OLERENDER_DRAW;
    query.lpIOleClientSite = site.get();
    query.lpIStorage = storage.get();
    query.ppvObj = object.put_void();
    const UINT answer = dialog(&query);
    FreeIconPicture(query.hMetaPict);
    if (answer != OLEUI_OK || FAILED(query.sc) || !object) return false;
    asIcon = (query.dwFlags & IOF_CHECKDISPLAYASICON) != 0;
  } else {
    using PasteDialog = UINT(WINAPI*)(LPOLEUIPASTESPECIALW);
    const auto dialog = OleDialog<PasteDialog>(oledlg, "OleUIPasteSpecialW");
    win::com_ptr<IDataObject> data;
    if (!dialog || FAILED(::OleGetClipboard(data.put()))) return false;
    const std::unique_ptr<OlePasteEntries> entries = BuildPasteEntries();
    OLEUIPASTESPECIALW query{};
    query.cbStruct = sizeof query;
    query.dwFlags = PSF_SELECTPASTE;
    query.hWndOwner = Inner();
    query.lpSrcDataObj = data.get();
    query.arrPasteEntries = entries->entries.data();
    query.cPasteEntries = int(entries->entries.size());
    query.arrLinkTypes = &entries->linkType;
    query.cLinkTypes = 1;
    const UINT answer = dialog(&query);
    FreeIconPicture(query.hMetaPict);
    if (answer != OLEUI_OK || query.nSelectedIndex < 0 || query.nSelectedIndex >= query.cPasteEntries) return false;
    asIcon = (query.dwFlags & PSF_CHECKDISPLAYASICON) != 0;
    const PasteFormat format = PasteSpecialEntries()[std::size_t(query.nSelectedIndex)].format;
    if (!PastesObject(format)) {
      // Data: the inner window imports the clipboard in that format.
      REPASTESPECIAL how{DWORD(asIcon ? DVASPECT_ICON : DVASPECT_CONTENT), 0};
      Send(EM_PASTESPECIAL, PasteClipboardFormat(ImportedFormat(format)), LPARAM(&how));
      UpdateToolBar();
      return true;
    }
    const DWORD render = OLERENDER_DRAW;
    FORMATETC icon{0, nullptr, DVASPECT_ICON, -1, TYMED_NULL};
    const HRESULT created =
        query.fLink ? ::OleCreateLinkFromData(data.get(), IID_IOleObject, render, asIcon ? &icon : nullptr,
                                              site.get(), storage.get(), object.put_void())
                    : ::OleCreateFromData(data.get(), IID_IOleObject, render, asIcon ? &icon : nullptr, site.get(),
                                          storage.get(), object.put_void());
    if (FAILED(created) || !object) return false;
  }

  const bool done = InsertRichObject(ole.get(), object.get(), storage.get(), asIcon);
  UpdateToolBar();
  return done;
}

// ---------------------------------------------------------------- printing

bool PRichEdit::Print() {
  PRINTDLGW query{};
  query.lStructSize = sizeof query;
  query.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  if (!::PrintDlgW(&query)) return false;
  if (query.hDevMode) ::GlobalFree(query.hDevMode);
  if (query.hDevNames) ::GlobalFree(query.hDevNames);
  win::unique_hdc printer(query.hDC);
  if (!printer) return false;
  HDC dc = printer.get();
  const std::wstring title = win::Wide(ui::Application::Title());
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = title.c_str();
  if (::StartDocW(dc, &document) <= 0) return false;
  const int dpiX = std::max(1, ::GetDeviceCaps(dc, LOGPIXELSX)), dpiY = std::max(1, ::GetDeviceCaps(dc, LOGPIXELSY));
  const RECT page{0, 0, ::MulDiv(::GetDeviceCaps(dc, HORZRES), 1440, dpiX),
                  ::MulDiv(::GetDeviceCaps(dc, VERTRES), 1440, dpiY)};
  GETTEXTLENGTHEX query16{GTL_PRECISE | GTL_NUMCHARS, 1200};
  const int length = int(Send(EM_GETTEXTLENGTHEX, WPARAM(&query16)));
  const int pages = PrintPages(length, [&](int first) {
    ::StartPage(dc);
    FORMATRANGE range{};
    range.hdc = range.hdcTarget = dc;
    range.rc = range.rcPage = page;
    range.chrg = CHARRANGE{first, -1};
    const int next = int(Send(EM_FORMATRANGE, TRUE, LPARAM(&range)));
    ::EndPage(dc);
    return next;
  });
  Send(EM_FORMATRANGE, FALSE, 0);
  ::EndDoc(dc);
  return pages > 0;
}

}  // namespace orvalis::controls
