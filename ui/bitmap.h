// A device-independent bitmap: 24-bit pixels with the transparency settings
// the controls honour when they draw it.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/canvas.h"

namespace orvalis::ui {

enum class TransparentMode : std::uint8_t { Automatic, Fixed };

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Color fill = 0);

  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // Resizes to width × height; the pixels become `fill`.
  void SetSize(int width, int height, Color fill = 0);

  // 0x00BBGGRR. Reading outside the bitmap gives 0; writing there does nothing.
  [[nodiscard]] Color Pixel(int x, int y) const;
  void SetPixel(int x, int y, Color c);
  void FillRect(const Rect& r, Color c);
  [[nodiscard]] const std::vector<Color>& Pixels() const { return pixels_; }

  bool transparent = false;
  TransparentMode transparentMode = TransparentMode::Automatic;
  Color transparentColor = 0;  // used in the fixed mode

  // The colour drawn as transparent: the bottom-left pixel in automatic mode.
  [[nodiscard]] Color EffectiveTransparentColor() const;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;  // row by row, top row first
};

// A copy of the source rectangle with every pixel of `from` changed to `to`.
[[nodiscard]] Bitmap ReplaceColor(const Bitmap& source, const Rect& area, Color from, Color to);

}  // namespace orvalis::ui
