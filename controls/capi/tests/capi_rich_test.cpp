// The rich text control as a host reaches it through the loaded module: text,
// rich text and HTML in and out, the editor's settings seen in its windows,
// the commands on the selection, its dialogs answered as a user would, and
// links, typing, keys and clicks reaching the host's events.
#include "host_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <winspool.h>

#include <cstring>
#include <vector>

#include "controls/rich/tests/jpeg_samples.h"

namespace orvalis::capi_test {
namespace {

bool Has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// The character format of the inner window's selection.
CHARFORMAT2W CharFormat(HWND inner) {
  CHARFORMAT2W f{};
  f.cbSize = sizeof f;
  ::SendMessageW(inner, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
  return f;
}

PARAFORMAT2 ParaFormat(HWND inner) {
  PARAFORMAT2 p{};
  p.cbSize = sizeof p;
  ::SendMessageW(inner, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&p));
  return p;
}

class RichTest : public HostTest {
 protected:
  // A rich text control with its editing bars, and its inner rich edit window.
  void SetUp() override {
    HostTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    rich_ = Make(api.PRichEdit_Create, "Rich", 8, 8, 420, 220);
    ASSERT_NE(rich_, nullptr);
    inner_ = FindByName(Window(rich_), "RichRichEdit");
    ASSERT_NE(inner_, nullptr) << "the inner window is named after the control";
  }
  void SelectAll() {
    api.PRichEdit_SetSelStart(rich_, 0);
    api.PRichEdit_SetSelLength(rich_, 100000);
  }
  // The client point of a character of the inner window.
  POINT PointOf(int position) {
    const LRESULT at = ::SendMessageW(inner_, EM_POSFROMCHAR, WPARAM(position), 0);
    return POINT{short(LOWORD(at)) + 2, short(HIWORD(at)) + 4};
  }

  OrvalisControl* rich_ = nullptr;
  HWND inner_ = nullptr;
};

// ---------------------------------------------------------------- text

TEST_F(RichTest, TextRichTextAndHtmlGoInAndComeOut) {
  const struct {
    const char* what;
    bool rich;  // PRichEdit_SetRichText rather than PRichEdit_SetText
    const char* in;
    const char* text;                // GetText
    std::vector<const char*> inRtf;  // parts of GetRichText
  } cases[] = {
      {"plain text, lines in CR LF", false, "Gr\xC3\xBC\xC3\x9F" "e\nz\xC3\xA9ro \xE2\x82\xAC", "Gr\xC3\xBC\xC3\x9F" "e\r\nz\xC3\xA9ro \xE2\x82\xAC", {"{\\rtf"}},
      {"RTF", true, "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0 een \\b vet\\b0  woord\\par}", "een vet woord", {"\\b", "vet"}},
      {"HTML: headings bold, paragraphs", true, "<html><body><h2>Kop</h2>een woord</body></html>", "Kop\r\neen woord",
       {"\\b", "Kop"}},
      {"plain text through the rich call", true, "gewoon \xC3\xA9\xC3\xA9n", "gewoon \xC3\xA9\xC3\xA9n", {"{\\rtf"}},
  };
  for (const auto& c : cases) {
    if (c.rich)
      api.PRichEdit_SetRichText(rich_, c.in);
    else
      api.PRichEdit_SetText(rich_, c.in);
    std::string text = Read(api.PRichEdit_GetText, rich_);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    EXPECT_EQ(text, c.text) << c.what;
    const std::string rtf = Read(api.PRichEdit_GetRichText, rich_);
    for (const char* part : c.inRtf) EXPECT_TRUE(Has(rtf, part)) << c.what << ": " << part << " in " << rtf;
  }
  // The HTML is the text's: its lines with a line break tag each.
  api.PRichEdit_SetText(rich_, "\xC3\xA9\xC3\xA9n\r\ntwee");
  EXPECT_EQ(Read(api.PRichEdit_GetHtml, rich_).rfind("<HTML>\r\n<BODY>\r\n\xC3\xA9\xC3\xA9n\r\n<BR>twee", 0), 0u)
      << Read(api.PRichEdit_GetHtml, rich_);
  api.PRichEdit_SetText(rich_, "");
  EXPECT_EQ(Read(api.PRichEdit_GetRichText, rich_), "") << "an empty document has no rich text";
}

TEST_F(RichTest, SelectionIsReadCutAndWrittenInto) {
  api.PRichEdit_SetRichText(rich_, "{\\rtf1\\ansi een \\b vet\\b0  w\\u243?ord\\par}");  // "een vet wóord"
  api.PRichEdit_SetSelStart(rich_, 4);
  api.PRichEdit_SetSelLength(rich_, 3);
  EXPECT_EQ(api.PRichEdit_GetSelStart(rich_), 4);
  EXPECT_EQ(api.PRichEdit_GetSelLength(rich_), 3);
  CHARRANGE r{};
  ::SendMessageW(inner_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.cpMin, 4);
  EXPECT_EQ(r.cpMax, 7);
  const std::string selected = Read(api.PRichEdit_GetRTFSel, rich_);
  EXPECT_TRUE(Has(selected, "vet") && Has(selected, "\\b")) << selected;
  EXPECT_FALSE(Has(selected, "een")) << selected;
  api.PRichEdit_DelSel(rich_);
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("een  w\xC3\xB3ord", 0), 0u);
  // Inserted text takes the format at the caret only when asked to.
  api.PRichEdit_SetRichText(rich_, "{\\rtf1\\ansi \\b vet\\b0\\par}");
  api.PRichEdit_SetSelStart(rich_, 1);
  EXPECT_EQ(api.PRichEdit_Insert(rich_, "XY", 1), 1);
  api.PRichEdit_SetSelStart(rich_, 1);
  api.PRichEdit_SetSelLength(rich_, 2);
  EXPECT_TRUE(CharFormat(inner_).dwEffects & CFE_BOLD) << "kept the format";
  api.PRichEdit_SetSelStart(rich_, 0);
  EXPECT_EQ(api.PRichEdit_Insert(rich_, "\xC3\xA9\xC3\xA9n ", 0), 1);
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("\xC3\xA9\xC3\xA9n vXYet", 0), 0u);
}

