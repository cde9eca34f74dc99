// The rich text editor's commands on a real window: tool bar buttons and their
// state, hints in both languages, the page-break key, Tab on a selection,
// find, read-only mode without bars and the context menu as built.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "controls/rich/prichedit.h"
#include "controls/rich/prichedit_bars.h"
#include "controls/rich/prichedit_objects.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "win/com.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

class PRichEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 640, 400);
    rtf_ = std::make_unique<PRichEdit>();
    rtf_->SetName("Rtf1");
    rtf_->SetParent(form_.get());
    rtf_->SetBounds(8, 8, 600, 300);
    rtf_->SetLanguage("ENU");
    (void)form_->Handle();
    rtf_->Loaded();
  }
  void TearDown() override {
    SetCtrl(false);
    rtf_.reset();
    form_.reset();
  }

  HWND Inner() { return rtf_->RichEdit().Handle(); }
  void Select(int start, int end) {
    CHARRANGE r{start, end};
    ::SendMessageW(Inner(), EM_EXSETSEL, 0, LPARAM(&r));
  }
  CHARRANGE Selection() {
    CHARRANGE r{};
    ::SendMessageW(Inner(), EM_EXGETSEL, 0, LPARAM(&r));
    return r;
  }
  DWORD Effects() {
    CHARFORMATW f{};
    f.cbSize = sizeof f;
    f.dwMask = CFM_ALL;
    ::SendMessageW(Inner(), EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
    return f.dwEffects;
  }
  // A click on the tool bar button, as the mouse makes it.
  void ClickButton(ToolCommand command) {
    RichToolBar* bar = rtf_->ToolBar();
    ASSERT_NE(bar, nullptr);
    const RECT r = bar->ButtonRect(command);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, at);
    ::SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, at);
  }
  // The Ctrl key as the thread's keyboard state reports it.
  static void SetCtrl(bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }
  std::string Hint(ToolCommand command) {
    HWND bar = rtf_->ToolBar()->Handle();
    HWND tips = reinterpret_cast<HWND>(::SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
    wchar_t text[80] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = bar;
    info.uId = UINT_PTR(RichToolBar::CommandId(command));
    info.lpszText = text;
    ::SendMessageW(tips, TTM_GETTEXTW, 80, LPARAM(&info));
    return win::Narrow(text);
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PRichEdit> rtf_;
};

TEST_F(PRichEditorTest, StyleButtonsFormatTheSelectionAndShowIt) {
  struct Case {
    ToolCommand command;
    DWORD effect;
  } const cases[] = {{ToolCommand::Bold, CFE_BOLD},
                     {ToolCommand::Italic, CFE_ITALIC},
                     {ToolCommand::Underline, CFE_UNDERLINE},
                     {ToolCommand::StrikeOut, CFE_STRIKEOUT}};
  for (const Case& c : cases) {
    rtf_->SetText("hello world");
    Select(0, 5);
    ClickButton(c.command);
    EXPECT_TRUE(Effects() & c.effect) << int(c.command);
    EXPECT_EQ(rtf_->ToolBar()->Button(c.command), ButtonState::Down) << int(c.command);
    Select(0, 11);  // half formatted
    EXPECT_EQ(rtf_->ToolBar()->Button(c.command), ButtonState::Indeterminate) << int(c.command);
    Select(6, 11);
    EXPECT_EQ(rtf_->ToolBar()->Button(c.command), ButtonState::Up) << int(c.command);
  }
  rtf_->SetText("x");
  ClickButton(ToolCommand::AlignCenter);
  EXPECT_EQ(rtf_->ToolBar()->Button(ToolCommand::AlignCenter), ButtonState::Down);
  EXPECT_EQ(rtf_->ToolBar()->Button(ToolCommand::AlignLeft), ButtonState::Up);
}

TEST_F(PRichEditorTest, TheToolBarFollowsTheControlBeingDisabled) {
  HWND bar = rtf_->ToolBar()->Handle();
  const WPARAM bold = WPARAM(RichToolBar::CommandId(ToolCommand::Bold));
  ::EnableWindow(rtf_->Handle(), FALSE);
  EXPECT_FALSE(::IsWindowEnabled(bar));
  EXPECT_FALSE(::SendMessageW(bar, TB_ISBUTTONENABLED, bold, 0));
  ::EnableWindow(rtf_->Handle(), TRUE);
  EXPECT_TRUE(::IsWindowEnabled(bar));
  EXPECT_TRUE(::SendMessageW(bar, TB_ISBUTTONENABLED, bold, 0));
}

TEST_F(PRichEditorTest, PlainTextEditingIgnoresFormatting) {
  rtf_->SetRichFormat(false);
  rtf_->SetText("hello");
  Select(0, 5);
  rtf_->ClickBold();
  EXPECT_FALSE(Effects() & CFE_BOLD);
  RichToolBar* bar = rtf_->ToolBar();
  const LRESULT state = ::SendMessageW(bar->Handle(), TB_GETSTATE, RichToolBar::CommandId(ToolCommand::Bold), 0);
  EXPECT_TRUE(state & TBSTATE_HIDDEN);
}

TEST_F(PRichEditorTest, HintsInBothLanguages) {
  EXPECT_EQ(Hint(ToolCommand::Bold), "Bold");
  EXPECT_EQ(Hint(ToolCommand::Undo), "Undo");
  rtf_->SetLanguage("NLD");
  EXPECT_EQ(Hint(ToolCommand::Bold), "Vet");
  EXPECT_EQ(Hint(ToolCommand::AlignCenter), "In het midden uitlijnen");
  EXPECT_EQ(Hint(ToolCommand::Copy), "Kopieren");
}

TEST_F(PRichEditorTest, CtrlEnterPutsAProtectedPageBreakThatIsStored) {
  rtf_->SetText("ab");
  Select(1, 1);
  std::vector<std::string> heard;  // what a host reads on each change
  rtf_->OnChange = [&](PRichEdit& rtf) { heard.push_back(rtf.GetRichText()); };
  SetCtrl(true);
  ::SendMessageW(Inner(), WM_KEYDOWN, VK_RETURN, 0);
  ::SendMessageW(Inner(), WM_CHAR, 0x0A, 0);  // the character of Ctrl+Enter is not typed
  SetCtrl(false);
  rtf_->OnChange = nullptr;
  EXPECT_EQ(rtf_->GetText(), "a[NEWPAGE]b");
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_NE(heard[0].find("\\page"), std::string::npos) << heard[0];
  EXPECT_EQ(Selection().cpMin, 10);
  Select(3, 4);
  EXPECT_TRUE(Effects() & CFE_PROTECTED);
  const std::string stored = rtf_->GetRichText();
  EXPECT_NE(stored.find("\\page"), std::string::npos) << stored;
  rtf_->SetRichText(stored);
  EXPECT_EQ(rtf_->GetText(), "a[NEWPAGE]b");
}

TEST_F(PRichEditorTest, TabIndentsTheSelectedLines) {
  rtf_->SetText("ab\r\ncd\r\nef");
  Select(5, 9);
  ::SendMessageW(Inner(), WM_KEYDOWN, VK_TAB, 0);
  ::SendMessageW(Inner(), WM_CHAR, '\t', 0);
  EXPECT_EQ(rtf_->GetText(), "ab\r\n\tcd\r\n\tef");
  EXPECT_EQ(Selection().cpMin, 6);
  EXPECT_EQ(Selection().cpMax, 11);
}

TEST_F(PRichEditorTest, EnterStopsAtMaxLines) {
  rtf_->SetMaxLines(2);
  rtf_->SetText("a\r\nb");
  Select(4, 4);
  ::SendMessageW(Inner(), WM_KEYDOWN, VK_RETURN, 0);
  ::SendMessageW(Inner(), WM_CHAR, '\r', 0);
  EXPECT_EQ(rtf_->GetText(), "a\r\nb");
}

TEST_F(PRichEditorTest, FindSelectsTheNextMatch) {
  rtf_->SetText("Abc abc ABC");
  struct Case {
    int start, end;
    const char* what;
    bool matchCase, up;
    bool found;
    int foundStart;
  } const cases[] = {
      {0, 3, "abc", false, false, true, 4},  {4, 7, "abc", true, false, false, 4},
      {4, 7, "ABC", false, false, true, 8},  {8, 11, "Abc", true, true, true, 0},
      {8, 11, "abc", false, true, true, 4},  {0, 3, "xyz", false, false, false, 0},
  };
  for (const Case& c : cases) {
    Select(c.start, c.end);
    EXPECT_EQ(rtf_->FindNext(c.what, c.matchCase, c.up), c.found) << c.what << c.start;
    EXPECT_EQ(Selection().cpMin, c.found ? c.foundStart : c.start) << c.what << c.start;  // no match keeps it
  }
}

TEST_F(PRichEditorTest, ReadOnlyRemovesBothBarsForGood) {
  ASSERT_NE(rtf_->ToolBar(), nullptr);
  ASSERT_NE(rtf_->TabBar(), nullptr);
  const int top = rtf_->RichEdit().Top();
  EXPECT_GT(top, rtf_->ToolBar()->Height());
  rtf_->SetReadOnly(true);
  EXPECT_EQ(rtf_->ToolBar(), nullptr);
  EXPECT_EQ(rtf_->TabBar(), nullptr);
  EXPECT_EQ(rtf_->RichEdit().Top(), 1);
  rtf_->SetReadOnly(false);
  EXPECT_EQ(rtf_->ToolBar(), nullptr);
  EXPECT_FALSE(rtf_->GetShowToolBar());
}

// The items of the pop-up menu as the system holds them: caption and state.
std::vector<std::pair<std::string, UINT>> MenuItems(HMENU menu) {
  std::vector<std::pair<std::string, UINT>> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 64;
    ::GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
    items.emplace_back((info.fType & MFT_SEPARATOR) ? "-" : win::Narrow(text), info.fState & MFS_DISABLED);
  }
  return items;
}

