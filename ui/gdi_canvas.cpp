// The GDI canvas.
#include "ui/gdi_canvas.h"

#include <cstring>

#include "win/wide.h"

namespace orvalis::ui {
namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Replaces the object selected for one kind, keeping the context's original to restore.
void Reselect(HDC dc, win::unique_gdiobj& owned, win::selected_object& selection, HGDIOBJ next) {
  win::unique_gdiobj fresh(next);
  if (!selection)
    selection = win::selected_object(dc, fresh.get());
  else
    ::SelectObject(dc, fresh.get());
  owned = std::move(fresh);
}

}  // namespace

COLORREF ResolveColor(Color c) {
  if (c & kSystemColorFlag) return ::GetSysColor(int(c & 0xFF));
  return COLORREF(c & 0xFFFFFF);
}

win::unique_hfont MakeFont(const Font& f) {
  int weight = f.weight ? f.weight : (f.style & kBold) ? FW_BOLD : FW_NORMAL;
  return win::unique_hfont(::CreateFontW(f.height, 0, 0, 0, weight, (f.style & kItalic) != 0,
                                         (f.style & kUnderline) != 0, (f.style & kStrikeOut) != 0, DWORD(f.charset),
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                         win::Wide(f.face).c_str()));
}

win::unique_hbitmap MakeDib(const Bitmap& b) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = b.Width();
  info.bmiHeader.biHeight = -b.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::unique_hbitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return {};
  auto* out = static_cast<std::uint32_t*>(bits);
  for (Color c : b.Pixels()) *out++ = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
  return dib;
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, short x, short y, COLORREF transparent) {
  win::unique_hdc temp(::CreateCompatibleDC(dc));
  win::selected_object tempSel(temp.get(), bitmap);
  BITMAP bm{};
  ::GetObjectW(bitmap, sizeof bm, &bm);
  POINT size{bm.bmWidth, bm.bmHeight};
  ::DPtoLP(temp.get(), &size, 1);
  const int w = size.x, h = size.y;
  win::unique_hdc back(::CreateCompatibleDC(dc)), object(::CreateCompatibleDC(dc)), mem(::CreateCompatibleDC(dc)),
      save(::CreateCompatibleDC(dc));
  win::unique_hbitmap backBits(::CreateBitmap(w, h, 1, 1, nullptr)), objectBits(::CreateBitmap(w, h, 1, 1, nullptr)),
      memBits(::CreateCompatibleBitmap(dc, w, h)), saveBits(::CreateCompatibleBitmap(dc, w, h));
  win::selected_object s1(back.get(), backBits.get()), s2(object.get(), objectBits.get()),
      s3(mem.get(), memBits.get()), s4(save.get(), saveBits.get());
  ::SetMapMode(temp.get(), ::GetMapMode(dc));
  ::BitBlt(save.get(), 0, 0, w, h, temp.get(), 0, 0, SRCCOPY);
  COLORREF oldBack = ::SetBkColor(temp.get(), transparent);
  ::BitBlt(object.get(), 0, 0, w, h, temp.get(), 0, 0, SRCCOPY);
  ::SetBkColor(temp.get(), oldBack);
  ::BitBlt(back.get(), 0, 0, w, h, object.get(), 0, 0, NOTSRCCOPY);
  ::BitBlt(mem.get(), 0, 0, w, h, dc, x, y, SRCCOPY);
  ::BitBlt(mem.get(), 0, 0, w, h, object.get(), 0, 0, SRCAND);
  ::BitBlt(temp.get(), 0, 0, w, h, back.get(), 0, 0, SRCAND);
  ::BitBlt(mem.get(), 0, 0, w, h, temp.get(), 0, 0, SRCPAINT);
  ::BitBlt(dc, x, y, w, h, mem.get(), 0, 0, SRCCOPY);
  ::BitBlt(temp.get(), 0, 0, w, h, save.get(), 0, 0, SRCCOPY);
}

void GdiCanvas::SetPen(const Pen& pen) {
  if (pen == pen_) return;
  pen_ = pen;
  penDirty_ = true;
}

void GdiCanvas::SetBrush(const Brush& brush) {
  if (brush == brush_) return;
  brush_ = brush;
  brushDirty_ = true;
}

void GdiCanvas::SetFont(const Font& font) {
  if (font == font_) return;
  font_ = font;
  fontDirty_ = true;
}

void GdiCanvas::UsePen() {
  if (!penDirty_) return;
  HGDIOBJ pen = pen_.style == PenStyle::Clear ? ::CreatePen(PS_NULL, 0, 0)
                                              : ::CreatePen(PS_SOLID, pen_.width, ResolveColor(pen_.color));
  Reselect(dc_, penObject_, penSelection_, pen);
  penDirty_ = false;
}

void GdiCanvas::UseBrush() {
  if (!brushDirty_) return;
  LOGBRUSH lb{brush_.style == BrushStyle::Clear ? UINT(BS_NULL) : UINT(BS_SOLID), ResolveColor(brush_.color), 0};
  Reselect(dc_, brushObject_, brushSelection_, ::CreateBrushIndirect(&lb));
  brushDirty_ = false;
}

void GdiCanvas::UseFont() {
  if (!fontDirty_) return;
  Reselect(dc_, fontObject_, fontSelection_, MakeFont(font_).release());
  fontDirty_ = false;
}

