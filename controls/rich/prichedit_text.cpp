// The rich text control's text: plain text, RTF and HTML in and out through the
// window's streams, loading with protected markers and fields, and measuring
// and drawing the content.
#include "controls/rich/prichedit.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/rich/prichedit_detail.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

using detail::FlagScope;
using detail::ScreenDpiY;

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
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';  // a line feed alone (Wine's window)
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
  // The inner window's frame, and what the control places around it.
  return height + (window.bottom - window.top) - client.bottom + BarsAndBorderHeight();
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

}  // namespace orvalis::controls
