// Field rules of the rich text control: picture kinds and names, marker
// expansion, the picture list of `FieldEdit` and the insert probe.
#include "controls/rich/rich_fields.h"

#include <algorithm>

#include "core/hex.h"
#include "core/text.h"
#include "core/utf16.h"
#include "services/field_list.h"

namespace orvalis::controls {
namespace {

bool HasTag(const PictureLabel& label) { return label.author.rfind(kPictureTag, 0) == 0; }

std::optional<PictureLabel> LabelAt(std::string_view rtf, PictureSpan span, const PictureLabelReader& readLabel) {
  if (!readLabel) return std::nullopt;
  return readLabel(rtf.substr(span.start, span.end - span.start + 1));
}

}  // namespace

int FieldPictureKind(const PictureLabel& label) {
  if (!HasTag(label)) return 0;
  return label.author.size() > kPictureTag.size() && label.author[kPictureTag.size()] == 'D' ? 2 : 1;
}

std::optional<std::string> FieldName(const PictureLabel& label) {
  if (!HasTag(label) || label.description.empty()) return std::nullopt;
  return label.description;
}

std::optional<std::string> JpegFieldData(std::string_view name) {
  if (name.rfind(kJpegFieldPrefix, 0) != 0) return std::nullopt;
  return HexToByteString(name.substr(kJpegFieldPrefix.size()));
}

std::vector<std::string> FieldNames(std::string_view rtf, const PictureLabelReader& readLabel) {
  std::vector<std::string> names;
  for (int index = 0;; ++index) {
    const std::optional<PictureSpan> span = FindPicture(rtf, index);
    if (!span) break;
    if (const auto label = LabelAt(rtf, *span, readLabel))
      if (auto name = FieldName(*label)) names.push_back(std::move(*name));
  }
  return names;
}

std::string JoinFieldNames(const std::vector<std::string>& names) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += names[i];
  }
  return joined;
}

std::string ReplaceFieldPictures(std::string_view rtf, std::string_view names, const PictureLabelReader& readLabel,
                                 const std::function<std::string(const std::string&)>& fieldRtf) {
  // The k-th field, not the k-th picture: an ordinary image among the fields
  // keeps its place and does not take a field's name.
  const int nameCount = CountFields(names, "\n", kFieldsPlain);
  std::string out;
  std::size_t copied = 0;
  int field = 0;
  for (int index = 0;; ++index) {
    const std::optional<PictureSpan> span = FindPicture(rtf, index);
    if (!span) break;
    const auto label = LabelAt(rtf, *span, readLabel);
    if (!label || !FieldName(*label)) continue;
    if (field >= nameCount) break;
    const std::string replacement = fieldRtf ? fieldRtf(GetDelimitedField(names, field, "\n", kFieldsPlain)) : "";
    ++field;
    out.append(rtf.substr(copied, span->start - copied));
    if (const std::optional<PictureSpan> picture = FindPicture(replacement, 0))
      out.append(replacement, picture->start, picture->end - picture->start + 1);
    else
      out += replacement;
    copied = span->end + 1;
  }
  out.append(rtf.substr(copied));
  return out;
}

std::string ConvertEmfPictures(std::string_view rtf,
                               const std::function<std::string(std::string_view emfBits)>& pictureText) {
  constexpr std::string_view kEmf = "{\\pict\\emfblip", kShape = "{\\*\\shppict";
  std::string out;
  std::size_t copied = 0;
  for (std::size_t pos = rtf.find(kEmf); pos != std::string_view::npos; pos = rtf.find(kEmf, pos + 1)) {
    const std::size_t close = rtf.find('}', pos);
    if (close == std::string_view::npos) break;
    const std::optional<MetafileData> data = ReadPicture(rtf, PictureSpan{pos, close});
    const std::string text = data && pictureText ? pictureText(data->bytes) : "";
    if (text.empty()) continue;
    // The shape group around the picture goes with it.
    std::size_t start = pos, end = close + 1;
    if (start >= copied + kShape.size() && rtf.substr(start - kShape.size(), kShape.size()) == kShape &&
        end < rtf.size() && rtf[end] == '}') {
      start -= kShape.size();
      ++end;
    }
    out.append(rtf.substr(copied, start - copied));
    // Picture text ends with CR LF, which RTF readers skip.
    out += text;
    copied = end;
    pos = end - 1;
  }
  if (copied == 0) return std::string(rtf);
  out.append(rtf.substr(copied));
  return out;
}

