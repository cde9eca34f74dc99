// The rich text control's text rules on arbitrary text: HTML to RTF, page-break
// markers, joined documents, bullet text, colour lists, escapes and pictures.
#include "controls/rich/rtf_convert.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

using namespace orvalis;
using namespace orvalis::controls;

namespace {

std::size_t Occurrences(std::string_view text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

void CheckHtml(std::string_view text) {
  const std::string rtf = HtmlToRtf(text);
  if (!rtf.empty()) {
    FUZZ_CHECK(rtf.starts_with("{\\rtf1 ") && rtf.ends_with("\\par}"));
    FUZZ_CHECK(IsRtf(rtf));
    // The longest replacement, "</p>" → "\par\par ", is 10 bytes for 4.
    FUZZ_CHECK(rtf.size() <= 3 * text.size() + 12);
  }
  const RichTextLoad load = PrepareRichText(text);
  if (load.rtf) {
    FUZZ_CHECK(IsRtf(load.text));
    FUZZ_CHECK(load.text.find("}{\\rtf") == std::string::npos);
  } else {
    FUZZ_CHECK(load.text == (IsHtml(text) ? rtf : std::string(text)));
  }
}

// True when a partial match of `pattern` is cut off by the pattern's first
// character ("\pro\protect "): the markers' matchers fall back to zero there
// without starting again, so such text is outside what they recognise.
bool RestartsMatch(std::string_view text, std::string_view pattern) {
  for (std::size_t i = text.find(pattern[0]); i != std::string_view::npos; i = text.find(pattern[0], i + 1))
    for (std::size_t k = 1; k < pattern.size() && i + k < text.size(); ++k) {
      if (text[i + k] == pattern[k]) continue;
      if (text[i + k] == pattern[0]) return true;
      break;
    }
  return false;
}

bool MarkersRecogniseAll(std::string_view text) {
  // The way back matches "protect " without its backslash, so plain text or a
  // longer control word ending in "protect" switches protection there only.
  for (std::size_t at = text.find("protect"); at != std::string_view::npos; at = text.find("protect", at + 1))
    if (at == 0 || text[at - 1] != '\\') return false;
  for (std::string_view p : {"\\protect ", "\\protect0 ", "\\page ", "protect ", "protect0 "})
    if (RestartsMatch(text, p)) return false;
  return true;
}

void CheckPageBreaks(std::string_view text) {
  // A document loaded and saved once does not change on further cycles.
  const std::string once = UnmarkPageBreaks(MarkPageBreaks(text));
  const std::string twice = UnmarkPageBreaks(MarkPageBreaks(once));
  if (MarkersRecogniseAll(text) && MarkersRecogniseAll(once)) FUZZ_CHECK(twice == once);
  FUZZ_CHECK(Occurrences(MarkPageBreaks(text), kPageBreakMarker) >= Occurrences(text, kPageBreakMarker));

  const std::string joined = JoinRtfDocuments(std::string(text));
  FUZZ_CHECK(joined.find("}{\\rtf") == std::string::npos);
  FUZZ_CHECK((text.size() - joined.size()) % 2 == 0);
  FUZZ_CHECK(RemoveBulletText(text).size() <= text.size());
}

void CheckColors(std::string_view text) {
  const std::string list = ColorList(text);
  FUZZ_CHECK(list.starts_with("0"));
  std::set<std::string> seen;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    const std::string entry = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    FUZZ_CHECK(!entry.empty() && entry.size() <= 8 && entry.find_first_not_of("0123456789") == std::string::npos);
    FUZZ_CHECK(std::stol(entry) <= 0xFFFFFF);
    FUZZ_CHECK(seen.insert(entry).second);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

void CheckEscapes(std::string_view text) {
  const std::string escaped = EscapeRtfText(text);
  for (char c : escaped) FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) FUZZ_CHECK(escaped == text);
}

void CheckPictures(std::string_view text, const std::uint8_t* data, std::size_t size) {
  // Any picture found reads without leaving its span.
  const int count = PictureCount(text);
  for (int i = 0; i < count && i < 8; ++i) {
    const auto span = FindPicture(text, i);
    if (!span) break;
    FUZZ_CHECK(span->start < span->end && span->end < text.size());
    const auto picture = ReadPicture(text, *span);
    FUZZ_CHECK(picture.has_value());
    FUZZ_CHECK(picture->bytes.size() <= (span->end - span->start) / 2);
  }
  FUZZ_CHECK(!FindPicture(text, count).has_value());
  const std::string stored = StoredRichText(std::string(text), text, {});
  FUZZ_CHECK(stored.size() <= text.size());

  // A metafile written as picture text reads back as the same bytes and size.
  if (size < 4) return;
  const int width = data[0] | (data[1] << 8), height = data[2] | (data[3] << 8);
  const std::string_view bits = text.substr(4);
  const std::string picture = PictureText(bits, width, height, 96, 96);
  if (bits.empty()) {
    FUZZ_CHECK(picture.empty());
    return;
  }
  FUZZ_CHECK(PictureCount(picture) == 1);
  const auto span = FindPicture(picture, 0);
  FUZZ_CHECK(span.has_value());
  const auto read = ReadPicture(picture, *span);
  FUZZ_CHECK(read.has_value() && read->bytes == bits);
  FUZZ_CHECK(read->width == int((width * 2540L + 48) / 96) && read->height == int((height * 2540L + 48) / 96));

  // A link carried as hexadecimal bytes in a picture label comes back.
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (char c : bits) {
    hex += kHex[static_cast<unsigned char>(c) >> 4];
    hex += kHex[static_cast<unsigned char>(c) & 15];
  }
  FUZZ_CHECK(LinkFromPictureLabel({std::string(kPictureTag) + "L", "link, " + hex}) == bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckHtml(text);
  CheckPageBreaks(text);
  CheckColors(text);
  CheckEscapes(text);
  CheckPictures(text, data, size);
  return 0;
}
