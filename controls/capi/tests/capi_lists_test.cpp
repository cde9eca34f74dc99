// The choice, the formula editor with its variables, the tagged combo box and
// check list and the tree view with its items, as a host reaches them through
// the loaded module.
#include "host_window.h"

#include <commctrl.h>

#include <cstring>

namespace orvalis::capi_test {
namespace {

RECT Rect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

bool Checked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// ---------------------------------------------------------------- PChoice

using ChoiceTest = HostTest;

TEST_F(ChoiceTest, LinesBecomeRadioButtonsAndTheUsersClickTheIndex) {
  OrvalisControl* choice = Make(api.PChoice_Create, "Choice", 8, 8, 220, 120);
  ASSERT_NE(choice, nullptr);
  api.PChoice_SetLines(choice, "Post\r\nKo\xC3\xABrier\nAnders");  // "Koërier", a CR LF between the first two
  ASSERT_EQ(api.PChoice_GetLineCount(choice), 3);
  const char* lines[] = {"Post", "Ko\xC3\xABrier", "Anders"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Read(api.PChoice_GetLine, choice, i), lines[i]);
    HWND button = FindByName(Window(choice), "Choice_" + std::to_string(i));
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(WindowText(button), std::string(" ") + lines[i] + " ");
  }
  EXPECT_EQ(Read(api.PChoice_GetLine, choice, 3), "");

  api.PChoice_AddLine(choice, "Ophalen \xE2\x82\xAC", 7);
  EXPECT_EQ(api.PChoice_GetLineCount(choice), 4);
  EXPECT_EQ(WindowText(FindByName(Window(choice), "Choice_3")), " Ophalen \xE2\x82\xAC ");
  api.PChoice_Delete(choice, 99);  // no line has it
  EXPECT_EQ(api.PChoice_GetLineCount(choice), 4);
  api.PChoice_Delete(choice, 7);
  EXPECT_EQ(api.PChoice_GetLineCount(choice), 3);
  EXPECT_EQ(FindByName(Window(choice), "Choice_3"), nullptr);

  api.PChoice_SetListIndex(choice, 1);
  EXPECT_EQ(api.PChoice_GetListIndex(choice), 1);
  EXPECT_TRUE(Checked(FindByName(Window(choice), "Choice_1")));
  Recorder changes;
  api.PChoice_SetOnChange(choice, Record, &changes);
  Click(FindByName(Window(choice), "Choice_0"), 4, 6);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; }));
  EXPECT_EQ(changes.control, choice);
  EXPECT_EQ(api.PChoice_GetListIndex(choice), 0);
  api.PChoice_SetListIndex(choice, -1);
  EXPECT_EQ(api.PChoice_GetListIndex(choice), -1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Checked(FindByName(Window(choice), "Choice_" + std::to_string(i)))) << i;
  api.PChoice_SetOnChange(choice, nullptr, nullptr);
  Click(FindByName(Window(choice), "Choice_2"), 4, 6);
  EXPECT_TRUE(WaitFor([&] { return api.PChoice_GetListIndex(choice) == 2; }));
  EXPECT_EQ(changes.calls, 1) << "removed";
}

TEST_F(ChoiceTest, TheOtherEditorIsOfItsKindAndShowsOnlyForTheLastLine) {
  OrvalisControl* choice = Make(api.PChoice_Create, "Choice", 8, 8, 260, 140);
  ASSERT_NE(choice, nullptr);
  api.PChoice_SetLines(choice, "Post\nAnders");
  EXPECT_EQ(api.PChoice_GetOtherIsActive(choice), 0);
  EXPECT_EQ(FindByName(Window(choice), "Choice_Other"), nullptr);
  api.PChoice_SetOtherIsActive(choice, 1);
  EXPECT_EQ(api.PChoice_GetOtherIsActive(choice), 1);
  // The kind of editor, by the window it makes: a rich text editor is a
  // container around the system's rich edit, a memo has several lines, the
  // number editors align right.
  const struct {
    int type;
    bool rich, multiline, right;
  } kinds[] = {
      {PChoice_OtherPCurrEdit, false, false, true}, {PChoice_OtherPDateEdit, false, false, false},
      {PChoice_OtherPEdit, false, false, false},    {PChoice_OtherPMemo, false, true, false},
      {PChoice_OtherPNumEdit, false, false, true},  {PChoice_OtherPPercEdit, false, false, true},
      {PChoice_OtherPRichEdit, true, false, false}, {PChoice_OtherPZipEdit, false, false, false},
  };
  for (const auto& k : kinds) {
    api.PChoice_SetOtherType(choice, k.type);
    EXPECT_EQ(api.PChoice_GetOtherType(choice), k.type);
    HWND other = FindByName(Window(choice), "Choice_Other");
    ASSERT_NE(other, nullptr) << k.type;
    wchar_t name[32] = {};
    ::GetClassNameW(other, name, 32);
    EXPECT_EQ(::lstrcmpiW(name, L"EDIT") != 0, k.rich) << k.type;
    const LONG style = ::GetWindowLongW(other, GWL_STYLE);
    if (!k.rich) {
      EXPECT_EQ((style & ES_MULTILINE) != 0, k.multiline) << k.type;
      EXPECT_EQ((style & ES_RIGHT) != 0, k.right) << k.type;
    }
  }
  api.PChoice_SetOtherType(choice, 42);  // no such kind: the plain editor
  EXPECT_EQ(api.PChoice_GetOtherType(choice), PChoice_OtherPEdit);

  HWND other = FindByName(Window(choice), "Choice_Other");
  api.PChoice_SetListIndex(choice, 0);
  EXPECT_FALSE(::IsWindowVisible(other)) << "hidden while another line is chosen";
  api.PChoice_SetListIndex(choice, 1);
  EXPECT_TRUE(::IsWindowVisible(other));
  api.PChoice_SetOtherText(choice, "per b\xC3\xB3\xC3\xB3t");
  EXPECT_EQ(WindowText(other), "per b\xC3\xB3\xC3\xB3t");
  EXPECT_EQ(Read(api.PChoice_GetOtherText, choice), "per b\xC3\xB3\xC3\xB3t");
  Recorder changes;
  api.PChoice_SetOnChange(choice, Record, &changes);
  Click(other, 60, 5);
  Press(VK_END);
  Type(other, "!");
  EXPECT_TRUE(WaitFor([&] { return changes.calls >= 1; })) << "the editor's change reaches the host";
  EXPECT_EQ(Read(api.PChoice_GetOtherText, choice), "per b\xC3\xB3\xC3\xB3t!");
  api.PChoice_SetOtherIsActive(choice, 0);
  EXPECT_EQ(api.PChoice_GetOtherIsActive(choice), 0);
  EXPECT_TRUE(WaitFor([&] {
    HWND gone = FindByName(Window(choice), "Choice_Other");
    return gone == nullptr || !::IsWindowVisible(gone);
  }));
}

