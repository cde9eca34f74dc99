// The rich text control's window-free rules: link test, the word under the
// mouse, zoom by font sizes, the background contrast check, the measured
// height and the debug line.
#include "controls/rich/prichedit_model.h"

#include <gtest/gtest.h>

namespace orvalis::controls {
namespace {

TEST(RtfLinkTest, WebMailAndListedWords) {
  const LinkList links = {{"Orvalis", 7}, {"www.listed.nl", 3}};
  struct Case {
    std::string word;
    int result;
    std::string after;  // the word as the handler receives it
  } const cases[] = {
      {"www.orvalis.nl", 0, "www.orvalis.nl"},
      {"WWW.Orvalis.nl", 0, "WWW.Orvalis.nl"},
      {"http://orvalis.nl/x", 0, "http://orvalis.nl/x"},
      {"HTTP://X", 0, "HTTP://X"},
      {"ftp.orvalis.nl", 0, "ftp.orvalis.nl"},
      {"https://orvalis.nl", -1, "https://orvalis.nl"},  // only the three prefixes count
      {"info@orvalis.nl", 0, "mailto:info@orvalis.nl"},
      {"MailTo:info@orvalis.nl", 0, "MailTo:info@orvalis.nl"},
      {"a@b", -1, "a@b"},
      {"a.b", -1, "a.b"},
      {"orvalis", 7, "orvalis"},
      {"www.listed.nl", 3, "www.listed.nl"},  // the list comes first
      {"", -1, ""},
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    EXPECT_EQ(IsLink(word, links), c.result) << c.word;
    EXPECT_EQ(word, c.after) << c.word;
  }
}

TEST(RtfLinkWord, WordAroundTheCharacterBeforeThePosition) {
  // "Internet:" TAB "www.orvalis.nl" CR LF "Email:" TAB "info@orvalis.nl"
  const std::string text = "Internet:\twww.orvalis.nl\r\nEmail:\tinfo@orvalis.nl";
  const int n = int(text.size());
  struct Case {
    int position;
    std::string word;
  } const cases[] = {
      {-1, ""},
      {0, ""},  // the first character of the text
      {1, "Internet:"},
      {9, "Internet:"},
      {10, ""},  // the character before is the tab
      {11, "www.orvalis.nl"},
      {24, "www.orvalis.nl"},
      {25, ""},
      {27, "Email:"},
      {n, "info@orvalis.nl"},
      {n + 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WordAround(text, c.position), c.word) << c.position;

  // Positions count UTF-16 units, as the window does.
  EXPECT_EQ(WordAround("caf\xc3\xa9 x", 4), "caf\xc3\xa9");
  EXPECT_EQ(WordAround("caf\xc3\xa9 x", 6), "x");
  EXPECT_EQ(WordAround("\xf0\x9f\x98\x80" "a b", 3), "\xf0\x9f\x98\x80" "a");
  EXPECT_EQ(WordAround("\xf0\x9f\x98\x80" "a b", 5), "b");
}

TEST(RtfZoom, ClampsAndScalesFontSizes) {
  const std::pair<int, int> clamps[] = {{50, 100}, {100, 100}, {101, 101}, {150, 150},
                                        {6400, 6400}, {6401, 100}, {-5, 100}};
  for (auto [in, out] : clamps) EXPECT_EQ(ClampZoom(in), out) << in;

  struct Case {
    const char* what;
    std::string rtf;
    int zoom, current;
    std::optional<std::string> expected;
  } const cases[] = {
      {"10 points at 150%", "{\\rtf1\\fs20 a}", 150, 100, "{\\rtf1\\fs30 a}"},
      {"every size", "\\fs16 a\\fs20 b\\fs25 c", 200, 100, "\\fs32 a\\fs40 b\\fs50 c"},
      {"integer division", "\\fs25 x", 150, 100, "\\fs37 x"},
      {"back to 100", "\\fs30 x", 100, 150, "\\fs20 x"},
      {"same zoom changes nothing", "\\fs20 x", 100, 100, std::nullopt},
      {"no size", "{\\rtf1 a}", 200, 100, std::nullopt},
      {"other control word", "\\fsmilli1 x", 200, 100, std::nullopt},
      {"escaped backslash", "\\\\fs20 x", 200, 100, std::nullopt},
      {"size at the end", "a\\fs10", 300, 100, "a\\fs30"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleFontSizes(c.rtf, c.zoom, c.current), c.expected) << c.what;
}

TEST(RtfContrast, BackgroundChangesWhenTheTextUsesIt) {
  constexpr std::uint32_t white = 0xFFFFFF, black = 0, silver = 0xC0C0C0, aqua = 0xFFFF00, yellow = 0x00FFFF;
  const std::string withWhite = "0," + std::to_string(white);
  const std::string whiteSilver = withWhite + "," + std::to_string(silver);
  const std::string all = whiteSilver + "," + std::to_string(aqua) + "," + std::to_string(yellow);
  struct Case {
    const char* what;
    std::string list;
    std::uint32_t background;
    std::optional<std::uint32_t> expected;
  } const cases[] = {
      {"white text on white", withWhite, white, silver},
      {"white and silver in the table", whiteSilver, white, aqua},
      {"all three used", all, white, std::nullopt},
      {"background not used", "0,255", white, std::nullopt},
      {"black always changes", "0", black, silver},
      {"black with silver in the table", "0," + std::to_string(silver), black, aqua},
      {"number prefix is no match", "0,16777", white, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ContrastBackground(c.list, c.background), c.expected) << c.what;
}

TEST(RtfHeight, MeasuredBottomInPixels) {
  EXPECT_EQ(MeasuredHeight(1500, 15), 100);
  EXPECT_EQ(MeasuredHeight(1514, 15), 100);
  EXPECT_EQ(MeasuredHeight(99999, 15), 6666);
  EXPECT_EQ(MeasuredHeight(100000, 15), 0);  // taller than measured
  EXPECT_EQ(MeasuredHeight(100, 0), 0);
  EXPECT_EQ(TwipsPerPixel(96, 120), 15);
  EXPECT_EQ(TwipsPerPixel(0, 120), 12);  // the screen's resolution instead
  EXPECT_EQ(TwipsPerPixel(0, 0), 15);
  EXPECT_EQ(TwipsPerPixel(2400, 96), 1);
}

TEST(RtfDebugLine, TimeAndHexadecimalNumbers) {
  EXPECT_EQ(DebugLine(9, 5, 7, 0x201, 1, 0x00100020), "09:05:07 Msg:0201 wParam:0001 lParam:100020");
  EXPECT_EQ(DebugLine(23, 59, 0, 0xBC4E, 0, 0xFFFFFFFFFFFFFFFFull),
            "23:59:00 Msg:BC4E wParam:0000 lParam:FFFFFFFFFFFFFFFF");
}

}  // namespace
}  // namespace orvalis::controls
