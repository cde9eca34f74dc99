// The pictures of the rich text control's fields as metafiles: the 16-bit
// picture text a metafile becomes in RTF, the metafile back from that text,
// and the author and description a field's picture carries in its header.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "controls/rich/rtf_convert.h"
#include "win/gdi.h"

namespace orvalis::controls {

// The picture text of a metafile, converted to the 16-bit format against the
// screen; "" when the conversion gives nothing.
[[nodiscard]] std::string MetafilePictureText(HENHMETAFILE metafile);
// The metafile of a picture text; none when its bytes make no metafile.
[[nodiscard]] win::unique_henhmetafile MetafileFromPicture(std::string_view rtf, PictureSpan span);
// Author and description from the metafile's header; none without a description.
[[nodiscard]] std::optional<PictureLabel> MetafileLabel(HENHMETAFILE metafile);
// The label of the first picture of an RTF text; none when it cannot be read.
[[nodiscard]] std::optional<PictureLabel> ReadPictureLabel(std::string_view rtf);
// A copy of the metafile with `label` in its header (author and
// description), the same picture at the same size; none without a metafile.
[[nodiscard]] win::unique_henhmetafile LabelledMetafile(HENHMETAFILE metafile, const PictureLabel& label);

}  // namespace orvalis::controls
