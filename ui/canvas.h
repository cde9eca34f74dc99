// The drawing surface every control paints on: a small pen/brush/font canvas
// whose commands a GDI implementation carries out on a device context and a
// recording implementation keeps for tests. No platform types appear here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis::ui {

class Bitmap;

// 0x00BBGGRR, or a system-colour reference 0x80000000 + index that the GDI
// canvas resolves through the system colours.
using Color = std::uint32_t;

constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color SystemColor(int index) { return kSystemColorFlag | Color(index); }
constexpr Color kBtnFace = SystemColor(15);       // COLOR_BTNFACE
constexpr Color kBtnShadow = SystemColor(16);     // COLOR_BTNSHADOW
constexpr Color kBtnText = SystemColor(18);       // COLOR_BTNTEXT
constexpr Color kBtnHighlight = SystemColor(20);  // COLOR_BTNHIGHLIGHT
constexpr Color kWindowText = SystemColor(8);     // COLOR_WINDOWTEXT
constexpr Color kGrayText = SystemColor(17);      // COLOR_GRAYTEXT

constexpr Color Rgb(int r, int g, int b) { return Color(r & 255) | Color(g & 255) << 8 | Color(b & 255) << 16; }
constexpr int RedOf(Color c) { return int(c & 255); }
constexpr int GreenOf(Color c) { return int(c >> 8 & 255); }
constexpr int BlueOf(Color c) { return int(c >> 16 & 255); }

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left, top, right, bottom; right and bottom exclusive as on the platform.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  [[nodiscard]] int Width() const { return right - left; }
  [[nodiscard]] int Height() const { return bottom - top; }
  [[nodiscard]] bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  [[nodiscard]] bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle : std::uint8_t { Solid, Clear };
enum class BrushStyle : std::uint8_t { Solid, Clear };

struct Pen {
  Color color = 0;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  Color color = 0xFFFFFF;
  BrushStyle style = BrushStyle::Solid;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum FontStyle : std::uint8_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

struct Font {
  int height = -11;  // as the platform takes it: negative = character height in pixels
  std::string face = "Tahoma";
  std::uint8_t style = 0;  // FontStyle bits
  int weight = 0;          // 0 = from the style (400 or 700)
  int charset = 1;         // DEFAULT_CHARSET
  Color color = kWindowText;
  friend bool operator==(const Font&, const Font&) = default;
};

// Text flags, the platform's own DrawText values.
enum TextFlags : unsigned {
  kDtLeft = 0x0,
  kDtCenter = 0x1,
  kDtRight = 0x2,
  kDtVCenter = 0x4,
  kDtSingleLine = 0x20,
};

// Looks of the platform's own frame painting used by the framework controls.
enum class FrameKind : std::uint8_t { PushButton, PushButtonPressed, PushButtonDefault };

class Canvas {
 public:
  virtual ~Canvas() = default;

  [[nodiscard]] virtual Pen GetPen() const = 0;
  virtual void SetPen(const Pen& pen) = 0;
  [[nodiscard]] virtual Brush GetBrush() const = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  [[nodiscard]] virtual Font GetFont() const = 0;
  virtual void SetFont(const Font& font) = 0;

  // Shortcuts for the common solid cases.
  void PenColor(Color c) { SetPen(Pen{c, 1, PenStyle::Solid}); }
  void BrushColor(Color c) { SetBrush(Brush{c, BrushStyle::Solid}); }

  // Outlined with the pen, filled with the brush.
  virtual void RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) = 0;
  virtual void Rectangle(const Rect& r) = 0;
  virtual void Ellipse(const Rect& r) = 0;
  // Brush only.
  virtual void FillRect(const Rect& r) = 0;
  // Pen lines; the end point is not drawn.
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;

  // Text at a point: background from the brush (none when the brush is clear).
  virtual void WriteText(int x, int y, std::string_view text) = 0;
  [[nodiscard]] virtual Size TextExtent(std::string_view text) = 0;
  // The platform's DrawText with a transparent background.
  virtual void DrawTextRect(std::string_view text, const Rect& r, unsigned flags) = 0;

  // The whole bitmap at (x, y), honouring its transparency settings.
  virtual void Draw(int x, int y, const Bitmap& bitmap) = 0;
  // The whole bitmap at (x, y) with every pixel of `transparent` left out
  // (the mask technique of the bitmap buttons).
  virtual void DrawTransparent(int x, int y, const Bitmap& bitmap, Color transparent) = 0;
  // The source rectangle of the bitmap stretched onto the destination.
  virtual void CopyRect(const Rect& dest, const Bitmap& bitmap, const Rect& source) = 0;
  // As CopyRect, with every pixel of `transparent` replaced by the brush colour.
  virtual void BrushCopy(const Rect& dest, const Bitmap& bitmap, const Rect& source, Color transparent) = 0;
  // The whole bitmap stretched onto the destination, honouring its transparency.
  virtual void StretchDraw(const Rect& dest, const Bitmap& bitmap) = 0;

  // Platform frame looks (push-button face, focus rectangle).
  virtual void DrawFrame(const Rect& r, FrameKind kind) = 0;
  virtual void FocusRect(const Rect& r) = 0;
};

// Keeps the pen and brush of a canvas and puts them back when it goes.
class SavePenBrush {
 public:
  explicit SavePenBrush(Canvas& canvas) : canvas_(canvas), pen_(canvas.GetPen()), brush_(canvas.GetBrush()) {}
  ~SavePenBrush() {
    canvas_.SetPen(pen_);
    canvas_.SetBrush(brush_);
  }
  SavePenBrush(const SavePenBrush&) = delete;
  SavePenBrush& operator=(const SavePenBrush&) = delete;

 private:
  Canvas& canvas_;
  Pen pen_;
  Brush brush_;
};

}  // namespace orvalis::ui
