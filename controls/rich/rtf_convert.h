// The rich text control's text rules: recognising RTF and HTML, HTML reduced to
// a few RTF control words, page breaks and field pictures turned into protected
// markers and back, embedded metafile pictures as RTF text, and the colour list.
// Everything matches on the RTF source text; no RTF group is parsed in general.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvalis::controls {

// The page-break marker shown in the editor in place of "\page ".
inline constexpr std::string_view kPageBreakMarker = "[NEWPAGE]";
// The author prefix of the metafiles that stand for fields and links.
inline constexpr std::string_view kPictureTag = "Orvalis - 001";

// Longer than 5 characters and starting with "{\rtf" in any case.
[[nodiscard]] bool IsRtf(std::string_view text);
// Longer than 6 characters starting with "<html>", or at least 21 characters
// starting with "<!doctype html" (any case).
[[nodiscard]] bool IsHtml(std::string_view text);

// The body reduced to RTF: line breaks, paragraphs and headings become control
// words, every other tag goes. Empty when the text has no <body>...</body>.
[[nodiscard]] std::string HtmlToRtf(std::string_view html);

// Each "\page " becomes the page-break marker, protected: inside protected text
// only "[NEWPAGE]" replaces it, elsewhere "\protect [NEWPAGE]\protect0 ".
[[nodiscard]] std::string MarkPageBreaks(std::string_view rtf);
// The way back: a "[NEWPAGE]" inside protected text becomes "\page " again.
[[nodiscard]] std::string UnmarkPageBreaks(std::string_view rtf);
// Several RTF documents one after the other load as one: "}{\rtf" → "\rtf".
[[nodiscard]] std::string JoinRtfDocuments(std::string rtf);

// What a loaded string turns into: RTF for the stream (HTML converted, page
// breaks marked, documents joined) or plain text set as it is.
struct RichTextLoad {
  bool rtf = false;
  std::string text;
};
[[nodiscard]] RichTextLoad PrepareRichText(std::string_view text);

// The bullet-symbol groups "\par {\pntext\f<n>\'B7\tab}\pard" that the rich
// edit window writes before bulleted paragraphs, shortened to "\par \pard".
[[nodiscard]] std::string RemoveBulletText(std::string_view rtf);

// Embedded metafile pictures, found as "{\pict\wmetafile8". Offsets count from 0.
struct PictureSpan {
  std::size_t start = 0;  // the "{"
  std::size_t end = 0;    // the first "}" after it
};
[[nodiscard]] int PictureCount(std::string_view rtf);
[[nodiscard]] std::optional<PictureSpan> FindPicture(std::string_view rtf, int index);

// A 16-bit (Windows 3.x) metafile with its size in pixels.
struct MetafileData {
  int width = 0;   // "\picw"
  int height = 0;  // "\pich"
  std::string bytes;
};
// The picture text of a metafile; "" without bytes. Size in hundredths of a
// millimetre from pixels and the screen resolution, the twips pair only when
// both values are below 32768.
[[nodiscard]] std::string PictureText(std::string_view metafileBits, int widthPixels, int heightPixels, int dpiX,
                                      int dpiY);
// The picture between `span.start` and `span.end`: its "\picw" and "\pich"
// values and the hexadecimal bytes after the header.
[[nodiscard]] std::optional<MetafileData> ReadPicture(std::string_view rtf, PictureSpan span);

// Author and description of a metafile, as its header keeps them.
struct PictureLabel {
  std::string author;
  std::string description;
};
// Reads the label of the picture text given; none when it cannot be read.
using PictureLabelReader = std::function<std::optional<PictureLabel>(std::string_view pictureText)>;

// The stored form of a streamed-out document: field pictures become protected
// field markers, bullet text goes, an empty document gives "" and page-break
// markers become "\page " again. `plainText` is the document's text.
[[nodiscard]] std::string StoredRichText(std::string rtf, std::string_view plainText,
                                         const PictureLabelReader& readLabel);

// The link text a link picture carries: the description after its first ",",
// trimmed, as hexadecimal byte pairs. Empty for other pictures.
[[nodiscard]] std::string LinkFromPictureLabel(const PictureLabel& label);

// Decimal 0x00BBGGRR values of the colour table, "0" first, without duplicates.
[[nodiscard]] std::string ColorList(std::string_view rtf);

// Plain text as the simplest HTML: "<BR>" after every line feed, nothing escaped.
[[nodiscard]] std::string PlainTextToHtml(std::string_view text);

// RTF the rich edit window reads as given: characters outside ASCII become
// "\'xx" (code page 1252) or "\uN?" escapes. ASCII text comes back unchanged.
[[nodiscard]] std::string EscapeRtfText(std::string_view utf8);

}  // namespace orvalis::controls