TEST_F(RichTest, RealHeightMeasuresAndFitMakesTheControlThatTall) {
  api.PRichEdit_SetShowToolBar(rich_, 0);
  api.PRichEdit_SetShowTabBar(rich_, 0);
  EXPECT_EQ(api.PRichEdit_RealHeight(rich_, 0), 0) << "nothing to measure";
  api.PRichEdit_SetText(rich_, "een");
  const int one = api.PRichEdit_RealHeight(rich_, 0);
  api.PRichEdit_SetText(rich_, "een\ntwee\ndrie\nvier");
  const int four = api.PRichEdit_RealHeight(rich_, 0);
  EXPECT_GT(one, 0);
  EXPECT_GT(four, one + 2 * (one / 2));
  api.PRichEdit_SetText(rich_, "een twee drie vier vijf zes zeven acht negen tien elf twaalf");
  EXPECT_GT(api.PRichEdit_RealHeight(rich_, 80), api.PRichEdit_RealHeight(rich_, 400)) << "a narrow text wraps";
  api.PRichEdit_SetText(rich_, "een\ntwee\ndrie\nvier");
  api.PRichEdit_Fit(rich_);
  RECT window{}, site{};
  ::GetWindowRect(Window(rich_), &window);
  ::GetWindowRect(::GetParent(Window(rich_)), &site);
  EXPECT_EQ(window.bottom - window.top, four);
  EXPECT_EQ(site.bottom - site.top, four) << "the host's window takes the fitted height";
}

TEST_F(RichTest, VersionIsTheInnerWindowsClass) {
  wchar_t name[32] = {};
  ::GetClassNameW(inner_, name, 32);
  const int version = api.PRichEdit_GetVersion(rich_);
  const int expected = ::lstrcmpiW(name, L"RICHEDIT") == 0       ? 1
                       : ::lstrcmpiW(name, L"RichEdit20W") == 0  ? 2
                       : ::lstrcmpiW(name, L"RICHEDIT50W") == 0 ? 4
                                                                 : -1;
  EXPECT_EQ(version, expected) << Narrow(name);
}

// ---------------------------------------------------------------- settings

