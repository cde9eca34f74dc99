// Decoding of field images with libjpeg.
#include "controls/rich/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <new>
#include <utility>

#include <jpeglib.h>

namespace orvalis::controls {
namespace {

// libjpeg ends a failing decode through error_exit, which must not return: it
// jumps back to the decoder, past C frames only.
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) {}

// Decodes into `pixels`, sized by the caller once the header is read; false
// when libjpeg cannot read the image or it passes the limits. Nothing with a
// destructor is made in this frame between setjmp and a jump back to it.
bool Decode(std::string_view jpeg, JpegPixels& pixels) {
  jpeg_decompress_struct info{};
  JpegError error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOnError;
  error.manager.output_message = Silent;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  // Before libjpeg allocates anything for the picture's size.
  const std::optional<std::size_t> size = PictureBufferSize(info.image_width, info.image_height);
  if (!size) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  if (info.output_width != info.image_width || info.output_height != info.image_height ||
      info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  pixels.width = int(info.output_width);
  pixels.height = int(info.output_height);
  const std::size_t stride = *size / std::size_t(pixels.height);
  try {
    pixels.rows.assign(*size, 0);
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    unsigned char* row = pixels.rows.data() + stride * (std::size_t(pixels.height) - 1 - info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
    for (int x = 0; x < pixels.width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);  // RGB to BGR
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<std::size_t> PictureBufferSize(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0) return std::nullopt;
  const std::uint64_t pixels = std::uint64_t{width} * height;  // at most 2^64 - 2^33 + 1: no wrap
  if (pixels > kMaxPicturePixels) return std::nullopt;
  const std::uint64_t stride = (std::uint64_t{width} * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t bytes = stride * height;
  if (bytes > kMaxPictureBytes) return std::nullopt;
  return static_cast<std::size_t>(bytes);
}

std::optional<JpegPixels> DecodeJpeg(std::string_view jpeg) {
  if (jpeg.empty()) return std::nullopt;
  JpegPixels pixels;
  if (!Decode(jpeg, pixels)) return std::nullopt;
  return pixels;
}

}  // namespace orvalis::controls
