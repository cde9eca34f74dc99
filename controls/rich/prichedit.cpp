// The rich text control on the system's rich edit window: streaming, loading,
// measuring and drawing, links and the container's layout.
#include "controls/rich/prichedit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "controls/rich/jpeg_picture.h"
#include "controls/rich/prichedit_bars.h"
#include "controls/basics/theme.h"
#include "core/text.h"
#include "win/gdi.h"
#include "win/scope_exit.h"
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

// Takes an event handler away for the length of a scope, as if it were not assigned.
template <typename Handler>
class DetachScope {
 public:
  explicit DetachScope(Handler& handler) : handler_(handler), saved_(std::move(handler)) { handler_ = nullptr; }
  ~DetachScope() { handler_ = std::move(saved_); }
  DetachScope(const DetachScope&) = delete;
  DetachScope& operator=(const DetachScope&) = delete;

 private:
  Handler& handler_;
  Handler saved_;
};

// The label of the first picture of an RTF text; none when it cannot be read.
std::optional<PictureLabel> ReadPictureLabel(std::string_view rtf) {
  const std::optional<PictureSpan> span = FindPicture(rtf, 0);
  if (!span) return std::nullopt;
  const win::unique_henhmetafile metafile = MetafileFromPicture(rtf, *span);
  return MetafileLabel(metafile.get());
}

// A compound storage in memory, as every embedded object of the inner window gets.
HRESULT NewMemoryStorage(IStorage** storage) noexcept {
  if (!storage) return E_INVALIDARG;
  *storage = nullptr;
  win::com_ptr<ILockBytes> bytes;
  HRESULT hr = ::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
  if (FAILED(hr)) return hr;
  return ::StgCreateDocfileOnILockBytes(bytes.get(), STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0,
                                        storage);
}

// The inner window's OLE callback: storage for new objects; everything else
// is left to the window.
class RichOleCallback final : public IRichEditOleCallback {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IRichEditOleCallback) {
      *out = static_cast<IRichEditOleCallback*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* storage) noexcept override { return NewMemoryStorage(storage); }
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*,
                                              LPOLEINPLACEFRAMEINFO) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID, LPSTORAGE, LONG) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) noexcept override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL, DWORD, LPDWORD) noexcept override { return S_OK; }
  // The context menu is the control's own.
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) noexcept override {
    return E_NOTIMPL;
  }

 private:
  ULONG references_ = 1;
};

// The shift state of a key event.
unsigned ShiftState() {
  unsigned shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= kShiftKey;
  if (::GetKeyState(VK_MENU) < 0) shift |= kAltKey;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= kCtrlKey;
  return shift;
}

// The hourglass while the host is asked, the previous cursor afterwards.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
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

PRichEdit::PRichEdit() : sub_(*this), oleCallback_(new RichOleCallback) {
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
  if ((format & SF_RTF) == 0) return stream.Written();
  // Windows that write enhanced metafiles (Wine's, later versions): the
  // pictures become 16-bit metafile pictures, as the version-1 window writes them.
  return ConvertEmfPictures(stream.Written(), [](std::string_view bits) {
    const win::unique_henhmetafile metafile(
        ::SetEnhMetaFileBits(UINT(bits.size()), reinterpret_cast<const BYTE*>(bits.data())));
    return MetafilePictureText(metafile.get());
  });
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
    const bool anchored = !KeepsProtection();
    (void)StreamRichTextIn(anchored ? AnchorProtectedMarkers(load.text) : load.text);
    if (anchored) ProtectAnchoredMarkers();
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

bool PRichEdit::KeepsProtection() {
  // The same for every window of the process: asked once, of the first one loaded.
  static const bool keeps = [this] {
    (void)StreamRichTextIn("{\\rtf1 \\protect x\\protect0 }");
    CHARRANGE first{0, 1};
    Send(EM_EXSETSEL, 0, LPARAM(&first));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    return (format.dwEffects & CFE_PROTECTED) != 0;
  }();
  return keeps;
}

void PRichEdit::ProtectAnchoredMarkers() {
  const std::wstring text = PositionText();
  const std::vector<ObjectRange> markers = AnchoredMarkers(std::u16string(text.begin(), text.end()));
  // From the last one back: taking an anchor out moves only what follows it.
  for (auto it = markers.rbegin(); it != markers.rend(); ++it) {
    CHARRANGE anchor{it->start, it->start + 1};
    Send(EM_EXSETSEL, 0, LPARAM(&anchor));
    Send(EM_REPLACESEL, FALSE, LPARAM(L""));
    CHARRANGE marker{it->start, it->start + it->length - 1};
    Send(EM_EXSETSEL, 0, LPARAM(&marker));
    CHARFORMATW protect{};
    protect.cbSize = sizeof protect;
    protect.dwMask = CFM_PROTECTED;
    protect.dwEffects = CFE_PROTECTED;
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&protect));
  }
}

