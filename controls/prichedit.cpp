// The rich text control on the system's rich edit window: streaming, loading,
// measuring and drawing, links and the container's layout.
#include "controls/prichedit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "controls/theme.h"
#include "core/text.h"
#include "win/gdi.h"
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

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int ScreenDpiY() {
  win::window_dc screen(nullptr);
  return screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

// Sets and restores a flag for the length of a scope.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), previous_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace

// ---------------------------------------------------------------- pictures

std::string MetafilePictureText(HENHMETAFILE metafile) {
  if (!metafile) return {};
  win::window_dc screen(nullptr);
  const UINT size = ::GetWinMetaFileBits(metafile, 0, nullptr, MM_ANISOTROPIC, screen.get());
  if (size == 0) return {};
  std::string bits(size, '\0');
  if (::GetWinMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bits.data()), MM_ANISOTROPIC, screen.get()) == 0)
    return {};
  ENHMETAHEADER header{};
  ::GetEnhMetaFileHeader(metafile, sizeof header, &header);
  const int dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX), dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  // The frame is kept in hundredths of a millimetre.
  const int width = ::MulDiv(header.rclFrame.right - header.rclFrame.left, dpiX, 2540);
  const int height = ::MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpiY, 2540);
  return PictureText(bits, width, height, dpiX, dpiY);
}

win::unique_henhmetafile MetafileFromPicture(std::string_view rtf, PictureSpan span) {
  const std::optional<MetafileData> data = ReadPicture(rtf, span);
  if (!data || data->bytes.empty()) return {};
  win::window_dc screen(nullptr);
  const METAFILEPICT picture{MM_ANISOTROPIC, data->width, data->height, nullptr};
  return win::unique_henhmetafile(::SetWinMetaFileBits(
      UINT(data->bytes.size()), reinterpret_cast<const BYTE*>(data->bytes.data()), screen.get(), &picture));
}

std::optional<PictureLabel> MetafileLabel(HENHMETAFILE metafile) {
  if (!metafile) return std::nullopt;
  const UINT length = ::GetEnhMetaFileDescriptionW(metafile, 0, nullptr);
  if (length == 0 || length == GDI_ERROR) return std::nullopt;
  std::wstring text(length, L'\0');
  if (::GetEnhMetaFileDescriptionW(metafile, length, text.data()) == GDI_ERROR) return std::nullopt;
  // "author\0description\0\0"
  const std::size_t authorEnd = std::min(text.find(L'\0'), text.size());
  const std::wstring_view rest = authorEnd < text.size() ? std::wstring_view(text).substr(authorEnd + 1) : L"";
  PictureLabel label;
  label.author = win::Narrow(std::wstring_view(text).substr(0, authorEnd));
  label.description = win::Narrow(rest.substr(0, std::min(rest.find(L'\0'), rest.size())));
  return label;
}

// ---------------------------------------------------------------- PStreamObject

PStreamObject PStreamObject::Borrowing(std::string_view text) {
  PStreamObject s;
  s.data_ = text.data();
  s.borrowed_ = true;
  s.size_ = text.size();
  return s;
}

PStreamObject PStreamObject::Owning(std::string text) {
  PStreamObject s;
  s.storage_ = std::move(text);
  s.data_ = s.storage_.data();
  s.size_ = s.storage_.size();
  return s;
}

PStreamObject::PStreamObject(PStreamObject&& other) noexcept
    : data_(other.data_),
      borrowed_(other.borrowed_),
      size_(other.size_),
      position_(other.position_),
      storage_(std::move(other.storage_)) {
  if (!borrowed_) data_ = storage_.data();
  other.data_ = nullptr;
  other.size_ = other.position_ = 0;
}

std::string PStreamObject::Written() const {
  std::string_view written(storage_.data(), std::min(position_, storage_.size()));
  while (!written.empty() && written.back() == '\0') written.remove_suffix(1);
  return std::string(written);
}

