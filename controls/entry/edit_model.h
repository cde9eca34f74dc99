// The text, caret and selection that the data-entry edits share: a one-line
// text edited through its selection, and the key codes their models see.
// Positions count characters of the edited text, which holds only ASCII
// (digits, letters, signs) while focused, so they equal EDIT control offsets.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvalis::controls {

// Characters and virtual keys that reach the models from WM_CHAR and WM_KEYDOWN.
inline constexpr char32_t kCharBackspace = 8;
inline constexpr char32_t kCharCopy = 3;    // Ctrl+C
inline constexpr char32_t kCharPaste = 22;  // Ctrl+V
inline constexpr char32_t kCharCut = 24;    // Ctrl+X
inline constexpr char32_t kCharEscape = 27;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyDelete = 46;

// Whether a character keeps its default edit handling (the clipboard keys).
[[nodiscard]] constexpr bool IsClipboardChar(char32_t ch) {
  return ch == kCharCopy || ch == kCharPaste || ch == kCharCut;
}

// Properties the data-entry controls only store for their hosts.
struct StoredFlags {
  bool StoreInFile = true;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool QQ = false;
  bool ColumnFooter = false;
  bool RowHeader = false;
};

// A text with a selection from `anchor` to `caret` (equal when nothing is
// selected); `caret` is the end that moves.
class EditText {
 public:
  [[nodiscard]] const std::string& Text() const { return text_; }
  [[nodiscard]] std::size_t Anchor() const { return anchor_; }
  [[nodiscard]] std::size_t Caret() const { return caret_; }
  [[nodiscard]] std::size_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  [[nodiscard]] std::size_t SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  [[nodiscard]] bool HasSelection() const { return anchor_ != caret_; }
  [[nodiscard]] bool WholeSelected() const { return SelStart() == 0 && SelEnd() == text_.size(); }
  [[nodiscard]] std::string Selected() const { return text_.substr(SelStart(), SelEnd() - SelStart()); }

  // Replaces the text and puts the caret at its end; positions past the end
  // are pulled back to it everywhere.
  void SetText(std::string text);
  void Select(std::size_t anchor, std::size_t caret);
  void SelectAll() { Select(0, text_.size()); }
  void SetCaret(std::size_t pos) { Select(pos, pos); }

  // The text with the selection removed; the caret would then stand at SelStart().
  [[nodiscard]] std::string WithoutSelection() const;
  void DeleteSelection();
  void Insert(std::size_t pos, std::string_view s);  // caret after the insert
  void Erase(std::size_t pos, std::size_t count);    // caret at pos

 private:
  std::string text_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
};

}  // namespace orvalis::controls