TEST_F(ChoiceTest, LayoutFollowsDirectionOrderAndFit) {
  OrvalisControl* choice = Make(api.PChoice_Create, "Choice", 8, 8, 300, 40);
  ASSERT_NE(choice, nullptr);
  api.PChoice_SetLines(choice, "een\ntwee\ndrie\nvier");
  auto at = [&](int i) { return Rect(FindByName(Window(choice), "Choice_" + std::to_string(i))); };
  // Vertical and in order: each line below the one before.
  EXPECT_EQ(api.PChoice_GetHorizontal(choice), 0);
  EXPECT_EQ(api.PChoice_GetInvertedList(choice), 0);
  EXPECT_GT(at(1).top, at(0).top);
  api.PChoice_SetInvertedList(choice, 1);
  EXPECT_EQ(api.PChoice_GetInvertedList(choice), 1);
  EXPECT_LT(at(1).top, at(0).top) << "inverted: the first line at the bottom";
  api.PChoice_SetInvertedList(choice, 0);
  api.PChoice_SetHorizontal(choice, 1);
  EXPECT_EQ(api.PChoice_GetHorizontal(choice), 1);
  EXPECT_EQ(at(1).top, at(0).top);
  EXPECT_GT(at(1).left, at(0).left) << "horizontal: side by side";
  api.PChoice_SetHorizontal(choice, 0);

  // The lines do not fit 40 pixels; Fit makes the control, and the window
  // the host sees, exactly as tall as AutoHeight.
  const int needed = api.PChoice_GetAutoHeight(choice);
  EXPECT_GT(needed, 4 * 17);
  api.PChoice_Fit(choice);
  EXPECT_EQ(Rect(Window(choice)).bottom - Rect(Window(choice)).top, needed);
  const RECT site = Rect(::GetParent(Window(choice)));
  EXPECT_EQ(site.bottom - site.top, needed) << "the host's window grows with the control";
  EXPECT_GE(at(3).bottom, at(0).bottom + 3 * 17);
  EXPECT_LE(at(3).bottom, site.bottom) << "the last line is inside what the host shows";

  EXPECT_EQ(api.PChoice_GetAutoAlign(choice), 0);
  api.PChoice_SetAutoAlign(choice, 1);
  EXPECT_EQ(api.PChoice_GetAutoAlign(choice), 1);

  // Refresh builds the buttons again.
  HWND before = FindByName(Window(choice), "Choice_0");
  api.PChoice_Refresh(choice);
  HWND after = FindByName(Window(choice), "Choice_0");
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_EQ(WindowText(after), " een ");
}

TEST_F(ChoiceTest, TextColourPaintsTheCaptionsAndDisablingReachesEveryButton) {
  OrvalisControl* choice = Make(api.PChoice_Create, "Choice", 8, 8, 200, 60);
  ASSERT_NE(choice, nullptr);
  api.PChoice_SetLines(choice, "MMMM\nWWWW");
  api.PControl_SetFont(choice, "Tahoma", 14, 1, 0);
  auto red = [&] {
    return Shot(FindByName(Window(choice), "Choice_0"))
        .Count(RECT{0, 0, 200, 30}, [](COLORREF p) { return p == RGB(255, 0, 0); });
  };
  EXPECT_EQ(red(), 0);
  api.PChoice_SetTextColor(choice, 0x0000FF);
  EXPECT_EQ(api.PChoice_GetTextColor(choice), 0x0000FFu);
  EXPECT_GT(red(), 10) << "the captions in the text colour";
  api.PControl_SetEnabled(choice, 0);
  for (int i = 0; i < 2; ++i)
    EXPECT_FALSE(::IsWindowEnabled(FindByName(Window(choice), "Choice_" + std::to_string(i)))) << i;
}

// ---------------------------------------------------------------- PLineEdit and PVar

// What the host's variable editor does: reads the variable it is lent, fills
// a new one and accepts it, or refuses.
struct VarEditor {
  int calls = 0;
  int accept = 1;
  int lastEdit = -1;
  int lastKind = -1;
  int left = 0, top = 0;
  std::string seenCaption;
  std::vector<std::string> seenItems;
};

