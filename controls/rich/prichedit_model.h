// The rich text control's rules that need no window: the link test and the word
// under the mouse, the zoom by font sizes, the background contrast check, the
// content height from a measurement and the debug line of a message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::controls {

// A word that counts as a link, with the number `OnLink` receives for it.
struct LinkEntry {
  std::string word;
  int object = 0;
};
using LinkList = std::vector<LinkEntry>;

// -1 when `word` is no link; the number of its `links` entry (compared without
// case); 0 for a web address ("http://", "www.", "ftp.") or a mail address
// (holding "@" and "."), which gains "mailto:" in front when it lacks it.
[[nodiscard]] int IsLink(std::string& word, const LinkList& links);

// The characters that end a link word.
[[nodiscard]] bool IsLinkDelimiter(char16_t c);

// The word around a character position of the rich edit window (UTF-16 units,
// line breaks as the window counts them): seen from position p, the word runs
// between the delimiters before and after the character before p. Empty when
// that character is a delimiter or p is outside the text.
[[nodiscard]] std::string WordAround(std::string_view text, int position);

// A zoom value the control accepts: above 6400 or not above 100 gives 100.
[[nodiscard]] int ClampZoom(int zoom);
// Every "\fs<n>" of the RTF as n * zoom / currentZoom; none when no size changed.
[[nodiscard]] std::optional<std::string> ScaleFontSizes(std::string_view rtf, int zoom, int currentZoom);

// Silver, aqua and yellow as 0x00BBGGRR: the backgrounds tried when the text
// uses the background colour.
inline constexpr std::uint32_t kContrastColors[] = {0xC0C0C0, 0xFFFF00, 0x00FFFF};
// The new background when `background` (resolved, 0x00BBGGRR) is one of the
// colours of `colorList` (see ColorList): the first contrast colour the list
// does not hold. None when the background may stay.
[[nodiscard]] std::optional<std::uint32_t> ContrastBackground(std::string_view colorList, std::uint32_t background);

// The measured bottom of the content, in twips, as pixels; content that fills
// the whole measuring height (100000 twips) counts as nothing.
inline constexpr int kMeasureTwips = 100000;
[[nodiscard]] int MeasuredHeight(int bottomTwips, int twipsPerPixel);
// 1440 / resolution, with the screen's resolution when the device reports none.
[[nodiscard]] int TwipsPerPixel(int deviceDpi, int screenDpi);

// "hh:mm:ss Msg:XXXX wParam:XXXX lParam:XXXX", hexadecimal with four or more digits.
[[nodiscard]] std::string DebugLine(int hour, int minute, int second, std::uint32_t msg, std::uint64_t wParam,
                                    std::uint64_t lParam);

}  // namespace orvalis::controls