TEST_F(RichTest, SettingsReadBackAndReachTheInnerWindow) {
  auto style = [&] { return DWORD(::GetWindowLongW(inner_, GWL_STYLE)); };
  const struct {
    const char* what;
    std::function<void(int)> set;
    std::function<int()> get;
    int before, after;
    std::function<bool()> seen;  // true once `after` is in the window
  } cases[] = {
      {"tab stop", [&](int v) { api.PRichEdit_SetTabStop(rich_, v); }, [&] { return api.PRichEdit_GetTabStop(rich_); }, 1,
       0, [&] { return !(style() & WS_TABSTOP); }},
      {"want returns", [&](int v) { api.PRichEdit_SetWantReturns(rich_, v); },
       [&] { return api.PRichEdit_GetWantReturns(rich_); }, 1, 0, [&] { return !(style() & ES_WANTRETURN); }},
      {"scroll bars", [&](int v) { api.PRichEdit_SetScrollBars(rich_, v); },
       [&] { return api.PRichEdit_GetScrollBars(rich_); }, 0, 3,
       [&] { return (style() & (WS_HSCROLL | WS_VSCROLL)) == (WS_HSCROLL | WS_VSCROLL); }},
      {"vertical scroll bar", [&](int v) { api.PRichEdit_SetScrollBars(rich_, v); },
       [&] { return api.PRichEdit_GetScrollBars(rich_); }, 3, 2,
       [&] { return (style() & (WS_HSCROLL | WS_VSCROLL)) == WS_VSCROLL; }},
      {"no such scroll bars", [&](int v) { api.PRichEdit_SetScrollBars(rich_, v); },
       [&] { return api.PRichEdit_GetScrollBars(rich_); }, 2, 0, [&] { return !(style() & (WS_HSCROLL | WS_VSCROLL)); }},
      {"border", [&](int v) { api.PRichEdit_SetBorderStyle(rich_, v); }, [&] { return api.PRichEdit_GetBorderStyle(rich_); },
       1, 0,
       [&] {
         RECT outer{}, in{};
         ::GetWindowRect(Window(rich_), &outer);
         ::GetWindowRect(inner_, &in);
         return in.left == outer.left;  // no frame pixel left of the text
       }},
      {"rich format", [&](int v) { api.PRichEdit_SetRichFormat(rich_, v); },
       [&] { return api.PRichEdit_GetRichFormat(rich_); }, 1, 0, [] { return true; }},
      {"show links", [&](int v) { api.PRichEdit_SetShowLinks(rich_, v); },
       [&] { return api.PRichEdit_GetShowLinks(rich_); }, 0, 1, [] { return true; }},
      {"word wrap", [&](int v) { api.PRichEdit_SetWordWrap(rich_, v); }, [&] { return api.PRichEdit_GetWordWrap(rich_); },
       1, 0, [] { return true; }},
      {"maximum length", [&](int v) { api.PRichEdit_SetMaxLength(rich_, v); },
       [&] { return api.PRichEdit_GetMaxLength(rich_); }, 0, 5, [] { return true; }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.get(), c.before) << c.what;
    c.set(c.after);
    EXPECT_EQ(c.get(), c.after) << c.what;
    EXPECT_TRUE(c.seen()) << c.what;
  }

  // A long line wraps only with word wrap.
  api.PRichEdit_SetText(rich_, "een twee drie vier vijf zes zeven acht negen tien elf twaalf dertien veertien vijftien "
                               "zestien zeventien achttien negentien twintig");
  EXPECT_EQ(::SendMessageW(inner_, EM_GETLINECOUNT, 0, 0), 1) << "no wrap";
  api.PRichEdit_SetWordWrap(rich_, 1);
  EXPECT_GT(::SendMessageW(inner_, EM_GETLINECOUNT, 0, 0), 1) << "wraps";

  // The maximum length stops typing.
  api.PRichEdit_SetText(rich_, "");
  api.PRichEdit_Focus(rich_);
  EXPECT_EQ(::GetFocus(), inner_) << "Focus puts the caret in the text";
  Type(inner_, "1234567");
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).substr(0, 6), "12345");
  api.PRichEdit_SetMaxLength(rich_, 0);

  // The language is kept upper-cased; an empty one changes nothing.
  EXPECT_EQ(Read(api.PRichEdit_GetLanguage, rich_), "NLD");
  api.PRichEdit_SetLanguage(rich_, "enu");
  EXPECT_EQ(Read(api.PRichEdit_GetLanguage, rich_), "ENU");
  api.PRichEdit_SetLanguage(rich_, "");
  EXPECT_EQ(Read(api.PRichEdit_GetLanguage, rich_), "ENU");

  // The background of the text.
  api.PRichEdit_SetText(rich_, "");
  api.PRichEdit_SetColor(rich_, 0x00336699);
  EXPECT_EQ(api.PRichEdit_GetColor(rich_), 0x00336699u);
  EXPECT_EQ(Shot(inner_).At(20, 20), 0x00336699u);
}

