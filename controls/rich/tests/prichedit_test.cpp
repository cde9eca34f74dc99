// The rich text control on a real rich edit window: loading and reading back,
// fitting, link clicks and the link cursor, HTML out, the contrast check, zoom,
// streaming, the designer name, debug lines and metafile pictures.
#include "controls/rich/prichedit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/form.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

// The main dialog's English product text.
const std::string kProductText =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}"
    "{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs16 "
    "This install wil ask you the folder to install this program. You need a minimal 40MB of free space.\\par "
    "\\par \\b Remarks:\\b0\\par "
    "- If you have a working version please shut it down before commencing. \\par "
    "- If you install on a networking station then be aware of rights and permissions. \\par "
    "\\par \\b U can reach Orvalis:\\b0\\par "
    "\\pard\\tx1120 Internet:\\tab\\cf1\\ul\\b www.orvalis.nl\\cf0\\ulnone\\b0\\par "
    "Email:\\tab\\cf1\\ul\\b info@orvalis.nl\\cf0\\ulnone\\b0\\par }";

// Lines of 8-point text, one paragraph each.
std::string Lines(int count) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs16 ";
  for (int i = 0; i < count; ++i) rtf += "line " + std::to_string(i) + "\\par ";
  return rtf + "}";
}

// A form holding the control as the main dialog does.
class PRichEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 560, 400);
    rtf_ = std::make_unique<PRichEdit>();
    rtf_->SetName("Rtf");
    rtf_->SetParent(form_.get());
    rtf_->SetBounds(8, 8, 501, 53);
    rtf_->SetReadOnly(true);
    rtf_->SetBorderStyle(ui::BorderStyle::None);
    rtf_->SetTabStop(false);
    rtf_->SetLanguage("NLD");
    (void)form_->Handle();
    rtf_->Loaded();
  }
  void TearDown() override {
    rtf_.reset();
    form_.reset();
  }

  HWND Inner() { return rtf_->RichEdit().Handle(); }

  // The client point in the middle of the character at `index`.
  POINT PointOf(int index) {
    POINTL at{};
    ::SendMessageW(Inner(), EM_POSFROMCHAR, WPARAM(&at), index);
    POINTL next{};
    ::SendMessageW(Inner(), EM_POSFROMCHAR, WPARAM(&next), index + 1);
    const int x = next.y == at.y && next.x > at.x ? (at.x + next.x) / 2 : at.x + 2;
    return POINT{x, at.y + 4};
  }

  void Click(POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    ::SendMessageW(Inner(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(Inner(), WM_LBUTTONUP, 0, at);
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PRichEdit> rtf_;
};

TEST_F(PRichEditTest, UsesTheVersionOneWindow) {
  EXPECT_EQ(rtf_->GetVersion(), 1);
  wchar_t name[32] = {};
  ::GetClassNameW(Inner(), name, 32);
  EXPECT_EQ(std::wstring(name), L"RICHEDIT");
}

TEST_F(PRichEditTest, CarriesItsDesignerName) {
  const auto atom = ATOM(reinterpret_cast<UINT_PTR>(::GetPropW(rtf_->Handle(), ui::kNameProperty)));
  ASSERT_NE(atom, 0);
  wchar_t name[64] = {};
  ::GlobalGetAtomNameW(atom, name, 64);
  EXPECT_EQ(std::wstring(name), L"Rtf");
}

TEST_F(PRichEditTest, ProductTextLoadsUnchangedAndReadsBack) {
  rtf_->SetRichText(kProductText);
  const std::string text = rtf_->GetText();
  EXPECT_EQ(text.rfind("This install wil ask you the folder", 0), 0u) << text;
  EXPECT_NE(text.find("Remarks:\r\n- If you have a working version"), std::string::npos) << text;
  EXPECT_NE(text.find("Internet:\twww.orvalis.nl\r\nEmail:\tinfo@orvalis.nl"), std::string::npos) << text;

  const std::string stored = rtf_->GetRichText();
  EXPECT_TRUE(IsRtf(stored)) << stored;
  EXPECT_NE(stored.find("www.orvalis.nl"), std::string::npos);
  EXPECT_NE(stored.find("\\red0\\green0\\blue255;"), std::string::npos) << stored;  // the blue of the links
  // Reading back what was stored gives the same text again.
  rtf_->SetRichText(stored);
  EXPECT_EQ(rtf_->GetText(), text);
  EXPECT_EQ(rtf_->GetSelStart(), 0);
  EXPECT_EQ(rtf_->GetSelLength(), 0);
}

TEST_F(PRichEditTest, LoadsRtfHtmlAndPlainText) {
  struct Case {
    const char* what;
    std::string input;
    std::string text;
  } const cases[] = {
      {"five characters are plain text", "{\\rtf", "{\\rtf"},
      {"plain text", "one\r\ntwo", "one\r\ntwo"},
      {"non-ASCII plain text", "caf\xc3\xa9 \xce\xa9", "caf\xc3\xa9 \xce\xa9"},
      {"non-ASCII in RTF", "{\\rtf1 caf\xc3\xa9 \xce\xa9}", "caf\xc3\xa9 \xce\xa9"},
      {"html in capitals", "<HTML><BODY>a<br>b</BODY></HTML>", "a\r\nb"},
      {"html without body", "<html>no body</html>", ""},
      {"two documents", "{\\rtf1 first }{\\rtf1 second}", "first second"},
  };
  for (const Case& c : cases) {
    rtf_->SetRichText(c.input);
    EXPECT_EQ(rtf_->GetText(), c.text) << c.what;
  }
}

// A page break is not lost for want of a field host: its marker stays,
// protected, and is saved as a page break again; also in windows that drop
// "\protect" on reading (Wine's). Other text loads unprotected.
TEST_F(PRichEditTest, PageBreakMarkerWithoutAFieldHost) {
  rtf_->SetRichText("{\\rtf1 a\\page b}");
  EXPECT_EQ(rtf_->GetText(), "a[NEWPAGE]b");
  auto isProtected = [this](int index) {
    CHARRANGE one{index, index + 1};
    ::SendMessageW(Inner(), EM_EXSETSEL, 0, LPARAM(&one));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    ::SendMessageW(Inner(), EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    return (format.dwEffects & CFE_PROTECTED) != 0;
  };
  EXPECT_FALSE(isProtected(0));
  EXPECT_TRUE(isProtected(1));
  EXPECT_TRUE(isProtected(9));
  EXPECT_FALSE(isProtected(10));
  const std::string stored = rtf_->GetRichText();
  EXPECT_NE(stored.find("\\page "), std::string::npos) << stored;
  rtf_->SetRichText(stored);
  EXPECT_EQ(rtf_->GetText(), "a[NEWPAGE]b");
}

TEST_F(PRichEditTest, EmptyDocumentIsStoredAsNothing) {
  rtf_->SetRichText("");
  EXPECT_EQ(rtf_->GetRichText(), "");
  rtf_->SetRichText("{\\rtf1 \\par \\par }");
  EXPECT_EQ(rtf_->GetRichText(), "");
  rtf_->SetRichText("{\\rtf1 x}");
  EXPECT_NE(rtf_->GetRichText(), "");
}

TEST_F(PRichEditTest, StreamsTheSelectionAndDeletesIt) {
  rtf_->SetRichText("{\\rtf1 abc xyz}");
  rtf_->SetSelStart(0);
  rtf_->SetSelLength(4);
  const std::string selected = rtf_->GetRTFSel();
  EXPECT_TRUE(IsRtf(selected)) << selected;
  EXPECT_NE(selected.find("abc"), std::string::npos) << selected;
  EXPECT_EQ(selected.find("xyz"), std::string::npos) << selected;
  rtf_->DelSel();
  EXPECT_EQ(rtf_->GetText(), "xyz");
  const std::string all = rtf_->StreamRichTextOut();
  ASSERT_FALSE(all.empty());
  EXPECT_NE(all.back(), '\0');
}

TEST_F(PRichEditTest, FitFollowsTheContent) {
  rtf_->SetRichText("");
  EXPECT_EQ(rtf_->RealHeight(), 0);
  rtf_->SetRichText(Lines(1));
  rtf_->Fit();
  const int one = rtf_->Height();
  rtf_->SetRichText(Lines(5));
  rtf_->Fit();
  const int five = rtf_->Height();
  rtf_->SetRichText(Lines(10));
  rtf_->Fit();
  const int ten = rtf_->Height();
  EXPECT_GT(one, 5);
  EXPECT_GT(five, one);
  EXPECT_GT(ten, five);
  // Each line adds the same height.
  EXPECT_NEAR(ten - five, (five - one) * 5 / 4, 3);
  // Without a border the inner window is as tall as the control.
  RECT inner{};
  ::GetWindowRect(Inner(), &inner);
  EXPECT_EQ(inner.bottom - inner.top, ten);

  rtf_->SetRichText(kProductText);
  rtf_->Fit();
  EXPECT_GT(rtf_->Height(), one * 8);
  // Narrower means more lines.
  EXPECT_GT(rtf_->RealHeight(200), rtf_->RealHeight(501));
}

TEST_F(PRichEditTest, ClicksOnAddressesRaiseOnLink) {
  std::vector<std::pair<std::string, int>> links;
  rtf_->OnLink = [&](PRichEdit& sender, const std::string& link, int object) {
    EXPECT_EQ(&sender, rtf_.get());
    links.emplace_back(link, object);
  };
  rtf_->SetLinkList({{"Remarks:", 7}});
  rtf_->SetRichText(kProductText);
  const std::string text = rtf_->GetText();
  auto middleOf = [&](const std::string& word) { return int(text.find(word) + word.size() / 2); };

  struct Case {
    const char* what;
    int index;
    std::vector<std::pair<std::string, int>> expected;
  } const cases[] = {
      {"web address", middleOf("www.orvalis.nl"), {{"www.orvalis.nl", 0}}},
      {"mail address", middleOf("info@orvalis.nl"), {{"mailto:info@orvalis.nl", 0}}},
      {"listed word", middleOf("Remarks:"), {{"Remarks:", 7}}},
      {"plain word", middleOf("folder"), {}},
      {"first character", 0, {}},
  };
  for (const Case& c : cases) {
    links.clear();
    Click(PointOf(c.index));
    EXPECT_EQ(links, c.expected) << c.what;
    // Read-only: every release leaves the caret at the start.
    EXPECT_EQ(rtf_->GetSelStart(), 0) << c.what;
    EXPECT_EQ(rtf_->GetSelLength(), 0) << c.what;
  }

  // Without a handler nothing happens, and the cursor is left alone.
  rtf_->OnLink = nullptr;
  links.clear();
  Click(PointOf(middleOf("www.orvalis.nl")));
  EXPECT_TRUE(links.empty());
}

TEST_F(PRichEditTest, CursorShowsTheHandOverLinks) {
  rtf_->OnLink = [](PRichEdit&, const std::string&, int) {};
  rtf_->SetRichText(kProductText);
  const std::string text = rtf_->GetText();
  auto move = [&](int index) {
    const POINT p = PointOf(index);
    ::SendMessageW(Inner(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    return rtf_->RichEdit().Cursor();
  };
  EXPECT_EQ(move(int(text.find("www.orvalis.nl") + 3)), RichCursor::HandPoint);
  EXPECT_EQ(move(int(text.find("folder") + 3)), RichCursor::Arrow);  // read-only
  EXPECT_EQ(move(int(text.find("info@") + 3)), RichCursor::HandPoint);
  rtf_->SetReadOnly(false);
  EXPECT_EQ(move(int(text.find("folder") + 3)), RichCursor::Default);
}

TEST_F(PRichEditTest, HtmlOfTwoLines) {
  rtf_->SetRichText("{\\rtf1 a\\par b}");
  EXPECT_EQ(rtf_->GetHtml(), "<HTML>\r\n<BODY>\r\na\r\n<BR>b\r\n</BODY>\r\n</HTML>\r\n");
}

TEST_F(PRichEditTest, BackgroundAvoidsTheColoursOfTheText) {
  const std::string white = "\\red255\\green255\\blue255;", silver = "\\red192\\green192\\blue192;";
  auto doc = [](const std::string& colours) { return "{\\rtf1{\\colortbl ;" + colours + "}\\cf1 x}"; };
  struct Case {
    const char* what;
    ui::Color background;
    std::string text;
    ui::Color expected;
  } const cases[] = {
      {"white text on white", 0xFFFFFF, doc(white), 0xC0C0C0},
      {"white and silver on white", 0xFFFFFF, doc(white + silver), 0xFFFF00},
      {"white not used", 0xFFFFFF, doc("\\red255\\green0\\blue0;"), 0xFFFFFF},
      {"black always changes", 0x000000, doc(white), 0xC0C0C0},
      {"black, silver used", 0x000000, doc(silver), 0xFFFF00},
      {"black behind plain text", 0x000000, "plain", 0xC0C0C0},
  };
  for (const Case& c : cases) {
    rtf_->SetColor(c.background);
    rtf_->SetRichText(c.text);
    EXPECT_EQ(rtf_->GetColor(), c.expected) << c.what;
  }
}

TEST_F(PRichEditTest, ZoomRewritesFontSizesOfReadOnlyText) {
  rtf_->SetZoom(50);
  EXPECT_EQ(rtf_->GetZoom(), 100);
  rtf_->SetRichText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 ten points}");
  rtf_->SetZoom(150);
  EXPECT_EQ(rtf_->GetZoom(), 150);
  EXPECT_NE(rtf_->StreamRichTextOut().find("\\fs30"), std::string::npos) << rtf_->StreamRichTextOut();
  // Loading again keeps the zoom.
  rtf_->SetRichText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 again}");
  EXPECT_NE(rtf_->StreamRichTextOut().find("\\fs30"), std::string::npos) << rtf_->StreamRichTextOut();

  rtf_->SetReadOnly(false);
  rtf_->SetZoom(150);
  EXPECT_EQ(rtf_->GetZoom(), 100);
}

TEST_F(PRichEditTest, ChangeEventOnlyOutsideLoading) {
  int changes = 0;
  rtf_->OnChange = [&](PRichEdit&) { ++changes; };
  rtf_->SetRichText(kProductText);
  EXPECT_EQ(changes, 0);
  rtf_->SetReadOnly(false);
  ::SendMessageW(Inner(), EM_REPLACESEL, TRUE, LPARAM(L"typed"));
  EXPECT_GT(changes, 0);
}

TEST_F(PRichEditTest, DebugWritesEveryMessage) {
  std::vector<std::string> lines;
  rtf_->SetDebugSink([&](const std::string& line) { lines.push_back(line); });
  ::SendMessageW(Inner(), WM_NULL, 0x12, 0x3456);
  EXPECT_TRUE(lines.empty());
  rtf_->SetDebug(true);
  ::SendMessageW(Inner(), WM_NULL, 0x12, 0x3456);
  rtf_->SetDebug(false);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(8), " Msg:0000 wParam:0012 lParam:3456");
  EXPECT_EQ(lines[0][2], ':');
}

TEST_F(PRichEditTest, DrawToPaintsTheText) {
  rtf_->SetRichText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs40 Drawn text}");
  win::window_dc screen(nullptr);
  win::unique_hdc dc(::CreateCompatibleDC(screen.get()));
  win::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), 200, 60));
  win::selected_object selected(dc.get(), bitmap.get());
  RECT all{0, 0, 200, 60};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  {
    ui::GdiCanvas canvas(dc.get());
    rtf_->DrawTo(canvas, 0, 0, 200, 60);
  }
  int dark = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      if ((::GetPixel(dc.get(), x, y) & 0xFFFFFF) != 0xFFFFFF) ++dark;
  EXPECT_GT(dark, 50);
}

