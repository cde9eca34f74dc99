// Portable bitmap: pixel access at the edges, transparency colour, colour replacement.
#include "ui/bitmap.h"

#include <gtest/gtest.h>

namespace orvalis::ui {
namespace {

TEST(Bitmap, PixelsOutsideReadZeroAndIgnoreWrites) {
  Bitmap b(3, 2, 0x112233);
  b.SetPixel(2, 1, 0xABCDEF);
  b.SetPixel(3, 0, 0xFFFFFF);
  b.SetPixel(-1, 0, 0xFFFFFF);
  EXPECT_EQ(b.Pixel(2, 1), 0xABCDEFu);
  EXPECT_EQ(b.Pixel(0, 0), 0x112233u);
  EXPECT_EQ(b.Pixel(3, 0), 0u);
  EXPECT_EQ(b.Pixel(0, 2), 0u);
  b.SetPixel(0, 0, 0xFF123456);
  EXPECT_EQ(b.Pixel(0, 0), 0x123456u) << "only 24 bits are kept";
}

TEST(Bitmap, TransparentColourIsBottomLeftUnlessFixed) {
  Bitmap b(2, 2, 0x000001);
  b.SetPixel(0, 1, 0x00FF00);
  b.transparentColor = 0x0000FF;
  EXPECT_EQ(b.EffectiveTransparentColor(), 0x00FF00u);
  b.transparentMode = TransparentMode::Fixed;
  EXPECT_EQ(b.EffectiveTransparentColor(), 0x0000FFu);
}

TEST(Bitmap, ReplaceColorCopiesTheAreaOnly) {
  Bitmap b(4, 1);
  b.SetPixel(0, 0, 0xFF00FF);
  b.SetPixel(1, 0, 0x010203);
  b.SetPixel(2, 0, 0xFF00FF);
  Bitmap r = ReplaceColor(b, {1, 0, 3, 1}, 0xFF00FF, 0x00AA00);
  ASSERT_EQ(r.Width(), 2);
  EXPECT_EQ(r.Pixel(0, 0), 0x010203u);
  EXPECT_EQ(r.Pixel(1, 0), 0x00AA00u);
}

}  // namespace
}  // namespace orvalis::ui
