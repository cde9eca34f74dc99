// The postcode edit's rules without a window: four digits and two letters,
// typed only at the end, shown "1234 AB" unfocused and "1234AB" focused; a
// text that cannot be a postcode is cleared. The view forwards WM_CHAR,
// WM_KEYDOWN, focus and clipboard messages here and shows Text() and the
// selection; hosts read Text() and hear OnChange.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/entry/edit_model.h"

namespace orvalis::controls {

// The postcode in `text` with spaces removed and letters upper-cased, or
// nothing when it is no (partial) postcode: up to four digits, then up to two
// letters A-Z.
[[nodiscard]] std::optional<std::string> CheckPostcode(std::string_view text);

class ZipEditModel {
 public:
  StoredFlags Stored;
  // Report changes only on leaving the field (or on destruction), and only
  // when the code then differs from the one at entry.
  bool ChangeOnExit = false;
  // Raised for user edits, cut, clear, paste and Escape (with ChangeOnExit:
  // on leaving instead).
  std::function<void(ZipEditModel&)> OnChange;

  [[nodiscard]] const std::string& Text() const { return edit_.Text(); }
  [[nodiscard]] const EditText& Edit() const { return edit_; }
  [[nodiscard]] bool Focused() const { return focused_; }
  // Text set by the program: checked like every change, without a change event.
  void SetText(std::string text);

  // The selection after the edit control moved the caret itself (mouse, arrows).
  void SetSelection(std::size_t anchor, std::size_t caret) { edit_.Select(anchor, caret); }
  // WM_SETFOCUS / enter: the bare code, all selected, remembered for Escape.
  void Enter();
  // WM_KILLFOCUS / exit: the code with its space; with ChangeOnExit a pending change is reported.
  void Exit();
  // WM_DESTROY: a pending ChangeOnExit change is reported.
  void Destroy();
  // WM_CHAR. False leaves the key to the edit control (the clipboard keys).
  bool KeyPress(char32_t ch);
  // WM_KEYDOWN. False leaves the key to the edit control.
  bool KeyDown(int key, bool shift = false);
  // WM_COPY: the selected text (empty when nothing is selected).
  [[nodiscard]] std::string Copy() const { return edit_.Selected(); }
  // WM_CUT: the text for the clipboard, or nothing when nothing is selected.
  std::optional<std::string> Cut();
  // WM_CLEAR: whether the selection was removed.
  bool Clear();
  // WM_PASTE with the clipboard text.
  void Paste(std::string_view clip);

  // The space after the digits while unfocused, none while focused.
  void FormatValue();
  // One typed character; returns whether the text changed.
  bool InputChar(char32_t ch, bool markEdited);
  // Checks the text after every change; raises the change event after a user edit.
  void Change();

 private:
  // Takes the edited text; a real change marks it edited when asked and is checked.
  bool Commit(EditText next, bool markEdited);
  // The change event now, or on leaving with ChangeOnExit.
  void Notify();
  void ReportPending();

  EditText edit_;
  bool focused_ = false;
  bool edited_ = false;
  bool pending_ = false;
  std::string entryText_;
};

}  // namespace orvalis::controls