int ORVALIS_CALL EditVar(void* context, OrvalisControl*, OrvalisVar* var, int edit, int left, int top) {
  auto& e = *static_cast<VarEditor*>(context);
  ++e.calls;
  e.lastEdit = edit;
  e.left = left;
  e.top = top;
  e.lastKind = api.PVar_GetKind(var);
  e.seenCaption = Read(api.PVar_GetCaption, var);
  e.seenItems.clear();
  for (int i = 0; i < api.PVar_GetItemCount(var); ++i) e.seenItems.push_back(Read(api.PVar_GetItem, var, i));
  if (e.calls == 1) {
    api.PVar_SetCaption(var, "Omzet \xE2\x82\xAC");
    api.PVar_SetHint(var, "Omzet per m\xC3\xA5nd");
    api.PVar_AddItem(var, "weg");
    api.PVar_ClearItems(var);
    api.PVar_AddItem(var, "jan");
    api.PVar_AddItem(var, "f\xC3\xA9" "b");
    EXPECT_EQ(Read(api.PVar_GetHint, var), "Omzet per m\xC3\xA5nd");
    EXPECT_EQ(Read(api.PVar_GetItem, var, 1), "f\xC3\xA9" "b");
    EXPECT_EQ(Read(api.PVar_GetItem, var, 2), "");
  }
  if (e.lastKind == 1) {
    api.PVar_SetTextValue(var, "t\xC3\xABkst");
    EXPECT_EQ(Read(api.PVar_GetTextValue, var), "t\xC3\xABkst");
    api.PVar_SetKind(var, 0);
    EXPECT_EQ(api.PVar_GetKind(var), 0);
    api.PVar_SetKind(var, 1);
    api.PVar_SetCaption(var, "Naam");
  }
  return e.accept;
}

using FormulaTest = HostTest;

TEST_F(FormulaTest, TypedTokensAndTheHostsVariablesMakeTheStoredForm) {
  OrvalisControl* formula = Make(api.PLineEdit_Create, "Formula", 8, 8, 300, 60);
  ASSERT_NE(formula, nullptr);
  HWND window = Window(formula);
  Recorder changes;
  VarEditor editor;
  api.PLineEdit_SetOnChange(formula, Record, &changes);
  api.PLineEdit_SetOnEditVar(formula, EditVar, &editor);
  api.PControl_SetFocus(formula);
  Type(window, "2*");
  EXPECT_EQ(changes.calls, 2);
  EXPECT_EQ(changes.control, formula);
  Type(window, "v");  // asks the host for a new variable
  ASSERT_EQ(editor.calls, 1);
  EXPECT_EQ(editor.lastEdit, 1);
  EXPECT_EQ(editor.lastKind, 0);
  EXPECT_EQ(editor.seenCaption, "");
  RECT r = Rect(window);
  EXPECT_TRUE(editor.left >= r.left && editor.left <= r.right && editor.top >= r.top && editor.top <= r.bottom)
      << "the editor's place is at the caret on the screen";
  EXPECT_EQ(WindowText(window), "2*[Omzet \xE2\x82\xAC]");
  EXPECT_EQ(api.PLineEdit_CanEdit(formula), 1) << "the caret stands after the variable";

  editor.accept = 0;
  Type(window, "\"");  // a text variable, refused by the host
  EXPECT_EQ(editor.calls, 2);
  EXPECT_EQ(editor.lastKind, 1);
  EXPECT_EQ(WindowText(window), "2*[Omzet \xE2\x82\xAC]") << "a refused variable stays out";
  editor.accept = 1;
  Type(window, "+\"");
  EXPECT_EQ(WindowText(window), "2*[Omzet \xE2\x82\xAC]+[Naam]");

  // The stored form keeps the tokens and the variables' definitions; it loads back.
  const std::string stored = Read(api.PLineEdit_GetText, formula);
  EXPECT_EQ(stored.rfind("2*V+V@~", 0), 0u) << stored;
  // Loading lends each variable to the host (edit 0), which gives the captions.
  OrvalisControl* copy = Make(api.PLineEdit_Create, "Copy", 8, 80, 300, 60);
  ASSERT_NE(copy, nullptr);
  VarEditor loader;
  loader.calls = 1;  // fills nothing in
  api.PLineEdit_SetOnEditVar(copy, EditVar, &loader);
  api.PLineEdit_SetText(copy, stored.c_str());
  EXPECT_EQ(loader.calls, 3);
  EXPECT_EQ(loader.lastEdit, 0);
  EXPECT_EQ(loader.lastKind, 1) << "the second variable is a text variable";
  EXPECT_EQ(Read(api.PLineEdit_GetText, copy), stored);
  EXPECT_EQ(WindowText(Window(copy)), "2*[]+[Naam]") << "the host gave the text variable its caption";

  // A double click on the first variable lends it to the host again.
  const int calls = editor.calls;
  api.PLineEdit_SetSelStart(formula, 3);  // into "[Omzet €]": the caret goes after it
  EXPECT_EQ(api.PLineEdit_GetSelStart(formula), 11);
  DoubleClick(window, 40, 8);
  EXPECT_TRUE(WaitFor([&] { return editor.calls == calls + 1; }));
  EXPECT_EQ(editor.lastEdit, 1);
  EXPECT_EQ(editor.seenCaption, "Omzet \xE2\x82\xAC");
  EXPECT_EQ(editor.seenItems, (std::vector<std::string>{"jan", "f\xC3\xA9" "b"}));

  api.PLineEdit_SetOnEditVar(formula, nullptr, nullptr);
  api.PLineEdit_SetOnChange(formula, nullptr, nullptr);
  changes.calls = 0;
  Press(VK_END);
  Type(window, "v1");
  EXPECT_EQ(WindowText(window), "2*[Omzet \xE2\x82\xAC]+[Naam]1") << "without the event \"v\" inserts nothing";
  EXPECT_EQ(changes.calls, 0) << "removed";
}

