// The recording canvas and the one-line form of its commands.
#include "ui/recording_canvas.h"

#include <cstdio>

namespace orvalis::ui {
namespace {

// Appends only: GCC 12 warns falsely (-Wrestrict) on chains of string operator+.
template <typename... Parts>
std::string Cat(const Parts&... parts) {
  std::string s;
  (s.append(parts), ...);
  return s;
}

std::string Num(int v) { return std::to_string(v); }

std::string Hex(Color c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", unsigned(c));
  return buf;
}

std::string Coords(const Rect& r) { return Cat(Num(r.left), ",", Num(r.top), ",", Num(r.right), ",", Num(r.bottom)); }

std::string PenText(const Pen& p) {
  if (p.style == PenStyle::Clear) return " pen=none";
  return Cat(" pen=", Hex(p.color), p.width != 1 ? Cat("/", Num(p.width)) : std::string());
}

std::string BrushText(const Brush& b) {
  return b.style == BrushStyle::Clear ? std::string(" brush=none") : Cat(" brush=", Hex(b.color));
}

std::string FontText(const Font& f) {
  std::string s = Cat(" font=", f.face, "/", Num(f.height));
  if (f.weight) s.append(Cat("/w", Num(f.weight)));
  if (f.style & kBold) s.append("/b");
  if (f.style & kUnderline) s.append("/u");
  return s;
}

std::string SizeText(const Bitmap& b) { return Cat(Num(b.Width()), "x", Num(b.Height())); }

std::string TransparencyText(const Bitmap& b) {
  return b.transparent ? Cat(" transparent=", Hex(b.EffectiveTransparentColor())) : std::string(" opaque");
}

std::size_t CodePoints(std::string_view text) {
  std::size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

std::string CanvasCommand::Text() const {
  const std::string at = Cat(Num(rect.left), ",", Num(rect.top));
  switch (op) {
    case CanvasOp::RoundRect:
      return Cat("roundrect ", Coords(rect), " r", Num(ellipse.cx), ",", Num(ellipse.cy), PenText(pen), BrushText(brush));
    case CanvasOp::Rectangle: return Cat("rectangle ", Coords(rect), PenText(pen), BrushText(brush));
    case CanvasOp::Ellipse: return Cat("ellipse ", Coords(rect), PenText(pen), BrushText(brush));
    case CanvasOp::FillRect: return Cat("fill ", Coords(rect), BrushText(brush));
    case CanvasOp::Line: return Cat("line ", at, "-", Num(rect.right), ",", Num(rect.bottom), PenText(pen));
    case CanvasOp::WriteText: return Cat("text ", at, " '", text, "'", FontText(font), BrushText(brush));
    case CanvasOp::DrawTextRect:
      return Cat("drawtext '", text, "' ", Coords(rect), " flags=", Hex(flags).substr(4), FontText(font));
    case CanvasOp::Draw: return Cat("draw ", at, " ", SizeText(bitmap), TransparencyText(bitmap));
    case CanvasOp::DrawTransparent: return Cat("drawtransparent ", at, " ", SizeText(bitmap), " key=", Hex(color));
    case CanvasOp::CopyRect: return Cat("copy ", Coords(source), " -> ", Coords(rect));
    case CanvasOp::BrushCopy:
      return Cat("brushcopy ", Coords(source), " -> ", Coords(rect), " key=", Hex(color), BrushText(brush));
    case CanvasOp::StretchDraw: return Cat("stretch ", SizeText(bitmap), " -> ", Coords(rect), TransparencyText(bitmap));
    case CanvasOp::Frame: {
      static const char* const kinds[] = {"push", "pressed", "default"};
      return Cat("frame ", Coords(rect), " ", kinds[flags < 3 ? flags : 0]);
    }
    case CanvasOp::FocusRect: return Cat("focus ", Coords(rect));
  }
  return "?";
}

std::vector<std::string> RecordingCanvas::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(commands_.size());
  for (const auto& c : commands_) lines.push_back(c.Text());
  return lines;
}

CanvasCommand& RecordingCanvas::Add(CanvasOp op, const Rect& r) {
  CanvasCommand& c = commands_.emplace_back();
  c.op = op;
  c.rect = r;
  c.pen = pen_;
  c.brush = brush_;
  c.font = font_;
  return c;
}

void RecordingCanvas::RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
  Add(CanvasOp::RoundRect, r).ellipse = {ellipseWidth, ellipseHeight};
}
void RecordingCanvas::Rectangle(const Rect& r) { Add(CanvasOp::Rectangle, r); }
void RecordingCanvas::Ellipse(const Rect& r) { Add(CanvasOp::Ellipse, r); }
void RecordingCanvas::FillRect(const Rect& r) { Add(CanvasOp::FillRect, r); }

void RecordingCanvas::LineTo(int x, int y) {
  Add(CanvasOp::Line, Rect{pos_.x, pos_.y, x, y});
  pos_ = {x, y};
}

void RecordingCanvas::WriteText(int x, int y, std::string_view text) { Add(CanvasOp::WriteText, Rect{x, y, x, y}).text = text; }

Size RecordingCanvas::TextExtent(std::string_view text) { return {int(CodePoints(text)) * charWidth, lineHeight}; }

void RecordingCanvas::DrawTextRect(std::string_view text, const Rect& r, unsigned flags) {
  CanvasCommand& c = Add(CanvasOp::DrawTextRect, r);
  c.text = text;
  c.flags = flags;
}

void RecordingCanvas::Draw(int x, int y, const Bitmap& bitmap) { Add(CanvasOp::Draw, Rect{x, y, x, y}).bitmap = bitmap; }

void RecordingCanvas::DrawTransparent(int x, int y, const Bitmap& bitmap, Color transparent) {
  CanvasCommand& c = Add(CanvasOp::DrawTransparent, Rect{x, y, x, y});
  c.bitmap = bitmap;
  c.color = transparent;
}

void RecordingCanvas::CopyRect(const Rect& dest, const Bitmap& bitmap, const Rect& source) {
  CanvasCommand& c = Add(CanvasOp::CopyRect, dest);
  c.source = source;
  c.bitmap = bitmap;
}

void RecordingCanvas::BrushCopy(const Rect& dest, const Bitmap& bitmap, const Rect& source, Color transparent) {
  CanvasCommand& c = Add(CanvasOp::BrushCopy, dest);
  c.source = source;
  c.bitmap = bitmap;
  c.color = transparent;
}

void RecordingCanvas::StretchDraw(const Rect& dest, const Bitmap& bitmap) { Add(CanvasOp::StretchDraw, dest).bitmap = bitmap; }

void RecordingCanvas::DrawFrame(const Rect& r, FrameKind kind) { Add(CanvasOp::Frame, r).flags = unsigned(kind); }
void RecordingCanvas::FocusRect(const Rect& r) { Add(CanvasOp::FocusRect, r); }

}  // namespace orvalis::ui
