// The rich text editor's window-free rules: spacing and tab values, the ruler,
// Tab/Enter/line-length typing, find, the menus by state, the tool bar table,
// shortcuts and the stored background.
#include "controls/rich/editor_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace orvalis::controls {
namespace {

TEST(EditorSpacing, RelativeAndExactTables) {
  std::vector<int> relative, exact;
  for (const auto& c : RelativeSpacings()) relative.push_back(c.value);
  for (const auto& c : ExactSpacings()) exact.push_back(c.value);
  EXPECT_EQ(relative, (std::vector<int>{22, 24, 26, 28, 30, 32, 34, 36, 38, 40, 50, 60}));
  EXPECT_EQ(exact, (std::vector<int>{57, 113, 170, 227, 283, 340, 397, 454, 510, 567, 850, 1134, 1417, 1701}));
  EXPECT_EQ(RelativeSpacings().front().caption, "1,1");
  EXPECT_EQ(RelativeSpacings().back().caption, "3,0");
  EXPECT_EQ(ExactSpacings()[0].caption, "0,1 cm");
  // 2,5 cm from the menu sets 1417 twips, exactly.
  const auto chosen = SpacingOfTag(kDropExactBase + 12);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->caption, "2,5 cm");
  EXPECT_EQ(chosen->rule, kSpacingExactly);
  EXPECT_EQ(chosen->value, 1417);
  EXPECT_EQ(SpacingOfTag(kDropRelativeBase + 11)->value, 60);
  EXPECT_EQ(SpacingOfTag(kDropSingle)->rule, kSpacingSingle);
  EXPECT_FALSE(SpacingOfTag(kDropExactBase + 14));
  EXPECT_FALSE(SpacingOfTag(kDropBackColor));
}

TEST(EditorTabs, TypeInTheHighPart) {
  struct Case {
    int value;
    TabKind kind;
    int position;
  } const cases[] = {
      {0, TabKind::Left, 0},
      {72, TabKind::Left, 72},
      {838859, TabKind::Left, 838859},
      {838860, TabKind::Center, 0},
      {838860 + 72, TabKind::Center, 72},
      {1677720, TabKind::Center, 838860},
      {1677721, TabKind::Right, 0},
      {1677721 + 144, TabKind::Right, 144},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TabKindOf(c.value), c.kind) << c.value;
    EXPECT_EQ(TabPosition(c.value), c.position) << c.value;
  }
  // The rich edit form: twips with the type byte, and back.
  EXPECT_EQ(TabToTwipsForm(TabValue(TabKind::Center, 72)), (1 << 24) | 1440);
  EXPECT_EQ(TabToTwipsForm(TabValue(TabKind::Right, 36)), (2 << 24) | 720);
  for (int v : {36, 838860 + 36, 1677721 + 500}) EXPECT_EQ(TabFromTwipsForm(TabToTwipsForm(v)), v);
  // The value a rich edit window's type byte gives, divided by 20 as points.
  EXPECT_EQ(TabFromTwipsForm((1 << 24) | 1440), ((1 << 24) | 1440) / 20);
}

TEST(EditorTabs, CyclingAndSortedInsertion) {
  EXPECT_EQ(CycleTab(TabValue(TabKind::Right, 50), false), 50);
  EXPECT_EQ(CycleTab(TabValue(TabKind::Center, 50), false), TabValue(TabKind::Right, 50));
  EXPECT_EQ(CycleTab(50, false), 50);  // never centred without advanced typography
  EXPECT_EQ(CycleTab(50, true), TabValue(TabKind::Center, 50));

  std::vector<int> tabs = {36, TabValue(TabKind::Right, 144)};
  EXPECT_EQ(InsertTab(tabs, 72), 1);
  EXPECT_EQ(InsertTab(tabs, 10), 0);
  EXPECT_EQ(InsertTab(tabs, 200), 4);
  EXPECT_EQ(tabs, (std::vector<int>{10, 36, 72, TabValue(TabKind::Right, 144), 200}));
}

