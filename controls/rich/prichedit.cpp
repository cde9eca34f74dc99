// The rich text control: the container around the system's rich edit window,
// the inner window itself, the control's settings and the inner window's
// events (keys, links under the mouse, pastes). Loading and measuring are in
// prichedit_text.cpp, fields in prichedit_fields.cpp, embedded objects in
// prichedit_objects.cpp, the editor's bars and commands in the other
// prichedit_*.cpp units.
#include "controls/rich/prichedit.h"

#include <algorithm>
#include <cstdint>

#include "controls/basics/theme.h"
#include "controls/rich/prichedit_bars.h"
#include "controls/rich/prichedit_detail.h"
#include "core/text.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

// The inner window classes in order of preference: the version-1 class first;
// later ones stand in where a system lacks it.
struct RichEditClass {
  const wchar_t* library;
  const wchar_t* className;
  int version;
};
constexpr RichEditClass kRichEditClasses[] = {
    {L"RICHED32.DLL", L"RICHEDIT", 1},
    {L"RICHED20.DLL", L"RichEdit20W", 2},
    {L"MSFTEDIT.DLL", L"RICHEDIT50W", 4},
};

// Loads the first library whose class is registered; the library stays loaded
// for the process, since every window of the class needs it. Null when none is.
const RichEditClass* LoadRichEditClass() {
  static win::unique_hmodule module;
  static const RichEditClass* chosen = [] {
    // Module load errors are not shown to the user.
    const UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const RichEditClass* found = nullptr;
    for (const RichEditClass& c : kRichEditClasses) {
      win::unique_hmodule candidate(::LoadLibraryW(c.library));
      WNDCLASSEXW info{};
      info.cbSize = sizeof info;
      if (candidate && ::GetClassInfoExW(candidate.get(), c.className, &info)) {
        module = std::move(candidate);
        found = &c;
        break;
      }
    }
    ::SetErrorMode(previous);
    return found;
  }();
  return chosen;
}

}  // namespace

using detail::ScreenDpiY;
using detail::ShiftState;
using detail::WaitCursor;

// ---------------------------------------------------------------- PRichEditSub

PRichEditSub::PRichEditSub(PRichEdit& owner) : owner_(owner) {}

void PRichEditSub::MakeCreateParams(CreateParams& params) {
  const RichEditClass* richEdit = LoadRichEditClass();
  params.className = richEdit ? richEdit->className : L"RICHEDIT";
  params.systemClass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL;
  if (owner_.wantReturns_) params.style |= ES_WANTRETURN;
  if (owner_.tabStop_) params.style |= WS_TABSTOP;
  if (owner_.readOnly_) params.style |= ES_READONLY;
  const RichScrollBars bars = owner_.scrollBars_;
  if (bars == RichScrollBars::Horizontal || bars == RichScrollBars::Both) params.style |= WS_HSCROLL;
  if (bars == RichScrollBars::Vertical || bars == RichScrollBars::Both) params.style |= WS_VSCROLL;
  if (!owner_.wordWrap_) params.style |= ES_AUTOHSCROLL;
}

void PRichEditSub::HandleCreated() {
  const RichEditClass* richEdit = LoadRichEditClass();
  version_ = richEdit ? richEdit->version : 0;
  const LRESULT mask = owner_.Send(EM_GETEVENTMASK);
  owner_.Send(EM_SETEVENTMASK, 0, mask | ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED | ENM_UPDATE);
  owner_.ApplyTypography();
  owner_.ApplyBackground();
  owner_.ApplyEditorSettings();
  owner_.Send(EM_SETOLECALLBACK, 0, LPARAM(owner_.oleCallback_.get()));
}