TEST_F(PRichEditTest, EditorSettingsReachTheInnerWindow) {
  rtf_->SetReadOnly(false);
  rtf_->SetMaxLength(5);
  for (wchar_t c : std::wstring(L"abcdefgh")) ::SendMessageW(Inner(), WM_CHAR, c, 0);
  EXPECT_EQ(rtf_->GetText(), "abcde");
  EXPECT_EQ(rtf_->GetMaxLength(), 5);

  auto style = [this] { return ::GetWindowLongPtrW(Inner(), GWL_STYLE); };
  rtf_->SetScrollBars(RichScrollBars::Vertical);
  EXPECT_EQ(style() & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL);
  rtf_->SetScrollBars(RichScrollBars::None);
  EXPECT_EQ(style() & (WS_VSCROLL | WS_HSCROLL), 0);
  rtf_->SetWantReturns(false);
  EXPECT_EQ(style() & ES_WANTRETURN, 0);
  EXPECT_FALSE(rtf_->GetWantReturns());
  rtf_->SetWantReturns(true);
  EXPECT_EQ(style() & ES_WANTRETURN, ES_WANTRETURN);
}

TEST_F(PRichEditTest, SelectedFontRoundTrips) {
  rtf_->SetRichText("{\\rtf1 plain text}");
  rtf_->SetSelStart(0);
  rtf_->SetSelLength(5);
  ui::Font font;
  font.face = "Arial";
  font.height = -16;
  font.style = ui::kBold | ui::kUnderline;
  font.color = 0x0000FF;
  rtf_->SetSelectedFont(font);
  const ui::Font back = rtf_->GetSelectedFont();
  EXPECT_EQ(back.face, "Arial");
  EXPECT_EQ(back.height, -16);
  EXPECT_EQ(back.style, ui::kBold | ui::kUnderline);
  EXPECT_EQ(back.color, 0x0000FFu);
  rtf_->SetSelStart(6);
  rtf_->SetSelLength(4);
  EXPECT_EQ(rtf_->GetSelectedFont().style, 0);

  LOGFONTW logFont{};
  logFont.lfHeight = -20;
  logFont.lfWeight = FW_BOLD;
  logFont.lfItalic = TRUE;
  wcscpy(logFont.lfFaceName, L"Courier New");
  rtf_->SetLogFont(logFont);
  EXPECT_EQ(rtf_->GetFont().face, "Courier New");
  EXPECT_EQ(rtf_->GetFont().height, -20);
  EXPECT_EQ(rtf_->GetFont().style, ui::kBold | ui::kItalic);
}

