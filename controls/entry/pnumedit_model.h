// The number edit's rules without a window: the value, its display and bare
// (focused) texts, the keys that keep the bare text a valid number, and the
// parsing of every edit back into the value. The view forwards WM_CHAR,
// WM_KEYDOWN, focus and clipboard messages here and shows Text() and the
// selection; hosts read Value() and hear OnChange.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/entry/edit_model.h"

namespace orvalis::controls {

enum class PNumEdit_Type : std::uint8_t { pntNumeric = 0, pntCurrency = 1, pntPercentage = 2, pntHexadecimal = 3 };

class NumEditModel {
 public:
  NumEditModel();

  // ---- Properties: each setter that changes something reformats the text.
  [[nodiscard]] double Value() const { return value_; }
  // Sets the value without a change event; NaN and infinities are refused.
  void SetValue(double v);
  [[nodiscard]] PNumEdit_Type Type() const { return type_; }
  void SetType(PNumEdit_Type t);
  [[nodiscard]] char DecimalSign() const { return decimalSign_; }
  void SetDecimalSign(char c);
  // '\0' means no thousands separator.
  [[nodiscard]] char ThousandSign() const { return thousandSign_; }
  void SetThousandSign(char c);
  // The key that toggles the sign; the text itself always carries '-'.
  [[nodiscard]] char NegSign() const { return negSign_; }
  void SetNegSign(char c);
  [[nodiscard]] const std::string& Prefix() const { return prefix_; }
  void SetPrefix(std::string s);
  [[nodiscard]] const std::string& Suffix() const { return suffix_; }
  void SetSuffix(std::string s);
  [[nodiscard]] int Length() const { return length_; }
  void SetLength(int n);
  [[nodiscard]] bool MayNegative() const { return mayNegative_; }
  void SetMayNegative(bool b);
  [[nodiscard]] int DecimalLen() const { return decimalLen_; }
  void SetDecimalLen(int n);
  [[nodiscard]] bool DisplayDecimals() const { return displayDecimals_; }
  void SetDisplayDecimals(bool b);
  [[nodiscard]] bool MinimalZero() const { return minimalZero_; }
  void SetMinimalZero(bool b);
  // Report changes only on leaving the field (or on destruction).
  bool ChangeOnExit = false;
  StoredFlags Stored;

  // Raised for user edits that change the value, Escape, and leaving with
  // ChangeOnExit.
  std::function<void(NumEditModel&)> OnChange;

  // ---- What the view shows.
  [[nodiscard]] const std::string& Text() const { return edit_.Text(); }
  [[nodiscard]] const EditText& Edit() const { return edit_; }
  [[nodiscard]] bool Focused() const { return focused_; }
  // The caption of the prefix label at the left, or nothing when it is hidden
  // (while focused, or with an empty prefix).
  [[nodiscard]] std::optional<std::string> PrefixLabel() const;
  // The digits usable in this mode, in value order.
  [[nodiscard]] std::string_view DigitSet() const;
  // Decimals in use: none in hexadecimal mode.
  [[nodiscard]] int Decimals() const;

  // ---- What the view forwards.
  // The selection after the edit control moved the caret itself (mouse, arrows).
  void SetSelection(std::size_t anchor, std::size_t caret) { edit_.Select(anchor, caret); }
  // WM_SETFOCUS / enter: the bare text, all selected.
  void Enter();
  // WM_KILLFOCUS / exit: the display text; with ChangeOnExit a pending change is reported.
  void Exit();
  // WM_DESTROY: a pending ChangeOnExit change is reported.
  void Destroy();
  // WM_CHAR. False leaves the key to the edit control (the clipboard keys).
  bool KeyPress(char32_t ch);
  // WM_KEYDOWN. False leaves the key to the edit control.
  bool KeyDown(int key, bool shift = false);
  // WM_COPY: the selected text (empty when nothing is selected).
  [[nodiscard]] std::string Copy() const { return edit_.Selected(); }
  // WM_CUT: the text for the clipboard, or nothing when nothing was cut.
  std::optional<std::string> Cut();
  // WM_CLEAR: whether the selection was removed.
  bool Clear();
  // WM_PASTE with the clipboard text.
  void Paste(std::string_view clip);

  // Value to text (display form unfocused, bare form focused).
  void FormatValue();
  // One typed character; an accepted edit marks the text edited when asked.
  // Returns whether the text changed.
  bool InputChar(char32_t ch, bool markEdited);
  // Text to value after a user edit; raises the change event unless ChangeOnExit.
  void Change();

 private:
  [[nodiscard]] std::size_t IntegerDigits(std::string_view text) const;
  [[nodiscard]] bool Fits(std::string_view text) const {
    return IntegerDigits(text) <= static_cast<std::size_t>(length_);
  }
  // Removes [pos, pos+count) unless that leaves too many integer digits.
  bool EraseChecked(std::size_t pos, std::size_t count, bool markEdited);
  // Takes the edited text; a real change is parsed. Returns whether it changed.
  bool Commit(EditText next, bool markEdited);
  void Report();

  EditText edit_;
  bool focused_ = false;
  bool edited_ = false;
  bool minimalZero_ = true;
  PNumEdit_Type type_ = PNumEdit_Type::pntNumeric;
  char decimalSign_ = ',';
  char thousandSign_ = '.';
  char negSign_ = '-';
  std::string prefix_;
  std::string suffix_;
  int length_ = 8;
  bool mayNegative_ = true;
  int decimalLen_ = 0;
  double value_ = 0;
  double entryValue_ = 0;
  double reportedValue_ = 0;
  bool displayDecimals_ = false;
};

// The text of `value` as FormatValue makes it before prefix and suffix:
// `decimals` decimals in base 10 or 16, trimmed unless `keepZeros`, grouped by
// `thousandSign` ('\0' = none), any magnitude without overflow.
[[nodiscard]] std::string FormatNumber(double value, int decimals, bool hex, bool keepZeros, char decimalSign,
                                       char thousandSign);

}  // namespace orvalis::controls