TEST(EditorRuler, HitTestAndUnits) {
  EXPECT_EQ(PointsToPixels(72, 100, 96), 96);
  EXPECT_EQ(PointsToPixels(72, 200, 96), 192);
  EXPECT_EQ(PixelsToPoints(96, 100, 96), 72);
  EXPECT_EQ(PixelsToPoints(192, 200, 96), 72);

  const RulerMarks marks{10, 30, 300, {100, 106, 200}};
  const int h = 16;  // reach 8 pixels
  struct Case {
    int x, y;
    RulerHit hit;
  } const cases[] = {
      {12, 2, {RulerPart::FirstIndent, -1}},
      {12, 12, {RulerPart::None, -1}},  // lower half near the first-line mark only
      {28, 12, {RulerPart::LeftIndent, -1}},
      {28, 2, {RulerPart::None, -1}},
      {305, 2, {RulerPart::RightIndent, -1}},
      {101, 5, {RulerPart::Tab, 0}},
      {104, 5, {RulerPart::Tab, 1}},  // the nearer of two tabs
      {209, 5, {RulerPart::None, -1}},
  };
  for (const Case& c : cases) EXPECT_EQ(HitRuler(marks, c.x, c.y, h), c.hit) << c.x << "," << c.y;
}

TEST(EditorTyping, TabOnASelectionIndentsEveryLineOfIt) {
  struct Case {
    const char* what;
    std::u16string text;
    int start, end;
    bool inSelection;
    std::vector<int> positions;
    int newStart, newEnd;
  } const cases[] = {
      {"three whole lines", u"ab\r\ncd\r\nef", 0, 10, false, {0, 4, 8}, 0, 13},
      {"from the middle of a line", u"ab\r\ncd\r\nef", 5, 9, false, {4, 8}, 6, 11},
      {"a line starting at the end stays", u"ab\r\ncd\r\nef", 0, 8, false, {0, 4}, 0, 10},
      {"the start line lies further back than 50 characters",
       u"x\r\n" + std::u16string(60, u'a') + u"\r\nb", 62, 66, false, {65}, 62, 67},
      {"only lines starting inside (Ctrl+Shift+I)", u"ab\r\ncd\r\nef", 1, 10, true, {4, 8}, 1, 12},
  };
  for (const Case& c : cases) {
    const IndentEdit edit = IndentLines(c.text, c.start, c.end, c.inSelection);
    EXPECT_EQ(edit.positions, c.positions) << c.what;
    EXPECT_EQ(edit.selStart, c.newStart) << c.what;
    EXPECT_EQ(edit.selEnd, c.newEnd) << c.what;
  }
  // The selection covers the same text as before with the TABs inside.
  std::u16string text = u"ab\r\ncd\r\nef";
  const IndentEdit edit = IndentLines(text, 5, 9, false);
  for (auto p = edit.positions.rbegin(); p != edit.positions.rend(); ++p) text.insert(std::size_t(*p), 1, u'\t');
  EXPECT_EQ(text.substr(std::size_t(edit.selStart), std::size_t(edit.selEnd - edit.selStart)), u"d\r\n\te");
}

TEST(EditorTyping, ShiftTabRemovesOneLeadingTab) {
  const std::u16string text = u"\tab\r\n\t\tcd\r\nef";
  const IndentEdit edit = OutdentLines(text, 0, 13, false);
  EXPECT_EQ(edit.positions, (std::vector<int>{0, 5}));  // "ef" has none to give
  EXPECT_EQ(edit.selStart, 0);
  EXPECT_EQ(edit.selEnd, 11);
  const IndentEdit inner = OutdentLines(text, 2, 13, false);
  EXPECT_EQ(inner.selStart, 1);  // the TAB before the selection went
}

TEST(EditorTyping, EnterStopsAtMaxLines) {
  EXPECT_TRUE(EnterAllowed("a\r\nb\r\nc", 0));
  EXPECT_TRUE(EnterAllowed("a\r\nb", 3));
  EXPECT_FALSE(EnterAllowed("a\r\nb\r\nc", 3));
  EXPECT_FALSE(EnterAllowed("", 1));  // one line at most: no Enter at all
}