void PRichEditSub::WndProc(ui::Message& m) {
  if (owner_.InnerProc(m)) return;
  switch (m.msg) {
    case WM_SETCURSOR:
      if (cursor_ != RichCursor::Default && LOWORD(m.lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, cursor_ == RichCursor::HandPoint ? IDC_HAND : IDC_ARROW));
        m.result = TRUE;
        return;
      }
      break;
    case ui::CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
      if (header->code == EN_PROTECTED) {
        // Changes of protected text are always allowed; the host only hears of them.
        if (owner_.protectEvents_ && owner_.OnProtectChange) {
          const CHARRANGE& range = reinterpret_cast<const ENPROTECTED*>(m.lParam)->chrg;
          bool allow = true;
          owner_.OnProtectChange(owner_, range.cpMin, range.cpMax, allow);
        }
        m.result = 0;
        return;
      }
      if (header->code == EN_REQUESTRESIZE) {
        const RECT& r = reinterpret_cast<const REQRESIZE*>(m.lParam)->rc;
        owner_.requestedHeight_ = r.bottom - r.top;
        m.result = 0;
        return;
      }
      if (header->code == EN_SELCHANGE) {
        owner_.InnerSelectionChanged();
        m.result = 0;
        return;
      }
      break;
    }
    case ui::CN_COMMAND:
      if (HIWORD(m.wParam) == EN_CHANGE) {
        owner_.InnerChanged();
        m.result = 0;
        return;
      }
      break;
    default: break;
  }
  WinControl::WndProc(m);
  // After the window's own handling and the forwarded mouse event.
  switch (m.msg) {
    case WM_LBUTTONUP: owner_.InnerMouseUp(ui::MouseButton::Left, short(LOWORD(m.lParam)), short(HIWORD(m.lParam))); break;
    case WM_RBUTTONUP: owner_.InnerMouseUp(ui::MouseButton::Right, short(LOWORD(m.lParam)), short(HIWORD(m.lParam))); break;
    case WM_MOUSEMOVE: owner_.InnerMouseMove(short(LOWORD(m.lParam)), short(HIWORD(m.lParam))); break;
    default: break;
  }
}

void PRichEditSub::DoEnter() {
  if (owner_.OnEnter) owner_.OnEnter(owner_);
}

void PRichEditSub::DoExit() {
  if (owner_.OnExit) owner_.OnExit(owner_);
}

void PRichEditSub::MouseDown(ui::MouseButton button, unsigned keys, int x, int y) {
  if (owner_.OnMouseDown) owner_.OnMouseDown(owner_, button, keys, x, y);
}

void PRichEditSub::MouseUp(ui::MouseButton button, unsigned keys, int x, int y) {
  if (owner_.OnMouseUp) owner_.OnMouseUp(owner_, button, keys, x, y);
}

void PRichEditSub::MouseMove(unsigned keys, int x, int y) {
  if (owner_.OnMouseMove) owner_.OnMouseMove(owner_, keys, x, y);
}

// ---------------------------------------------------------------- PRichEdit

PRichEdit::PRichEdit() : sub_(*this), oleCallback_(detail::NewOleCallback()) {
  // The formats paste special offers, registered in this order.
  for (const wchar_t* format : {L"Object Descriptor", L"Embedded Object", L"Link Source", L"Rich Text Format",
                                L"Rich Text Format Without Objects", L"RichEdit Text and Objects"})
    clipboardFormats_.push_back(::RegisterClipboardFormatW(format));
  SetBounds(0, 0, 185, 89);
  sub_.SetParent(this);
  Layout();
}

PRichEdit::~PRichEdit() {
  if (OnDestroy) OnDestroy(*this);
  // The inner window goes first, while everything its messages reach still exists.
  sub_.DestroyHandle();
}

void PRichEdit::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"OrvalisRichEdit";
  params.style &= ~DWORD(WS_TABSTOP);  // the inner window takes the focus
}

void PRichEdit::HandleCreated() {
  ApplyTheme();
  Layout();
}

void PRichEdit::Loaded() {
  ApplyTheme();
  ApplyBackground();
  ApplyEditorBackground();
  Layout();
}

void PRichEdit::BoundsChanged() {
  WinControl::BoundsChanged();
  Layout();
}

void PRichEdit::SetFont(const ui::Font& font) {
  WinControl::SetFont(font);
  sub_.SetFont(font);
}

void PRichEdit::WndProc(ui::Message& m) {
  if (!CustomCtrlProc(m)) WinControl::WndProc(m);
}

