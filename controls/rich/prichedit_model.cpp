// The rich text control's window-free rules.
#include "controls/rich/prichedit_model.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"
#include "core/utf16.h"
#include "services/field_list.h"

namespace orvalis::controls {

int IsLink(std::string& word, const LinkList& links) {
  for (const LinkEntry& entry : links)
    if (SameText(entry.word, word)) return entry.object;
  const std::string lower = LowerCase(word);
  if (StartsWith(lower, "http://") || StartsWith(lower, "www.") || StartsWith(lower, "ftp.")) return 0;
  if (word.find('@') != std::string::npos && word.find('.') != std::string::npos) {
    if (!StartsWith(lower, "mailto:")) word = "mailto:" + word;
    return 0;
  }
  return -1;
}

bool IsLinkDelimiter(char16_t c) { return c == u' ' || c == u'\n' || c == u'\r' || c == u'\t'; }

std::string WordAround(std::string_view text, int position) {
  const std::optional<std::u16string> wide = Utf8ToUtf16(text);
  if (!wide) return {};
  const std::u16string& w = *wide;
  const int n = int(w.size());
  // Indexes below count from 1, as the character positions of the window do
  // from 0: index p is the character just before position p.
  if (position < 1 || position > n || IsLinkDelimiter(w[size_t(position - 1)])) return {};
  int end = position;
  while (end <= n && !IsLinkDelimiter(w[size_t(end - 1)])) ++end;
  int start = position;
  while (start >= 1 && !IsLinkDelimiter(w[size_t(start - 1)])) --start;
  return Utf16ToUtf8(std::u16string_view(w).substr(size_t(start), size_t(end - start - 1)));
}

int ClampZoom(int zoom) { return zoom > 6400 || zoom <= 100 ? 100 : zoom; }

std::optional<std::string> ScaleFontSizes(std::string_view rtf, int zoom, int currentZoom) {
  if (currentZoom <= 0) return std::nullopt;
  std::string out;
  out.reserve(rtf.size() + 16);
  bool changed = false;
  std::size_t i = 0;
  while (i < rtf.size()) {
    const std::size_t pos = rtf.find("\\fs", i);
    if (pos == std::string_view::npos) break;
    std::size_t digits = pos + 3;
    std::size_t end = digits;
    while (end < rtf.size() && rtf[end] >= '0' && rtf[end] <= '9') ++end;
    out.append(rtf.substr(i, digits - i));
    i = end;
    if (end == digits || (pos > 0 && rtf[pos - 1] == '\\')) {  // "\fsmilli" or an escaped "\\fs"
      out.append(rtf.substr(digits, end - digits));
      continue;
    }
    const std::int64_t old = LenientInt(rtf.substr(digits, end - digits));
    const std::int64_t scaled = old * zoom / currentZoom;
    out += std::to_string(scaled);
    changed = changed || scaled != old;
  }
  if (!changed) return std::nullopt;
  out.append(rtf.substr(i));
  return out;
}

std::optional<std::uint32_t> ContrastBackground(std::string_view colorList, std::uint32_t background) {
  if (!ContainsNumber(colorList, int(background), ",")) return std::nullopt;
  for (std::uint32_t c : kContrastColors)
    if (!ContainsNumber(colorList, int(c), ",")) return c;
  return std::nullopt;
}

int MeasuredHeight(int bottomTwips, int twipsPerPixel) {
  if (twipsPerPixel <= 0 || bottomTwips >= kMeasureTwips) return 0;
  return bottomTwips / twipsPerPixel;
}

int TwipsPerPixel(int deviceDpi, int screenDpi) {
  const int dpi = deviceDpi > 0 ? deviceDpi : screenDpi > 0 ? screenDpi : 96;
  return std::max(1440 / dpi, 1);
}

std::string DebugLine(int hour, int minute, int second, std::uint32_t msg, std::uint64_t wParam,
                      std::uint64_t lParam) {
  const auto two = [](int value) { return PaddedNumber(std::uint64_t(std::abs(value % 100)), 2); };
  return two(hour) + ":" + two(minute) + ":" + two(second) + " Msg:" + PaddedNumber(msg, 4, 16) +
         " wParam:" + PaddedNumber(wParam, 4, 16) + " lParam:" + PaddedNumber(lParam, 4, 16);
}

}  // namespace orvalis::controls