TEST(EditorTyping, FullLineTakesOnlyNavigationAndEditingKeys) {
  struct Case {
    unsigned key;
    bool allowed;
  } const cases[] = {
      {'A', false}, {'1', false}, {0x20, false}, {0x09, false},  // letters, digits, space, Tab
      {0x0D, true}, {0x1B, true}, {0x08, true}, {0x2E, true}, {0x2D, true},  // Enter Esc Back Del Ins
      {0x21, true}, {0x22, true}, {0x23, true}, {0x24, true},  // PgUp PgDn End Home
      {0x25, true}, {0x26, true}, {0x27, true}, {0x28, true},  // arrows
      {0x10, true}, {0x11, true}, {0x12, true},                // Shift Ctrl Alt
      {0x70, true}, {0x87, true}, {0x88, false},               // F1, F24, beyond
  };
  for (const Case& c : cases) EXPECT_EQ(LineLengthAllows(5, false, 5, c.key), c.allowed) << c.key;
  EXPECT_TRUE(LineLengthAllows(5, false, 4, 'A'));
  EXPECT_TRUE(LineLengthAllows(5, true, 9, 'A'));  // typing over a selection
  EXPECT_TRUE(LineLengthAllows(0, false, 99, 'A'));
}

TEST(EditorFind, ForwardBackwardAndCase) {
  const std::u16string text = u"Abc abc ABC";
  struct Case {
    TextRange selection;
    const char16_t* what;
    bool matchCase, up;
    std::optional<TextRange> found;
  } const cases[] = {
      {{0, 0}, u"abc", false, false, TextRange{0, 3}},
      {{0, 3}, u"abc", false, false, TextRange{4, 7}},  // after the selection
      {{0, 3}, u"abc", true, false, TextRange{4, 7}},
      {{4, 7}, u"abc", true, false, std::nullopt},
      {{4, 7}, u"ABC", false, false, TextRange{8, 11}},
      {{8, 11}, u"abc", false, true, TextRange{4, 7}},  // ends before the selection start
      {{8, 11}, u"Abc", true, true, TextRange{0, 3}},
      {{5, 5}, u"abc", false, true, TextRange{0, 3}},  // "abc" at 4 does not end before 5
      {{0, 3}, u"abc", false, true, std::nullopt},
      {{0, 0}, u"", false, false, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindInText(text, c.what, c.selection, c.matchCase, c.up), c.found)
        << c.selection.start << " " << c.matchCase << c.up;
}

// Captions of the shown items, separators as "-".
std::vector<std::string> Shown(const std::vector<MenuEntry>& items, int parent = -1) {
  std::vector<std::string> out;
  for (const MenuEntry& e : items)
    if (e.shown && e.parent == parent) out.push_back(e.caption);
  return out;
}

const MenuEntry& ByTag(const std::vector<MenuEntry>& items, int tag) {
  return *std::find_if(items.begin(), items.end(), [&](const MenuEntry& e) { return e.tag == tag; });
}

TEST(EditorMenus, ContextMenuByState) {
  ContextMenuState plain;
  EXPECT_EQ(Shown(ContextMenuItems(plain)), (std::vector<std::string>{"Knippen", "Kopieren", "Plakken"}));
  EXPECT_FALSE(ByTag(ContextMenuItems(plain), kMenuCut).enabled);
  EXPECT_FALSE(ByTag(ContextMenuItems(plain), kMenuPaste).enabled);

  ContextMenuState full{false, true, true, true, true, {"Customer", "Period"}};
  const auto items = ContextMenuItems(full);
  EXPECT_EQ(Shown(items), (std::vector<std::string>{"Help", "-", "Cut", "Copy", "Paste", "-", "New field", "-",
                                                     "Edit"}));
  EXPECT_EQ(Shown(items, kMenuNewField), (std::vector<std::string>{"Customer", "Period"}));
  EXPECT_EQ(ByTag(items, kMenuFieldBase + 1).caption, "Period");
  for (int tag : {kMenuCut, kMenuCopy, kMenuPaste}) EXPECT_TRUE(ByTag(items, tag).enabled) << tag;

  // Dutch, with a selection but an empty clipboard; an empty field list leaves a plain item.
  ContextMenuState dutch{true, false, true, false, true, {}};
  const auto nl = ContextMenuItems(dutch);
  EXPECT_EQ(Shown(nl), (std::vector<std::string>{"Knippen", "Kopieren", "Plakken", "-", "Nieuw veld", "-",
                                                  "Bewerken"}));
  EXPECT_TRUE(Shown(nl, kMenuNewField).empty());
  EXPECT_TRUE(ByTag(nl, kMenuCopy).enabled);
  EXPECT_FALSE(ByTag(nl, kMenuPaste).enabled);
}

TEST(EditorMenus, DropDownByState) {
  DropDownState s;
  s.spacingRule = kSpacingExactly;
  s.spacingValue = 1417;
  auto items = DropDownItems(s);
  EXPECT_EQ(Shown(items), (std::vector<std::string>{"Regelruimte", "Achtergrondkleur tekstverwerker"}));
  EXPECT_EQ(Shown(items, kDropLineSpacing), (std::vector<std::string>{"Normaal", "T.o.v. Lettertype", "Exact"}));
  EXPECT_EQ(Shown(items, kDropExact).size(), 14u);
  EXPECT_TRUE(ByTag(items, kDropExact).checked);
  EXPECT_TRUE(ByTag(items, kDropExactBase + 12).checked);
  EXPECT_FALSE(ByTag(items, kDropSingle).checked);
  EXPECT_FALSE(ByTag(items, kDropRelative).checked);

  DropDownState e{false, true, true, true, {"Logo.small.bmp", "MAP.BMP"}, kSpacingSingle, 0};
  items = DropDownItems(e);
  EXPECT_EQ(Shown(items), (std::vector<std::string>{"LineSpacing", "Insert Object", "Paste Special",
                                                     "Special characters", "Backcolor editor", "Images"}));
  EXPECT_EQ(Shown(items, kDropImages), (std::vector<std::string>{"Logo.small", "MAP"}));
  EXPECT_EQ(Shown(items, kDropRelative).front(), "1,1");
  EXPECT_TRUE(ByTag(items, kDropSingle).checked);
  e.useOle = false;  // both settings are needed for the object items
  EXPECT_FALSE(ByTag(DropDownItems(e), kDropInsertObject).shown);
}

TEST(EditorMenus, NumberingPopup) {
  const auto items = NumberingMenu(2, true);
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[0].caption, "Geen");
  EXPECT_EQ(NumberingMenu(0, false)[0].caption, "None");
  EXPECT_EQ(items[6].caption, "I,II,III,...");
  for (const MenuEntry& e : items) EXPECT_EQ(e.checked, e.tag == 2) << e.tag;
}