// The inner window as field expansion sees it.
class PRichEdit::WindowFields final : public FieldDocument {
 public:
  explicit WindowFields(PRichEdit& owner) : owner_(owner) {}
  std::u16string Text() override {
    const std::wstring text = owner_.PositionText();
    return std::u16string(text.begin(), text.end());
  }
  bool ProtectedBefore(int position) override {
    CHARRANGE caret{position, position};
    owner_.Send(EM_EXSETSEL, 0, LPARAM(&caret));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    owner_.Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    return (format.dwEffects & CFE_PROTECTED) != 0;
  }
  std::string FieldRtf(const std::string& name) override { return owner_.GetField(name); }
  int Replace(int start, int end, const std::string& rtf) override {
    CHARRANGE marker{start, end};
    owner_.Send(EM_EXSETSEL, 0, LPARAM(&marker));
    if (rtf.empty()) {
      owner_.DelSel();
      return start;
    }
    (void)owner_.Insert(rtf, true);
    CHARRANGE inserted{};
    owner_.Send(EM_EXGETSEL, 0, LPARAM(&inserted));
    return inserted.cpMax;
  }

 private:
  PRichEdit& owner_;
};

void PRichEdit::ExpandFields() {
  WindowFields fields(*this);
  const std::vector<ObjectRange> pageBreaks = ExpandFieldMarkers(fields);
  // The loaded text is not protected, apart from the page breaks that stayed
  // markers; OnGetField is not asked meanwhile.
  DetachScope<decltype(OnGetField)> noFields(OnGetField);
  CHARRANGE all{0, -1};
  Send(EM_EXSETSEL, 0, LPARAM(&all));
  CHARFORMATW protection{};
  protection.cbSize = sizeof protection;
  protection.dwMask = CFM_PROTECTED;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&protection));
  protection.dwEffects = CFE_PROTECTED;
  for (const ObjectRange& marker : pageBreaks) {
    CHARRANGE range{marker.start, marker.start + marker.length};
    Send(EM_EXSETSEL, 0, LPARAM(&range));
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&protection));
  }
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

// ---------------------------------------------------------------- fields

namespace {
PRichEdit::JpegDecoder jpegDecoder = JpegMetafile;
}  // namespace

void PRichEdit::SetJpegDecoder(JpegDecoder decoder) { jpegDecoder = decoder; }

std::string PRichEdit::GetField(const std::string& name) {
  if (!OnGetField && !OnGetRtfField) return {};
  FlagScope quietSelection(selectionEvents_, false);
  FlagScope quietProtection(protectEvents_, false);
  win::unique_henhmetafile metafile;
  std::string rtf;
  if (const std::optional<std::string> jpeg = JpegFieldData(name)) {
    if (jpegDecoder) metafile = jpegDecoder(*jpeg);
  } else if (OnGetField) {
    OnGetField(*this, std::string(kPictureTag), name, metafile);
  } else {
    OnGetRtfField(*this, std::string(kPictureTag), name, rtf);
  }
  return metafile ? MetafilePictureText(metafile.get()) : rtf;
}

