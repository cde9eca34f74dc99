// Decoding of field images: libjpeg to 24-bit rows, then one StretchDIBits into
// a metafile recording.
#include "controls/rich/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

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

// The image as bottom-up BGR rows padded to 4 bytes, as a DIB keeps them.
// False when libjpeg cannot read it. Nothing with a destructor lives in this
// frame between setjmp and a jump back to it, except what was made before.
bool Decode(std::string_view jpeg, std::vector<unsigned char>& pixels, int& width, int& height) {
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
  jpeg_start_decompress(&info);
  width = int(info.output_width);
  height = int(info.output_height);
  const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
  pixels.assign(stride * std::size_t(height), 0);
  while (info.output_scanline < info.output_height) {
    unsigned char* row = pixels.data() + stride * (std::size_t(height) - 1 - info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
    for (int x = 0; x < width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);  // RGB to BGR
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return width > 0 && height > 0;
}

}  // namespace

win::unique_henhmetafile JpegMetafile(std::string_view jpeg) {
  std::vector<unsigned char> pixels;
  int width = 0, height = 0;
  if (jpeg.empty() || !Decode(jpeg, pixels, width, height)) return {};
  win::window_dc screen(nullptr);
  // The frame is in hundredths of a millimetre.
  const RECT frame{0, 0, ::MulDiv(width, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSX)),
                   ::MulDiv(height, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSY))};
  HDC recording = ::CreateEnhMetaFileW(screen.get(), nullptr, &frame, nullptr);
  if (!recording) return {};
  BITMAPINFO bitmap{};
  bitmap.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  ::StretchDIBits(recording, 0, 0, width, height, 0, 0, width, height, pixels.data(), &bitmap, DIB_RGB_COLORS,
                  SRCCOPY);
  return win::unique_henhmetafile(::CloseEnhMetaFile(recording));
}

}  // namespace orvalis::controls
