// The rich text editor's bars: the tool bar with its font boxes and hints, the
// ruler with the paragraph's indents and tab stops, and how the control shows,
// places and refreshes them.
#include "controls/rich/prichedit_bars.h"

#include <algorithm>
#include <string>

#include "controls/rich/prichedit.h"
#include "controls/rich/prichedit_detail.h"
#include "services/settings.h"
#include "win/gdi.h"
#include "win/module.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

constexpr int kFirstCommand = 100;
constexpr int kSeparatorWidth = 8;
constexpr int kFontNameWidth = 130;
constexpr int kFontSizeWidth = 50;

int CALLBACK AddFontName(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* box = reinterpret_cast<RichComboBox*>(data);
  if (font->lfFaceName[0] != L'@') box->AddItem(win::Narrow(font->lfFaceName));  // no vertical faces
  return 1;
}

}  // namespace

using detail::Dutch;
using detail::kEditorColorValue;
using detail::kSettingsSection;
using detail::ParagraphFormat;
using detail::ScreenDpiX;
using detail::SelectionFormat;
using detail::SendTo;
using detail::SetParagraph;

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

int PRichEdit::BarsAndBorderHeight() {
  const int b = GetBorderStyle() == ui::BorderStyle::Single ? 1 : 0;
  int height = 2 * b;
  // Bars that exist count while auto-hidden too: the text must fit when they show.
  if (bars_ && bars_->toolBar) height += bars_->toolBar->BarHeight();
  if (bars_ && bars_->ruler) height += b + RichRuler::RulerHeight();
  return height;
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
  if (OnSelectObject) OnSelectObject(*this, SelectedFieldNames());
  if (OnSelectionChange) OnSelectionChange(*this);
}

}  // namespace orvalis::controls
