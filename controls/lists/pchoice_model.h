// The choice control's rules without a window: its lines with their tags, the
// selected line, the "other" editor's text and kind, and the layout of the
// radio buttons and the editor at the screen's pixels per inch. The view
// creates one radio button per ChoiceLayout button and places the editor.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/entry/edit_model.h"

namespace orvalis::controls {

// The "other" editor kinds, in their stored order.
enum class OType : std::uint8_t {
  otPCurrEdit = 0,
  otPDateEdit = 1,
  otPEdit = 2,
  otPMemo = 3,
  otPNumEdit = 4,
  otPPercEdit = 5,
  otPRichEdit = 6,
  otPZipEdit = 7,
};

// Memo and rich text editors fill the rest of the control's height; the
// others are one line high.
[[nodiscard]] bool OtherFillsHeight(OType type);

// A length in units of 96 pixels per inch at `dpi`, rounded to the nearest
// pixel (halves away from zero).
[[nodiscard]] int ScaleTo(int units96, int dpi);

struct ChoiceRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const ChoiceRect&, const ChoiceRect&) = default;
};

// What the layout needs to know about the control and its window.
struct ChoiceLayoutInput {
  int lines = 0;
  int width = 0;
  int height = 0;
  int dpi = 96;
  bool horizontal = false;
  bool inverted = false;
  // A radio button's own height in pixels, as the view creates it.
  int buttonHeight = 17;
  // The editor, when there is one.
  bool hasOther = false;
  OType otherType = OType::otPEdit;
  // The last line's text width, measured by the view.
  int lastTextWidth = 0;
  bool otherVisible = false;
};

struct ChoiceLayout {
  std::vector<ChoiceRect> buttons;
  // Only meaningful when `hasOther`; `otherBeside` tells whether it stands to
  // the right of the last choice (else under it, indented).
  bool hasOther = false;
  bool otherBeside = false;
  bool otherVisible = false;
  ChoiceRect other;
};

// The height that fits all lines: the current height when horizontal.
[[nodiscard]] int ChoiceAutoHeight(int lines, bool horizontal, int currentHeight, int dpi);
[[nodiscard]] ChoiceLayout LayoutChoice(const ChoiceLayoutInput& in);

// A host's text for a number editor as its change rule reads it: the digits
// in order, those after the first `decimalSign` the fraction, negative when
// the text starts with '-'; grouping signs, prefix and suffix are skipped.
[[nodiscard]] double OtherNumberValue(std::string_view text, char decimalSign);
// A host's text for a date editor ("d-m-yyyy", "dd/mm/yy" or bare digits) as
// the bare digits the date edit parses: day and month padded to two digits.
[[nodiscard]] std::string OtherDateDigits(std::string_view text);

struct ChoiceLine {
  std::string text;
  // The integer a host associates with the line; `Delete` finds lines by it.
  std::intptr_t tag = 0;
  friend bool operator==(const ChoiceLine&, const ChoiceLine&) = default;
};

class ChoiceModel {
 public:
  [[nodiscard]] const std::vector<ChoiceLine>& Lines() const { return lines_; }
  void SetLines(std::vector<ChoiceLine> lines) { lines_ = std::move(lines); }
  // Removes the first line carrying `tag`; the selection stays on the line it
  // was on (none when that line is the one removed). False when no line has it.
  bool Delete(std::intptr_t tag);

  // −1 or a value beyond the lines selects nothing; the value is kept as set.
  [[nodiscard]] int ListIndex() const { return listIndex_; }
  void SetListIndex(int index) { listIndex_ = index; }
  // The line shown checked, or −1.
  [[nodiscard]] int CheckedIndex() const;

  [[nodiscard]] bool OtherIsActive() const { return otherIsActive_; }
  void SetOtherIsActive(bool b) { otherIsActive_ = b; }
  // Changing the kind replaces the editor; the text stays.
  [[nodiscard]] OType OtherType() const { return otherType_; }
  void SetOtherType(OType t) { otherType_ = t; }
  [[nodiscard]] const std::string& OtherText() const { return otherText_; }
  // From the host: no change event.
  void SetOtherText(std::string text) { otherText_ = std::move(text); }
  // The editor shows only while the last line, the "other" choice, is selected.
  [[nodiscard]] bool OtherVisible() const;

  // A radio button was clicked; OnChange fires when the selection moved.
  void Click(int index);
  // The editor's text changed; OnChange fires.
  void OtherEdited(std::string text);

  bool AutoAlign = false;
  bool InvertedList = false;
  bool Horizontal = false;
  bool Enabled = true;
  bool CalcFormControls = false;
  StoredFlags Stored;

  std::function<void(ChoiceModel&)> OnChange;

 private:
  std::vector<ChoiceLine> lines_;
  int listIndex_ = 0;
  bool otherIsActive_ = false;
  OType otherType_ = OType::otPEdit;
  std::string otherText_;
};

}  // namespace orvalis::controls