int PRichEdit::IsField() {
  if (!OnFieldEdit || !OnGetField || readOnly_ || !sub_.HandleAllocated()) return 0;
  // The selection must start with the picture, not merely hold one.
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  if (const win::com_ptr<IRichEditOle> ole = OleInterface()) {
    const std::vector<int> objects = ObjectPositions(ole.get());
    if (std::find(objects.begin(), objects.end(), int(selection.cpMin)) == objects.end()) return 0;
  }
  const std::optional<PictureLabel> label = ReadPictureLabel(GetRTFSel());
  return label ? FieldPictureKind(*label) : 0;
}

bool PRichEdit::FieldEdit(int left, int top, bool newField) {
  if (!OnFieldEdit || !OnGetField || readOnly_ || !sub_.HandleAllocated()) return false;
  POINT screen{left, top};
  ::ClientToScreen(Inner(), &screen);
  const PictureLabelReader readLabel = [](std::string_view picture) { return ReadPictureLabel(picture); };
  std::string object(kNewFieldName), selection;
  if (!newField) {
    WaitCursor wait;
    selection = GetRTFSel();
    object = JoinFieldNames(FieldNames(selection, readLabel));
  }
  if (object.empty()) return false;
  bool ret = false;
  OnFieldEdit(*this, screen.x, screen.y, object, ret);
  if (!ret) return false;
  if (newField) {
    (void)Insert(GetField(object), true);
  } else {
    (void)Insert(ReplaceFieldPictures(selection, object, readLabel,
                                      [this](const std::string& name) { return GetField(name); }),
                 true);
  }
  return true;
}

// The inner window as the insert probe sees it.
class PRichEdit::WindowInsert final : public InsertTarget {
 public:
  explicit WindowInsert(PRichEdit& owner) : owner_(owner) {}
  std::string SaveDocument() override { return owner_.StreamRichTextOut(); }
  void RestoreDocument(const std::string& rtf) override { (void)owner_.StreamIn(rtf, SF_RTF); }
  void Select(int start, int length) override {
    CHARRANGE range{start, start + length};
    owner_.Send(EM_EXSETSEL, 0, LPARAM(&range));
  }
  void ReplaceSelection(std::string_view text) override {
    owner_.Send(EM_REPLACESEL, TRUE, LPARAM(win::Wide(text).c_str()));
  }
  std::u16string SelectedText() override {
    CHARRANGE range{};
    owner_.Send(EM_EXGETSEL, 0, LPARAM(&range));
    const std::wstring text = owner_.PositionText();
    const auto from = std::size_t(std::clamp<LONG>(range.cpMin, 0, LONG(text.size())));
    const auto to = std::size_t(std::clamp<LONG>(range.cpMax, LONG(from), LONG(text.size())));
    return std::u16string(text.begin() + std::ptrdiff_t(from), text.begin() + std::ptrdiff_t(to));
  }

 private:
  PRichEdit& owner_;
};

bool PRichEdit::Insert(std::string_view text, bool keepFormat) {
  if (!sub_.HandleAllocated()) return true;
  const std::string rtf = InsertRtf(text);
  std::optional<FlagScope> quiet(std::in_place, selectionEvents_, false);
  DetachScope<decltype(OnGetField)> noFields(OnGetField);
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  const int p = selection.cpMin, n = selection.cpMax - selection.cpMin;
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  if (keepFormat) {
    CHARRANGE caret{p, p};
    Send(EM_EXSETSEL, 0, LPARAM(&caret));
    Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    Send(EM_EXSETSEL, 0, LPARAM(&selection));
  }
  Send(EM_EXLIMITTEXT, 0, LPARAM(PositionText().size() + rtf.size() + 2005536));
  WindowInsert target(*this);
  const int retries = PlaceInsertProbe(target, p, n);
  {
    FlagScope inserting(oleField_, true);
    (void)StreamIn(rtf, SF_RTF | SFF_SELECTION);
  }
  CHARRANGE after{};
  Send(EM_EXGETSEL, 0, LPARAM(&after));
  const int inserted = std::max(0, int(after.cpMax) - p);
  ReinsertObjects(ReinsertRange(retries, p, inserted));
  quiet.reset();
  CHARRANGE range{p, p + inserted};
  Send(EM_EXSETSEL, 0, LPARAM(&range));
  if (keepFormat) Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  return true;
}

