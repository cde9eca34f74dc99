// Pixel storage of the portable bitmap.
#include "ui/bitmap.h"

#include <algorithm>

namespace orvalis::ui {

Bitmap::Bitmap(int width, int height, Color fill) { SetSize(width, height, fill); }

void Bitmap::SetSize(int width, int height, Color fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(size_t(width_) * size_t(height_), fill);
}

Color Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[size_t(y) * size_t(width_) + size_t(x)];
}

void Bitmap::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[size_t(y) * size_t(width_) + size_t(x)] = c & 0xFFFFFF;
}

void Bitmap::FillRect(const Rect& r, Color c) {
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.right, width_); ++x) SetPixel(x, y, c);
}

Color Bitmap::EffectiveTransparentColor() const {
  if (transparentMode == TransparentMode::Fixed) return transparentColor;
  return Pixel(0, height_ - 1);
}

Bitmap ReplaceColor(const Bitmap& source, const Rect& area, Color from, Color to) {
  Bitmap out(std::max(area.Width(), 0), std::max(area.Height(), 0));
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      Color c = source.Pixel(area.left + x, area.top + y);
      out.SetPixel(x, y, c == (from & 0xFFFFFF) ? to : c);
    }
  return out;
}

}  // namespace orvalis::ui
