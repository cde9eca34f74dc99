// Fields of the rich text control without a window: a field is a metafile
// picture whose author starts with the picture tag and whose description is
// its name; stored, it is the protected marker "[name]". These are the rules
// for expanding markers on load, for the pictures that `FieldEdit` hands to
// the host and back, for "JPEGPICT:" names and for the probe before an insert.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/rich/rtf_convert.h"

namespace orvalis::controls {

// The object text `OnFieldEdit` receives when a new field is asked for.
inline constexpr std::string_view kNewFieldName = "@NEWFIELD";
// A field name that carries a JPEG image as hexadecimal digits.
inline constexpr std::string_view kJpegFieldPrefix = "JPEGPICT:";

// The attribute codes of `SetFieldTextAttributes`.
enum FieldAttribute : int {
  kFieldFontSize = 1,
  kFieldFontName = 2,
  kFieldBold = 4,
  kFieldItalic = 8,
  kFieldUnderline = 16,
  kFieldStrikeOut = 32,
  kFieldColor = 64,
};

// A range of characters of the window; a negative length runs to the end.
struct ObjectRange {
  int start = 0;
  int length = 0;
  friend bool operator==(const ObjectRange&, const ObjectRange&) = default;
};

// What `IsField` reports for a picture: 0 when it is not one of the control's
// pictures, 2 when the letter after the tag is "D", else 1.
[[nodiscard]] int FieldPictureKind(const PictureLabel& label);
// The field name of a picture: its description when the author carries the
// tag; none for other pictures and for an empty description.
[[nodiscard]] std::optional<std::string> FieldName(const PictureLabel& label);

// The JPEG bytes of a "JPEGPICT:" name; none for other names.
[[nodiscard]] std::optional<std::string> JpegFieldData(std::string_view name);

// The names of the field pictures of an RTF text, in their order. Pictures
// that cannot be read are skipped.
[[nodiscard]] std::vector<std::string> FieldNames(std::string_view rtf, const PictureLabelReader& readLabel);
// The names joined with LF, as `OnFieldEdit` receives several fields.
[[nodiscard]] std::string JoinFieldNames(const std::vector<std::string>& names);

// The RTF text with its k-th field picture replaced by what `fieldRtf` gives
// for the k-th LF-separated name of `names`: the picture text in it, or the
// whole result when it holds no picture ("" removes the field). Pictures that
// are no fields, and fields beyond the last name, stay as they are.
[[nodiscard]] std::string ReplaceFieldPictures(std::string_view rtf, std::string_view names,
                                               const PictureLabelReader& readLabel,
                                               const std::function<std::string(const std::string&)>& fieldRtf);

// Rich edit windows of later versions write pictures as enhanced metafiles
// ("{\*\shppict{\pict\emfblip ...}}" or a bare "{\pict\emfblip ...}"). Each
// becomes what `pictureText` makes of its metafile bytes, so that the rules
// above find them as "{\pict\wmetafile8" pictures; one it gives "" for stays.
[[nodiscard]] std::string ConvertEmfPictures(std::string_view rtf,
                                             const std::function<std::string(std::string_view emfBits)>& pictureText);

// The document as field expansion sees it. Positions count the characters of
// Text() (UTF-16 units, as the rich edit window counts them).
class FieldDocument {
 public:
  virtual ~FieldDocument() = default;
  [[nodiscard]] virtual std::u16string Text() = 0;
  // Whether the character before `position` is protected (the caret's attributes there).
  [[nodiscard]] virtual bool ProtectedBefore(int position) = 0;
  // The RTF standing for a field; "" when there is none.
  [[nodiscard]] virtual std::string FieldRtf(const std::string& name) = 0;
  // Replaces the characters [start, end) with the RTF ("" deletes them) and
  // returns the position right after what was inserted.
  virtual int Replace(int start, int end, const std::string& rtf) = 0;
};

// The name of the page-break marker "[NEWPAGE]".
inline constexpr std::string_view kPageBreakName = "NEWPAGE";

// Scans the text from its start and replaces every protected "[name]" (or
// "[name" up to the end of the text) by the field's RTF; "" removes it.
// Unprotected brackets stay. A page break the host draws nothing for stays as
// its marker, so that it is saved again: the result lists those markers, which
// must remain protected.
[[nodiscard]] std::vector<ObjectRange> ExpandFieldMarkers(FieldDocument& document);

// Rich edit windows that drop "\protect" on reading (Wine's) lose what makes a
// marker a marker. Before such a window reads the RTF, every "[" inside
// protected text gets an anchor character in front; after reading, the
// anchors are taken out again and the markers protected.
inline constexpr char16_t kMarkerAnchor = u'\xFFF9';
[[nodiscard]] std::string AnchorProtectedMarkers(std::string_view rtf);
// The anchored markers of the loaded text: each range starts at an anchor and
// runs to the "]" that closes its marker (or the end of the text).
[[nodiscard]] std::vector<ObjectRange> AnchoredMarkers(std::u16string_view text);

// The probe written before an insert so that the window's selection is known
// to be where the text goes.
inline constexpr std::string_view kInsertProbe = "TEST____INSERT";
inline constexpr int kInsertRetries = 5;

// The window an insert goes to.
class InsertTarget {
 public:
  virtual ~InsertTarget() = default;
  [[nodiscard]] virtual std::string SaveDocument() = 0;
  virtual void RestoreDocument(const std::string& rtf) = 0;
  virtual void Select(int start, int length) = 0;
  virtual void ReplaceSelection(std::string_view plainText) = 0;
  [[nodiscard]] virtual std::u16string SelectedText() = 0;
};

// Replaces the selection (start, length) with the probe and selects it. When
// the window did not take it there, the saved document is put back and the
// probe written again, up to kInsertRetries times. Returns the retries made.
int PlaceInsertProbe(InsertTarget& target, int start, int length);

// Text to insert as RTF: anything not starting with "{\rtf" is wrapped.
[[nodiscard]] std::string InsertRtf(std::string_view text);

// The range whose objects go back on the base line after an insert: the
// inserted range, or the whole document (length -1) after a retried probe.
[[nodiscard]] ObjectRange ReinsertRange(int retries, int start, int insertedLength);

// The object positions that lie in [range.start, range.start + range.length);
// every one for a negative length.
[[nodiscard]] std::vector<int> ObjectsInRange(const std::vector<int>& positions, ObjectRange range);

}  // namespace orvalis::controls