// F10 without a modifier comes as a system key, and asks the host for a new
// field instead of opening the window menu mode; the insert-field button shows
// as soon as the host hands a field handler, not at the next selection change.
TEST_F(PRichEditorTest, F10AsTheSystemSendsItStartsANewField) {
  const WPARAM insertField = WPARAM(RichToolBar::CommandId(ToolCommand::InsertField));
  HWND bar = rtf_->ToolBar()->Handle();
  EXPECT_TRUE(::SendMessageW(bar, TB_ISBUTTONHIDDEN, insertField, 0)) << "no handler, no button";
  std::vector<std::string> asked;
  rtf_->SetOnFieldEdit([&](PRichEdit&, int, int, std::string& object, bool& ret) {
    asked.push_back(object);
    ret = false;
  });
  EXPECT_FALSE(::SendMessageW(bar, TB_ISBUTTONHIDDEN, insertField, 0)) << "shown with the handler";
  rtf_->OnGetField = [](PRichEdit&, const std::string&, const std::string&, win::unique_henhmetafile&) {};
  rtf_->SetText("abc");
  ::SendMessageW(Inner(), WM_SYSKEYDOWN, VK_F10, 0x00440001);
  ::SendMessageW(Inner(), WM_SYSKEYUP, VK_F10, 0xC0440001);
  EXPECT_EQ(asked, std::vector<std::string>{"@NEWFIELD"});
  ::SendMessageW(Inner(), WM_SYSKEYDOWN, 'X', 0x20000001);  // Alt+X stays the menu's
  EXPECT_EQ(asked.size(), 1u);
}

