// Fields of the rich text control on a real rich edit window: markers expanded
// on load, host RTF, "JPEGPICT:" images, FieldEdit and IsField.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/rich/jpeg_picture.h"
#include "controls/rich/prichedit.h"
#include "controls/rich/tests/jpeg_samples.h"
#include "core/hex.h"
#include "ui/form.h"

namespace orvalis::controls {
namespace {

// A field picture as a host draws it: a framed box, the tag and a type letter
// as author, the name as description.
win::unique_henhmetafile FieldPicture(const std::string& name, char letter = 'F') {
  const std::wstring label = L"Orvalis - 001" + std::wstring(1, wchar_t(letter)) + L'\0' +
                             std::wstring(name.begin(), name.end()) + L'\0';
  RECT frame{0, 0, 1200, 400};
  HDC recording = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, label.c_str());
  ::Rectangle(recording, 0, 0, 40, 14);
  return win::unique_henhmetafile(::CloseEnhMetaFile(recording));
}

using test::MakeJpeg;

std::string Marker(const std::string& name) { return "\\protect [" + name + "]\\protect0 "; }

class PRichEditFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 400, 200);
    rtf_ = std::make_unique<PRichEdit>();
    rtf_->SetName("Rtf1");
    rtf_->SetParent(form_.get());
    rtf_->SetBounds(8, 8, 300, 100);
    (void)form_->Handle();
    rtf_->Loaded();
  }
  void TearDown() override {
    rtf_.reset();
    form_.reset();
  }

  // A host that draws every field as its labelled picture ("D..." names as "D" pictures).
  void DrawFields() {
    rtf_->OnGetField = [this](PRichEdit&, const std::string& createdBy, const std::string& name,
                              win::unique_henhmetafile& emf) {
      EXPECT_EQ(createdBy, "Orvalis - 001");
      asked_.push_back(name);
      emf = FieldPicture(name, name.rfind("D", 0) == 0 ? 'D' : 'F');
    };
  }
  int Objects() {
    win::com_ptr<IRichEditOle> ole;
    ::SendMessageW(rtf_->RichEdit().Handle(), EM_GETOLEINTERFACE, 0, LPARAM(ole.put()));
    return ole ? int(ole->GetObjectCount()) : -1;
  }
  void Select(int start, int end) {
    rtf_->SetSelStart(start);
    rtf_->SetSelLength(end - start);
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PRichEdit> rtf_;
  std::vector<std::string> asked_;
};

TEST_F(PRichEditFieldsTest, MarkersWithoutAHostDisappear) {
  rtf_->SetRichText("{\\rtf1 a" + Marker("X") + "b}");
  EXPECT_EQ(rtf_->GetText(), "ab");
}

TEST_F(PRichEditFieldsTest, HostRtfTakesTheMarkersPlace) {
  rtf_->OnGetRtfField = [this](PRichEdit&, const std::string&, const std::string& name, std::string& rtf) {
    asked_.push_back(name);
    rtf = "{\\rtf1 value}";
  };
  rtf_->SetRichText("{\\rtf1 a" + Marker("X") + "b}");
  EXPECT_EQ(rtf_->GetText(), "avalueb");
  EXPECT_EQ(asked_, std::vector<std::string>{"X"});
  EXPECT_EQ(rtf_->GetSelStart(), 0);
  EXPECT_EQ(rtf_->GetSelLength(), 0);
}

TEST_F(PRichEditFieldsTest, JpegNamesBecomePicturesWhateverTheHostDoes) {
  rtf_->OnGetField = [](PRichEdit&, const std::string&, const std::string&, win::unique_henhmetafile&) {};
  const std::string name = "JPEGPICT:" + BytesToHex(MakeJpeg());
  const std::string picture = rtf_->GetField(name);
  ASSERT_EQ(picture.rfind("{\\pict\\wmetafile8", 0), 0u) << picture.substr(0, 60);
  EXPECT_EQ(rtf_->GetField("JPEGPICT:00112233"), "");  // no image in these bytes
  PRichEdit::SetJpegDecoder(nullptr);
  EXPECT_EQ(rtf_->GetField(name), "");  // a program that turned the decoder off
  PRichEdit::SetJpegDecoder(JpegMetafile);

  rtf_->SetRichText("{\\rtf1 a" + Marker(name) + "b}");
  EXPECT_EQ(Objects(), 1);
  EXPECT_EQ(PictureCount(rtf_->GetRichText()), 1);  // an image, no field: it stays a picture
  const std::string text = rtf_->GetText();
  EXPECT_EQ(text.front(), 'a');
  EXPECT_EQ(text.back(), 'b');
}

