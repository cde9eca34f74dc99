// The masked edit's rules without a window: the text, caret and selection, the
// input mask, Escape-to-undo, first-letter capitals and the change event that
// may wait until the field is left. The view feeds it WM_CHAR, WM_KEYDOWN,
// WM_PASTE/WM_CUT, focus and destroy messages and shows Text() and the selection.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvalis::controls {

// Values a host keeps with the control; they change nothing here.
struct EditStoredFlags {
  bool storeInFile = true;
  bool calcInput = false;
  bool calcControls = false;
  bool calcForms = false;
  bool qq = false;
  bool columnHeader = false;
  bool columnFooter = false;
  bool rowHeader = false;
};

// The size and position a control had when its form finished loading.
struct EditBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Mask characters: "0" a digit, "A" a letter turned upper case, "a" a letter
// turned lower case; anything else is a literal the control writes itself.
[[nodiscard]] bool IsMaskLiteral(char32_t maskChar);
// True when `text` (UTF-8) is empty, `mask` is empty, or the text has the
// mask's length and each character fits its mask character (any character
// fits a literal position; letters must already have the mask's case).
[[nodiscard]] bool TextFitsMask(std::string_view text, std::string_view mask);

// The complaint shown when a masked field is left incomplete: Dutch for the
// language "NLD", English otherwise.
[[nodiscard]] std::string_view MaskComplaint(std::string_view language);

class PEditModel {
 public:
  // Raised for every reported change; the host reads Text().
  std::function<void()> OnChange;

  // Positions count characters (code points) of the UTF-8 text; the view maps
  // them to the edit window's UTF-16 positions.
  [[nodiscard]] std::string Text() const;
  [[nodiscard]] int SelStart() const { return selStart_; }
  [[nodiscard]] int SelEnd() const { return selEnd_; }
  [[nodiscard]] std::string SelectedText() const;
  [[nodiscard]] int Length() const { return static_cast<int>(text_.size()); }

  [[nodiscard]] const std::string& Format() const { return format_; }
  void SetFormat(std::string_view format);
  [[nodiscard]] bool ChangeOnExit() const { return changeOnExit_; }
  void SetChangeOnExit(bool value) { changeOnExit_ = value; }
  [[nodiscard]] bool FirstCapital() const { return firstCapital_; }
  void SetFirstCapital(bool value) { firstCapital_ = value; }
  [[nodiscard]] bool AutoHint() const { return autoHint_; }
  void SetAutoHint(bool value) { autoHint_ = value; }
  [[nodiscard]] const std::string& Hint() const { return hint_; }
  EditStoredFlags& Stored() { return stored_; }
  [[nodiscard]] const EditStoredFlags& Stored() const { return stored_; }
  [[nodiscard]] const EditBounds& Org() const { return org_; }

  // The host assigns the text: the caret goes to the start, and the change
  // rule runs as for any other change of the text.
  void SetText(std::string_view text);
  // The user moved the caret or the selection (ends in either order, clamped).
  void SetSelection(int start, int end);

  // WM_CHAR. True when the key is consumed; otherwise the view lets the edit
  // handle it and reports the result through TextEdited.
  bool KeyPress(char32_t key);
  // WM_KEYDOWN. True when the key is suppressed.
  [[nodiscard]] bool KeyDown(int virtualKey) const;
  // Places one typed character under the mask: literals are filled in, letters
  // case-converted, misfits refused. Backspace at the end removes a character
  // and the literals before it.
  void InputChar(char32_t ch);
  // The edit's own paste: the text up to its first line break replaces the
  // selection. Under a mask the text is checked only when the field is left.
  void Paste(std::string_view text);
  // Removes the selection and returns it for the clipboard.
  std::string Cut();
  // The edit changed its text by itself (keys without a mask, undo).
  void TextEdited(std::string_view text, int selStart, int selEnd);

  // WM_SETFOCUS.
  void Enter();
  // WM_KILLFOCUS. True when the text does not fit the mask: the view shows
  // MaskComplaint and gives the focus back; the caret is already at the end.
  [[nodiscard]] bool Exit();
  // WM_DESTROY: a change still waiting for the exit is reported now.
  void Destroy();
  // Mouse moves with AutoHint: the new hint and whether to show it, when the
  // hint no longer equals the text.
  struct HintUpdate {
    std::string hint;
    bool show = false;
  };
  [[nodiscard]] std::optional<HintUpdate> MouseMove();
  // The form finished loading with the control at `bounds`.
  void Loaded(const EditBounds& bounds) { org_ = bounds; }

 private:
  void Store(std::u32string text, int caret);
  void Changed();
  void Report();

  std::u32string text_;
  std::u32string mask_;
  std::string format_;
  int selStart_ = 0;
  int selEnd_ = 0;
  std::u32string entryText_;
  std::u32string reportedText_;
  std::string hint_;
  bool changeOnExit_ = false;
  bool firstCapital_ = false;
  bool autoHint_ = false;
  EditStoredFlags stored_;
  EditBounds org_;
};

}  // namespace orvalis::controls