bool PRichEdit::Insert(HENHMETAFILE metafile) { return Insert(MetafilePictureText(metafile), true); }

void PRichEdit::SetFieldTextAttributes(int attribute, bool selectionOnly) {
  if (!OnSetFieldTextAttributes) return;
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  std::vector<int> positions = ObjectPositions(ole.get());
  if (selectionOnly)
    positions = ObjectsInRange(positions, ObjectRange{selection.cpMin, selection.cpMax - selection.cpMin});
  const PictureLabelReader readLabel = [](std::string_view picture) { return ReadPictureLabel(picture); };
  // From the last object back, so that a replaced picture moves none still to come.
  for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
    CHARRANGE one{*it, *it + 1};
    Send(EM_EXSETSEL, 0, LPARAM(&one));
    const std::string rtf = GetRTFSel();
    const std::optional<PictureLabel> label = ReadPictureLabel(rtf);
    const std::optional<std::string> name = label ? FieldName(*label) : std::nullopt;
    if (!name) continue;
    std::string changed = *name;
    OnSetFieldTextAttributes(*this, changed, attribute, GetSelectedFont());
    if (changed == *name) continue;
    (void)Insert(ReplaceFieldPictures(rtf, changed, readLabel,
                                      [this](const std::string& field) { return GetField(field); }),
                 true);
  }
  Send(EM_EXSETSEL, 0, LPARAM(&selection));
}

void PRichEdit::SetOnFieldEdit(FieldEditHandler handler) { OnFieldEdit = std::move(handler); }

win::com_ptr<IRichEditOle> PRichEdit::OleInterface() {
  win::com_ptr<IRichEditOle> ole;
  if (sub_.HandleAllocated()) Send(EM_GETOLEINTERFACE, 0, LPARAM(ole.put()));
  return ole;
}

std::vector<int> PRichEdit::ObjectPositions(IRichEditOle* ole) {
  std::vector<int> positions;
  const LONG count = ole->GetObjectCount();
  for (LONG i = 0; i < count; ++i) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    if (SUCCEEDED(ole->GetObject(i, &object, REO_GETOBJ_NO_INTERFACES))) positions.push_back(int(object.cp));
  }
  return positions;
}

void PRichEdit::ReinsertObjects(ObjectRange range) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  DetachScope<decltype(OnChange)> quiet(OnChange);
  FlagScope inserting(oleField_, true);
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  for (int cp : ObjectsInRange(ObjectPositions(ole.get()), range)) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    object.cp = cp;
    if (FAILED(ole->GetObject(REO_IOB_USE_CP, &object, REO_GETOBJ_POLEOBJ)) || !object.poleobj) continue;
    const win::com_ptr<IOleObject> oleObject(object.poleobj);
    win::com_ptr<IStorage> storage;
    win::com_ptr<IOleClientSite> site;
    if (FAILED(NewMemoryStorage(storage.put())) || FAILED(ole->GetClientSite(site.put()))) continue;
    CHARRANGE one{cp, cp + 1};
    Send(EM_EXSETSEL, 0, LPARAM(&one));
    DelSel();
    object.cp = REO_CP_SELECTION;
    object.pstg = storage.get();
    object.polesite = site.get();
    object.dwFlags = (object.dwFlags | REO_BELOWBASELINE) & ~DWORD(REO_RESIZABLE);
    if (!readOnly_) object.dwFlags |= REO_INVERTEDSELECT;
    (void)ole->InsertObject(&object);
  }
  Send(EM_EXSETSEL, 0, LPARAM(&selection));
}

