// Field rules on models of the text: marker expansion, the picture list of
// FieldEdit, picture kinds, "JPEGPICT:" names and the insert probe.
#include "controls/rich/rich_fields.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace orvalis::controls {
namespace {

// A stand-in picture whose label is written in it: "{\pict\wmetafile8 author|description}".
std::string Picture(const std::string& author, const std::string& description) {
  return "{\\pict\\wmetafile8 " + author + "|" + description + "}";
}
std::string Field(const std::string& name) { return Picture("Orvalis - 001F", name); }

const PictureLabelReader kReadLabel = [](std::string_view picture) -> std::optional<PictureLabel> {
  const std::size_t space = picture.find(' '), bar = picture.find('|');
  if (space == std::string_view::npos || bar == std::string_view::npos) return std::nullopt;  // unreadable
  return PictureLabel{std::string(picture.substr(space + 1, bar - space - 1)),
                      std::string(picture.substr(bar + 1, picture.size() - bar - 2))};
};

TEST(RichFields, PictureKindsAndNames) {
  struct Case {
    PictureLabel label;
    int kind;
    std::optional<std::string> name;
  } const cases[] = {
      {{"Orvalis - 001", "Customer"}, 1, "Customer"},
      {{"Orvalis - 001F", "Customer"}, 1, "Customer"},
      {{"Orvalis - 001D", "Period"}, 2, "Period"},
      {{"Orvalis - 001L", "x,7777"}, 1, "x,7777"},
      {{"Orvalis - 001F", ""}, 1, std::nullopt},  // a picture of ours, but no field
      {{"Orvalis - 00", "Customer"}, 0, std::nullopt},
      {{"Other", "Customer"}, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FieldPictureKind(c.label), c.kind) << c.label.author;
    EXPECT_EQ(FieldName(c.label), c.name) << c.label.author;
  }
}

TEST(RichFields, JpegNamesCarryHexBytes) {
  EXPECT_EQ(JpegFieldData("JPEGPICT:FFd8ff"), std::string("\xFF\xD8\xFF"));
  EXPECT_EQ(JpegFieldData("JPEGPICT:"), std::string());
  EXPECT_EQ(JpegFieldData("JPEGPICT:4G41"), std::string("\x41"));  // a broken pair moves on by one
  EXPECT_EQ(JpegFieldData("jpegpict:FF"), std::nullopt);
  EXPECT_EQ(JpegFieldData("Customer"), std::nullopt);
}

TEST(RichFields, FieldEditHandsNamesOutAndReplacesThePictures) {
  const std::string image = Picture("Scanner", "photo");
  const std::string selection = "{\\rtf1 x" + Field("A") + " y" + image + Field("B") + "z}";
  const std::vector<std::string> names = FieldNames(selection, kReadLabel);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(JoinFieldNames(names), "A\nB");
  EXPECT_EQ(JoinFieldNames({}), "");
  EXPECT_TRUE(FieldNames("{\\rtf1 {\\pict\\wmetafile8 unreadable}}", kReadLabel).empty());

  // The host draws a field as a document around its picture.
  const auto fieldRtf = [](const std::string& name) {
    return name == "gone" ? std::string() : "{\\rtf1 {\\*\\x}" + Field(name) + "}";
  };
  struct Case {
    std::string answer;
    std::string expected;
  } const cases[] = {
      {"C\nD", "{\\rtf1 x" + Field("C") + " y" + image + Field("D") + "z}"},
      {"C", "{\\rtf1 x" + Field("C") + " y" + image + Field("B") + "z}"},  // B keeps its picture
      {"gone\nD", "{\\rtf1 x y" + image + Field("D") + "z}"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceFieldPictures(selection, c.answer, kReadLabel, fieldRtf), c.expected) << c.answer;
  // A host answer without a picture goes in as it is.
  EXPECT_EQ(ReplaceFieldPictures(Field("A"), "A", kReadLabel, [](const std::string&) { return "\\b v\\b0 "; }),
            "\\b v\\b0 ");
}

// Text with a protection flag per character. Inserted RTF "{\rtf1 T}" adds T,
// protected when the RTF says "\protect".
class FakeDocument : public FieldDocument {
 public:
  FakeDocument(std::u16string text, std::u16string protectedMask)
      : text_(std::move(text)), mask_(std::move(protectedMask)) {}
  std::u16string Text() override { return text_; }
  bool ProtectedBefore(int position) override { return position > 0 && mask_[std::size_t(position - 1)] == u'p'; }
  std::string FieldRtf(const std::string& name) override {
    asked.push_back(name);
    const auto it = fields.find(name);
    return it == fields.end() ? "" : it->second;
  }
  int Replace(int start, int end, const std::string& rtf) override {
    if (frozen) return start;
    std::u16string inserted;
    if (rtf.size() > 7) {
      const std::string body = rtf.substr(7, rtf.size() - 8);
      const bool isProtected = body.rfind("\\protect ", 0) == 0;
      for (char c : body.substr(isProtected ? 9 : 0)) inserted += char16_t(c);
      const std::u16string mask(inserted.size(), isProtected ? u'p' : u'.');
      mask_.replace(std::size_t(start), std::size_t(end - start), mask);
    } else {
      mask_.erase(std::size_t(start), std::size_t(end - start));
    }
    text_.replace(std::size_t(start), std::size_t(end - start), inserted);
    return start + int(inserted.size());
  }

  std::map<std::string, std::string> fields;
  std::vector<std::string> asked;
  bool frozen = false;

 private:
  std::u16string text_, mask_;
};

TEST(RichFields, ExpansionReplacesProtectedMarkers) {
  struct Case {
    const char* what;
    std::u16string text, mask;
    std::map<std::string, std::string> fields;
    std::u16string expected;
    std::vector<std::string> asked;
  } const cases[] = {
      {"no host: the marker goes", u"a[X]b", u".ppp.", {}, u"ab", {"X"}},
      {"host text", u"a[X]b", u".ppp.", {{"X", "{\\rtf1 value}"}}, u"avalueb", {"X"}},
      {"unprotected brackets stay", u"[x] a[X]b", u"....ppp.", {{"X", "{\\rtf1 v}"}}, u"[x] avb", {"X"}},
      {"a marker without ] runs to the end", u"a[X b", u".pppp", {{"X b", "{\\rtf1 v}"}}, u"av", {"X b"}},
      {"markers side by side", u"[A][B]", u"pppppp", {{"A", "{\\rtf1 1}"}, {"B", "{\\rtf1 2}"}}, u"12", {"A", "B"}},
      // The scan goes on after what was inserted, so a field showing its own marker is asked once.
      {"inserted markers are not expanded", u"[A]", u"ppp", {{"A", "{\\rtf1 \\protect [A]}"}}, u"[A]", {"A"}},
      {"a page break the host draws", u"a[NEWPAGE]", u".ppppppppp", {{"NEWPAGE", "{\\rtf1 --}"}}, u"a--", {"NEWPAGE"}},
  };
  for (const Case& c : cases) {
    FakeDocument document(c.text, c.mask);
    document.fields = c.fields;
    EXPECT_TRUE(ExpandFieldMarkers(document).empty()) << c.what;
    EXPECT_EQ(document.Text(), c.expected) << c.what;
    EXPECT_EQ(document.asked, c.asked) << c.what;
  }
}

// Without a host a page break would be lost on every load; its marker stays.
TEST(RichFields, PageBreaksWithoutAHostStay) {
  FakeDocument document(u"a[NEWPAGE]b[X]c[NEWPAGE]", u".ppppppppp.ppp.ppppppppp");
  EXPECT_EQ(ExpandFieldMarkers(document), (std::vector<ObjectRange>{{1, 9}, {12, 9}}));
  EXPECT_EQ(document.Text(), u"a[NEWPAGE]bc[NEWPAGE]");
}

TEST(RichFields, ExpansionEndsWhenTheWindowKeepsAMarker) {
  FakeDocument document(u"[A][B]", u"pppppp");
  document.frozen = true;
  (void)ExpandFieldMarkers(document);
  EXPECT_EQ(document.asked, (std::vector<std::string>{"A", "B"}));
}

// A window that takes the probe only on a given attempt, recording every call.
class FakeTarget : public InsertTarget {
 public:
  explicit FakeTarget(int takesOnAttempt) : takesOn_(takesOnAttempt) {}
  std::string SaveDocument() override { return "saved"; }
  void RestoreDocument(const std::string& rtf) override { log += "restore(" + rtf + ") "; }
  void Select(int start, int length) override {
    log += "select(" + std::to_string(start) + "," + std::to_string(length) + ") ";
  }
  void ReplaceSelection(std::string_view text) override {
    ++attempts_;
    log += std::string(text) + " ";
  }
  std::u16string SelectedText() override { return attempts_ == takesOn_ ? u"TEST____INSERT" : u"TEST____INSERx"; }

  std::string log;

 private:
  int takesOn_;
  int attempts_ = 0;
};

TEST(RichFields, InsertProbeRetriesUpToFiveTimes) {
  struct Case {
    int takesOn;
    int retries;
  } const cases[] = {{1, 0}, {2, 1}, {6, 5}, {99, 5}};
  for (const Case& c : cases) {
    FakeTarget target(c.takesOn);
    EXPECT_EQ(PlaceInsertProbe(target, 3, 2), c.retries) << c.takesOn;
  }
  FakeTarget second(2);
  (void)PlaceInsertProbe(second, 3, 2);
  EXPECT_EQ(second.log,
            "TEST____INSERT select(3,14) restore(saved) select(3,2) TEST____INSERT select(3,14) ");

  // After a retry the objects of the whole document go back on the base line.
  EXPECT_EQ(ReinsertRange(0, 3, 4), (ObjectRange{3, 4}));
  EXPECT_EQ(ReinsertRange(1, 3, 4), (ObjectRange{0, -1}));
  EXPECT_EQ(ObjectsInRange({1, 3, 6, 7}, ObjectRange{3, 4}), (std::vector<int>{3, 6}));
  EXPECT_EQ(ObjectsInRange({1, 3}, ObjectRange{0, -1}), (std::vector<int>{1, 3}));
}

TEST(RichFields, EnhancedMetafilePicturesBecomeMetafilePictures) {
  // The converter stands in for the platform: bytes "01" become a picture, others none.
  const auto convert = [](std::string_view bits) {
    return bits == std::string("\x01") ? std::string("{\\pict\\wmetafile8 one}") : std::string();
  };
  struct Case {
    std::string rtf, expected;
  } const cases[] = {
      {"{\\rtf1 a{\\*\\shppict{\\pict\\emfblip\\picw1\\pich1\n01}}b}", "{\\rtf1 a{\\pict\\wmetafile8 one}b}"},
      {"{\\rtf1 a{\\pict\\emfblip\\picw1\\pich1 01}b}", "{\\rtf1 a{\\pict\\wmetafile8 one}b}"},
      {"{\\rtf1 {\\pict\\emfblip 0203}{\\pict\\emfblip 01}}",
       "{\\rtf1 {\\pict\\emfblip 0203}{\\pict\\wmetafile8 one}}"},
      {"{\\rtf1 {\\pict\\wmetafile8 01}}", "{\\rtf1 {\\pict\\wmetafile8 01}}"},
      {"{\\rtf1 {\\pict\\emfblip 01", "{\\rtf1 {\\pict\\emfblip 01"},  // cut off
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertEmfPictures(c.rtf, convert), c.expected) << c.rtf;
}

TEST(RichFields, AnchorsKeepMarkersFoundWhereProtectionIsLost) {
  EXPECT_EQ(AnchorProtectedMarkers("{\\rtf1 a\\protect [X]\\protect0 b[c]}"),
            "{\\rtf1 a\\protect \\u-7?[X]\\protect0 b[c]}");
  EXPECT_EQ(AnchorProtectedMarkers("{\\rtf1 \\protect [A][B]\\protect0 }"),
            "{\\rtf1 \\protect \\u-7?[A]\\u-7?[B]\\protect0 }");
  EXPECT_EQ(AnchorProtectedMarkers("{\\rtf1 \\protect0 [x]}"), "{\\rtf1 \\protect0 [x]}");

  const std::u16string text = u"a\xFFF9[X]b\xFFF9[tail";
  EXPECT_EQ(AnchoredMarkers(text), (std::vector<ObjectRange>{{1, 4}, {6, 6}}));
  EXPECT_TRUE(AnchoredMarkers(u"a[X]b").empty());
}

TEST(RichFields, InsertTextIsWrappedAsRtf) {
  EXPECT_EQ(InsertRtf("abc"), "{\\rtf1 abc}");
  EXPECT_EQ(InsertRtf(""), "{\\rtf1 }");
  EXPECT_EQ(InsertRtf("{\\RTF1 x}"), "{\\RTF1 x}");
  EXPECT_EQ(InsertRtf("{\\rt"), "{\\rtf1 {\\rt}");
}

}  // namespace
}  // namespace orvalis::controls
