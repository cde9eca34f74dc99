// The field pictures' JPEG decoder on arbitrary bytes: an image comes back only
// with the size its frame header declares, within the limits, in rows of
// exactly the size the limits were checked for.
#include "controls/rich/jpeg_decode.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

using namespace orvalis::controls;

namespace {

struct FrameSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The size in the first start-of-frame header, found by walking the markers
// after the start of image the way a decoder reads them: bytes before a
// marker are skipped, as are fill bytes (FF FF) and stuffed zeros (FF 00);
// restart and TEM markers stand alone; every other marker carries a length,
// which counts its own two bytes.
std::optional<FrameSize> DeclaredSize(std::string_view jpeg) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(jpeg[at]); };
  if (jpeg.size() < 2 || byte(0) != 0xFF || byte(1) != 0xD8) return std::nullopt;
  std::size_t at = 2;
  for (;;) {
    while (at < jpeg.size() && byte(at) != 0xFF) ++at;
    while (at < jpeg.size() && byte(at) == 0xFF) ++at;
    if (at >= jpeg.size()) return std::nullopt;
    const unsigned marker = byte(at++);
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame before
    if (at + 2 > jpeg.size()) return std::nullopt;
    const std::size_t length = std::size_t{byte(at)} << 8 | byte(at + 1);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      // length (2), precision (1), height (2), width (2)
      if (at + 7 > jpeg.size()) return std::nullopt;
      return FrameSize{std::uint32_t{byte(at + 5)} << 8 | byte(at + 6), std::uint32_t{byte(at + 3)} << 8 | byte(at + 4)};
    }
    // A length below its own two bytes skips nothing more.
    at += length < 2 ? 2 : length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view jpeg(reinterpret_cast<const char*>(data), size);
  const std::optional<JpegPixels> image = DecodeJpeg(jpeg);
  if (!image) return 0;

  FUZZ_CHECK(image->width > 0 && image->height > 0);
  const auto width = static_cast<std::uint32_t>(image->width);
  const auto height = static_cast<std::uint32_t>(image->height);
  FUZZ_CHECK(std::uint64_t{width} * height <= kMaxPicturePixels);
  const std::optional<std::size_t> bytes = PictureBufferSize(width, height);
  FUZZ_CHECK(bytes.has_value());
  FUZZ_CHECK(image->rows.size() == *bytes);
  FUZZ_CHECK(image->rows.size() <= kMaxPictureBytes);
  // Rows padded to 4 bytes, 3 bytes a pixel.
  FUZZ_CHECK(image->rows.size() % height == 0);
  const std::size_t stride = image->rows.size() / height;
  FUZZ_CHECK(stride % 4 == 0 && stride >= std::size_t{width} * 3 && stride < std::size_t{width} * 3 + 4);
  // The padding stays as the buffer was made: nothing is written past a row's pixels.
  for (std::size_t row = 0; row < height; ++row)
    for (std::size_t at = row * stride + std::size_t{width} * 3; at < (row + 1) * stride; ++at)
      FUZZ_CHECK(image->rows[at] == 0);

  // The decoder gives the picture the size its header declares, no other.
  const std::optional<FrameSize> declared = DeclaredSize(jpeg);
  FUZZ_CHECK(declared.has_value());
  FUZZ_CHECK(declared->width == width && declared->height == height);

  // Small pictures decode the same again: no pixel comes from memory the
  // decoder never wrote.
  if (image->rows.size() <= 64 * 1024) {
    const std::optional<JpegPixels> again = DecodeJpeg(jpeg);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->width == image->width && again->height == image->height && again->rows == image->rows);
  }
  return 0;
}
