// The date edit's rules without a window: the date value, its text as
// dd-mm-yyyy (bare digits while focused), typed and pasted digits parsed back,
// "<" and ">" stepping, Escape, and the calendar pop-up's date choices. The view
// feeds it WM_CHAR, WM_KEYDOWN, the clipboard messages and focus changes, and
// shows Text() and the selection.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/entry/pedit_model.h"

namespace orvalis::controls {

// Dates are day numbers with the time as fraction: day 0 is 30 December 1899,
// day 1 is 31 December 1899. Years 1 to 9999 are dates.
struct CalendarDay {
  int year = 0;
  int month = 0;
  int day = 0;
};
// The day number of a calendar date, or nothing when there is no such day.
[[nodiscard]] std::optional<int> DayNumber(int year, int month, int day);
// The calendar date of a day number's whole-day part.
[[nodiscard]] CalendarDay DayOfNumber(int dayNumber);
// The whole-day part (truncated toward 0), or nothing for a value that is no
// date of years 1 to 9999 (including NaN).
[[nodiscard]] std::optional<int> WholeDays(double date);

// The date of six to eight typed digits: DDMMYY (years below 51 are 20yy,
// others 19yy), DMMYYYY or DDMMYYYY; 0 for any other text or an impossible day.
[[nodiscard]] double ParseDateDigits(std::string_view text);
// The text of a date: empty for no date, ddmmyyyy while focused, dd-mm-yyyy otherwise.
[[nodiscard]] std::string DateText(double date, bool focused);

// What the view does after a key-down.
enum class DateKeyAction { PassOn, Consumed, OpenCalendar };

// The calendar pop-up's key-down: its new date and whether it closes.
struct CalendarKeyResult {
  double date = 0;
  bool pick = false;  // run the click rule (Enter)
  bool close = false;
};

class PDateEditModel {
 public:
  // Raised for every change of Date by the user.
  std::function<void()> OnChange;

  [[nodiscard]] double Date() const { return date_; }
  // Stores a new value that is a date or 0 and shows it; no change event.
  void SetDate(double value);
  [[nodiscard]] double StartDate() const { return startDate_; }
  void SetStartDate(double value) { startDate_ = value; }
  [[nodiscard]] double EndDate() const { return endDate_; }
  void SetEndDate(double value) { endDate_ = value; }
  // Holds the change event back until the field is left (and reports it only
  // when the date then differs from the one last reported).
  [[nodiscard]] bool ChangeOnExit() const { return changeOnExit_; }
  void SetChangeOnExit(bool value) { changeOnExit_ = value; }
  // The date edit keeps all of these but columnHeader.
  EditStoredFlags& Stored() { return stored_; }
  [[nodiscard]] const EditStoredFlags& Stored() const { return stored_; }

  // The text is ASCII: positions are characters and UTF-16 units alike.
  [[nodiscard]] const std::string& Text() const { return text_; }
  [[nodiscard]] int SelStart() const { return selStart_; }
  [[nodiscard]] int SelEnd() const { return selEnd_; }
  [[nodiscard]] bool Focused() const { return focused_; }
  // The user moved the caret or the selection (ends in either order, clamped).
  void SetSelection(int start, int end);

  // WM_CHAR. False only for Ctrl+C, Ctrl+V and Ctrl+X, which the edit turns
  // into the clipboard messages below.
  bool KeyPress(char32_t key);
  // WM_KEYDOWN.
  [[nodiscard]] DateKeyAction KeyDown(int virtualKey);
  // One typed or pasted character: digits up to eight, and "-" or "/" closing
  // a one-digit day or month. `markEdited` makes the text parse into Date.
  void InputChar(char32_t ch, bool markEdited);
  // WM_COPY: the selected text, nothing without a selection.
  [[nodiscard]] std::optional<std::string> Copy() const;
  // WM_CUT: the selected text, removed from the field.
  std::optional<std::string> Cut();
  // WM_CLEAR.
  void Clear();
  // WM_PASTE with the clipboard's text: every character goes through the
  // input rule, then the text is parsed.
  void Paste(std::string_view text);

  // WM_SETFOCUS: remembers the date for Escape, shows bare digits, selects all.
  void Enter();
  // WM_KILLFOCUS: shows dd-mm-yyyy.
  void Exit();
  // The form finished loading.
  void Loaded() { FormatDate(); }

  // The date the calendar opens on: Date, else StartDate, else `today`.
  [[nodiscard]] double CalendarStart(double today) const;
  // A day clicked in the calendar; true when the pop-up closes.
  bool CalendarClick(double calendarDate);
  // The calendar's key-down on `calendarDate`.
  [[nodiscard]] static CalendarKeyResult CalendarKey(int virtualKey, double calendarDate);
  // The pop-up was hidden (deactivated, closed, Escape or F4).
  void CalendarClosed() { FormatDate(); }

 private:
  void FormatDate();
  bool StoreDate(double value);
  void Store(std::string text, int caret);
  void Change();
  void Raise();
  void RemoveSelection();

  double date_ = 0;
  double entryDate_ = 0;
  double startDate_ = 0;
  double endDate_ = 0;
  double reportedDate_ = 0;
  bool changeOnExit_ = false;
  bool edited_ = false;
  bool focused_ = false;
  std::string text_;
  int selStart_ = 0;
  int selEnd_ = 0;
  EditStoredFlags stored_;
};

}  // namespace orvalis::controls
