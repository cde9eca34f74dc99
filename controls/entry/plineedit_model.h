// The formula line editor's rules without a window: the token string and its
// variables, the stored form hosts keep in their files, the text shown for the
// tokens, caret and token positions, typing, keys and the readable form. The
// view shows DisplayText() with the caret at DisplayCaret() and forwards
// WM_CHAR, WM_KEYDOWN and the clipboard messages here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::controls {

enum class PLineType : std::uint8_t { pltIndicator = 0, pltColumnDef = 1 };

// One variable of a formula; the host fills caption, hint and items.
struct PVar {
  int Kind = 0;  // 0 = ordinary variable, 1 = text variable
  std::vector<std::string> Items;
  std::string Caption;
  std::string Hint;
  std::string TextValue;  // bytes, kind 1 only

  // The definition as stored after "@~" (without the "~" of a text variable).
  [[nodiscard]] std::string Definition() const;
  void ParseDefinition(std::string_view def);
};

// The clipboard as the keys see it; the view passes the system clipboard.
class FormulaClipboard {
 public:
  virtual ~FormulaClipboard() = default;
  [[nodiscard]] virtual std::string GetText() = 0;
  virtual void SetText(const std::string& text) = 0;
};

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

class LineEditModel {
 public:
  // The variable, whether the user asks to create or edit it (false while a
  // stored form is loaded), and the screen position for the host's editor.
  // For a new variable the result decides whether it stays in the formula.
  using EditVarEvent = std::function<bool(PVar& var, bool edit, std::int32_t left, std::int32_t top)>;

  PLineType Type = PLineType::pltIndicator;  // kept for the host only
  bool Locked = false;
  std::vector<std::string> ConstList;
  EditVarEvent OnEditVar;
  std::function<void(LineEditModel&)> OnChange;
  // Where the caret is on the screen, for OnEditVar; set by the view.
  std::function<ScreenPoint()> CaretScreenPos;

  // ---- The stored form.
  [[nodiscard]] std::string Text() const;
  // Loads a stored form without a change event. A form whose "V" tokens and
  // definitions differ in number loads as an empty formula.
  void SetText(std::string_view stored);

  [[nodiscard]] const std::string& Tokens() const { return tokens_; }
  [[nodiscard]] std::size_t VarCount() const { return vars_.size(); }
  [[nodiscard]] PVar& Var(std::size_t i) { return *vars_[i]; }
  [[nodiscard]] const PVar& Var(std::size_t i) const { return *vars_[i]; }

  // ---- What the view shows. Positions count UTF-16 units, as the edit
  // control does; a line break token counts two.
  [[nodiscard]] std::string TokenDisplay(std::size_t index) const;
  [[nodiscard]] std::string DisplayText() const;
  [[nodiscard]] std::size_t Cursor() const { return cursor_; }
  void SetCursor(std::size_t cursor) { cursor_ = cursor < tokens_.size() ? cursor : tokens_.size(); }
  // The display position of the caret: the display length of the tokens before it.
  [[nodiscard]] std::size_t DisplayCaret() const;
  // The cursor for a display position (clicks, up/down, SelStart).
  [[nodiscard]] std::size_t CursorFromDisplay(std::size_t pos) const;
  // The 0-based token a display character belongs to, or the token count past the end.
  [[nodiscard]] std::size_t TokenAtDisplay(std::size_t pos) const;
  // The variable of the "V" token at `index`, or null.
  [[nodiscard]] PVar* VarAtToken(std::size_t index);
  // The shown text's lines, for the scroll bar; a last line break leaves an
  // empty last line, where the caret stands.
  [[nodiscard]] std::vector<std::string> DisplayLines() const;

  // ---- Editing.
  // WM_CHAR; returns whether the character was handled.
  bool KeyPress(char ch);
  // WM_KEYDOWN; false leaves the key to the memo (Up and Down, unlisted keys).
  bool KeyDown(int key, bool ctrl, bool shift, FormulaClipboard& clip);
  // WM_COPY / WM_CUT / WM_PASTE: as the Ctrl keys, without the locked test.
  void Copy(FormulaClipboard& clip) const { clip.SetText(Text()); }
  void Cut(FormulaClipboard& clip);
  void Paste(FormulaClipboard& clip);
  // Inserts constant `index` at the cursor. Only 0 to 25 other than 21 have a
  // code of their own ("V" is the variable token); others are refused.
  bool InsertConst(int index);
  // Deletes the token at 1-based `position`; a "V" goes with its variable.
  void DeletePos(std::size_t position);
  [[nodiscard]] bool CanEdit() const;
  // Asks the host to edit the variable before the caret.
  void DoEdit(ScreenPoint at);

  // ---- Ctrl+R.
  [[nodiscard]] std::string ReadableForm() const;

 private:
  [[nodiscard]] std::size_t VarIndexAt(std::size_t tokenIndex) const;
  void NewVariable(int kind);
  void Changed();

  std::string tokens_;
  std::vector<std::unique_ptr<PVar>> vars_;
  std::size_t cursor_ = 0;
};

// Spreadsheet-style letters: 0 is "A", 25 "Z", 26 "AA", 701 "ZZ", 702 "AAA".
[[nodiscard]] std::string VariableLetter(std::size_t index);
// Whether lines of these pixel widths, each wrapped into (width / client
// width) + 1 rows of `lineHeight`, reach the client height and so need the
// vertical scroll bar. A control without client width needs none.
[[nodiscard]] bool NeedsVerticalScroll(const std::vector<int>& lineWidths, int lineHeight, int clientWidth,
                                       int clientHeight);
// Whether a typed token may be inserted as it stands.
[[nodiscard]] bool IsInsertableToken(char c);

}  // namespace orvalis::controls