bool PRichEdit::CustomCtrlProc(ui::Message& m) {
  switch (m.msg) {
    case WM_CLOSE: m.result = 0; return true;
    case WM_SETFOCUS:
      if (sub_.HandleAllocated()) ::SetFocus(sub_.HandleIfCreated());
      m.result = 0;
      return true;
    case WM_THEMECHANGED: ApplyTheme(); break;
    case WM_ENABLE:
      if (RichToolBar* bar = ToolBar()) bar->SetAllEnabled(m.wParam != 0);
      break;
    default: break;
  }
  return false;
}

HWND PRichEdit::Inner() { return sub_.Handle(); }

LRESULT PRichEdit::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND inner = Inner();
  return inner ? ::SendMessageW(inner, msg, wParam, lParam) : 0;
}

void PRichEdit::Layout() {
  const int b = borderStyle_ == ui::BorderStyle::Single ? 1 : 0;
  const int y = PlaceBars(b);
  sub_.SetBounds(b, y + b, std::max(0, Width() - 2 * b), std::max(0, Height() - y - 2 * b));
}

void PRichEdit::ApplyTheme() {
  if (!Parent()) return;
  ui::Control::SetColor(ui::SystemColor(COLOR_3DDKSHADOW));
  if (!HandleAllocated()) return;
  unique_htheme theme(ThemeOpen(HandleIfCreated(), "Edit"));
  COLORREF border = 0;
  constexpr int kEditPart = 1, kNormalState = 1, kBorderColor = 3801;
  if (theme && ThemeGetColor(theme.get(), kEditPart, kNormalState, kBorderColor, border)) ui::Control::SetColor(border);
}

void PRichEdit::ApplyTypography() {
  if (!sub_.HandleAllocated()) return;
  // The process keeps advanced typography off; windows that have it on are switched.
  constexpr bool kAdvancedTypography = false;
  const bool advanced = (Send(EM_GETTYPOGRAPHYOPTIONS) & TO_ADVANCEDTYPOGRAPHY) != 0;
  if (advanced != kAdvancedTypography)
    Send(EM_SETTYPOGRAPHYOPTIONS, kAdvancedTypography ? TO_ADVANCEDTYPOGRAPHY : 0, TO_ADVANCEDTYPOGRAPHY);
}

void PRichEdit::ApplyBackground() {
  if (!sub_.HandleAllocated()) return;
  if (background_ == ui::SystemColor(COLOR_WINDOW)) Send(EM_SETBKGNDCOLOR, 1, 0);
  else Send(EM_SETBKGNDCOLOR, 0, LPARAM(ui::ResolveColor(background_)));
}

// ---------------------------------------------------------------- settings

int PRichEdit::IsLink(std::string& word) const { return controls::IsLink(word, linkList_); }

void PRichEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (sub_.HandleAllocated()) Send(EM_SETREADONLY, readOnly, 0);
  sub_.SetCursor(readOnly ? RichCursor::Arrow : RichCursor::Default);
  if (readOnly) {
    SetShowToolBar(false);
    SetShowTabBar(false);
  }
  Layout();
}

void PRichEdit::SetZoom(int zoom) {
  zoom = ClampZoom(zoom);
  if (!readOnly_) {
    zoom = 100;  // only a read-only text is zoomed, by its font sizes
  } else if (zoom != zoom_ && sub_.HandleAllocated()) {
    if (const auto scaled = ScaleFontSizes(StreamRichTextOut(), zoom, zoom_)) (void)StreamRichTextIn(*scaled);
  }
  zoom_ = zoom;
}

void PRichEdit::SetColor(ui::Color color) {
  background_ = color;
  ApplyBackground();
  UpdateToolBar();
}

void PRichEdit::SetBorderStyle(ui::BorderStyle style) {
  borderStyle_ = style;
  Layout();
  Invalidate();
}

void PRichEdit::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (HWND inner = sub_.HandleIfCreated()) {
    const LONG_PTR style = ::GetWindowLongPtrW(inner, GWL_STYLE);
    ::SetWindowLongPtrW(inner, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
  }
}

