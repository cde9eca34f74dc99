// The date edit's rules without a window: day numbers, the typed digits, the
// keys, the clipboard and the calendar's choices.
#include "controls/entry/pdateedit_model.h"

#include <algorithm>
#include <cmath>

namespace orvalis::controls {
namespace {

// Days from 1 January 1970 in the proleptic Gregorian calendar
// (https://howardhinnant.github.io/date_algorithms.html).
int DaysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr int kUnixDay = 25569;  // 1 January 1970 as a day number
constexpr int kFirstDay = -693593;  // 1 January 0001
constexpr int kLastDay = 2958465;  // 31 December 9999

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int n = 0;
  for (const char c : digits) n = n * 10 + (c - '0');
  return n;
}

std::string TwoDigits(int n) { return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

constexpr char32_t kCtrlC = 3;
constexpr char32_t kCtrlV = 22;
constexpr char32_t kCtrlX = 24;
constexpr char32_t kBackspace = 8;
constexpr char32_t kEscape = 27;
constexpr int kVkReturn = 13;
constexpr int kVkEscape = 27;
constexpr int kVkLeft = 37;
constexpr int kVkUp = 38;
constexpr int kVkRight = 39;
constexpr int kVkDown = 40;
constexpr int kVkDelete = 46;
constexpr int kVkF4 = 115;

}  // namespace

std::optional<int> DayNumber(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  return DaysFromCivil(year, month, day) + kUnixDay;
}

CalendarDay DayOfNumber(int dayNumber) {
  const int z = dayNumber - kUnixDay + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  const int d = doy - (153 * mp + 2) / 5 + 1;
  const int m = mp < 10 ? mp + 3 : mp - 9;
  return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

std::optional<int> WholeDays(double date) {
  if (!std::isfinite(date)) return std::nullopt;
  const double whole = std::trunc(date);
  if (whole < kFirstDay || whole > kLastDay) return std::nullopt;
  return static_cast<int>(whole);
}

double ParseDateDigits(std::string_view text) {
  if (text.size() < 6 || text.size() > 8 || !AllDigits(text)) return 0;
  int day = 0, month = 0, year = 0;
  if (text.size() == 6) {
    day = Number(text.substr(0, 2));
    month = Number(text.substr(2, 2));
    year = Number(text.substr(4, 2));
    year += year < 51 ? 2000 : 1900;
  } else {
    const std::size_t dayDigits = text.size() - 6;
    day = Number(text.substr(0, dayDigits));
    month = Number(text.substr(dayDigits, 2));
    year = Number(text.substr(dayDigits + 2));
  }
  return DayNumber(year, month, day).value_or(0);
}

std::string DateText(double date, bool focused) {
  const auto whole = WholeDays(date);
  if (!whole || *whole == 0) return {};
  const CalendarDay c = DayOfNumber(*whole);
  // Four year digits, so the bare digits of any year read back as the same date.
  std::string year = std::to_string(c.year);
  year.insert(0, 4 - year.size(), '0');
  const char* sep = focused ? "" : "-";
  return TwoDigits(c.day) + sep + TwoDigits(c.month) + sep + year;
}

void PDateEditModel::SetDate(double value) {
  // The host's value is no change of the user's to report on exit.
  if (StoreDate(value)) reportedDate_ = date_;
}

bool PDateEditModel::StoreDate(double value) {
  const auto whole = WholeDays(value);
  if (value == date_ || !whole || *whole < 0) return false;
  date_ = value;
  FormatDate();
  return true;
}

void PDateEditModel::SetSelection(int start, int end) {
  const int n = static_cast<int>(text_.size());
  start = std::clamp(start, 0, n);
  end = std::clamp(end, 0, n);
  selStart_ = std::min(start, end);
  selEnd_ = std::max(start, end);
}

// Text shown from the value never parses back into it.
void PDateEditModel::FormatDate() {
  edited_ = false;
  Store(DateText(date_, focused_), 0);
}

// The text changed: the edit's change notification runs Change.
void PDateEditModel::Store(std::string text, int caret) {
  const bool changed = text != text_;
  text_ = std::move(text);
  SetSelection(caret, caret);
  // A key that left the text as it was leaves nothing pending either.
  if (changed) Change();
  else edited_ = false;
}

void PDateEditModel::Change() {
  if (!edited_) return;
  edited_ = false;
  const double old = date_;
  date_ = ParseDateDigits(text_);
  if (date_ != old) Raise();
}

void PDateEditModel::Raise() {
  if (changeOnExit_) return;
  reportedDate_ = date_;
  if (OnChange) OnChange();
}

void PDateEditModel::RemoveSelection() {
  std::string t = text_;
  t.erase(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_));
  edited_ = true;
  Store(std::move(t), selStart_);
}

bool PDateEditModel::KeyPress(char32_t key) {
  switch (key) {
    case kCtrlC:
    case kCtrlV:
    case kCtrlX:
      return false;
    case kEscape:
      if (date_ != entryDate_) {
        date_ = entryDate_;
        FormatDate();
        SetSelection(0, static_cast<int>(text_.size()));
        Raise();
      }
      return true;
    case kBackspace:
      if (selEnd_ > selStart_) {
        RemoveSelection();
      } else if (selStart_ > 0) {
        std::string t = text_;
        t.erase(static_cast<std::size_t>(selStart_ - 1), 1);
        edited_ = true;
        Store(std::move(t), selStart_ - 1);
      }
      return true;
    case U'>':
    case U'<': {
      const double before = date_;
      const int whole = WholeDays(date_).value_or(0);
      const double fallback = key == U'>' ? startDate_ : endDate_;
      if (whole == 0) {
        if (fallback != 0) StoreDate(fallback);
      } else {
        StoreDate(whole + (key == U'>' ? 1 : -1));
      }
      if (date_ != before) Raise();
      return true;
    }
    default:
      InputChar(key, true);
      return true;
  }
}

DateKeyAction PDateEditModel::KeyDown(int virtualKey) {
  if (virtualKey == kVkF4) return DateKeyAction::OpenCalendar;
  if (virtualKey != kVkDelete) return DateKeyAction::PassOn;
  if (selEnd_ > selStart_) {
    RemoveSelection();
  } else if (selStart_ < static_cast<int>(text_.size())) {
    std::string t = text_;
    t.erase(static_cast<std::size_t>(selStart_), 1);
    edited_ = true;
    Store(std::move(t), selStart_);
  }
  return DateKeyAction::Consumed;
}

void PDateEditModel::InputChar(char32_t ch, bool markEdited) {
  const int length = static_cast<int>(text_.size());
  if ((ch == U'-' || ch == U'/') && selStart_ == selEnd_ && selStart_ == length && (length == 1 || length == 3)) {
    std::string t = text_;
    t.insert(t.begin() + (length - 1), '0');
    if (markEdited) edited_ = true;
    Store(std::move(t), length + 1);
    return;
  }
  if (ch >= U'0' && ch <= U'9' && length - (selEnd_ - selStart_) < 8) {
    std::string t = text_;
    t.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_), 1,
              static_cast<char>(ch));
    if (markEdited) edited_ = true;
    Store(std::move(t), selStart_ + 1);
  }
}