TEST_F(FormulaTest, ConstantsSelectionLockAndTokens) {
  OrvalisControl* formula = Make(api.PLineEdit_Create, "Formula", 8, 8, 300, 60);
  ASSERT_NE(formula, nullptr);
  HWND window = Window(formula);
  api.PLineEdit_AddConst(formula, "BTW");
  api.PLineEdit_AddConst(formula, "Kort\xC3\xADng");
  api.PLineEdit_SetText(formula, "1+2");
  api.PLineEdit_SetSelStart(formula, 3);
  api.PLineEdit_InsertConst(formula, 1);
  api.PLineEdit_InsertConst(formula, 21);  // "V" is the variable token: refused
  EXPECT_EQ(WindowText(window), "1+2{Kort\xC3\xADng}");
  EXPECT_EQ(Read(api.PLineEdit_GetText, formula), "1+2B");
  api.PLineEdit_ClearConstList(formula);
  EXPECT_EQ(WindowText(window), "1+2{B}") << "without the list the letter shows";

  api.PLineEdit_SetSelStart(formula, 1);
  EXPECT_EQ(api.PLineEdit_GetSelStart(formula), 1);
  api.PLineEdit_SetSelLength(formula, 2);
  EXPECT_EQ(api.PLineEdit_GetSelLength(formula), 2);
  EXPECT_EQ(api.PLineEdit_CanEdit(formula), 0) << "no variable before the caret";

  api.PLineEdit_DeletePos(formula, 2);  // the "+"
  EXPECT_EQ(Read(api.PLineEdit_GetText, formula), "12B");

  EXPECT_EQ(api.PLineEdit_GetLocked(formula), 0);
  api.PLineEdit_SetLocked(formula, 1);
  EXPECT_EQ(api.PLineEdit_GetLocked(formula), 1);
  api.PControl_SetFocus(formula);
  Type(window, "9");
  EXPECT_EQ(Read(api.PLineEdit_GetText, formula), "12B") << "a locked formula takes no keys";
  api.PLineEdit_SetLocked(formula, 0);
  Type(window, "9");
  EXPECT_NE(Read(api.PLineEdit_GetText, formula), "12B");

  EXPECT_EQ(api.PLineEdit_GetType(formula), 0);
  api.PLineEdit_SetType(formula, 1);
  EXPECT_EQ(api.PLineEdit_GetType(formula), 1);

  // Display puts the formula back when something else wrote into the window.
  const std::string shown = WindowText(window);
  ::SetWindowTextW(window, L"rommel");
  api.PLineEdit_Display(formula);
  EXPECT_EQ(WindowText(window), shown);
}

TEST_F(FormulaTest, CheckScrollingShowsTheScrollBarOnlyWhenTheRowsFillTheWindow) {
  OrvalisControl* formula = Make(api.PLineEdit_Create, "Formula", 8, 8, 120, 40);
  ASSERT_NE(formula, nullptr);
  HWND window = Window(formula);
  std::string tokens;
  for (int i = 0; i < 60; ++i) tokens += "1+";
  tokens += "1";
  api.PLineEdit_SetText(formula, tokens.c_str());
  EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL) << "the rows fill the window";
  api.PControl_SetBounds(formula, 8, 8, 600, 400);
  api.PLineEdit_CheckScrolling(formula);
  EXPECT_FALSE(::GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL) << "room enough after growing";
  api.PControl_SetBounds(formula, 8, 8, 120, 40);
  api.PLineEdit_CheckScrolling(formula);
  EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL);
}

// ---------------------------------------------------------------- PComboBox

std::string ComboLine(HWND combo, int index) {
  const auto length = ::SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (length < 0) return "(none)";
  std::wstring text(std::size_t(length) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::size_t(length));
  return Narrow(text);
}

using ComboTest = HostTest;