TEST_F(PRichEditTest, KeyAndProtectionEventsComeFromTheInnerWindow) {
  rtf_->SetReadOnly(false);
  rtf_->SetRichText("{\\rtf1 ab\\page cd}");
  std::vector<unsigned> downs, ups;
  rtf_->OnKeyDown = [&downs](PRichEdit&, unsigned& key, unsigned) {
    downs.push_back(key);
    if (key == VK_DELETE) key = 0;  // swallowed
  };
  rtf_->OnKeyUp = [&ups](PRichEdit&, unsigned& key, unsigned) { ups.push_back(key); };
  rtf_->SetSelStart(0);
  ::SendMessageW(Inner(), WM_KEYDOWN, VK_DELETE, 0);
  ::SendMessageW(Inner(), WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(rtf_->GetText(), "ab[NEWPAGE]cd");
  EXPECT_EQ(downs, std::vector<unsigned>{VK_DELETE});
  EXPECT_EQ(ups, std::vector<unsigned>{VK_DELETE});

  // A change of protected text is told and allowed, whatever the host says.
  // (Wine's window sends no EN_PROTECTED: the notification is made here.)
  std::vector<std::pair<int, int>> changes;
  rtf_->OnProtectChange = [&changes](PRichEdit&, int start, int end, bool& allow) {
    changes.emplace_back(start, end);
    allow = false;
  };
  ENPROTECTED notice{};
  notice.nmhdr = NMHDR{Inner(), UINT_PTR(::GetDlgCtrlID(Inner())), EN_PROTECTED};
  notice.msg = WM_CHAR;
  notice.chrg = CHARRANGE{2, 11};
  EXPECT_EQ(::SendMessageW(rtf_->Handle(), WM_NOTIFY, notice.nmhdr.idFrom, LPARAM(&notice)), 0);
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{2, 11}}));
}