// A fitted editor with its bars shows all of its text: the bars and the
// border are part of the height it asks for.
TEST_F(PRichEditorTest, RealHeightCountsTheBarsAndTheBorder) {
  rtf_->SetRichText("{\\rtf1 one\\par two\\par three}");
  ASSERT_NE(rtf_->ToolBar(), nullptr);
  ASSERT_NE(rtf_->TabBar(), nullptr);
  const int withBars = rtf_->RealHeight();
  const int bars = rtf_->ToolBar()->BarHeight() + 1 + RichRuler::RulerHeight();
  rtf_->Fit();
  EXPECT_EQ(rtf_->Height(), withBars);
  RECT inner{};
  ::GetClientRect(Inner(), &inner);
  rtf_->SetShowToolBar(false);
  rtf_->SetShowTabBar(false);
  const int bare = rtf_->RealHeight();
  EXPECT_EQ(withBars - bare, bars) << withBars << " " << bare;
  rtf_->Fit();
  RECT fitted{};
  ::GetClientRect(Inner(), &fitted);
  EXPECT_EQ(inner.bottom, fitted.bottom) << "the fitted inner window was as tall with bars as without";
}

TEST_F(PRichEditorTest, ContextMenuItemsByState) {
  rtf_->SetText("some text");
  Select(0, 0);
  rtf_->SetLanguage("NLD");
  rtf_->BuildContextMenu(2, 2);
  auto items = MenuItems(ui::PopupMenuHandle());
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].first, "Knippen");
  EXPECT_NE(items[0].second, 0u);  // nothing selected: disabled
  EXPECT_EQ(items[2].first, "Plakken");

  rtf_->SetLanguage("ENU");
  rtf_->SetContextHelp("help.exe ");
  rtf_->OnFieldEdit = [](PRichEdit&, int, int, std::string&, bool&) {};
  rtf_->FieldList = {"Customer", "Period"};
  Select(0, 4);
  rtf_->BuildContextMenu(2, 2);
  items = MenuItems(ui::PopupMenuHandle());
  std::vector<std::string> captions;
  for (const auto& item : items) captions.push_back(item.first);
  EXPECT_EQ(captions, (std::vector<std::string>{"Help", "-", "Cut", "Copy", "Paste", "-", "New field", "-", "Edit"}));
  EXPECT_EQ(items[2].second, 0u);  // a selection enables Cut
  HMENU fields = ::GetSubMenu(ui::PopupMenuHandle(), 6);
  ASSERT_NE(fields, nullptr);
  EXPECT_EQ(MenuItems(fields).size(), 2u);
}