TEST(EditorToolBar, HintsAndVisibility) {
  EXPECT_EQ(HintText(HintSlot::Copy, true), "Kopieren");
  EXPECT_EQ(HintText(HintSlot::StrikeOut, false), "StrikeOut");
  EXPECT_EQ(HintText(HintSlot::InsertObject, true), "Object invoegen");
  EXPECT_EQ(HintText(HintSlot::InsertField, false), "Insert field");
  EXPECT_EQ(HintText(HintSlot::None, false), "");
  for (int i = 0; i < kHintSlots; ++i) EXPECT_FALSE(HintText(HintSlot(i), true).empty()) << i;

  auto visible = [](const ToolBarState& s) {
    std::string out;
    for (const ToolItem& item : ToolItems())
      if (ToolItemVisible(item, s)) out += item.kind == ToolKind::Separator ? '|' : item.kind == ToolKind::Combo ? 'c' : 'b';
    return out;
  };
  EXPECT_EQ(visible({true, false, false, false, false}), "bbbb|bbbb|bbbb|b|cc|");
  EXPECT_EQ(visible({false, false, false, false, false}), "bbbb|");
  EXPECT_EQ(visible({false, true, true, true, true}), "b|bbbbb|bb");
  // The image of every button in the bitmap's order.
  std::vector<int> images;
  for (const ToolItem& item : ToolItems())
    if (item.image >= 0) images.push_back(item.image);
  EXPECT_EQ(images, (std::vector<int>{16, 12, 9, 10, 11, 13, 0, 1, 2, 3, 4, 5, 6, 8, 7, 14, 20}));
}