DWORD CALLBACK PStreamObject::ReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept {
  auto* self = reinterpret_cast<PStreamObject*>(cookie);
  if (!self || size < 0) return 1;
  const std::size_t n = std::min(std::size_t(size), self->size_ - std::min(self->position_, self->size_));
  if (n > 0) std::memcpy(buffer, self->data_ + self->position_, n);
  self->position_ += n;
  *done = LONG(n);
  return 0;
}

DWORD CALLBACK PStreamObject::WriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept {
  auto* self = reinterpret_cast<PStreamObject*>(cookie);
  if (!self || size < 0) return 1;
  try {
    const std::size_t n = std::size_t(size);
    if (self->position_ + n > self->storage_.size()) {
      self->storage_.resize(std::max(self->position_ + n, self->storage_.size() * 2 + 4096));
      self->size_ = self->storage_.size();
    }
    std::memcpy(self->storage_.data() + self->position_, buffer, n);
    self->position_ += n;
    self->data_ = self->storage_.data();
    *done = size;
    return 0;
  } catch (...) {
    *done = 0;
    return 1;  // out of memory: the window ends the stream
  }
}

// ---------------------------------------------------------------- PRichEditSub

PRichEditSub::PRichEditSub(PRichEdit& owner) : owner_(owner) {}

void PRichEditSub::MakeCreateParams(CreateParams& params) {
  const RichEditClass* richEdit = LoadRichEditClass();
  params.className = richEdit ? richEdit->className : L"RICHEDIT";
  params.systemClass = true;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (owner_.tabStop_) params.style |= WS_TABSTOP;
  if (owner_.readOnly_) params.style |= ES_READONLY;
}

void PRichEditSub::HandleCreated() {
  const RichEditClass* richEdit = LoadRichEditClass();
  version_ = richEdit ? richEdit->version : 0;
  const LRESULT mask = owner_.Send(EM_GETEVENTMASK);
  owner_.Send(EM_SETEVENTMASK, 0, mask | ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED | ENM_UPDATE);
  owner_.ApplyTypography();
  owner_.ApplyBackground();
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
        m.result = 0;  // the control's own changes of protected text are always allowed
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

PRichEdit::PRichEdit() : sub_(*this) {
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
  switch (m.msg) {
    case WM_CLOSE: m.result = 0; return;
    case WM_SETFOCUS:
      if (sub_.HandleAllocated()) ::SetFocus(sub_.HandleIfCreated());
      m.result = 0;
      return;
    case WM_THEMECHANGED: ApplyTheme(); break;
    default: break;
  }
  WinControl::WndProc(m);
}

HWND PRichEdit::Inner() { return sub_.Handle(); }

LRESULT PRichEdit::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND inner = Inner();
  return inner ? ::SendMessageW(inner, msg, wParam, lParam) : 0;
}