void PRichEdit::SetLanguage(std::string_view language) {
  if (!language.empty()) language_ = UpperCase(language);
  UpdateToolBar();
}

int PRichEdit::GetSelStart() {
  CHARRANGE range{};
  Send(EM_EXGETSEL, 0, LPARAM(&range));
  return range.cpMin;
}

void PRichEdit::SetSelStart(int start) {
  CHARRANGE range{start, start};
  Send(EM_EXSETSEL, 0, LPARAM(&range));
}

int PRichEdit::GetSelLength() {
  CHARRANGE range{};
  Send(EM_EXGETSEL, 0, LPARAM(&range));
  return range.cpMax - range.cpMin;
}

void PRichEdit::SetSelLength(int length) {
  CHARRANGE range{};
  Send(EM_EXGETSEL, 0, LPARAM(&range));
  range.cpMax = range.cpMin + length;
  Send(EM_EXSETSEL, 0, LPARAM(&range));
}

void PRichEdit::Focus() { ::SetFocus(Inner()); }

void PRichEdit::ApplyEditorSettings() {
  if (!sub_.HandleAllocated()) return;
  if (maxLength_ > 0) Send(EM_EXLIMITTEXT, 0, LPARAM(maxLength_));
  Send(EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1);  // 0: lines wrap at the window's width
}

void PRichEdit::SetMaxLength(int length) {
  maxLength_ = std::max(length, 0);
  if (sub_.HandleAllocated()) Send(EM_EXLIMITTEXT, 0, LPARAM(maxLength_));  // 0: the window's default
}

void PRichEdit::SetScrollBars(RichScrollBars bars) {
  scrollBars_ = bars;
  HWND inner = sub_.HandleIfCreated();
  if (!inner) return;
  LONG_PTR style = ::GetWindowLongPtrW(inner, GWL_STYLE) & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL);
  if (bars == RichScrollBars::Horizontal || bars == RichScrollBars::Both) style |= WS_HSCROLL;
  if (bars == RichScrollBars::Vertical || bars == RichScrollBars::Both) style |= WS_VSCROLL;
  ::SetWindowLongPtrW(inner, GWL_STYLE, style);
  ::SetWindowPos(inner, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void PRichEdit::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  ApplyEditorSettings();
}

void PRichEdit::SetWantReturns(bool want) {
  wantReturns_ = want;
  if (HWND inner = sub_.HandleIfCreated()) {
    const LONG_PTR style = ::GetWindowLongPtrW(inner, GWL_STYLE);
    ::SetWindowLongPtrW(inner, GWL_STYLE, want ? style | ES_WANTRETURN : style & ~LONG_PTR(ES_WANTRETURN));
  }
}

void PRichEdit::SetLogFont(const LOGFONTW& logFont) {
  ui::Font font = GetFont();
  font.height = logFont.lfHeight;
  font.face = win::Narrow(logFont.lfFaceName);
  font.weight = int(logFont.lfWeight);
  font.charset = logFont.lfCharSet;
  font.style = std::uint8_t((logFont.lfWeight >= FW_BOLD ? ui::kBold : 0) | (logFont.lfItalic ? ui::kItalic : 0) |
                            (logFont.lfUnderline ? ui::kUnderline : 0) | (logFont.lfStrikeOut ? ui::kStrikeOut : 0));
  SetFont(font);
}

ui::Font PRichEdit::GetSelectedFont() {
  ui::Font font = GetFont();
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  if (format.dwMask & CFM_FACE) font.face = win::Narrow(format.szFaceName);
  if (format.dwMask & CFM_SIZE) font.height = -::MulDiv(format.yHeight, ScreenDpiY(), 1440);
  if (format.dwMask & CFM_CHARSET) font.charset = format.bCharSet;
  font.style = std::uint8_t(((format.dwEffects & CFE_BOLD) ? ui::kBold : 0) |
                            ((format.dwEffects & CFE_ITALIC) ? ui::kItalic : 0) |
                            ((format.dwEffects & CFE_UNDERLINE) ? ui::kUnderline : 0) |
                            ((format.dwEffects & CFE_STRIKEOUT) ? ui::kStrikeOut : 0));
  font.weight = 0;
  if (format.dwMask & CFM_COLOR)
    font.color = (format.dwEffects & CFE_AUTOCOLOR) ? ui::SystemColor(COLOR_WINDOWTEXT) : format.crTextColor;
  return font;
}