// A field picture whose header declares 65500 x 21858 pixels (about 4 GB of
// rows, which wrap to about 130 KB in a 32-bit size): refused before any
// memory is taken for it, in either build.
TEST_F(PRichEditFieldsTest, AJpegFieldDeclaringAHugePictureIsRefused) {
  DrawFields();
  const std::string huge = test::WithDeclaredSize(MakeJpeg(), 65500, 21858);
  ASSERT_FALSE(huge.empty());
  PROCESS_MEMORY_COUNTERS before{};
  before.cb = sizeof before;
  ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before));
  EXPECT_EQ(rtf_->GetField("JPEGPICT:" + BytesToHex(huge)), "");
  rtf_->SetRichText("{\\rtf1 a" + Marker("JPEGPICT:" + BytesToHex(huge)) + "b}");
  EXPECT_EQ(Objects(), 0);
  EXPECT_EQ(rtf_->GetText(), "ab");
  PROCESS_MEMORY_COUNTERS after{};
  after.cb = sizeof after;
  ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after));
  EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, SIZE_T(64) << 20);
}

TEST_F(PRichEditFieldsTest, FieldEditHandsNamesToTheHostAndReplacesTheFields) {
  DrawFields();
  std::vector<std::string> handed;
  rtf_->OnFieldEdit = [&handed](PRichEdit&, int, int, std::string& object, bool& ret) {
    handed.push_back(object);
    object = object == "@NEWFIELD" ? "E" : "C\nD";
    ret = true;
  };
  rtf_->SetRichText("{\\rtf1 x" + Marker("A") + Marker("B") + "y}");
  ASSERT_EQ(Objects(), 2);
  EXPECT_EQ(rtf_->GetRichText().find("[A]") != std::string::npos, true) << rtf_->GetRichText();

  Select(0, 4);
  EXPECT_TRUE(rtf_->FieldEdit(2, 2, false));
  ASSERT_EQ(handed, std::vector<std::string>{"A\nB"});
  const std::string stored = rtf_->GetRichText();
  const std::size_t c = stored.find("\\protect [C]\\protect0 "), d = stored.find("\\protect [D]\\protect0 ");
  EXPECT_NE(c, std::string::npos) << stored;
  EXPECT_NE(d, std::string::npos) << stored;
  EXPECT_LT(c, d);
  EXPECT_EQ(stored.find("[A]"), std::string::npos);
  EXPECT_EQ(stored.find("[B]"), std::string::npos);

  // A new field goes in at the caret.
  Select(0, 0);
  EXPECT_TRUE(rtf_->FieldEdit(2, 2, true));
  EXPECT_EQ(handed.back(), "@NEWFIELD");
  EXPECT_NE(rtf_->GetRichText().find("[E]"), std::string::npos);
  // A selection without fields asks nothing.
  rtf_->SetRichText("{\\rtf1 plain}");
  Select(0, 3);
  EXPECT_FALSE(rtf_->FieldEdit(2, 2, false));
  EXPECT_EQ(handed.size(), 2u);
}

// A host that shows a field's properties hears which fields a selection holds.
TEST_F(PRichEditFieldsTest, SelectingFieldsNamesThemToTheHost) {
  DrawFields();
  rtf_->SetRichText("{\\rtf1 a" + Marker("Customer") + "b" + Marker("Period") + "c}");
  ASSERT_EQ(Objects(), 2);
  std::string heard = "(nothing)";
  rtf_->OnSelectObject = [&](PRichEdit&, const std::string& names) { heard = names; };
  struct Case { int start, end; const char* names; } const cases[] = {
      {0, 5, "Customer\nPeriod"}, {1, 2, "Customer"}, {2, 3, ""}, {3, 4, "Period"}, {4, 4, ""}};
  for (const Case& c : cases) {
    Select(c.start, c.end);
    EXPECT_EQ(heard, c.names) << c.start << "-" << c.end;
  }
}

