// JPEG images for the tests of picture fields: a small image made with
// libjpeg, and the same bytes declaring another size in their frame header.
#pragma once

#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <string>

#include <jpeglib.h>

namespace orvalis::controls::test {

// A width x height image, the left half red and the right half blue.
inline std::string MakeJpeg(int width = 16, int height = 8) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::string row(std::size_t(width) * 3, '\0');
  for (int x = 0; x < width; ++x) {
    row[std::size_t(x) * 3] = char(x < width / 2 ? 255 : 0);
    row[std::size_t(x) * 3 + 2] = char(x < width / 2 ? 0 : 255);
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row.data())};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string jpeg(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return jpeg;
}

// `jpeg` with its frame header (SOF0 or another start-of-frame marker)
// declaring width x height; the data stays that of the real image. "" when
// the bytes hold no frame header.
inline std::string WithDeclaredSize(std::string jpeg, unsigned width, unsigned height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) != 0xFF || marker < 0xC0 || marker > 0xCF || marker == 0xC4 ||
        marker == 0xC8 || marker == 0xCC)
      continue;
    // FF Cn, length (2), precision (1), height (2), width (2)
    jpeg[i + 5] = char(height >> 8);
    jpeg[i + 6] = char(height & 0xFF);
    jpeg[i + 7] = char(width >> 8);
    jpeg[i + 8] = char(width & 0xFF);
    return jpeg;
  }
  return {};
}

}  // namespace orvalis::controls::test