void GdiCanvas::RoundRect(const Rect& r, int ew, int eh) {
  UsePen();
  UseBrush();
  ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, ew, eh);
}

void GdiCanvas::Rectangle(const Rect& r) {
  UsePen();
  UseBrush();
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::Ellipse(const Rect& r) {
  UsePen();
  UseBrush();
  ::Ellipse(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::FillRect(const Rect& r) {
  if (brush_.style == BrushStyle::Clear) return;
  UseBrush();
  RECT rc = ToRect(r);
  ::FillRect(dc_, &rc, static_cast<HBRUSH>(brushObject_.get()));
}

void GdiCanvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::LineTo(int x, int y) {
  UsePen();
  ::LineTo(dc_, x, y);
}

void GdiCanvas::WriteText(int x, int y, std::string_view text) {
  UseFont();
  ::SetTextColor(dc_, ResolveColor(font_.color));
  if (brush_.style == BrushStyle::Clear) {
    ::SetBkMode(dc_, TRANSPARENT);
  } else {
    ::SetBkMode(dc_, OPAQUE);
    ::SetBkColor(dc_, ResolveColor(brush_.color));
  }
  std::wstring w = win::Wide(text);
  ::ExtTextOutW(dc_, x, y, 0, nullptr, w.c_str(), UINT(w.size()), nullptr);
}

Size GdiCanvas::TextExtent(std::string_view text) {
  UseFont();
  std::wstring w = win::Wide(text);
  SIZE s{};
  ::GetTextExtentPoint32W(dc_, w.c_str(), int(w.size()), &s);
  return {s.cx, s.cy};
}

void GdiCanvas::DrawTextRect(std::string_view text, const Rect& r, unsigned flags) {
  UseFont();
  ::SetTextColor(dc_, ResolveColor(font_.color));
  int oldMode = ::SetBkMode(dc_, TRANSPARENT);
  std::wstring w = win::Wide(text);
  RECT rc = ToRect(r);
  ::DrawTextW(dc_, w.c_str(), int(w.size()), &rc, flags);
  ::SetBkMode(dc_, oldMode);
}

void GdiCanvas::Draw(int x, int y, const Bitmap& bitmap) {
  if (bitmap.Empty()) return;
  if (bitmap.transparent) {
    DrawTransparent(x, y, bitmap, bitmap.EffectiveTransparentColor());
    return;
  }
  Stretch({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
}

void GdiCanvas::DrawTransparent(int x, int y, const Bitmap& bitmap, Color transparent) {
  if (bitmap.Empty()) return;
  win::unique_hbitmap dib = MakeDib(bitmap);
  if (dib) DrawTransparentBitmap(dc_, static_cast<HBITMAP>(dib.get()), short(x), short(y), ResolveColor(transparent));
}

void GdiCanvas::Stretch(const Rect& dest, const Bitmap& bitmap, const Rect& source) {
  if (bitmap.Empty() || dest.Empty() || source.Empty()) return;
  win::unique_hbitmap dib = MakeDib(bitmap);
  win::unique_hdc mem(::CreateCompatibleDC(dc_));
  win::selected_object sel(mem.get(), dib.get());
  int oldMode = ::SetStretchBltMode(dc_, COLORONCOLOR);
  ::StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), mem.get(), source.left, source.top,
               source.Width(), source.Height(), SRCCOPY);
  ::SetStretchBltMode(dc_, oldMode);
}

void GdiCanvas::CopyRect(const Rect& dest, const Bitmap& bitmap, const Rect& source) { Stretch(dest, bitmap, source); }

void GdiCanvas::BrushCopy(const Rect& dest, const Bitmap& bitmap, const Rect& source, Color transparent) {
  Bitmap piece = ReplaceColor(bitmap, source, ResolveColor(transparent), ResolveColor(brush_.color));
  Stretch(dest, piece, {0, 0, piece.Width(), piece.Height()});
}

void GdiCanvas::StretchDraw(const Rect& dest, const Bitmap& bitmap) {
  if (!bitmap.transparent) {
    Stretch(dest, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
    return;
  }
  if (bitmap.Empty() || dest.Empty()) return;
  win::unique_hbitmap dib = MakeDib(bitmap);
  win::unique_hdc mem(::CreateCompatibleDC(dc_));
  win::selected_object sel(mem.get(), dib.get());
  ::TransparentBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), mem.get(), 0, 0, bitmap.Width(),
                   bitmap.Height(), ResolveColor(bitmap.EffectiveTransparentColor()));
}

void GdiCanvas::DrawFrame(const Rect& r, FrameKind kind) {
  RECT rc = ToRect(r);
  if (kind == FrameKind::PushButtonDefault) {
    ::FrameRect(dc_, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(&rc, -1, -1);
  }
  ::DrawFrameControl(dc_, &rc, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (kind == FrameKind::PushButtonPressed ? DFCS_PUSHED : 0u));
}

void GdiCanvas::FocusRect(const Rect& r) {
  RECT rc = ToRect(r);
  ::SetTextColor(dc_, RGB(0, 0, 0));
  ::SetBkColor(dc_, RGB(255, 255, 255));
  ::DrawFocusRect(dc_, &rc);
}

}  // namespace orvalis::ui