std::optional<PictureLabel> PRichEdit::ObjectLabelAt(int cp) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return std::nullopt;
  REOBJECT object{};
  object.cbStruct = sizeof object;
  object.cp = cp;
  if (FAILED(ole->GetObject(REO_IOB_USE_CP, &object, REO_GETOBJ_POLEOBJ)) || !object.poleobj) return std::nullopt;
  const win::com_ptr<IOleObject> oleObject(object.poleobj);
  const auto data = oleObject.query<IDataObject>(IID_IDataObject);
  if (!data) return std::nullopt;
  FORMATETC format{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return std::nullopt;
  const auto release = win::scope_exit([&medium] { ::ReleaseStgMedium(&medium); });
  return medium.tymed == TYMED_ENHMF ? MetafileLabel(medium.hEnhMetaFile) : std::nullopt;
}

void PRichEdit::ShowFieldHint(int x, int y) {
  if (!OnFieldHint || readOnly_) return;
  if (!sub_.Hint().empty()) sub_.SetHint("");
  const std::optional<PictureLabel> label = ObjectLabelAt(CharFromPos(x, y));
  const std::optional<std::string> name = label ? FieldName(*label) : std::nullopt;
  if (!name) return;
  std::string hint;
  OnFieldHint(*this, *name, hint);
  if (hint.empty()) return;
  sub_.SetShowHint(true);
  sub_.SetHint(hint);
}

void PRichEdit::InsertFile(const std::string& fileName) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  win::com_ptr<IStorage> storage;
  win::com_ptr<IOleClientSite> site;
  win::com_ptr<IOleObject> object;
  if (FAILED(NewMemoryStorage(storage.put())) || FAILED(ole->GetClientSite(site.put()))) return;
  if (FAILED(::OleCreateFromFile(CLSID_NULL, win::Wide(fileName).c_str(), IID_IOleObject, OLERENDER_DRAW, nullptr,
                                 site.get(), storage.get(), object.put_void())))
    return;
  (void)::OleSetContainedObject(object.get(), TRUE);
  REOBJECT inserted{};
  inserted.cbStruct = sizeof inserted;
  inserted.cp = REO_CP_SELECTION;
  (void)object->GetUserClassID(&inserted.clsid);
  inserted.poleobj = object.get();
  inserted.pstg = storage.get();
  inserted.polesite = site.get();
  inserted.dvaspect = DVASPECT_CONTENT;
  inserted.dwFlags = REO_RESIZABLE | REO_BELOWBASELINE | REO_DYNAMICSIZE | REO_BLANK;
  FlagScope inserting(oleField_, true);
  (void)ole->InsertObject(&inserted);
}

bool PRichEdit::GetHasFileLinks() {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return false;
  FlagScope listing(oleField_, true);
  const LONG count = ole->GetObjectCount();
  for (LONG i = 0; i < count; ++i) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    if (SUCCEEDED(ole->GetObject(i, &object, REO_GETOBJ_NO_INTERFACES)) && (object.dwFlags & REO_LINKAVAILABLE))
      return true;
  }
  return false;
}

void PRichEdit::UpdateFileLinks() {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  FlagScope listing(oleField_, true);
  const LONG count = ole->GetObjectCount();
  for (LONG i = 0; i < count; ++i) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    if (FAILED(ole->GetObject(i, &object, REO_GETOBJ_POLEOBJ)) || !object.poleobj) continue;
    const win::com_ptr<IOleObject> linked(object.poleobj);
    if (object.dwFlags & REO_LINKAVAILABLE) (void)linked->Update();
  }
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