TEST_F(RichTest, ReadOnlyZoomsByFontSizesAndDropsTheBars) {
  api.PRichEdit_SetRichText(rich_, "{\\rtf1\\ansi\\fs20 tien punten\\par}");
  EXPECT_NE(FindByName(Window(rich_), "TabBar"), nullptr);
  api.PRichEdit_SetZoom(rich_, 150);
  EXPECT_EQ(api.PRichEdit_GetZoom(rich_), 100) << "only a read-only text is zoomed";
  EXPECT_EQ(api.PRichEdit_GetReadOnly(rich_), 0);
  api.PRichEdit_SetReadOnly(rich_, 1);
  EXPECT_EQ(api.PRichEdit_GetReadOnly(rich_), 1);
  EXPECT_TRUE(::GetWindowLongW(inner_, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(api.PRichEdit_GetShowToolBar(rich_), 0) << "a viewer has no bars";
  EXPECT_EQ(api.PRichEdit_GetShowTabBar(rich_), 0);
  api.PRichEdit_SetZoom(rich_, 150);
  EXPECT_EQ(api.PRichEdit_GetZoom(rich_), 150);
  EXPECT_TRUE(Has(Read(api.PRichEdit_GetRichText, rich_), "\\fs30")) << "ten points became fifteen";
  api.PControl_SetFocus(rich_);
  Type(inner_, "x");
  EXPECT_FALSE(Has(Read(api.PRichEdit_GetText, rich_), "x")) << "a read-only text takes no typing";
  api.PRichEdit_SetReadOnly(rich_, 0);
  EXPECT_FALSE(::GetWindowLongW(inner_, GWL_STYLE) & ES_READONLY);
}

// The tool bar's buttons: whether the one of a command is there.
bool ToolButtonShown(HWND rich, int index) {
  HWND bar = FindByClass(rich, TOOLBARCLASSNAMEW);
  if (!bar) return false;
  const int id = 100 + index;
  return ::SendMessageW(bar, TB_COMMANDTOINDEX, WPARAM(id), 0) >= 0 &&
         !::SendMessageW(bar, TB_ISBUTTONHIDDEN, WPARAM(id), 0);
}

// The tool bar's items, separators and boxes included: the menu 0, print 6, bold 8, find 23.
constexpr int kMenuButton = 0, kPrintButton = 6, kBoldButton = 8, kFindButton = 23;

TEST_F(RichTest, BarsAndTheirButtonsFollowTheSettings) {
  HWND container = Window(rich_);
  EXPECT_EQ(api.PRichEdit_GetShowToolBar(rich_), 1);
  EXPECT_EQ(api.PRichEdit_GetShowTabBar(rich_), 1);
  ASSERT_NE(FindByClass(container, TOOLBARCLASSNAMEW), nullptr);
  const struct {
    const char* what;
    Function<decltype(&::PRichEdit_SetShowPrint)>* set;
    int button;
  } buttons[] = {{"print", &api.PRichEdit_SetShowPrint, kPrintButton},
                 {"find", &api.PRichEdit_SetShowFind, kFindButton},
                 {"menu", &api.PRichEdit_SetShowMenu, kMenuButton}};
  for (const auto& b : buttons) {
    EXPECT_FALSE(ToolButtonShown(container, b.button)) << b.what;
    (*b.set)(rich_, 1);
    EXPECT_TRUE(ToolButtonShown(container, b.button)) << b.what;
    (*b.set)(rich_, 0);
    EXPECT_FALSE(ToolButtonShown(container, b.button)) << b.what;
  }
  EXPECT_TRUE(ToolButtonShown(container, kBoldButton));
  api.PRichEdit_SetRichFormat(rich_, 0);
  EXPECT_FALSE(ToolButtonShown(container, kBoldButton)) << "plain text has no format buttons";
  api.PRichEdit_SetRichFormat(rich_, 1);
  // The version-1 window has no zoom box: the setting changes no button.
  std::vector<bool> before;
  for (int i = 0; i < 25; ++i) before.push_back(ToolButtonShown(container, i));
  api.PRichEdit_SetShowZoom(rich_, 1);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(ToolButtonShown(container, i), before[std::size_t(i)]) << i;

  api.PRichEdit_SetShowTabBar(rich_, 0);
  EXPECT_EQ(api.PRichEdit_GetShowTabBar(rich_), 0);
  EXPECT_EQ(FindByName(container, "TabBar"), nullptr);
  api.PRichEdit_SetShowToolBar(rich_, 0);
  EXPECT_EQ(api.PRichEdit_GetShowToolBar(rich_), 0);
  EXPECT_EQ(FindByClass(container, TOOLBARCLASSNAMEW), nullptr);
  RECT outer{}, in{};
  ::GetWindowRect(container, &outer);
  ::GetWindowRect(inner_, &in);
  EXPECT_LE(in.top - outer.top, 2) << "the text fills the control without bars";

  // Bars that hide themselves show while the text has the focus.
  api.PRichEdit_SetShowToolBar(rich_, 1);
  api.PRichEdit_SetShowTabBar(rich_, 1);
  api.PRichEdit_SetAutoHideBars(rich_, 1);
  EXPECT_FALSE(::IsWindowVisible(FindByName(container, "TabBar")));
  Click(inner_, 20, 20);
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(FindByName(container, "TabBar")) != FALSE; }));
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(FindByName(container, "TabBar")); }));
  api.PRichEdit_SetAutoHideBars(rich_, 0);
  EXPECT_TRUE(::IsWindowVisible(FindByName(container, "TabBar")));
}

// ---------------------------------------------------------------- commands on the selection