void PRichEdit::Layout() {
  const int b = borderStyle_ == ui::BorderStyle::Single ? 1 : 0;
  sub_.SetBounds(b, b, std::max(0, Width() - 2 * b), std::max(0, Height() - 2 * b));
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

// ---------------------------------------------------------------- text

std::wstring PRichEdit::PositionText() {
  GETTEXTLENGTHEX lengthQuery{GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LRESULT length = Send(EM_GETTEXTLENGTHEX, WPARAM(&lengthQuery), 0);
  if (length > 0) {
    std::wstring text(std::size_t(length) + 1, L'\0');
    GETTEXTEX query{DWORD(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    const LRESULT got = Send(EM_GETTEXTEX, WPARAM(&query), LPARAM(text.data()));
    if (got > 0) {
      text.resize(std::size_t(got));
      return text;
    }
  }
  // Windows without the extended messages: the window text.
  HWND inner = Inner();
  const int n = inner ? ::GetWindowTextLengthW(inner) : 0;
  if (n <= 0) return {};
  std::wstring text(std::size_t(n) + 1, L'\0');
  text.resize(std::size_t(std::max(::GetWindowTextW(inner, text.data(), n + 1), 0)));
  return text;
}

void PRichEdit::SetPlainText(std::string_view text) {
  const std::wstring wide = win::Wide(text);
  SETTEXTEX how{ST_DEFAULT, 1200};
  if (!Send(EM_SETTEXTEX, WPARAM(&how), LPARAM(wide.c_str()))) ::SetWindowTextW(Inner(), wide.c_str());
}

void PRichEdit::SetText(std::string_view text) {
  ApplyTypography();
  SetPlainText(text);
}

std::string PRichEdit::GetText() {
  std::wstring text = PositionText();
  // Paragraph ends as CR LF, whichever way the window keeps them.
  std::wstring out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n')) out += L'\n';
  }
  return win::Narrow(out);
}

bool PRichEdit::StreamIn(std::string_view rtf, UINT format) {
  // The window reads 8-bit RTF: text outside ASCII goes in as escapes.
  PStreamObject stream = IsAscii(rtf) ? PStreamObject::Borrowing(rtf) : PStreamObject::Owning(EscapeRtfText(rtf));
  EDITSTREAM es{DWORD_PTR(&stream), 0, &PStreamObject::ReadCallback};
  Send(EM_STREAMIN, format, LPARAM(&es));
  return es.dwError == 0;
}

std::string PRichEdit::StreamOut(UINT format) {
  PStreamObject stream;
  EDITSTREAM es{DWORD_PTR(&stream), 0, &PStreamObject::WriteCallback};
  Send(EM_STREAMOUT, format, LPARAM(&es));
  return stream.Written();
}

bool PRichEdit::StreamRichTextIn(std::string_view rtf) {
  ::SetWindowTextW(Inner(), L"");
  Send(EM_EXLIMITTEXT, 0, LPARAM(rtf.size() + 65536));
  return StreamIn(rtf, SF_RTF);
}

std::string PRichEdit::StreamRichTextOut() { return StreamOut(SF_RTF); }

std::string PRichEdit::GetRTFSel() { return StreamOut(SF_RTF | SFF_SELECTION); }

void PRichEdit::DelSel() { StreamIn("", SF_RTF | SFF_SELECTION); }

std::string PRichEdit::GetRichText() {
  const std::string rtf = StreamRichTextOut();
  const PictureLabelReader readLabel = [](std::string_view picture) -> std::optional<PictureLabel> {
    const std::optional<PictureSpan> span = FindPicture(picture, 0);
    if (!span) return std::nullopt;
    const win::unique_henhmetafile metafile = MetafileFromPicture(picture, *span);
    return MetafileLabel(metafile.get());
  };
  return StoredRichText(rtf, GetText(), readLabel);
}

std::string PRichEdit::GetHtml() { return PlainTextToHtml(GetText()); }

void PRichEdit::SetRichText(std::string_view text) {
  FlagScope loading(loading_, true);
  FlagScope quiet(selectionEvents_, false);
  ApplyTypography();
  HWND inner = Inner();
  const bool redrawOff = inner && ::IsWindowVisible(inner);
  if (redrawOff) ::SendMessageW(inner, WM_SETREDRAW, FALSE, 0);

  const RichTextLoad load = PrepareRichText(text);
  if (!load.rtf) {
    SetPlainText(load.text);
  } else {
    (void)StreamRichTextIn(load.text);
    if (!richFormat_) {
      // Plain-text editing: the window's font and no paragraph spacing.
      CHARRANGE all{0, -1};
      Send(EM_EXSETSEL, 0, LPARAM(&all));
      CHARFORMATW format{};
      format.cbSize = sizeof format;
      Send(EM_GETCHARFORMAT, SCF_DEFAULT, LPARAM(&format));
      Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
      PARAFORMAT2 paragraph{};
      paragraph.cbSize = sizeof paragraph;
      paragraph.dwMask = PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING;
      Send(EM_SETPARAFORMAT, 0, LPARAM(&paragraph));
    }
    ExpandFields();
  }

  if (redrawOff) {
    ::SendMessageW(inner, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(inner, nullptr, TRUE);
    Invalidate();
  }
  selectionEvents_ = true;
  CHARRANGE caret{0, 0};
  Send(EM_EXSETSEL, 0, LPARAM(&caret));
  CheckContrast(load.text);
  if (zoom_ != 100) {
    // Loading reset the sizes of the text.
    const int zoom = zoom_;
    zoom_ = 100;
    SetZoom(zoom);
  }
  InnerSelectionChanged();
}

void PRichEdit::ExpandFields() {
  // Every protected "[name]" stands for a field. The host supplies no field
  // pictures yet, so each marker is taken out, as for a field without content.
  std::wstring text = PositionText();
  for (std::size_t open = text.find(L'['); open != std::wstring::npos; open = text.find(L'[', open)) {
    CHARRANGE caret{LONG(open + 1), LONG(open + 1)};
    Send(EM_EXSETSEL, 0, LPARAM(&caret));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    if ((format.dwEffects & CFE_PROTECTED) == 0) {
      ++open;
      continue;
    }
    const std::size_t close = text.find(L']', open);
    CHARRANGE marker{LONG(open), LONG(close == std::wstring::npos ? text.size() : close + 1)};
    Send(EM_EXSETSEL, 0, LPARAM(&marker));
    DelSel();
    const std::wstring after = PositionText();
    if (after.size() >= text.size()) break;  // the window kept the marker: nothing more to do
    text = after;
  }
  CHARRANGE all{0, -1};
  Send(EM_EXSETSEL, 0, LPARAM(&all));
  CHARFORMATW unprotect{};
  unprotect.cbSize = sizeof unprotect;
  unprotect.dwMask = CFM_PROTECTED;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&unprotect));
}

void PRichEdit::CheckContrast(std::string_view loaded) {
  if (const auto color = ContrastBackground(ColorList(loaded), ui::ResolveColor(background_))) SetColor(*color);
}

// ---------------------------------------------------------------- size and drawing

int PRichEdit::RealHeight(int width, HDC dc) {
  HWND inner = Inner();
  if (!inner || PositionText().empty()) return 0;
  if (width == 0) width = sub_.Width();
  const int screenDpi = ScreenDpiY();
  std::optional<win::window_dc> screen;
  if (!dc) dc = screen.emplace(nullptr).get();
  const int t = TwipsPerPixel(dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0, screenDpi);
  FORMATRANGE range{};
  range.hdc = range.hdcTarget = dc;
  range.rc = RECT{0, 0, (width - 1) * t, kMeasureTwips};
  range.rcPage = RECT{0, 0, (width - 1) * t, 0};
  range.chrg = CHARRANGE{0, -1};
  const LRESULT fitted = Send(EM_FORMATRANGE, FALSE, LPARAM(&range));
  Send(EM_FORMATRANGE, FALSE, 0);  // frees the formatting cache
  // A window that formats nothing for a text that is not empty does not
  // measure ranges (Wine's rich edit): it is asked for its own height instead.
  const int height = fitted > 0 ? MeasuredHeight(range.rc.bottom, t) : RequestedHeight(width);
  RECT window{}, client{};
  ::GetWindowRect(inner, &window);
  ::GetClientRect(inner, &client);
  return height + (window.bottom - window.top) - client.bottom;
}

int PRichEdit::RequestedHeight(int width) {
  HWND inner = Inner();
  RECT window{}, client{};
  ::GetWindowRect(inner, &window);
  ::GetClientRect(inner, &client);
  const int windowWidth = window.right - window.left, windowHeight = window.bottom - window.top;
  const int wanted = width + windowWidth - client.right;
  constexpr UINT kQuiet = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
  if (wanted != windowWidth) ::SetWindowPos(inner, nullptr, 0, 0, wanted, windowHeight, kQuiet);
  const LRESULT mask = Send(EM_GETEVENTMASK);
  Send(EM_SETEVENTMASK, 0, mask | ENM_REQUESTRESIZE);
  requestedHeight_ = 0;
  Send(EM_REQUESTRESIZE);
  Send(EM_SETEVENTMASK, 0, mask);
  if (wanted != windowWidth) ::SetWindowPos(inner, nullptr, 0, 0, windowWidth, windowHeight, kQuiet);
  return requestedHeight_ < kMeasureTwips ? requestedHeight_ : 0;
}

void PRichEdit::Fit() { SetBounds(Left(), Top(), Width(), RealHeight(0, nullptr)); }

void PRichEdit::DrawTo(ui::GdiCanvas& canvas, int left, int top, int right, int bottom, int formatLeft,
                       int formatTop, HDC target) {
  HWND inner = Inner();
  HDC dc = canvas.dc();
  if (!inner || !dc) return;
  if (!target) target = dc;
  int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  if (dpi <= 0) dpi = ScreenDpiY();
  const double t = 1440.0 / std::max(dpi, 1);
  auto twips = [t](int v) { return LONG(std::lround(v * t)); };

  const LONG_PTR exStyle = ::GetWindowLongPtrW(inner, GWL_EXSTYLE);
  ::SetWindowLongPtrW(inner, GWL_EXSTYLE, exStyle | WS_EX_TRANSPARENT);
  FORMATRANGE range{};
  range.hdc = dc;
  range.hdcTarget = target;
  range.rc = RECT{twips(formatLeft), twips(formatTop), twips(right), twips(bottom)};
  range.rcPage = RECT{0, 0, twips(right - formatLeft), twips(bottom - formatTop)};
  range.chrg = CHARRANGE{0, -1};
  Send(EM_FORMATRANGE, FALSE, LPARAM(&range));
  RECT band{twips(left), twips(top), twips(right), twips(bottom)};
  if (!Send(EM_DISPLAYBAND, 0, LPARAM(&band))) {
    // Windows without band display render the range in one step instead.
    FORMATRANGE render = range;
    render.rc = band;
    render.chrg = CHARRANGE{0, -1};
    if (Send(EM_FORMATRANGE, TRUE, LPARAM(&render)) == 0) {
      // Nor ranges at all (Wine's rich edit): the window paints what it shows.
      win::saved_dc saved(dc);
      ::IntersectClipRect(dc, left, top, right, bottom);
      POINT origin{};
      ::GetViewportOrgEx(dc, &origin);
      ::SetViewportOrgEx(dc, origin.x + left, origin.y + top, nullptr);
      ::SendMessageW(inner, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
    }
  }
  Send(EM_FORMATRANGE, FALSE, 0);
  ::SetWindowLongPtrW(inner, GWL_EXSTYLE, exStyle);
}

// ---------------------------------------------------------------- settings

int PRichEdit::IsLink(std::string& word) const { return controls::IsLink(word, linkList_); }

void PRichEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (sub_.HandleAllocated()) Send(EM_SETREADONLY, readOnly, 0);
  sub_.SetCursor(readOnly ? RichCursor::Arrow : RichCursor::Default);
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
  if (m.msg == WM_KEYDOWN && showLinks_ && !readOnly_ &&
      (m.wParam == VK_SPACE || m.wParam == VK_RETURN || m.wParam == VK_TAB))
    FormatLinkBeforeCaret();
  return false;
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
  // The context menu of a right-button release belongs to the editor commands.
  if (readOnly_ && sub_.HandleAllocated()) {
    CHARRANGE start{0, 0};
    Send(EM_EXSETSEL, 0, LPARAM(&start));
  }
}

void PRichEdit::InnerMouseMove(int x, int y) {
  if (!OnLink) return;  // mouse moves then serve field hints
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
  if (selectionEvents_ && OnSelectionChange) OnSelectionChange(*this);
}

void PRichEdit::InnerChanged() {
  if (!loading_ && OnChange) OnChange(*this);
}

}  // namespace orvalis::controls