// A host class that hooks the inner window's procedure: typed digits go nowhere.
class DigitlessRichEdit : public PRichEdit {
 public:
  int doubleClicks = 0;

 protected:
  bool CustomProc(ui::Message& m) override {
    if (m.msg == WM_CHAR && m.wParam >= '0' && m.wParam <= '9') return true;
    return PRichEdit::CustomProc(m);
  }
};

TEST(PRichEditHooks, CustomProcStandsInFrontOfTheInnerWindow) {
  ui::Form form;
  form.SetBounds(0, 0, 300, 200);
  DigitlessRichEdit rtf;
  rtf.SetParent(&form);
  rtf.SetBounds(0, 0, 200, 100);
  (void)form.Handle();
  rtf.Loaded();
  int clicks = 0;
  rtf.OnDblClick = [&clicks](PRichEdit&) { ++clicks; };
  HWND inner = rtf.RichEdit().Handle();
  for (wchar_t c : std::wstring(L"a1b2")) ::SendMessageW(inner, WM_CHAR, c, 0);
  EXPECT_EQ(rtf.GetText(), "ab");
  ::SendMessageW(inner, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(clicks, 1);
  // The focus message hands the focus to the inner window.
  ::SetFocus(form.Handle());
  ::SendMessageW(inner, kRichFocusMessage, 0, 0);
  EXPECT_EQ(::GetFocus(), inner);
}

TEST(PRichEditPicture, MetafileTravelsAsPictureText) {
  RECT frame{0, 0, 1000, 500};  // hundredths of a millimetre
  const wchar_t description[] = L"Orvalis - 001F\0Customer\0";
  win::window_dc screen(nullptr);
  HDC recording = ::CreateEnhMetaFileW(screen.get(), nullptr, &frame, description);
  ASSERT_NE(recording, nullptr);
  ::Rectangle(recording, 1, 1, 30, 15);
  win::unique_henhmetafile metafile(::CloseEnhMetaFile(recording));
  ASSERT_TRUE(metafile);

  const std::string text = MetafilePictureText(metafile.get());
  ASSERT_EQ(text.rfind("{\\pict\\wmetafile8\\picw", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
  EXPECT_EQ(PictureCount(text), 1);
  const auto span = FindPicture(text, 0);
  ASSERT_TRUE(span.has_value());
  win::unique_henhmetafile back = MetafileFromPicture(text, *span);
  ASSERT_TRUE(back);
  const auto label = MetafileLabel(back.get());
  ASSERT_TRUE(label.has_value());
  EXPECT_EQ(label->author, "Orvalis - 001F");
  EXPECT_EQ(label->description, "Customer");
  EXPECT_FALSE(MetafileLabel(nullptr).has_value());
  EXPECT_EQ(MetafilePictureText(nullptr), "");
}

}  // namespace
}  // namespace orvalis::controls