TEST_F(ComboTest, TaggedItemsAreFoundByTagAndDataAndShownInTheList) {
  OrvalisControl* combo = Make(api.PComboBox_Create, "Combo", 8, 8, 200, 200);
  ASSERT_NE(combo, nullptr);
  HWND window = Window(combo);
  EXPECT_EQ(api.PComboBox_AddTag(combo, "Amsterdam", "AMS", "Hoofdstad"), 1);
  EXPECT_EQ(api.PComboBox_AddTag(combo, "\xC3\x96sterreich", "AUT", ""), 1);  // "Österreich"
  EXPECT_EQ(api.PComboBox_AddTag(combo, "Nog eens", "AMS", "dubbel"), 0) << "the tag is taken already";
  EXPECT_EQ(api.PComboBox_InsertTag(combo, 0, "Utrecht", "UTR", "Domstad"), 1);
  EXPECT_EQ(api.PComboBox_InsertTag(combo, 1, "Dubbel", "UTR", ""), 0) << "the tag is taken already";
  EXPECT_EQ(api.PComboBox_InsertTag(combo, 9, "Ver weg", "VER", ""), 0) << "beyond the end";
  ASSERT_EQ(api.PComboBox_GetCount(combo), 3);
  EXPECT_EQ(::SendMessageW(window, CB_GETCOUNT, 0, 0), 3);
  const char* captions[] = {"Utrecht", "Amsterdam", "\xC3\x96sterreich"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Read(api.PComboBox_GetItem, combo, i), captions[i]);
    EXPECT_EQ(ComboLine(window, i), captions[i]);
  }
  EXPECT_EQ(Read(api.PComboBox_GetItem, combo, 3), "");

  api.PComboBox_SetTag(combo, "ams");  // ignoring case
  EXPECT_EQ(api.PComboBox_GetPItemIndex(combo), 1);
  EXPECT_EQ(::SendMessageW(window, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Read(api.PComboBox_GetTag, combo), "AMS");
  EXPECT_EQ(HintOf(window), "Hoofdstad") << "the selected item's hint is the tool tip";
  api.PComboBox_SetPItemIndex(combo, 2);
  EXPECT_EQ(Read(api.PComboBox_GetTag, combo), "AUT");
  EXPECT_EQ(HintOf(window), "(no tool)") << "an item without a hint shows none";

  EXPECT_EQ(api.PComboBox_RenameTag(combo, "UTR", "Utreg"), 1);
  EXPECT_EQ(ComboLine(window, 0), "Utreg");
  EXPECT_EQ(api.PComboBox_RenameTag(combo, "XYZ", "niets"), 0);
  EXPECT_EQ(api.PComboBox_DeleteTag(combo, "AUT"), 1);
  EXPECT_EQ(api.PComboBox_DeleteTag(combo, "AUT"), 0);
  EXPECT_EQ(api.PComboBox_GetCount(combo), 2);
  EXPECT_EQ(::SendMessageW(window, CB_GETCOUNT, 0, 0), 2);

  api.PComboBox_Clear(combo);
  EXPECT_EQ(api.PComboBox_GetCount(combo), 0);
  EXPECT_EQ(::SendMessageW(window, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(api.PComboBox_GetPItemIndex(combo), -1);
}

TEST_F(ComboTest, DataItemsTagListsAndTheUsersChoice) {
  OrvalisControl* combo = Make(api.PComboBox_Create, "Combo", 8, 8, 200, 200);
  ASSERT_NE(combo, nullptr);
  HWND window = Window(combo);
  api.PComboBox_Add(combo, "\xC3\xA9\xC3\xA9n", 10);
  api.PComboBox_Add(combo, "twee", 20);
  api.PComboBox_Add(combo, "drie", 30);
  EXPECT_EQ(api.PComboBox_AddTag(combo, "vier", "4", ""), 0) << "the tag list is out of step after Add";
  api.PComboBox_SetData(combo, 20);
  EXPECT_EQ(api.PComboBox_GetData(combo), 20);
  EXPECT_EQ(api.PComboBox_GetPItemIndex(combo), 1);
  EXPECT_EQ(api.PComboBox_RenameData(combo, 30, "DRIE"), 1);
  EXPECT_EQ(ComboLine(window, 2), "DRIE");
  EXPECT_EQ(api.PComboBox_RenameData(combo, 99, "x"), 0);
  api.PComboBox_SetTagList(combo, "een\r\ntwee\ndrie");
  api.PComboBox_SetHintList(combo, "Eerste\nTweede\nDerde");
  api.PComboBox_SetTag(combo, "DRIE");
  EXPECT_EQ(api.PComboBox_GetData(combo), 30);
  EXPECT_EQ(HintOf(window), "Derde");
  EXPECT_EQ(api.PComboBox_DeleteData(combo, 10), 1);
  EXPECT_EQ(api.PComboBox_DeleteData(combo, 10), 0);
  EXPECT_EQ(ComboLine(window, 0), "twee");

  Recorder changes;
  api.PComboBox_SetOnChange(combo, Record, &changes);
  api.PComboBox_SetPItemIndex(combo, 0);
  EXPECT_EQ(changes.calls, 0) << "the host's own choice raises nothing";
  api.PControl_SetFocus(combo);
  Press(VK_DOWN);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; })) << "the user's choice";
  EXPECT_EQ(changes.control, combo);
  EXPECT_EQ(api.PComboBox_GetPItemIndex(combo), 1);
  EXPECT_EQ(api.PComboBox_GetData(combo), 30);
  api.PComboBox_SetOnChange(combo, nullptr, nullptr);
  Press(VK_UP);
  EXPECT_TRUE(WaitFor([&] { return api.PComboBox_GetPItemIndex(combo) == 0; }));
  EXPECT_EQ(changes.calls, 1) << "removed";
}

// ---------------------------------------------------------------- PCheckListBox

std::string ListLine(HWND list, int index) {
  const auto length = ::SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) return "(none)";
  std::wstring text(std::size_t(length) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::size_t(length));
  return Narrow(text);
}

