// Field pictures as metafiles.
#include "controls/rich/metafile_pictures.h"

#include <algorithm>

#include "win/wide.h"

namespace orvalis::controls {

std::string MetafilePictureText(HENHMETAFILE metafile) {
  if (!metafile) return {};
  win::window_dc screen(nullptr);
  const UINT size = ::GetWinMetaFileBits(metafile, 0, nullptr, MM_ANISOTROPIC, screen.get());
  if (size == 0) return {};
  std::string bits(size, '\0');
  if (::GetWinMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bits.data()), MM_ANISOTROPIC, screen.get()) == 0)
    return {};
  ENHMETAHEADER header{};
  ::GetEnhMetaFileHeader(metafile, sizeof header, &header);
  const int dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX), dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  // The frame is kept in hundredths of a millimetre.
  const int width = ::MulDiv(header.rclFrame.right - header.rclFrame.left, dpiX, 2540);
  const int height = ::MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpiY, 2540);
  return PictureText(bits, width, height, dpiX, dpiY);
}

win::unique_henhmetafile MetafileFromPicture(std::string_view rtf, PictureSpan span) {
  const std::optional<MetafileData> data = ReadPicture(rtf, span);
  if (!data || data->bytes.empty()) return {};
  win::window_dc screen(nullptr);
  const METAFILEPICT picture{MM_ANISOTROPIC, data->width, data->height, nullptr};
  return win::unique_henhmetafile(::SetWinMetaFileBits(
      UINT(data->bytes.size()), reinterpret_cast<const BYTE*>(data->bytes.data()), screen.get(), &picture));
}

std::optional<PictureLabel> MetafileLabel(HENHMETAFILE metafile) {
  if (!metafile) return std::nullopt;
  const UINT length = ::GetEnhMetaFileDescriptionW(metafile, 0, nullptr);
  if (length == 0 || length == GDI_ERROR) return std::nullopt;
  std::wstring text(length, L'\0');
  if (::GetEnhMetaFileDescriptionW(metafile, length, text.data()) == GDI_ERROR) return std::nullopt;
  // "author\0description\0\0"
  const std::size_t authorEnd = std::min(text.find(L'\0'), text.size());
  const std::wstring_view rest = authorEnd < text.size() ? std::wstring_view(text).substr(authorEnd + 1) : L"";
  PictureLabel label;
  label.author = win::Narrow(std::wstring_view(text).substr(0, authorEnd));
  label.description = win::Narrow(rest.substr(0, std::min(rest.find(L'\0'), rest.size())));
  return label;
}

win::unique_henhmetafile LabelledMetafile(HENHMETAFILE metafile, const PictureLabel& label) {
  ENHMETAHEADER header{};
  if (!metafile || !::GetEnhMetaFileHeader(metafile, sizeof header, &header)) return {};
  // "author\0description\0\0"
  std::wstring description = win::Wide(label.author);
  description += L'\0';
  description += win::Wide(label.description);
  description += L'\0';
  const RECT frame{header.rclFrame.left, header.rclFrame.top, header.rclFrame.right, header.rclFrame.bottom};
  HDC recording = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, description.c_str());
  if (!recording) return {};
  const RECT bounds{header.rclBounds.left, header.rclBounds.top, header.rclBounds.right + 1, header.rclBounds.bottom + 1};
  ::PlayEnhMetaFile(recording, metafile, &bounds);
  return win::unique_henhmetafile(::CloseEnhMetaFile(recording));
}

std::optional<PictureLabel> ReadPictureLabel(std::string_view rtf) {
  const std::optional<PictureSpan> span = FindPicture(rtf, 0);
  if (!span) return std::nullopt;
  const win::unique_henhmetafile metafile = MetafileFromPicture(rtf, *span);
  return MetafileLabel(metafile.get());
}

}  // namespace orvalis::controls
