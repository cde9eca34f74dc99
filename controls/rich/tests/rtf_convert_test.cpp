// The rich text control's text rules: RTF and HTML recognition, HTML to RTF,
// page-break markers both ways, bullet text, pictures, the stored form of a
// document, the colour list and the escapes for the rich edit window.
#include "controls/rich/rtf_convert.h"

#include <gtest/gtest.h>

#include <map>

namespace orvalis::controls {
namespace {

struct TextCase {
  const char* what;
  std::string input;
  std::string expected;
};

TEST(RtfRecognition, RtfAndHtmlByTheirFirstCharacters) {
  struct Case {
    std::string text;
    bool rtf, html;
  } const cases[] = {
      {"{\\rtf1 a}", true, false},
      {"{\\RTF1 a}", true, false},
      {"{\\rtf", false, false},  // five characters are not enough
      {"{\\rtf ", true, false},
      {" {\\rtf1 a}", false, false},
      {"<html>x", false, true},
      {"<HTML>", false, false},  // exactly six characters
      {"<HtMl><body>", false, true},
      {"<!DOCTYPE html><html>", false, true},  // 21 characters
      {"<!doctype html><html", false, false},  // 20 characters
      {"<!doctype htm><html><body>", false, false},
      {"plain text", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRtf(c.text), c.rtf) << c.text;
    EXPECT_EQ(IsHtml(c.text), c.html) << c.text;
  }
}

TEST(RtfHtmlToRtf, ReducesTheBodyToParagraphsAndBold) {
  const TextCase cases[] = {
      {"heading and line breaks", "<html><body><h1>Title</h1>Line one<br>Line two</body></html>",
       "{\\rtf1 \\b Title\\b0\\par Line one\\par Line two\\par}"},
      {"apostrophe: the rest is text", "<html><body>it's <b>bold</b></body></html>",
       "{\\rtf1 it's <b>bold</b>\\par}"},
      {"second apostrophe ends the quote", "<html><body>'a' <b>b</b></body></html>", "{\\rtf1 'a' b\\par}"},
      {"double quotes keep tags", "<html><body>say \"<i>x</i>\" <i>y</i></body></html>",
       "{\\rtf1 say \"<i>x</i>\" y\\par}"},
      {"no body", "<html>no body</html>", ""},
      {"no body end", "<html><body>text</html>", ""},
      {"empty body", "<html><body></body></html>", ""},
      {"tags in capitals", "<HTML><BODY>a<BR>b</BODY></HTML>", "{\\rtf1 a\\par b\\par}"},
      {"closing br", "<html><body>a</br>b</body></html>", "{\\rtf1 a\\par b\\par}"},
      {"paragraph end", "<html><body><p>a</p><p>b</p></body></html>", "{\\rtf1 a\\par\\par b\\par\\par \\par}"},
      {"h4 is a heading, h5 is not", "<html><body><h4>x</h4><h5>y</h5></body></html>",
       "{\\rtf1 \\b x\\b0\\par y\\par}"},
      {"tags with attributes go", "<html><body><a href=\"x\">link</a> <br/></body></html>", "{\\rtf1 link \\par}"},
      {"line breaks and tabs go, spaces collapse", "<html><body>a\r\n\tb   c \r\n d</body></html>",
       "{\\rtf1 ab c d\\par}"},
      {"a space after an inserted paragraph goes", "<html><body>a<br> b</body></html>", "{\\rtf1 a\\par b\\par}"},
      {"entities stay as text", "<html><body>a&amp;b</body></html>", "{\\rtf1 a&amp;b\\par}"},
      {"text before the body goes", "<html><head><title>T</title></head><body>x</body></html>", "{\\rtf1 x\\par}"},
      {"unclosed tag runs to the end", "<html><body>a<b</body></html>", "{\\rtf1 a\\par}"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(HtmlToRtf(c.input), c.expected) << c.what;
}

TEST(RtfPageBreaks, MarkedOnLoadAndRestoredOnSave) {
  const TextCase marks[] = {
      {"unprotected page", "{\\rtf1 a\\page b}", "{\\rtf1 a\\protect [NEWPAGE]\\protect0 b}"},
      {"inside protected text", "{\\rtf1 \\protect a\\page b\\protect0 c}", "{\\rtf1 \\protect a[NEWPAGE]b\\protect0 c}"},
      {"after protection ended", "{\\rtf1 \\protect a\\protect0 b\\page c}",
       "{\\rtf1 \\protect a\\protect0 b\\protect [NEWPAGE]\\protect0 c}"},
      {"two pages", "\\page \\page ", "\\protect [NEWPAGE]\\protect0 \\protect [NEWPAGE]\\protect0 "},
      {"stored form", "{\\rtf1 a\\protect \\page \\protect0 b}", "{\\rtf1 a\\protect [NEWPAGE]\\protect0 b}"},
      {"control word without its blank", "{\\rtf1 a\\page\\par b}", "{\\rtf1 a\\page\\par b}"},
      {"longer control word", "{\\rtf1 a\\pagebb b}", "{\\rtf1 a\\pagebb b}"},
      {"escaped backslash in the text", "{\\rtf1 a\\\\page b}", "{\\rtf1 a\\\\page b}"},
  };
  for (const TextCase& c : marks) EXPECT_EQ(MarkPageBreaks(c.input), c.expected) << c.what;

  const TextCase unmarks[] = {
      {"protected marker", "{\\rtf1 a\\protect [NEWPAGE]\\protect0 b}", "{\\rtf1 a\\protect \\page \\protect0 b}"},
      {"unprotected marker stays", "{\\rtf1 a[NEWPAGE]b}", "{\\rtf1 a[NEWPAGE]b}"},
      {"other protected name stays", "{\\rtf1 \\protect [Name]\\protect0 }", "{\\rtf1 \\protect [Name]\\protect0 }"},
      {"after protection ended", "{\\rtf1 \\protect a\\protect0 [NEWPAGE]}", "{\\rtf1 \\protect a\\protect0 [NEWPAGE]}"},
      {"two markers in one protected run", "\\protect [NEWPAGE][NEWPAGE]\\protect0 ",
       "\\protect \\page \\page \\protect0 "},
      {"unterminated bracket", "\\protect [NEWPAGE", "\\protect [NEWPAGE"},
  };
  for (const TextCase& c : unmarks) EXPECT_EQ(UnmarkPageBreaks(c.input), c.expected) << c.what;
}

TEST(RtfPageBreaks, RepeatedLoadAndSaveKeepTheText) {
  const std::string original = "{\\rtf1 one\\page two\\page three}";
  const std::string loaded = MarkPageBreaks(original);
  const std::string saved = UnmarkPageBreaks(loaded);
  EXPECT_EQ(saved, "{\\rtf1 one\\protect \\page \\protect0 two\\protect \\page \\protect0 three}");
  EXPECT_EQ(MarkPageBreaks(saved), loaded);
  EXPECT_EQ(UnmarkPageBreaks(MarkPageBreaks(saved)), saved);
}

TEST(RtfLoad, ChoosesRtfOrPlainTextAndJoinsDocuments) {
  struct Case {
    const char* what;
    std::string input;
    bool rtf;
    std::string text;
  } const cases[] = {
      {"five characters", "{\\rtf", false, "{\\rtf"},
      {"plain text", "hello", false, "hello"},
      {"html in capitals", "<HTML><BODY>a<br>b</BODY></HTML>", true, "{\\rtf1 a\\par b\\par}"},
      {"html without body", "<html>no body</html>", false, ""},
      {"doctype", "<!DOCTYPE html><html><body>x</body></html>", true, "{\\rtf1 x\\par}"},
      {"two documents", "{\\rtf1 a}{\\rtf1 b}", true, "{\\rtf1 a\\rtf1 b}"},
      {"joins made by a join", "{\\rtf1 a}{}{\\rtf1 b}", true, "{\\rtf1 a\\rtf1 b}"},
      {"page break marked", "{\\rtf1 a\\page b}", true, "{\\rtf1 a\\protect [NEWPAGE]\\protect0 b}"},
  };
  for (const Case& c : cases) {
    const RichTextLoad load = PrepareRichText(c.input);
    EXPECT_EQ(load.rtf, c.rtf) << c.what;
    EXPECT_EQ(load.text, c.text) << c.what;
  }
}

TEST(RtfBulletText, RemovesTheSymbolGroupOnly) {
  const TextCase cases[] = {
      {"one bullet", "a\\par {\\pntext\\f1\\'B7\\tab}\\pard x", "a\\par \\pard x"},
      {"lower-case escape", "a\\par {\\pntext\\f12\\'b7\\tab}\\pard x", "a\\par \\pard x"},
      {"two bullets", "\\par {\\pntext\\f1\\'B7\\tab}\\pard a\\par {\\pntext\\f1\\'B7\\tab}\\pard b",
       "\\par \\pard a\\par \\pard b"},
      {"no font number", "\\par {\\pntext\\f\\'B7\\tab}\\pard", "\\par {\\pntext\\f\\'B7\\tab}\\pard"},
      {"another symbol", "\\par {\\pntext\\f1\\'95\\tab}\\pard", "\\par {\\pntext\\f1\\'95\\tab}\\pard"},
      {"numbered paragraph", "\\par {\\pntext\\f1 1.\\tab}\\pard", "\\par {\\pntext\\f1 1.\\tab}\\pard"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(RemoveBulletText(c.input), c.expected) << c.what;
}

TEST(RtfPictures, WrittenFoundCountedAndReadBack) {
  const std::string bits("\x01\x00\x09\x00\xab\xff", 6);
  const std::string text = PictureText(bits, 100, 50, 96, 96);
  EXPECT_EQ(text, "{\\pict\\wmetafile8\\picw2646\\pich1323\\picwgoal1500\\pichgoal750\r\n01000900abff}\r\n");
  EXPECT_EQ(PictureText("", 100, 50, 96, 96), "");
  // The twips pair only when both fit in 15 bits.
  EXPECT_EQ(PictureText("\x10", 2200, 10, 96, 96), "{\\pict\\wmetafile8\\picw58208\\pich265\r\n10}\r\n");
  EXPECT_EQ(PictureText("\x10", 10, 10, 120, 72), "{\\pict\\wmetafile8\\picw212\\pich353\\picwgoal120\\pichgoal200\r\n10}\r\n");

  const std::string doc = "{\\rtf1 a" + text + "b{\\pict\\wmetafile8\\picw1\\pich2 0a 0B\r\nc}c}";
  EXPECT_EQ(PictureCount(doc), 2);
  EXPECT_EQ(PictureCount("{\\rtf1 {\\pict\\emfblip 00}}"), 0);
  const auto first = FindPicture(doc, 0);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->start, doc.find("{\\pict"));
  EXPECT_EQ(first->end, first->start + text.size() - 3);  // the "}" before CR LF
  const auto read = ReadPicture(doc, *first);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->width, 2646);
  EXPECT_EQ(read->height, 1323);
  EXPECT_EQ(read->bytes, bits);

  const auto second = FindPicture(doc, 1);
  ASSERT_TRUE(second.has_value());
  const auto read2 = ReadPicture(doc, *second);
  ASSERT_TRUE(read2.has_value());
  EXPECT_EQ(read2->width, 1);
  EXPECT_EQ(read2->height, 2);
  EXPECT_EQ(read2->bytes, std::string("\x0a\x0b", 2));  // upper-case digits too; the lone "c" is dropped
}

TEST(RtfPictures, MissingPicturesAndBadSpans) {
  EXPECT_FALSE(FindPicture("{\\rtf1 a}", 0).has_value());
  EXPECT_FALSE(FindPicture("{\\rtf1 {\\pict\\wmetafile8 00}", 1).has_value());
  EXPECT_FALSE(FindPicture("{\\rtf1 {\\pict\\wmetafile8 00}", -1).has_value());
  EXPECT_FALSE(FindPicture("{\\rtf1 {\\pict\\wmetafile8 00", 0).has_value());  // never closed
  EXPECT_FALSE(ReadPicture("abc", PictureSpan{0, 2}).has_value());
  EXPECT_FALSE(ReadPicture("{ab", PictureSpan{0, 7}).has_value());
}

TEST(RtfStoredText, FieldPicturesBulletsEmptyDocumentAndPageBreaks) {
  const std::string field = PictureText("\x01", 10, 10, 96, 96);
  const std::string other = PictureText("\x02", 10, 10, 96, 96);
  // The fake reader knows the pictures by their only byte.
  const std::map<std::string, PictureLabel> labels = {
      {"01", {"Orvalis - 001F", "Customer"}},
      {"02", {"Someone else", "Customer"}},
      {"03", {"Orvalis - 001F", ""}},
  };
  const PictureLabelReader reader = [&](std::string_view picture) -> std::optional<PictureLabel> {
    const auto span = FindPicture(picture, 0);
    if (!span) return std::nullopt;
    const auto data = ReadPicture(picture, *span);
    if (!data || data->bytes.size() != 1) return std::nullopt;
    const char hex[] = {"0123456789abcdef"[(data->bytes[0] >> 4) & 15], "0123456789abcdef"[data->bytes[0] & 15], 0};
    const auto it = labels.find(hex);
    if (it == labels.end()) return std::nullopt;
    return it->second;
  };
  const std::string marker = "\\protect [Customer]\\protect0 ";
  const std::string unreadable = PictureText("\x04", 10, 10, 96, 96);
  const std::string noName = PictureText("\x03", 10, 10, 96, 96);
  auto strip = [](const std::string& picture) { return picture.substr(0, picture.size() - 2); };  // the CR LF

  struct Case {
    const char* what;
    std::string rtf;
    std::string plain;
    std::string expected;
  } const cases[] = {
      {"two fields in a row", "{\\rtf1 " + field + field + "x}", "x", "{\\rtf1 " + marker + "\r\n" + marker + "\r\nx}"},
      {"foreign picture stays, the field after it goes", "{\\rtf1 " + other + field + "}", "",
       "{\\rtf1 " + other + marker + "\r\n}"},
      {"unreadable and nameless pictures stay", "{\\rtf1 " + unreadable + noName + "}", "",
       "{\\rtf1 " + unreadable + noName + "}"},
      {"bullets removed", "{\\rtf1 a\\par {\\pntext\\f1\\'B7\\tab}\\pard b}", "a b", "{\\rtf1 a\\par \\pard b}"},
      {"page break restored", "{\\rtf1 a\\protect [NEWPAGE]\\protect0 b}", "a[NEWPAGE]b",
       "{\\rtf1 a\\protect \\page \\protect0 b}"},
      {"empty text", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\par}", " \r\n\t", ""},
      {"empty text with a picture", "{\\rtf1 " + strip(other) + "}", "", "{\\rtf1 " + strip(other) + "}"},
      {"empty text with another picture kind", "{\\rtf1 {\\pict\\emfblip 00}}", "", "{\\rtf1 {\\pict\\emfblip 00}}"},
      {"empty text with an escaped backslash only", "{\\rtf1 \\\\pict}", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StoredRichText(c.rtf, c.plain, reader), c.expected) << c.what;
  // Without a reader every picture stays.
  EXPECT_EQ(StoredRichText("{\\rtf1 " + field + "}", "", nullptr), "{\\rtf1 " + field + "}");
}

TEST(RtfLinkPicture, DecodesTheHexLinkOfLinkPicturesOnly) {
  struct Case {
    const char* what;
    PictureLabel label;
    std::string link;
  } const cases[] = {
      {"link", {"Orvalis - 001L", "Link,687474703A2F2F612E6E6C"}, "http://a.nl"},
      {"lower-case hex, blanks", {"Orvalis - 001L", "x, 7777772e612e6e6c "}, "www.a.nl"},
      {"no comma", {"Orvalis - 001L", "6162"}, "ab"},
      {"odd length", {"Orvalis - 001L", "x,616"}, ""},
      {"not hex", {"Orvalis - 001L", "x,6g"}, ""},
      {"field picture", {"Orvalis - 001F", "x,6162"}, ""},
      {"tag alone", {"Orvalis - 001", "x,6162"}, ""},
      {"foreign author", {"Other L", "x,6162"}, ""},
      {"no description", {"Orvalis - 001L", ""}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LinkFromPictureLabel(c.label), c.link) << c.what;
}

TEST(RtfColorList, ColoursOfTheTableWithoutDuplicates) {
  const TextCase cases[] = {
      {"red, blue and black", "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;}}",
       "0,255,16711680"},
      {"plain text", "red255", "0"},
      {"no colour table", "{\\rtf1 a}", "0"},
      {"table without the blank", "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}}", "0"},
      {"missing components count 0", "{\\rtf1{\\colortbl ;\\green128;\\blue1;}}", "0,32768,65536"},
      {"white twice", "{\\rtf1{\\colortbl ;\\red255\\green255\\blue255;\\red255\\green255\\blue255;}}", "0,16777215"},
      {"last entry without ';' is skipped", "{\\rtf1{\\colortbl ;\\red1\\green0\\blue0;\\red2\\green0\\blue0}}", "0,1"},
      {"names in capitals", "{\\rtf1{\\colortbl ;\\RED1\\GREEN2\\BLUE3;}}", "0,197121"},
      {"the main dialog's header", "{\\rtf1\\ansi{\\colortbl ;\\red0\\green0\\blue255;}\\pard a}", "0,16711680"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(ColorList(c.input), c.expected) << c.what;
}

TEST(RtfHtmlOut, PlainTextWithLineBreakTags) {
  EXPECT_EQ(PlainTextToHtml("a\r\nb"), "<HTML>\r\n<BODY>\r\na\r\n<BR>b\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(PlainTextToHtml(""), "<HTML>\r\n<BODY>\r\n\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(PlainTextToHtml("<b>&"), "<HTML>\r\n<BODY>\r\n<b>&\r\n</BODY>\r\n</HTML>\r\n");
}

TEST(RtfEscape, NonAsciiCharactersBecomeRtfEscapes) {
  const TextCase cases[] = {
      {"ASCII unchanged", "{\\rtf1 a\\par}", "{\\rtf1 a\\par}"},
      {"Latin-1", "caf\xc3\xa9", "caf\\'e9"},
      {"code page 1252 above 0x7f", "\xe2\x82\xac \xe2\x80\x9c", "\\'80 \\'93"},
      {"outside the code page", "\xce\xa9", "\\u937?"},
      {"above 32767 is negative", "\xef\xbc\xa1", "\\u-223?"},
      {"outside the BMP as a surrogate pair", "\xf0\x9f\x98\x80", "\\u-10179?\\u-8704?"},
      {"stray byte taken as code page 1252", "a\xe9z", "a\\'e9z"},
      {"truncated sequence", "a\xe2\x82", "a\\'e2\\'82"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(EscapeRtfText(c.input), c.expected) << c.what;
}

}  // namespace
}  // namespace orvalis::controls