void PRichEdit::SetSelectedFont(const ui::Font& font) {
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR;
  const std::wstring face = win::Wide(font.face);
  face.copy(format.szFaceName, LF_FACESIZE - 1);
  format.yHeight = ::MulDiv(std::abs(font.height), 1440, ScreenDpiY());
  format.bCharSet = BYTE(font.charset);
  if (font.style & ui::kBold || font.weight >= FW_BOLD) format.dwEffects |= CFE_BOLD;
  if (font.style & ui::kItalic) format.dwEffects |= CFE_ITALIC;
  if (font.style & ui::kUnderline) format.dwEffects |= CFE_UNDERLINE;
  if (font.style & ui::kStrikeOut) format.dwEffects |= CFE_STRIKEOUT;
  format.crTextColor = ui::ResolveColor(font.color);
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
}

// ---------------------------------------------------------------- the inner window's events

bool PRichEdit::InnerProc(ui::Message& m) {
  if (debug_ && (m.msg < ui::CN_BASE || m.msg >= ui::CN_BASE + 0x400)) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::string line = DebugLine(now.wHour, now.wMinute, now.wSecond, m.msg, std::uint64_t(m.wParam),
                                       std::uint64_t(m.lParam));
    if (debugSink_) debugSink_(line);
    else ::OutputDebugStringW(win::Wide(line + "\n").c_str());
  }
  return CustomProc(m) || EditorKeys(m);
}

bool PRichEdit::CustomProc(ui::Message& m) {
  switch (m.msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
      auto& handler = m.msg == WM_KEYDOWN ? OnKeyDown : OnKeyUp;
      if (handler) {
        unsigned key = unsigned(m.wParam);
        handler(*this, key, ShiftState());
        if (key == 0) {
          m.result = 0;
          return true;
        }
        m.wParam = key;
      }
      if (m.msg == WM_KEYDOWN && showLinks_ && !readOnly_ &&
          (m.wParam == VK_SPACE || m.wParam == VK_RETURN || m.wParam == VK_TAB))
        FormatLinkBeforeCaret();
      return false;
    }
    case WM_LBUTTONDBLCLK:
      if (OnFieldEdit) {
        WaitCursor wait;
        (void)FieldEdit(short(LOWORD(m.lParam)), short(HIWORD(m.lParam)), false);
      }
      if (OnDblClick) OnDblClick(*this);
      return false;
    case kRichPastedMessage: {
      const int start = int(m.wParam), end = int(m.lParam);
      if (!richFormat_ && end > start) {
        // Plain-text editing: pasted text takes the window's font.
        CHARRANGE selection{};
        Send(EM_EXGETSEL, 0, LPARAM(&selection));
        CHARRANGE pasted{start, end};
        Send(EM_EXSETSEL, 0, LPARAM(&pasted));
        CHARFORMATW format{};
        format.cbSize = sizeof format;
        Send(EM_GETCHARFORMAT, SCF_DEFAULT, LPARAM(&format));
        Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
        Send(EM_EXSETSEL, 0, LPARAM(&selection));
      }
      ReinsertObjects(ObjectRange{start, end - start});
      m.result = 0;
      return true;
    }
    case kRichReinsertMessage:
      ReinsertObjects(ObjectRange{0, -1});
      m.result = 0;
      return true;
    case kRichFocusMessage:
      Focus();
      m.result = 0;
      return true;
    default: return false;
  }
}

int PRichEdit::CharFromPos(int x, int y) {
  POINTL point{x, y};
  return int(Send(EM_CHARFROMPOS, 0, LPARAM(&point)));
}

