// The canvas on a device context: pens, brushes and fonts are made as they are
// needed and the context's own objects go back when the canvas ends.
#pragma once

#include <windows.h>

#include "ui/bitmap.h"
#include "ui/canvas.h"
#include "win/gdi.h"

namespace orvalis::ui {

// A system-colour reference resolved through the system colours.
[[nodiscard]] COLORREF ResolveColor(Color c);

[[nodiscard]] win::unique_hfont MakeFont(const Font& font);

// A top-down 32-bit DIB section with the bitmap's pixels.
[[nodiscard]] win::unique_hbitmap MakeDib(const Bitmap& bitmap);

// Draws the whole bitmap at (x, y) with every pixel of `transparent` showing the
// destination: a monochrome mask from the bitmap, the destination ANDed with it,
// the bitmap ANDed with its inverse, both ORed; the bitmap is restored after.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, short x, short y, COLORREF transparent);

class GdiCanvas final : public Canvas {
 public:
  explicit GdiCanvas(HDC dc) noexcept : dc_(dc) {}
  ~GdiCanvas() override = default;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  [[nodiscard]] HDC dc() const noexcept { return dc_; }
  // Selects the current font so that other painters of the context use it.
  void ApplyFont() { UseFont(); }

  [[nodiscard]] Pen GetPen() const override { return pen_; }
  void SetPen(const Pen& pen) override;
  [[nodiscard]] Brush GetBrush() const override { return brush_; }
  void SetBrush(const Brush& brush) override;
  [[nodiscard]] Font GetFont() const override { return font_; }
  void SetFont(const Font& font) override;

  void RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) override;
  void Rectangle(const Rect& r) override;
  void Ellipse(const Rect& r) override;
  void FillRect(const Rect& r) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void WriteText(int x, int y, std::string_view text) override;
  [[nodiscard]] Size TextExtent(std::string_view text) override;
  void DrawTextRect(std::string_view text, const Rect& r, unsigned flags) override;
  void Draw(int x, int y, const Bitmap& bitmap) override;
  void DrawTransparent(int x, int y, const Bitmap& bitmap, Color transparent) override;
  void CopyRect(const Rect& dest, const Bitmap& bitmap, const Rect& source) override;
  void BrushCopy(const Rect& dest, const Bitmap& bitmap, const Rect& source, Color transparent) override;
  void StretchDraw(const Rect& dest, const Bitmap& bitmap) override;
  void DrawFrame(const Rect& r, FrameKind kind) override;
  void FocusRect(const Rect& r) override;

 private:
  void UsePen();
  void UseBrush();
  void UseFont();
  void Stretch(const Rect& dest, const Bitmap& bitmap, const Rect& source);

  HDC dc_;
  Pen pen_;
  Brush brush_;
  Font font_;
  bool penDirty_ = true;
  bool brushDirty_ = true;
  bool fontDirty_ = true;
  // Objects before selections: a selection is undone before its object is deleted.
  win::unique_gdiobj penObject_;
  win::unique_gdiobj brushObject_;
  win::unique_hfont fontObject_;
  win::selected_object penSelection_;
  win::selected_object brushSelection_;
  win::selected_object fontSelection_;
};

}  // namespace orvalis::ui