std::optional<std::string> PDateEditModel::Copy() const {
  if (selEnd_ == selStart_) return std::nullopt;
  return text_.substr(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_));
}

std::optional<std::string> PDateEditModel::Cut() {
  auto copied = Copy();
  if (copied) RemoveSelection();
  return copied;
}

void PDateEditModel::Clear() {
  if (selEnd_ > selStart_) RemoveSelection();
}

void PDateEditModel::Paste(std::string_view text) {
  for (const char c : text) InputChar(static_cast<unsigned char>(c), false);
  edited_ = true;
  Change();
}

void PDateEditModel::Enter() {
  focused_ = true;
  entryDate_ = date_;
  FormatDate();
  SetSelection(0, static_cast<int>(text_.size()));
}

void PDateEditModel::Exit() {
  focused_ = false;
  FormatDate();
  if (changeOnExit_ && date_ != reportedDate_) {
    reportedDate_ = date_;
    if (OnChange) OnChange();
  }
}

double PDateEditModel::CalendarStart(double today) const {
  if (WholeDays(date_).value_or(0) >= 1) return date_;
  if (WholeDays(startDate_).value_or(0) >= 1) return startDate_;
  return today;
}

bool PDateEditModel::CalendarClick(double calendarDate) {
  const auto picked = WholeDays(calendarDate);
  if (!picked || *picked < 1 || picked == WholeDays(date_)) return false;
  StoreDate(calendarDate);
  Raise();
  return true;
}

CalendarKeyResult PDateEditModel::CalendarKey(int virtualKey, double calendarDate) {
  switch (virtualKey) {
    case kVkLeft: return {calendarDate - 1, false, false};
    case kVkRight: return {calendarDate + 1, false, false};
    case kVkUp: return {calendarDate - 7, false, false};
    case kVkDown: return {calendarDate + 7, false, false};
    case kVkReturn: return {calendarDate, true, true};
    case kVkEscape:
    case kVkF4: return {calendarDate, false, true};
    default: return {calendarDate, false, false};
  }
}

}  // namespace orvalis::controls