TEST_F(PRichEditFieldsTest, IsFieldTellsThePictureKind) {
  DrawFields();
  rtf_->SetRichText("{\\rtf1 y" + Marker("Customer") + Marker("Date") + "z}");
  ASSERT_EQ(Objects(), 2);
  Select(2, 3);
  EXPECT_EQ(rtf_->IsField(), 0);  // no OnFieldEdit: never a field
  rtf_->SetOnFieldEdit([](PRichEdit&, int, int, std::string&, bool&) {});
  struct Case {
    int start, end, kind;
  } const cases[] = {{2, 3, 2}, {1, 2, 1}, {1, 3, 1}, {3, 4, 0}, {0, 2, 0}};
  for (const Case& c : cases) {
    Select(c.start, c.end);
    EXPECT_EQ(rtf_->IsField(), c.kind) << c.start << "-" << c.end;
  }
}

TEST_F(PRichEditFieldsTest, InsertReplacesTheSelectionAndSelectsWhatCameIn) {
  rtf_->SetRichText("{\\rtf1 ab}");
  Select(1, 1);
  EXPECT_TRUE(rtf_->Insert("hello", false));
  EXPECT_EQ(rtf_->GetText(), "ahellob");
  EXPECT_EQ(rtf_->GetSelStart(), 1);
  EXPECT_EQ(rtf_->GetSelLength(), 5);
  // A metafile goes in as a picture, whose field survives storing.
  Select(0, 0);
  const win::unique_henhmetafile field = FieldPicture("Customer");
  EXPECT_TRUE(rtf_->Insert(field.get()));
  EXPECT_EQ(Objects(), 1);
  EXPECT_NE(rtf_->GetRichText().find("\\protect [Customer]\\protect0 "), std::string::npos);
}

TEST_F(PRichEditFieldsTest, HintsNameTheFieldUnderTheMouse) {
  DrawFields();
  rtf_->OnFieldHint = [](PRichEdit&, const std::string& name, std::string& hint) { hint = "Field " + name; };
  rtf_->SetRichText("{\\rtf1 " + Marker("Period") + "text}");
  HWND inner = rtf_->RichEdit().Handle();
  POINTL at{};
  ::SendMessageW(inner, EM_POSFROMCHAR, WPARAM(&at), 0);
  ::SendMessageW(inner, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 3, at.y + 3));
  EXPECT_EQ(rtf_->RichEdit().Hint(), "Field Period");
  ::SendMessageW(inner, EM_POSFROMCHAR, WPARAM(&at), 2);
  ::SendMessageW(inner, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 1, at.y + 3));
  EXPECT_EQ(rtf_->RichEdit().Hint(), "");  // over the text
}

TEST_F(PRichEditFieldsTest, FormattingLetsTheHostRedrawFields) {
  DrawFields();
  std::vector<int> attributes;
  rtf_->OnSetFieldTextAttributes = [&attributes](PRichEdit&, std::string& name, int attribute, const ui::Font&) {
    attributes.push_back(attribute);
    if (name == "A") name = "A bold";
  };
  rtf_->SetRichText("{\\rtf1 " + Marker("A") + "x" + Marker("B") + "}");
  Select(0, 2);  // A and the x
  rtf_->SetFieldTextAttributes(kFieldBold, true);
  EXPECT_EQ(attributes, std::vector<int>{kFieldBold});
  const std::string stored = rtf_->GetRichText();
  EXPECT_NE(stored.find("[A bold]"), std::string::npos) << stored;
  EXPECT_NE(stored.find("[B]"), std::string::npos) << stored;
  EXPECT_EQ(rtf_->GetSelStart(), 0);
  // The whole text: B is asked too.
  rtf_->SetFieldTextAttributes(kFieldItalic, false);
  EXPECT_EQ(attributes, (std::vector<int>{kFieldBold, kFieldItalic, kFieldItalic}));
}

TEST_F(PRichEditFieldsTest, ObjectsGoBackOnTheBaseLineWhole) {
  DrawFields();
  rtf_->SetRichText("{\\rtf1 a" + Marker("A") + "b" + Marker("B") + "}");
  ASSERT_EQ(Objects(), 2);
  ::SendMessageW(rtf_->RichEdit().Handle(), kRichReinsertMessage, 0, 0);
  EXPECT_EQ(Objects(), 2);
  const std::string stored = rtf_->GetRichText();
  EXPECT_LT(stored.find("[A]"), stored.find("[B]")) << stored;
  EXPECT_FALSE(rtf_->GetHasFileLinks());
  rtf_->InsertFile("Z:\\no\\such\\file.txt");  // fails quietly
  EXPECT_EQ(Objects(), 2);
}

}  // namespace
}  // namespace orvalis::controls