TEST_F(RichTest, FormatCommandsChangeTheSelection) {
  const struct {
    const char* what;
    Function<decltype(&::PRichEdit_ClickBold)>* click;
    DWORD effect;
  } styles[] = {{"bold", &api.PRichEdit_ClickBold, CFE_BOLD},
                {"italic", &api.PRichEdit_ClickItalic, CFE_ITALIC},
                {"underline", &api.PRichEdit_ClickUnderline, CFE_UNDERLINE},
                {"strike out", &api.PRichEdit_ClickStrikeOut, CFE_STRIKEOUT}};
  api.PRichEdit_SetText(rich_, "opmaak");
  for (const auto& s : styles) {
    SelectAll();
    (*s.click)(rich_);
    SelectAll();
    EXPECT_TRUE(CharFormat(inner_).dwEffects & s.effect) << s.what;
    (*s.click)(rich_);
    SelectAll();
    EXPECT_FALSE(CharFormat(inner_).dwEffects & s.effect) << s.what << " again: off";
  }
  const struct {
    const char* what;
    std::function<void()> click;
    WORD alignment;
  } alignments[] = {
      {"centre", [&] { api.PRichEdit_ClickAlignCenter(rich_); }, PFA_CENTER},
      {"right", [&] { api.PRichEdit_ClickAlignRight(rich_); }, PFA_RIGHT},
      {"justify", [&] { api.PRichEdit_ClickAlignJustify(rich_); }, PFA_JUSTIFY},
      {"left", [&] { api.PRichEdit_ClickAlignLeft(rich_); }, PFA_LEFT},
      {"centre by value", [&] { api.PRichEdit_SetAlignment(rich_, PFA_CENTER); }, PFA_CENTER},
  };
  for (const auto& a : alignments) {
    SelectAll();
    a.click();
    EXPECT_EQ(ParaFormat(inner_).wAlignment, a.alignment) << a.what;
  }
  SelectAll();
  api.PRichEdit_SetNumbering(rich_, 2);  // 1, 2, 3
  EXPECT_EQ(ParaFormat(inner_).wNumbering, 2);
  api.PRichEdit_SetNumbering(rich_, 0);
  EXPECT_EQ(ParaFormat(inner_).wNumbering, 0);
  api.PRichEdit_SetLineSpacing(rich_, 4, 400);  // exactly 20 points
  EXPECT_EQ(ParaFormat(inner_).bLineSpacingRule, 4);
  EXPECT_EQ(ParaFormat(inner_).dyLineSpacing, 400);
  SelectAll();
  api.PRichEdit_SetSelectionFont(rich_, "Courier New", 0);
  SelectAll();
  EXPECT_STREQ(CharFormat(inner_).szFaceName, L"Courier New");
  api.PRichEdit_SetSelectionFont(rich_, "", 14);
  SelectAll();
  EXPECT_EQ(CharFormat(inner_).yHeight, 14 * 20);
  EXPECT_STREQ(CharFormat(inner_).szFaceName, L"Courier New") << "the size alone";
  // A plain text takes no format.
  api.PRichEdit_SetRichFormat(rich_, 0);
  SelectAll();
  api.PRichEdit_ClickBold(rich_);
  SelectAll();
  EXPECT_FALSE(CharFormat(inner_).dwEffects & CFE_BOLD);
}

// The menu the call shows: its items' texts, then the item `choose` (0 based
// among the items) is taken, or the menu is closed when it is -1.
std::vector<std::string> AnswerMenu(const std::function<void()>& call, int choose) {
  std::vector<std::string> items;
  AnswerDialog(call, [&](HWND menuWindow) {
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[128] = {};
      ::GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
      items.push_back(Narrow(text));
    }
    if (choose < 0) {
      ::EndMenu();
      return;
    }
    for (int i = 0; i <= choose; ++i) ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  });
  return items;
}

TEST_F(RichTest, NumberingButtonOffersTheStylesAndTakesTheUsersChoice) {
  api.PRichEdit_SetText(rich_, "lijst");
  SelectAll();
  const auto items = AnswerMenu([&] { api.PRichEdit_ClickNumbering(rich_); }, 2);  // the third: "1,2,3,..."
  ASSERT_GE(items.size(), 3u);
  EXPECT_EQ(items[0], "Geen");
  EXPECT_EQ(items[2], "1,2,3,...");
  EXPECT_EQ(ParaFormat(inner_).wNumbering, 2);
}

TEST_F(RichTest, ClipboardAndUndoWorkOnTheSelection) {
  api.PRichEdit_SetText(rich_, "knip W\xC3\xB6rd");
  api.PRichEdit_SetSelStart(rich_, 5);
  api.PRichEdit_SetSelLength(rich_, 4);
  api.PRichEdit_ClickCopy(rich_);
  auto clipboard = [] {
    std::string text;
    if (::OpenClipboard(nullptr)) {
      if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = Narrow(static_cast<const wchar_t*>(::GlobalLock(data)));
        ::GlobalUnlock(data);
      }
      ::CloseClipboard();
    }
    return text;
  };
  EXPECT_EQ(clipboard(), "W\xC3\xB6rd");
  api.PRichEdit_SetSelStart(rich_, 0);
  api.PRichEdit_SetSelLength(rich_, 5);
  api.PRichEdit_ClickCut(rich_);
  EXPECT_EQ(clipboard(), "knip ");
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("W\xC3\xB6rd", 0), 0u);
  api.PRichEdit_SetSelStart(rich_, 4);
  api.PRichEdit_ClickPaste(rich_);
  Pump();
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("W\xC3\xB6rdknip ", 0), 0u);
  api.PRichEdit_ClickUndo(rich_);
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("W\xC3\xB6rd", 0), 0u);
  EXPECT_FALSE(Has(Read(api.PRichEdit_GetText, rich_), "knip")) << "the paste undone";
}