TEST(EditorToolBar, StyleButtonFromSelection) {
  EXPECT_EQ(StyleButton(true, true), ButtonState::Down);
  EXPECT_EQ(StyleButton(true, false), ButtonState::Up);
  EXPECT_EQ(StyleButton(false, true), ButtonState::Indeterminate);
}

TEST(EditorKeys, ShortcutTable) {
  struct Case {
    unsigned key;
    bool ctrl, shift, alt;
    EditorKey command;
  } const cases[] = {
      {'B', true, false, false, EditorKey::Bold},
      {'I', true, false, false, EditorKey::Italic},
      {'I', true, true, false, EditorKey::IndentLines},
      {'U', true, true, false, EditorKey::OutdentLines},
      {'1', true, false, false, EditorKey::Justify},
      {'P', true, false, false, EditorKey::Protect},
      {'C', true, true, false, EditorKey::CopyRichText},
      {'C', true, false, false, EditorKey::None},  // the window copies itself
      {0x0D, true, false, false, EditorKey::PageBreak},
      {0x0D, false, false, false, EditorKey::None},
      {0x72, false, false, false, EditorKey::FindNext},
      {0x72, true, false, false, EditorKey::FindDialog},
      {'F', true, false, false, EditorKey::FindDialog},
      {0x79, false, false, false, EditorKey::NewField},
      {0x79, true, false, false, EditorKey::None},
      {0x2D, false, true, false, EditorKey::Paste},
      {'B', false, false, false, EditorKey::None},
      {'E', true, false, true, EditorKey::None},  // AltGr+E types a character
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutOf(c.key, c.ctrl, c.shift, c.alt), c.command) << c.key;
}

TEST(EditorBackground, WhiteOrOwnColourClearsTheStoredValue) {
  EXPECT_EQ(StoredEditorColor(0xFFFFFF, 0xC0C0C0), std::nullopt);
  EXPECT_EQ(StoredEditorColor(0xC0C0C0, 0xC0C0C0), std::nullopt);
  EXPECT_EQ(StoredEditorColor(0x00FFFF, 0xFFFFFF), 0x00FFFFu);
}

TEST(EditorPrint, PagesUntilEverythingIsFormatted) {
  std::vector<int> firsts;
  EXPECT_EQ(PrintPages(250, [&](int first) { firsts.push_back(first); return first + 100; }), 3);
  EXPECT_EQ(firsts, (std::vector<int>{0, 100, 200}));
  EXPECT_EQ(PrintPages(250, [](int first) { return first; }), 1);  // a window that formats nothing
  EXPECT_EQ(PrintPages(0, [](int first) { return first + 1; }), 0);
}

TEST(EditorPasteSpecial, EntriesInOrderWithTheirOptions) {
  using F = PasteFormat;
  struct Row {
    F format;
    const char* name;
    bool asIcon, paste, link, object;
    F imported;
  };
  const Row rows[] = {
      {F::EmbeddedObject, "%s", true, true, false, true, F::EmbeddedObject},
      {F::LinkSource, "%s", true, false, true, true, F::LinkSource},
      {F::Text, "Unformatted Text", false, false, false, false, F::Text},
      {F::RichText, "Formatted Text (RTF)", false, false, false, false, F::RichText},
      {F::EnhMetafile, "Picture (Enhanced Metafile)", false, false, false, false, F::Metafile},
      {F::Metafile, "Picture (Metafile)", false, false, false, false, F::Metafile},
      {F::Dib, "Device Independent Bitmap", false, false, false, false, F::Dib},
      {F::Bitmap, "Bitmap", false, false, false, false, F::Bitmap},
  };
  const auto& entries = PasteSpecialEntries();
  ASSERT_EQ(entries.size(), std::size(rows));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].format, rows[i].format);
    EXPECT_EQ(entries[i].name, rows[i].name);
    EXPECT_FALSE(entries[i].result.empty());
    EXPECT_EQ(entries[i].asIcon, rows[i].asIcon);
    EXPECT_EQ(entries[i].paste, rows[i].paste);
    EXPECT_EQ(entries[i].link, rows[i].link);
    EXPECT_EQ(PastesObject(entries[i].format), rows[i].object);
    EXPECT_EQ(ImportedFormat(entries[i].format), rows[i].imported);
  }
}

}  // namespace
}  // namespace orvalis::controls