TEST(PRichEditorObjects, PasteSpecialEntriesForTheSystemDialog) {
  const std::unique_ptr<OlePasteEntries> built = BuildPasteEntries();
  const UINT embedded = ::RegisterClipboardFormatW(L"Embedded Object");
  const UINT link = ::RegisterClipboardFormatW(L"Link Source");
  const UINT rtf = ::RegisterClipboardFormatW(L"Rich Text Format");
  struct Row {
    UINT format;
    DWORD tymed;
    DWORD flags;
    const wchar_t* name;
  } const rows[] = {
      {embedded, TYMED_ISTORAGE, OLEUIPASTE_PASTE | OLEUIPASTE_ENABLEICON, L"%s"},
      {link, TYMED_ISTORAGE, OLEUIPASTE_LINKTYPE1 | OLEUIPASTE_ENABLEICON, L"%s"},
      {CF_UNICODETEXT, TYMED_HGLOBAL, OLEUIPASTE_PASTEONLY, L"Unformatted Text"},
      {rtf, TYMED_HGLOBAL, OLEUIPASTE_PASTEONLY, L"Formatted Text (RTF)"},
      {CF_ENHMETAFILE, TYMED_ENHMF, OLEUIPASTE_PASTEONLY, L"Picture (Enhanced Metafile)"},
      {CF_METAFILEPICT, TYMED_MFPICT, OLEUIPASTE_PASTEONLY, L"Picture (Metafile)"},
      {CF_DIB, TYMED_HGLOBAL, OLEUIPASTE_PASTEONLY, L"Device Independent Bitmap"},
      {CF_BITMAP, TYMED_GDI, OLEUIPASTE_PASTEONLY, L"Bitmap"},
  };
  ASSERT_EQ(built->entries.size(), std::size(rows));
  EXPECT_EQ(built->linkType, link);
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const OLEUIPASTEENTRYW& entry = built->entries[i];
    EXPECT_EQ(entry.fmtetc.cfFormat, rows[i].format);
    EXPECT_EQ(entry.fmtetc.tymed, rows[i].tymed);
    EXPECT_EQ(entry.fmtetc.dwAspect, DWORD(DVASPECT_CONTENT));
    EXPECT_EQ(entry.dwFlags, rows[i].flags);
    EXPECT_STREQ(entry.lpstrFormatName, rows[i].name);
    EXPECT_NE(entry.lpstrResultText[0], L'\0');
  }
}

TEST_F(PRichEditorTest, AnObjectIsInsertedAtTheSelection) {
  const win::com_scope com;
  ASSERT_TRUE(com.ok());
  rtf_->SetText("before after");
  Select(7, 7);
  win::com_ptr<IRichEditOle> ole;
  ASSERT_TRUE(::SendMessageW(Inner(), EM_GETOLEINTERFACE, 0, LPARAM(ole.put())));
  ASSERT_TRUE(ole);
  win::com_ptr<IOleObject> object;
  // A picture object without a server: the default handler is enough to hold a place.
  ASSERT_HRESULT_SUCCEEDED(::OleCreateDefaultHandler(CLSID_Picture_EnhMetafile, nullptr, IID_IOleObject,
                                                     object.put_void()));
  EXPECT_EQ(ole->GetObjectCount(), 0);
  ASSERT_TRUE(InsertRichObject(ole.get(), object.get(), nullptr, false));
  ASSERT_EQ(ole->GetObjectCount(), 1);
  REOBJECT found{};
  found.cbStruct = sizeof found;
  ASSERT_HRESULT_SUCCEEDED(ole->GetObject(0, &found, REO_GETOBJ_NO_INTERFACES));
  EXPECT_EQ(found.cp, 7);
  EXPECT_EQ(found.dvaspect, DWORD(DVASPECT_CONTENT));
  EXPECT_EQ(found.dwFlags & (REO_RESIZABLE | REO_BELOWBASELINE), DWORD(REO_RESIZABLE | REO_BELOWBASELINE));
  EXPECT_FALSE(InsertRichObject(ole.get(), nullptr, nullptr, false));
  EXPECT_EQ(ole->GetObjectCount(), 1);
}

}  // namespace
}  // namespace orvalis::controls
