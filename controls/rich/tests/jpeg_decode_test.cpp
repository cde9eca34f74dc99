// Field images decoded within limits: the size arithmetic, a real image, and
// headers that declare pictures no field should get memory for.
#include "controls/rich/jpeg_decode.h"

#include <gtest/gtest.h>

#include <string>

#include "controls/rich/tests/jpeg_samples.h"

namespace orvalis::controls {
namespace {

TEST(JpegDecode, BufferSizesAreCheckedNotWrapped) {
  struct Case { std::uint32_t width, height; std::optional<std::size_t> bytes; } const cases[] = {
      {1, 1, 4},                        // 3 bytes, the row padded to 4
      {3, 1, 12},
      {4, 2, 24},
      {8192, 8192, std::size_t{3} << 26},  // exactly the largest picture
      {8193, 8192, std::nullopt},
      {std::uint32_t{1} << 26, 1, std::size_t{3} << 26},
      {(std::uint32_t{1} << 26) + 1, 1, std::nullopt},
      // 196,500-byte rows times 21,858 wrap to about 130 KB in 32 bits.
      {65500, 21858, std::nullopt},
      {65535, 65535, std::nullopt},
      {0xFFFFFFFFu, 0xFFFFFFFFu, std::nullopt},
      {0, 100, std::nullopt},
      {100, 0, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(PictureBufferSize(c.width, c.height), c.bytes) << c.width << " x " << c.height;
}

TEST(JpegDecode, AnImageBecomesBottomUpBgrRows) {
  const std::optional<JpegPixels> image = DecodeJpeg(test::MakeJpeg(16, 8));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 8);
  ASSERT_EQ(image->rows.size(), 48u * 8);
  const auto near = [](unsigned char value, int wanted) { return std::abs(int(value) - wanted) < 40; };
  const unsigned char* left = &image->rows[3 * 1];    // a pixel of the red half
  const unsigned char* right = &image->rows[3 * 14];  // one of the blue half
  EXPECT_TRUE(near(left[0], 0) && near(left[2], 255)) << int(left[0]) << " " << int(left[2]);
  EXPECT_TRUE(near(right[0], 255) && near(right[2], 0)) << int(right[0]) << " " << int(right[2]);
}

TEST(JpegDecode, RefusesWhatIsNoImageOrTooLarge) {
  const std::string jpeg = test::MakeJpeg(16, 8);
  const std::string huge = test::WithDeclaredSize(jpeg, 65500, 21858);
  ASSERT_FALSE(huge.empty());
  EXPECT_FALSE(DecodeJpeg(huge).has_value()) << "refused from the header, before any memory for it";
  EXPECT_FALSE(DecodeJpeg(test::WithDeclaredSize(jpeg, 8193, 8192)).has_value());
  // A header that claims more than the data holds: libjpeg fills the rest, within the limits.
  const std::optional<JpegPixels> taller = DecodeJpeg(test::WithDeclaredSize(jpeg, 16, 64));
  ASSERT_TRUE(taller.has_value());
  EXPECT_EQ(taller->rows.size(), 48u * 64);
  EXPECT_FALSE(DecodeJpeg("").has_value());
  EXPECT_FALSE(DecodeJpeg("not a picture").has_value());
  EXPECT_FALSE(DecodeJpeg(jpeg.substr(0, 20)).has_value());
}

}  // namespace
}  // namespace orvalis::controls
