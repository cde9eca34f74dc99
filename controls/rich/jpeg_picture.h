// JPEG images of "JPEGPICT:" fields, decoded with libjpeg and drawn into an
// enhanced metafile as large as the image.
#pragma once

#include <windows.h>

#include <string_view>

#include "win/gdi.h"

namespace orvalis::controls {

// The image drawn into a metafile of its width and height in pixels (at the
// screen's resolution); none when the bytes are no JPEG image libjpeg can
// read or the image passes the limits of jpeg_decode.h.
// A program hands it to PRichEdit::SetJpegDecoder to show "JPEGPICT:" fields;
// only then is libjpeg linked into it.
[[nodiscard]] win::unique_henhmetafile JpegMetafile(std::string_view jpeg);

}  // namespace orvalis::controls
