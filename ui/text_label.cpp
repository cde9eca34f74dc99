// The static text: a system STATIC window that paints itself.
#include "ui/text_label.h"

#include "ui/gdi_canvas.h"
#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::ui {

void TextLabel::SetCaption(std::string_view caption) {
  SetText(caption);
  // Transparent text leaves the old pixels: the parent repaints the area first.
  if (HWND h = HandleIfCreated()) ::InvalidateRect(h, nullptr, TRUE);
}

void TextLabel::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"STATIC";
  params.systemClass = true;
  params.style &= ~DWORD(WS_TABSTOP);
  params.style |= SS_NOPREFIX | (centered_ ? SS_CENTER : (wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP));
}

void TextLabel::WndProc(Message& m) {
  // Painted here rather than by the static itself: the parent's background
  // first, then the text with the label's alignment and wrapping.
  if (m.msg == WM_ERASEBKGND) {
    m.result = 1;
    return;
  }
  if (m.msg == WM_PAINT && HandleIfCreated()) {
    win::paint_scope paint(HandleIfCreated(), nullptr);
    PaintText(paint.dc());
    m.result = 0;
    return;
  }
  WinControl::WndProc(m);
}

void TextLabel::PaintText(HDC dc) {
  HWND h = HandleIfCreated();
  // The static class paints with its parent's clipping (CS_PARENTDC): keep
  // the background and the text inside the label's own rectangle.
  RECT own{};
  ::GetClientRect(h, &own);
  ::IntersectClipRect(dc, own.left, own.top, own.right, own.bottom);
  if (WinControl* parent = Parent(); parent && parent->HandleAllocated()) {
    win::saved_dc saved(dc);
    POINT origin{};
    ::GetViewportOrgEx(dc, &origin);
    ::SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
    ::SendMessageW(parent->HandleIfCreated(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  }
  win::saved_dc saved(dc);
  if (auto font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0))) ::SelectObject(dc, font);
  ::SetTextColor(dc, ResolveColor(GetFont().color));
  ::SetBkMode(dc, TRANSPARENT);
  std::wstring text = win::Wide(Text());
  UINT format = DT_NOPREFIX | (centered_ ? DT_CENTER : DT_LEFT) |
                (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE | DT_END_ELLIPSIS);
  ::DrawTextW(dc, text.c_str(), int(text.size()), &own, format);
}

}  // namespace orvalis::ui
