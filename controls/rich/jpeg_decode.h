// The JPEG images of "JPEGPICT:" fields decoded to pixel rows with libjpeg,
// within limits: the bytes come from documents, so a header may declare any
// size, and only pictures of a sensible size get memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvalis::controls {

// The largest field picture decoded: 64 Mi pixels, at 24 bits a pixel with
// rows padded to 4 bytes.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;
inline constexpr std::uint64_t kMaxPictureBytes = 3 * kMaxPicturePixels + 4 * (std::uint64_t{1} << 16);

// The bytes of a width x height picture's rows (3 bytes a pixel, each row
// padded to 4 bytes); none for an empty picture or one past the limits. The
// arithmetic is done in 64 bits and checked, so no size wraps around.
[[nodiscard]] std::optional<std::size_t> PictureBufferSize(std::uint32_t width, std::uint32_t height);

// A decoded image as a bottom-up device-independent bitmap keeps it: rows
// of blue, green and red bytes, the last row first, each padded to 4 bytes.
struct JpegPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rows;
};

// The image; none when the bytes are no JPEG image libjpeg can read, when the
// header declares a picture past the limits, or when the memory is not there.
[[nodiscard]] std::optional<JpegPixels> DecodeJpeg(std::string_view jpeg);

}  // namespace orvalis::controls
