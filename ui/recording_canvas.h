// A canvas that keeps every drawing command with the pen, brush and font in
// force, so paint code can be checked without a screen. Text is measured with
// fixed metrics (`charWidth` per character, `lineHeight` per line).
#pragma once

#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/canvas.h"

namespace orvalis::ui {

enum class CanvasOp : std::uint8_t {
  RoundRect, Rectangle, Ellipse, FillRect, Line, WriteText, DrawTextRect,
  Draw, DrawTransparent, CopyRect, BrushCopy, StretchDraw, Frame, FocusRect,
};

struct CanvasCommand {
  CanvasOp op{};
  Rect rect;          // shape, fill, destination; a line's (x0, y0, x1, y1); a point in left/top
  Rect source;        // bitmap source rectangle
  Size ellipse;       // round rectangles
  std::string text;
  unsigned flags = 0;  // DrawText flags; FrameKind for frames
  Color color = 0;     // transparent colour of the bitmap operations
  Pen pen;
  Brush brush;
  Font font;
  Bitmap bitmap;  // a copy of the bitmap drawn

  // One line such as "roundrect 0,0,100,50 r8,8 pen=000000 brush=00FF00".
  [[nodiscard]] std::string Text() const;
};

class RecordingCanvas final : public Canvas {
 public:
  int charWidth = 6;
  int lineHeight = 13;

  [[nodiscard]] const std::vector<CanvasCommand>& Commands() const { return commands_; }
  [[nodiscard]] std::vector<std::string> Lines() const;
  void Clear() { commands_.clear(); }

  [[nodiscard]] Pen GetPen() const override { return pen_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  [[nodiscard]] Brush GetBrush() const override { return brush_; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  [[nodiscard]] Font GetFont() const override { return font_; }
  void SetFont(const Font& font) override { font_ = font; }

  void RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) override;
  void Rectangle(const Rect& r) override;
  void Ellipse(const Rect& r) override;
  void FillRect(const Rect& r) override;
  void MoveTo(int x, int y) override { pos_ = {x, y}; }
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
  CanvasCommand& Add(CanvasOp op, const Rect& r);

  std::vector<CanvasCommand> commands_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Point pos_;
};

}  // namespace orvalis::ui