std::vector<ObjectRange> ExpandFieldMarkers(FieldDocument& document) {
  std::u16string text = document.Text();
  std::vector<ObjectRange> pageBreaks;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t open = text.find(u'[', from);
    if (open == std::u16string::npos) break;
    if (!document.ProtectedBefore(int(open + 1))) {
      from = open + 1;
      continue;
    }
    const std::size_t close = text.find(u']', open);
    const std::size_t nameEnd = close == std::u16string::npos ? text.size() : close;
    const std::size_t end = close == std::u16string::npos ? text.size() : close + 1;
    const std::string name = Utf16ToUtf8(std::u16string_view(text).substr(open + 1, nameEnd - open - 1));
    const std::string rtf = document.FieldRtf(name);
    if (rtf.empty() && name == kPageBreakName) {
      pageBreaks.push_back(ObjectRange{int(open), int(end - open)});
      from = end;
      continue;
    }
    const int after = document.Replace(int(open), int(end), rtf);
    std::u16string next = document.Text();
    // A window that kept the marker as it was would bring the scan back here forever.
    from = next == text ? open + 1 : std::size_t(std::max(after, int(open)));
    text = std::move(next);
  }
  return pageBreaks;
}

std::string AnchorProtectedMarkers(std::string_view rtf) {
  constexpr std::string_view kProtect = "\\protect ", kUnprotect = "\\protect0 ", kAnchor = "\\u-7?";
  std::string out;
  out.reserve(rtf.size());
  bool inside = false;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf.compare(i, kProtect.size(), kProtect) == 0) inside = true;
    if (rtf.compare(i, kUnprotect.size(), kUnprotect) == 0) inside = false;
    if (rtf[i] == '[' && inside && (i == 0 || rtf[i - 1] != '\\')) out += kAnchor;
    out += rtf[i];
  }
  return out;
}

std::vector<ObjectRange> AnchoredMarkers(std::u16string_view text) {
  std::vector<ObjectRange> markers;
  for (std::size_t at = text.find(kMarkerAnchor); at != std::u16string_view::npos;
       at = text.find(kMarkerAnchor, at + 1)) {
    const std::size_t close = text.find(u']', at);
    const std::size_t end = close == std::u16string_view::npos ? text.size() : close + 1;
    markers.push_back(ObjectRange{int(at), int(end - at)});
  }
  return markers;
}

int PlaceInsertProbe(InsertTarget& target, int start, int length) {
  const std::string saved = target.SaveDocument();
  const std::u16string probe(kInsertProbe.begin(), kInsertProbe.end());
  target.ReplaceSelection(kInsertProbe);
  target.Select(start, int(kInsertProbe.size()));
  int retries = 0;
  while (target.SelectedText() != probe && retries < kInsertRetries) {
    ++retries;
    target.RestoreDocument(saved);
    target.Select(start, length);
    target.ReplaceSelection(kInsertProbe);
    target.Select(start, int(kInsertProbe.size()));
  }
  return retries;
}

std::string InsertRtf(std::string_view text) {
  if (UpperCase(text.substr(0, 5)) == "{\\RTF") return std::string(text);
  return "{\\rtf1 " + std::string(text) + "}";
}

ObjectRange ReinsertRange(int retries, int start, int insertedLength) {
  return retries > 0 ? ObjectRange{0, -1} : ObjectRange{start, insertedLength};
}

std::vector<int> ObjectsInRange(const std::vector<int>& positions, ObjectRange range) {
  std::vector<int> kept;
  for (int p : positions)
    if (range.length < 0 || (p >= range.start && p < range.start + range.length)) kept.push_back(p);
  return kept;
}

}  // namespace orvalis::controls
