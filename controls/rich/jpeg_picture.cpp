// Field images: decoded to pixel rows (jpeg_decode.h), then one StretchDIBits
// into a metafile recording.
#include "controls/rich/jpeg_picture.h"

#include "controls/rich/jpeg_decode.h"

namespace orvalis::controls {

win::unique_henhmetafile JpegMetafile(std::string_view jpeg) {
  const std::optional<JpegPixels> image = DecodeJpeg(jpeg);
  if (!image) return {};
  const int width = image->width, height = image->height;
  win::window_dc screen(nullptr);
  // The frame is in hundredths of a millimetre.
  const RECT frame{0, 0, ::MulDiv(width, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSX)),
                   ::MulDiv(height, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSY))};
  HDC recording = ::CreateEnhMetaFileW(screen.get(), nullptr, &frame, nullptr);
  if (!recording) return {};
  BITMAPINFO bitmap{};
  bitmap.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  ::StretchDIBits(recording, 0, 0, width, height, 0, 0, width, height, image->rows.data(), &bitmap, DIB_RGB_COLORS,
                  SRCCOPY);
  return win::unique_henhmetafile(::CloseEnhMetaFile(recording));
}

}  // namespace orvalis::controls