// The client rectangle of a list's item.
RECT ItemRect(HWND list, int index) {
  RECT r{};
  ::SendMessageW(list, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

using CheckListTest = HostTest;

TEST_F(CheckListTest, ChecksAreReadAndWrittenAsTagsAndTheUsersClicksReachTheHost) {
  OrvalisControl* list = Make(api.PCheckListBox_Create, "Checks", 8, 8, 200, 120);
  ASSERT_NE(list, nullptr);
  HWND window = Window(list);
  EXPECT_EQ(api.PCheckListBox_AddTag(list, "\xC3\x89\xC3\xA9n", "T1"), 1);
  EXPECT_EQ(api.PCheckListBox_AddTag(list, "Twee", "T2"), 1);
  EXPECT_EQ(api.PCheckListBox_AddTag(list, "Drie", "T3"), 1);
  EXPECT_EQ(api.PCheckListBox_GetItemCount(list), 3);
  EXPECT_EQ(::SendMessageW(window, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ListLine(window, 0), "\xC3\x89\xC3\xA9n");

  EXPECT_EQ(api.PCheckListBox_GetChecked(list, 1), 0);
  api.PCheckListBox_SetChecked(list, 1, 1);
  EXPECT_EQ(api.PCheckListBox_GetChecked(list, 1), 1);
  EXPECT_EQ(Read(api.PCheckListBox_GetTags, list), "T2");
  api.PCheckListBox_SetTags(list, "T1\nT3");
  EXPECT_EQ(Read(api.PCheckListBox_GetTags, list), "T1\nT3");
  EXPECT_EQ(api.PCheckListBox_GetChecked(list, 1), 0);

  Recorder clicks;
  api.PCheckListBox_SetOnClickCheck(list, RecordValue, &clicks);
  const RECT second = ItemRect(window, 1);
  Click(window, second.left + 6, (second.top + second.bottom) / 2);  // on its box
  EXPECT_TRUE(WaitFor([&] { return clicks.calls == 1; }));
  EXPECT_EQ(clicks.value, 1);
  EXPECT_EQ(clicks.control, list);
  EXPECT_EQ(Read(api.PCheckListBox_GetTags, list), "T1\nT2\nT3");
  Click(window, second.left + 120, (second.top + second.bottom) / 2);  // on its caption: selects only
  EXPECT_EQ(clicks.calls, 1);
  Type(window, " ");  // Space toggles the item with the caret
  EXPECT_TRUE(WaitFor([&] { return clicks.calls == 2; }));
  EXPECT_EQ(api.PCheckListBox_GetChecked(list, 1), 0);
  api.PCheckListBox_SetOnClickCheck(list, nullptr, nullptr);
  Type(window, " ");
  EXPECT_EQ(api.PCheckListBox_GetChecked(list, 1), 1);
  EXPECT_EQ(clicks.calls, 2) << "removed";

  api.PCheckListBox_Add(list, "zonder tag");
  EXPECT_EQ(api.PCheckListBox_GetItemCount(list), 4);
  EXPECT_EQ(api.PCheckListBox_AddTag(list, "Vijf", "T5"), 0) << "the tags are out of step after Add";
  api.PCheckListBox_Clear(list);
  EXPECT_EQ(api.PCheckListBox_GetItemCount(list), 0);
  EXPECT_EQ(::SendMessageW(window, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(CheckListTest, LoadThemeFollowsTheStylesOfTheWindow) {
  OrvalisControl* list = Make(api.PCheckListBox_Create, "Checks", 8, 8, 200, 60);
  ASSERT_NE(list, nullptr);
  HWND window = Window(list);
  api.PCheckListBox_AddTag(list, "Een", "1");
  api.PCheckListBox_SetChecked(list, 0, 1);
  const Shot themed(window);
  StylesOf(window, false);
  api.PCheckListBox_LoadTheme(list);
  const Shot classic(window);
  StylesOf(window, true);
  api.PCheckListBox_LoadTheme(list);
  const Shot again(window);
  EXPECT_TRUE(Differ(themed, classic)) << "the classic box without styles";
  EXPECT_FALSE(Differ(themed, again));
}

// ---------------------------------------------------------------- PTreeView and PTreeItem

HTREEITEM NodeNamed(HWND tree, const std::string& text) {
  for (HTREEITEM n = TreeView_GetRoot(tree); n;) {
    wchar_t buffer[300] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = n;
    item.pszText = buffer;
    item.cchTextMax = 300;
    TreeView_GetItem(tree, &item);
    if (Narrow(buffer) == text) return n;
    HTREEITEM next = TreeView_GetChild(tree, n);
    if (!next) next = TreeView_GetNextSibling(tree, n);
    for (HTREEITEM up = n; !next && up;) {
      up = TreeView_GetParent(tree, up);
      if (up) next = TreeView_GetNextSibling(tree, up);
    }
    n = next;
  }
  return nullptr;
}

bool Expanded(HWND tree, HTREEITEM node) {
  return (TreeView_GetItemState(tree, node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

// A click on a node's caption, as the user makes it.
void ClickNode(HWND tree, HTREEITEM node, bool ctrl = false) {
  RECT r{};
  TreeView_GetItemRect(tree, node, &r, TRUE);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON | (ctrl ? MK_CONTROL : 0), at);
  ::PostMessageW(tree, WM_LBUTTONUP, ctrl ? MK_CONTROL : 0, at);
  WaitFor([] { return HIWORD(::GetQueueStatus(QS_ALLINPUT)) == 0; }, 2000);
}

using TreeTest = HostTest;

// Fruit (1) with Apple (2, "AP") and Pear (3, "PE"); Vegetables (4, "VEG") with Leek (5).
struct Garden {
  OrvalisTreeItem *root, *fruit, *apple, *pear, *vegetables, *leek;
};

Garden Plant(OrvalisControl* tree) {
  Garden g{};
  g.root = api.PTreeView_GetRoot(tree);
  g.fruit = api.PTreeItem_AddChild(g.root, "Fruit", 1);
  g.apple = api.PTreeItem_AddChild(g.fruit, "Appel \xF0\x9F\x8D\x8E", 2);  // "Appel 🍎"
  g.pear = api.PTreeItem_AddChild(g.fruit, "Peer", 3);
  g.vegetables = api.PTreeItem_AddChild(g.root, "Groente", 4);
  g.leek = api.PTreeItem_AddChild(g.vegetables, "Prei", 5);
  api.PTreeItem_SetTag(g.apple, "AP");
  api.PTreeItem_SetTag(g.pear, "PE");
  api.PTreeItem_SetTag(g.vegetables, "VEG");
  return g;
}

TEST_F(TreeTest, ItemsHoldWhatTheHostGivesThem) {
  OrvalisControl* tree = Make(api.PTreeView_Create, "Tree", 8, 8, 240, 200);
  ASSERT_NE(tree, nullptr);
  const Garden g = Plant(tree);
  EXPECT_EQ(api.PTreeItem_GetChildCount(g.root), 2);
  EXPECT_EQ(api.PTreeItem_GetChildCount(g.fruit), 2);
  EXPECT_EQ(api.PTreeItem_GetChild(g.fruit, 1), g.pear);
  EXPECT_EQ(api.PTreeItem_GetChild(g.fruit, 2), nullptr);
  EXPECT_EQ(api.PTreeItem_GetChild(g.fruit, -1), nullptr);
  EXPECT_EQ(api.PTreeItem_GetParent(g.apple), g.fruit);
  EXPECT_EQ(api.PTreeItem_GetParent(g.fruit), g.root);
  EXPECT_EQ(Read(api.PTreeItem_GetText, g.apple), "Appel \xF0\x9F\x8D\x8E");
  EXPECT_EQ(api.PTreeItem_GetData(g.apple), 2);
  EXPECT_EQ(Read(api.PTreeItem_GetTag, g.apple), "AP");
  EXPECT_EQ(Read(api.PTreeItem_GetTag, g.fruit), "");
  api.PTreeItem_SetText(g.leek, "Pr\xC3\xAB\xC3\xAB");
  api.PTreeItem_SetData(g.leek, 55);
  EXPECT_EQ(Read(api.PTreeItem_GetText, g.leek), "Pr\xC3\xAB\xC3\xAB");
  EXPECT_EQ(api.PTreeItem_GetData(g.leek), 55);
  api.PTreeItem_SetImages(g.fruit, 3, 4);

  api.PTreeView_CreateNodes(tree, g.root);
  HWND window = Window(tree);
  EXPECT_EQ(TreeView_GetCount(window), 2u) << "the top items; the others as their parents open";
  HTREEITEM fruit = NodeNamed(window, "Fruit");
  ASSERT_NE(fruit, nullptr);
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = fruit;
  TreeView_GetItem(window, &item);
  EXPECT_EQ(item.iImage, 3);
  EXPECT_EQ(item.iSelectedImage, 4);
  api.PTreeView_Expand(tree, g.vegetables);
  EXPECT_NE(NodeNamed(window, "Pr\xC3\xAB\xC3\xAB"), nullptr) << "the node shows the item's text";
}

TEST_F(TreeTest, NodesOpenAndCloseAsTheHostAsks) {
  OrvalisControl* tree = Make(api.PTreeView_Create, "Tree", 8, 8, 240, 200);
  ASSERT_NE(tree, nullptr);
  HWND window = Window(tree);
  const Garden g = Plant(tree);
  api.PTreeView_CreateNodes(tree, g.root);
  api.PTreeView_Expand(tree, g.fruit);
  api.PTreeView_Expand(tree, g.vegetables);
  EXPECT_EQ(TreeView_GetCount(window), 5u);
  EXPECT_TRUE(Expanded(window, NodeNamed(window, "Fruit")));
  api.PTreeView_Collapse(tree, g.fruit);
  EXPECT_FALSE(Expanded(window, NodeNamed(window, "Fruit")));
  EXPECT_TRUE(Expanded(window, NodeNamed(window, "Groente")));

  EXPECT_EQ(api.PTreeView_GetOrgFullCollapse(tree), 0);
  api.PTreeView_SetOrgFullCollapse(tree, 1);
  EXPECT_EQ(api.PTreeView_GetOrgFullCollapse(tree), 1);
  api.PTreeView_FullCollapse(tree);
  EXPECT_TRUE(Expanded(window, NodeNamed(window, "Groente"))) << "the original full collapse leaves the tree open";
  api.PTreeView_SetOrgFullCollapse(tree, 0);
  api.PTreeView_FullCollapse(tree);
  EXPECT_FALSE(Expanded(window, NodeNamed(window, "Groente")));

  api.PTreeView_Clear(tree);
  EXPECT_EQ(TreeView_GetCount(window), 0u);
  EXPECT_EQ(api.PTreeItem_GetChildCount(api.PTreeView_GetRoot(tree)), 0);
}

TEST_F(TreeTest, SelectionByItemTagAndDataAndTheUsersClicks) {
  OrvalisControl* tree = Make(api.PTreeView_Create, "Tree", 8, 8, 240, 200);
  ASSERT_NE(tree, nullptr);
  HWND window = Window(tree);
  const Garden g = Plant(tree);
  api.PTreeView_CreateNodes(tree, g.root);
  Recorder changes;
  api.PTreeView_SetOnChanged(tree, Record, &changes);

  api.PTreeView_SetTag(tree, "pe");  // ignoring case, opening what it takes
  EXPECT_EQ(api.PTreeView_GetSelectedItem(tree), g.pear);
  EXPECT_EQ(Read(api.PTreeView_GetTag, tree), "PE");
  EXPECT_EQ(api.PTreeView_GetData(tree), 3);
  EXPECT_EQ(api.PTreeView_GetHasTag(tree), 1);
  EXPECT_EQ(Read(api.PTreeView_GetText, tree), "Peer");
  EXPECT_EQ(TreeView_GetSelection(window), NodeNamed(window, "Peer"));
  api.PTreeView_SetData(tree, 1);
  EXPECT_EQ(api.PTreeView_GetSelectedItem(tree), g.fruit);
  EXPECT_EQ(api.PTreeView_GetHasTag(tree), 0);
  EXPECT_EQ(Read(api.PTreeView_GetTag, tree), "");
  api.PTreeView_SetSelectedItem(tree, g.apple);
  EXPECT_EQ(api.PTreeView_GetData(tree), 2);
  EXPECT_EQ(Read(api.PTreeView_GetTags, tree), "AP\nPE\nVEG");

  changes.calls = 0;
  ClickNode(window, NodeNamed(window, "Groente"));
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; })) << "the user's click";
  EXPECT_EQ(changes.control, tree);
  EXPECT_EQ(api.PTreeView_GetSelectedItem(tree), g.vegetables);
  Press(VK_UP);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 2; })) << "the user's key";
  EXPECT_EQ(api.PTreeView_GetSelectedItem(tree), g.pear);

  // A tree that needs tags refuses a node without one.
  EXPECT_EQ(api.PTreeView_GetNeedTag(tree), 0);
  api.PTreeView_SetNeedTag(tree, 1);
  EXPECT_EQ(api.PTreeView_GetNeedTag(tree), 1);
  ClickNode(window, NodeNamed(window, "Fruit"));
  EXPECT_EQ(api.PTreeView_GetSelectedItem(tree), g.pear);
  api.PTreeView_SetNeedTag(tree, 0);

  api.PTreeView_SetOnChanged(tree, nullptr, nullptr);
  ClickNode(window, NodeNamed(window, "Fruit"));
  EXPECT_TRUE(WaitFor([&] { return api.PTreeView_GetSelectedItem(tree) == g.fruit; }));
  EXPECT_EQ(changes.calls, 2) << "removed";
}

TEST_F(TreeTest, MultiSelectionCollectsControlClicks) {
  OrvalisControl* tree = Make(api.PTreeView_Create, "Tree", 8, 8, 240, 200);
  ASSERT_NE(tree, nullptr);
  HWND window = Window(tree);
  const Garden g = Plant(tree);
  api.PTreeView_CreateNodes(tree, g.root);
  api.PTreeView_Expand(tree, g.fruit);
  EXPECT_EQ(api.PTreeView_GetMultiSelect(tree), 0);
  api.PTreeView_SetMultiSelect(tree, 1);
  EXPECT_EQ(api.PTreeView_GetMultiSelect(tree), 1);
  ClickNode(window, NodeNamed(window, "Appel \xF0\x9F\x8D\x8E"), true);
  ClickNode(window, NodeNamed(window, "Groente"), true);
  EXPECT_TRUE(WaitFor([&] { return api.PTreeView_GetSelCount(tree) == 2; }));
  EXPECT_EQ(api.PTreeView_GetSelItem(tree, 0), 2);
  EXPECT_EQ(api.PTreeView_GetSelItem(tree, 1), 4);
  EXPECT_EQ(api.PTreeView_GetSelItem(tree, 2), 0);
  ClickNode(window, NodeNamed(window, "Appel \xF0\x9F\x8D\x8E"), true);  // once more: out again
  EXPECT_TRUE(WaitFor([&] { return api.PTreeView_GetSelCount(tree) == 1; }));
  EXPECT_EQ(api.PTreeView_GetSelItem(tree, 0), 4);
}

TEST_F(TreeTest, LooksAreTheTreesWindowStyles) {
  OrvalisControl* tree = Make(api.PTreeView_Create, "Tree", 8, 8, 240, 200);
  ASSERT_NE(tree, nullptr);
  HWND window = Window(tree);
  auto styles = [&] { return DWORD(::GetWindowLongW(window, GWL_STYLE)) & (TVS_HASLINES | TVS_LINESATROOT | TVS_FULLROWSELECT); };
  const struct {
    int option;
    int asTree;
    DWORD styles;
  } cases[] = {
      {0, 0, TVS_FULLROWSELECT},                // dynamic, as a list
      {0, 1, TVS_HASLINES | TVS_LINESATROOT},   // dynamic, as a tree
      {1, 0, TVS_HASLINES | TVS_LINESATROOT},   // as a tree
      {2, 1, TVS_FULLROWSELECT},                // no tree lines
      {3, 0, TVS_HASLINES},                     // no root lines
  };
  for (const auto& c : cases) {
    api.PTreeView_SetTreeOption(tree, c.option);
    api.PTreeView_SetAsTree(tree, c.asTree);
    EXPECT_EQ(api.PTreeView_GetTreeOption(tree), c.option);
    EXPECT_EQ(styles(), c.styles) << c.option << "/" << c.asTree;
    EXPECT_EQ(api.PTreeView_GetAsTree(tree), (c.styles & TVS_FULLROWSELECT) ? 0 : 1) << c.option << "/" << c.asTree;
  }
  api.PTreeView_SetTreeOption(tree, 9);
  EXPECT_EQ(api.PTreeView_GetTreeOption(tree), 0) << "no such look: dynamic";
}

TEST_F(TreeTest, DoubleClicksReachTheHostAndToggleUnlessAsked) {
  OrvalisControl* tree = Make(api.PTreeView_Create, "Tree", 8, 8, 240, 200);
  ASSERT_NE(tree, nullptr);
  HWND window = Window(tree);
  const Garden g = Plant(tree);
  api.PTreeView_CreateNodes(tree, g.root);
  Recorder doubles;
  api.PTreeView_SetOnDblClick(tree, Record, &doubles);
  auto doubleClick = [&](const char* text) {
    RECT r{};
    TreeView_GetItemRect(window, NodeNamed(window, text), &r, TRUE);
    DoubleClick(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  doubleClick("Fruit");
  EXPECT_TRUE(WaitFor([&] { return doubles.calls == 1; }));
  EXPECT_EQ(doubles.control, tree);
  EXPECT_TRUE(WaitFor([&] { return Expanded(window, NodeNamed(window, "Fruit")); })) << "a double click opens the node";
  EXPECT_EQ(api.PTreeView_GetNoDblClick(tree), 0);
  api.PTreeView_SetNoDblClick(tree, 1);
  EXPECT_EQ(api.PTreeView_GetNoDblClick(tree), 1);
  doubleClick("Groente");
  EXPECT_TRUE(WaitFor([&] { return doubles.calls == 2; }));
  EXPECT_FALSE(Expanded(window, NodeNamed(window, "Groente"))) << "without toggling";
  api.PTreeView_SetOnDblClick(tree, nullptr, nullptr);
  doubleClick("Groente");
  EXPECT_EQ(doubles.calls, 2) << "removed";
}

}  // namespace
}  // namespace orvalis::capi_test