void PRichEdit::InnerMouseUp(ui::MouseButton button, int x, int y) {
  if (button == ui::MouseButton::Left && OnLink) {
    const int p = CharFromPos(x, y);
    const std::wstring text = PositionText();
    CHARRANGE selection{};
    Send(EM_EXGETSEL, 0, LPARAM(&selection));
    if (p > 0 && p <= int(text.size()) && selection.cpMax - selection.cpMin < 10000) {
      if (selection.cpMin == selection.cpMax) {
        CHARRANGE one{p, p + 1};
        Send(EM_EXSETSEL, 0, LPARAM(&one));
        Send(EM_EXGETSEL, 0, LPARAM(&selection));
        if (selection.cpMin == selection.cpMax) {
          one = CHARRANGE{p - 1, p};
          Send(EM_EXSETSEL, 0, LPARAM(&one));
        }
      }
      // A link picture carries its address in its description.
      std::string link;
      const std::string selected = GetRTFSel();
      if (const std::optional<PictureSpan> span = FindPicture(selected, 0)) {
        const win::unique_henhmetafile metafile = MetafileFromPicture(selected, *span);
        if (const std::optional<PictureLabel> label = MetafileLabel(metafile.get()))
          link = LinkFromPictureLabel(*label);
      }
      if (!link.empty()) {
        sub_.SetCursor(RichCursor::Default);
        OnLink(*this, link, -1);
      } else {
        std::string word = WordAround(win::Narrow(text), p);
        if (const int object = IsLink(word); object >= 0) {
          sub_.SetCursor(RichCursor::Default);
          OnLink(*this, word, object);
        }
      }
    }
  }
  if (button == ui::MouseButton::Right) ContextMenuAt(x, y);
  if (readOnly_ && sub_.HandleAllocated()) {
    CHARRANGE start{0, 0};
    Send(EM_EXSETSEL, 0, LPARAM(&start));
  }
}

void PRichEdit::InnerMouseMove(int x, int y) {
  if (!OnLink) {
    ShowFieldHint(x, y);
    return;
  }
  std::string word = WordAround(win::Narrow(PositionText()), CharFromPos(x, y));
  RichCursor cursor = readOnly_ ? RichCursor::Arrow : RichCursor::Default;
  if (!word.empty() && IsLink(word) >= 0) cursor = RichCursor::HandPoint;
  sub_.SetCursor(cursor);
  if (cursor != RichCursor::Default)
    ::SetCursor(::LoadCursorW(nullptr, cursor == RichCursor::HandPoint ? IDC_HAND : IDC_ARROW));
}

void PRichEdit::FormatLinkBeforeCaret() {
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  if (selection.cpMin != selection.cpMax) return;
  const std::wstring text = PositionText();
  const LONG caret = std::min<LONG>(selection.cpMin, LONG(text.size()));
  LONG start = caret;
  while (start > 0 && !IsLinkDelimiter(char16_t(text[std::size_t(start - 1)]))) --start;
  if (start == caret) return;
  std::string word = win::Narrow(std::wstring_view(text).substr(std::size_t(start), std::size_t(caret - start)));
  if (IsLink(word) < 0) return;
  // The attributes the next characters are typed with.
  CHARFORMATW typing{};
  typing.cbSize = sizeof typing;
  typing.dwMask = CFM_UNDERLINE | CFM_COLOR;
  Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&typing));
  CHARRANGE linkRange{start, caret};
  Send(EM_EXSETSEL, 0, LPARAM(&linkRange));
  CHARFORMATW link{};
  link.cbSize = sizeof link;
  link.dwMask = CFM_UNDERLINE | CFM_COLOR;
  link.dwEffects = CFE_UNDERLINE;
  link.crTextColor = 0xFF0000;  // blue
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&link));
  Send(EM_EXSETSEL, 0, LPARAM(&selection));
  typing.dwMask = CFM_UNDERLINE | CFM_COLOR;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&typing));
}

void PRichEdit::InnerSelectionChanged() {
  if (selectionEvents_) DoSelectionChange();
}

void PRichEdit::InnerChanged() {
  if (!loading_ && OnChange) OnChange(*this);
}

}  // namespace orvalis::controls