TEST_F(RichTest, TextColourComesFromTheColourDialog) {
  api.PRichEdit_SetText(rich_, "kleur");
  SelectAll();
  const bool shown = AnswerDialog([&] { api.PRichEdit_ClickTextColor(rich_); },
                                  [](HWND dialog) {
                                    const int ids[] = {706, 707, 708};  // red, green, blue
                                    const int values[] = {0x12, 0x34, 0x56};
                                    for (int i = 0; i < 3; ++i) ::SetDlgItemInt(dialog, ids[i], UINT(values[i]), FALSE);
                                    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                                  });
  EXPECT_TRUE(shown);
  SelectAll();
  EXPECT_EQ(CharFormat(inner_).crTextColor, RGB(0x12, 0x34, 0x56));
}

TEST_F(RichTest, FindSearchesFromTheSelection) {
  api.PRichEdit_SetText(rich_, "appel peer APPEL peer");
  api.PRichEdit_SetSelStart(rich_, 0);
  const struct {
    const char* text;
    int matchCase, up;
    int found, start;
  } cases[] = {
      {"peer", 0, 0, 1, 6},   // from the caret on
      {"peer", 0, 0, 1, 17},  // after the selection
      {"peer", 0, 0, 0, 17},  // no further one: the selection stays
      {"appel", 1, 1, 1, 0},  // upwards, case matched: not "APPEL"
      {"APPEL", 1, 0, 1, 11},
      {"zzz", 0, 0, 0, 11},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(api.PRichEdit_FindNext(rich_, c.text, c.matchCase, c.up), c.found) << c.text;
    EXPECT_EQ(api.PRichEdit_GetSelStart(rich_), c.start) << c.text;
  }
  // The dialog: the user types the word and confirms.
  api.PRichEdit_SetSelStart(rich_, 0);
  const bool shown = AnswerDialog([&] { api.PRichEdit_ClickFind(rich_); },
                                  [](HWND dialog) {
                                    ::SetWindowTextW(FindByName(dialog, "edtFind"), L"APPEL");
                                    ::PostMessageW(FindByName(dialog, "btnOk"), BM_CLICK, 0, 0);
                                  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(api.PRichEdit_GetSelStart(rich_), 0) << "not matching case: the first";
  EXPECT_EQ(api.PRichEdit_GetSelLength(rich_), 5);
}

TEST_F(RichTest, PrintingWithoutAPrinterPrintsNothing) {
  wchar_t name[256] = {};
  DWORD size = 256;
  if (::GetDefaultPrinterW(name, &size)) GTEST_SKIP() << "a printer is set up: a test prints nothing on it";
  api.PRichEdit_SetText(rich_, "papier");
  EXPECT_EQ(api.PRichEdit_Print(rich_), 0);
  api.PRichEdit_ClickPrint(rich_);  // the button's command: nothing to answer
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("papier", 0), 0u);
}

// A cancelled insert-object dialog and a file no object server takes insert
// nothing and leave the text as it was. (Wine's insert-object dialog is a stub
// that shows nothing, and it has no server that embeds a text file.)
TEST_F(RichTest, ObjectsThatCannotBeMadeLeaveTheTextAlone) {
  api.PRichEdit_SetText(rich_, "object");
  api.PRichEdit_SetSelStart(rich_, 6);
  auto length = [&] { return int(::SendMessageW(inner_, WM_GETTEXTLENGTH, 0, 0)); };
  const int before = length();
  AnswerDialog([&] { api.PRichEdit_ClickInsertObject(rich_); },
               [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(length(), before) << "cancelled";

  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"orvalis-capi-\xE9\xE9n.txt";
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, "inhoud", 6, &written, nullptr);
  ::CloseHandle(file);
  api.PRichEdit_InsertFile(rich_, Narrow(path).c_str());
  ::DeleteFileW(path.c_str());
  const int after = length();
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("object", 0), 0u);
  if (after == before) {
    EXPECT_EQ(api.PRichEdit_GetHasFileLinks(rich_), 0) << "nothing there, nothing linked";
  } else {
    EXPECT_EQ(after, before + 1) << "one object character for the file";
    EXPECT_EQ(api.PRichEdit_GetHasFileLinks(rich_), 0) << "an embedded file is no link";
  }
  api.PRichEdit_UpdateFileLinks(rich_);
  EXPECT_EQ(length(), after) << "no link to update";
}

// The interface has no call that sets a field host (OnFieldEdit, OnGetField):
// through it the field calls give their neutral results.
TEST_F(RichTest, FieldCallsWithoutAFieldHostAreNeutral) {
  api.PRichEdit_SetText(rich_, "veld");
  SelectAll();
  EXPECT_EQ(api.PRichEdit_IsField(rich_), 0);
  EXPECT_EQ(Read(api.PRichEdit_GetField, rich_, "Naam"), "");
  api.PRichEdit_ClickNewField(rich_);
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("veld", 0), 0u);
}

// ---------------------------------------------------------------- typing, keys, links, events

TEST_F(RichTest, TypingSelectionAndDoubleClicksReachTheHost) {
  Recorder changes, selections, doubles;
  api.PRichEdit_SetOnChange(rich_, Record, &changes);
  api.PRichEdit_SetOnSelectionChange(rich_, Record, &selections);
  api.PRichEdit_SetOnDblClick(rich_, Record, &doubles);
  Click(inner_, 10, 10);
  Type(inner_, "h\xC3\xA9 daar");
  EXPECT_TRUE(WaitFor([&] { return changes.calls > 0; })) << "typing";
  EXPECT_EQ(changes.control, rich_);
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).rfind("h\xC3\xA9 daar", 0), 0u);
  selections.calls = 0;
  Press(VK_HOME);
  EXPECT_TRUE(WaitFor([&] { return selections.calls > 0; })) << "the caret moved";
  EXPECT_EQ(selections.control, rich_);
  const POINT p = PointOf(4);
  DoubleClick(inner_, p.x, p.y);
  EXPECT_TRUE(WaitFor([&] { return doubles.calls == 1; }));
  EXPECT_EQ(doubles.control, rich_);

  api.PRichEdit_SetOnChange(rich_, nullptr, nullptr);
  api.PRichEdit_SetOnSelectionChange(rich_, nullptr, nullptr);
  api.PRichEdit_SetOnDblClick(rich_, nullptr, nullptr);
  const int c = changes.calls, s = selections.calls;
  Press(VK_END);
  Type(inner_, "!");
  DoubleClick(inner_, p.x, p.y);
  EXPECT_EQ(changes.calls, c) << "removed";
  EXPECT_EQ(selections.calls, s) << "removed";
  EXPECT_EQ(doubles.calls, 1) << "removed";
}

TEST_F(RichTest, LineLimitsStopEnterAndTyping) {
  api.PRichEdit_SetMaxLines(rich_, 2);
  api.PRichEdit_SetMaxLineLength(rich_, 4);
  Click(inner_, 10, 10);
  Type(inner_, "abcdef");
  EXPECT_EQ(Read(api.PRichEdit_GetText, rich_).substr(0, 4), "abcd");
  EXPECT_FALSE(Has(Read(api.PRichEdit_GetText, rich_), "e")) << "a full line takes no more";
  Press(VK_RETURN);
  Type(inner_, "xy");
  Press(VK_RETURN);
  Type(inner_, "z");
  std::string text = Read(api.PRichEdit_GetText, rich_);
  EXPECT_TRUE(Has(text, "abcd\r\nxyz") || Has(text, "abcd\rxyz")) << "two lines at most: " << text;
  api.PRichEdit_SetMaxLines(rich_, 0);
  api.PRichEdit_SetMaxLineLength(rich_, 0);
  Press(VK_RETURN);
  Type(inner_, "vrij");
  text = Read(api.PRichEdit_GetText, rich_);
  EXPECT_TRUE(Has(text, "vrij")) << text;
}

TEST_F(RichTest, ClickedLinksReachTheHostWithTheirNumber) {
  api.PRichEdit_SetReadOnly(rich_, 1);
  api.PRichEdit_AddLink(rich_, "handleiding", 7);
  api.PRichEdit_AddLink(rich_, "w\xC3\xA9" "bwinkel", 9);
  api.PRichEdit_SetText(rich_, "lees de handleiding of de w\xC3\xA9" "bwinkel");
  Recorder links;
  api.PRichEdit_SetOnLink(rich_, RecordLink, &links);
  const struct {
    int position;
    const char* link;
    int object;
  } cases[] = {{10, "handleiding", 7}, {28, "w\xC3\xA9" "bwinkel", 9}};
  for (const auto& c : cases) {
    const int before = links.calls;
    const POINT p = PointOf(c.position);
    Click(inner_, p.x, p.y);
    EXPECT_TRUE(WaitFor([&] { return links.calls == before + 1; })) << c.link;
    EXPECT_EQ(links.text, c.link);
    EXPECT_EQ(links.value, c.object);
    EXPECT_EQ(links.control, rich_);
  }
  api.PRichEdit_ClearLinkList(rich_);
  const POINT p = PointOf(10);
  Click(inner_, p.x, p.y);
  EXPECT_EQ(links.calls, 2) << "no longer a link";
  api.PRichEdit_AddLink(rich_, "handleiding", 7);
  api.PRichEdit_SetOnLink(rich_, nullptr, nullptr);
  Click(inner_, p.x, p.y);
  EXPECT_EQ(links.calls, 2) << "removed";
}

TEST_F(RichTest, ShownLinksAreFormattedAsTheyAreTyped) {
  api.PRichEdit_AddLink(rich_, "handleiding", 7);
  const struct {
    int show;
    bool underlined;
  } cases[] = {{0, false}, {1, true}};
  for (const auto& c : cases) {
    api.PRichEdit_SetShowLinks(rich_, c.show);
    api.PRichEdit_SetText(rich_, "");
    Click(inner_, 10, 10);
    Type(inner_, "handleiding");
    Press(VK_SPACE);
    api.PRichEdit_SetSelStart(rich_, 2);
    api.PRichEdit_SetSelLength(rich_, 3);
    EXPECT_EQ((CharFormat(inner_).dwEffects & CFE_UNDERLINE) != 0, c.underlined) << c.show;
  }
}

TEST_F(RichTest, ContextMenuOffersHelpOnlyWithAContextHelp) {
  api.PRichEdit_SetText(rich_, "woord");
  const struct {
    const char* help;
    bool offered;
  } cases[] = {{"", false}, {"winhlp32.exe -k ", true}};
  for (const auto& c : cases) {
    api.PRichEdit_SetContextHelp(rich_, c.help);
    const POINT p = PointOf(2);
    const auto items = AnswerMenu([&] { RightClick(inner_, p.x, p.y); }, -1);
    ASSERT_FALSE(items.empty()) << c.help;
    EXPECT_EQ(items.front() == "Help", c.offered) << c.help << ": " << items.front();
  }
}

TEST_F(RichTest, TheDropDownMenuOffersObjectsOnlyWithOle) {
  api.PRichEdit_SetShowMenu(rich_, 1);
  HWND bar = FindByClass(Window(rich_), TOOLBARCLASSNAMEW);
  ASSERT_NE(bar, nullptr);
  RECT button{};
  ::SendMessageW(bar, TB_GETRECT, 100 + kMenuButton, reinterpret_cast<LPARAM>(&button));
  const struct {
    int show, ole;
    bool offered;
  } cases[] = {{0, 1, false}, {1, 0, false}, {1, 1, true}};
  for (const auto& c : cases) {
    api.PRichEdit_SetShowInsertObject(rich_, c.show);
    api.PRichEdit_SetUseOle(rich_, c.ole);
    const auto items = AnswerMenu([&] { Click(bar, (button.left + button.right) / 2, (button.top + button.bottom) / 2); }, -1);
    bool offered = false;
    for (const std::string& item : items) offered = offered || item == "Object invoegen";
    EXPECT_EQ(offered, c.offered) << c.show << "/" << c.ole;
  }
}

// ---------------------------------------------------------------- fields

// A document with picture fields as a host loads and stores it: the host draws
// the named fields, the control decodes the JPEG field itself, the stored
// text holds the picture and both fields, and a selection's field names reach
// the host.
struct FieldHost {
  std::vector<std::string> drawn;
  std::string selected = "(nothing)";
  int selections = 0;
};

HENHMETAFILE ORVALIS_CALL DrawField(void* context, OrvalisControl*, const char* name) {
  static_cast<FieldHost*>(context)->drawn.push_back(name);
  RECT frame{0, 0, 1200, 400};
  HDC recording = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  ::Rectangle(recording, 0, 0, 40, 14);
  return ::CloseEnhMetaFile(recording);
}

void ORVALIS_CALL SelectedFields(void* context, OrvalisControl*, const char* names) {
  auto& host = *static_cast<FieldHost*>(context);
  host.selected = names;
  ++host.selections;
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

TEST_F(RichTest, ADocumentWithPictureFieldsLoadsAndStoresAsInTheLab) {
  FieldHost host;
  api.PRichEdit_SetOnGetField(rich_, DrawField, &host);
  api.PRichEdit_SetOnSelectObject(rich_, SelectedFields, &host);
  const std::string document = "{\\rtf1 \\protect [JPEGPICT:" + Hex(controls::test::MakeJpeg(48, 24)) +
                               "]\\protect0  \\protect [A, B]\\protect0  \\protect [C]\\protect0 }";
  api.PRichEdit_SetRichText(rich_, document.c_str());
  EXPECT_EQ(host.drawn, (std::vector<std::string>{"A, B", "C"})) << "the JPEG field needs no host";

  const std::string stored = Read(api.PRichEdit_GetRichText, rich_);
  EXPECT_EQ(Count(stored, "{\\pict"), 1) << "the image, kept as a picture";
  EXPECT_EQ(Count(stored, "\\protect [A, B]\\protect0"), 1) << stored.substr(0, 200);
  EXPECT_EQ(Count(stored, "\\protect [C]\\protect0"), 1);

  SelectAll();
  ASSERT_TRUE(WaitFor([&] { return host.selected == "A, B\nC"; })) << host.selected;
  api.PRichEdit_SetSelStart(rich_, 0);
  ASSERT_TRUE(WaitFor([&] { return host.selected.empty(); })) << "nothing selected: " << host.selected;

  // Stored and loaded again, the text is the same.
  host.drawn.clear();
  api.PRichEdit_SetRichText(rich_, stored.c_str());
  EXPECT_EQ(Read(api.PRichEdit_GetRichText, rich_), stored);
  EXPECT_EQ(host.drawn, (std::vector<std::string>{"A, B", "C"}));

  // Without the host's handler the fields cannot be drawn (and are not kept).
  api.PRichEdit_SetOnGetField(rich_, nullptr, nullptr);
  api.PRichEdit_SetOnSelectObject(rich_, nullptr, nullptr);
  const int selections = host.selections;
  host.drawn.clear();
  api.PRichEdit_SetRichText(rich_, stored.c_str());
  SelectAll();
  Pump();
  EXPECT_TRUE(host.drawn.empty());
  EXPECT_EQ(host.selections, selections) << "removed";
}

}  // namespace
}  // namespace orvalis::capi_test
