// The number edit's value, texts, key rules and parsing.
#include "controls/entry/pnumedit_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace orvalis::controls {
namespace {

constexpr std::string_view kDecimalDigits = "0123456789";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr int kMaxDecimals = 18;  // beyond this a double has no digits left to show
// 2^63: scaled values from here on no longer fit a 64-bit integer, so their
// decimals carry no precision and are dropped.
constexpr double kScaledLimit = 9.223372036854776e18;

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool StartsWithSign(std::string_view s) { return !s.empty() && s.front() == '-'; }

// The digits of a non-negative integral double in base 16: each step is exact,
// as n - digit is a multiple of 16 no finer than n's own precision.
std::string HexDigits(double n) {
  std::string digits;
  do {
    const double digit = std::fmod(n, 16);
    digits.insert(digits.begin(), kHexDigits[static_cast<std::size_t>(digit)]);
    n = (n - digit) / 16;
  } while (n >= 1);
  return digits;
}

// The digits of a non-negative integral double in base 10; past 2^63 its
// 53-bit mantissa is doubled digit by digit, since dividing by ten there
// would round.
std::string DecimalDigits(double n) {
  if (n < kScaledLimit) return std::to_string(static_cast<std::uint64_t>(n));
  int exponent = 0;
  const double fraction = std::frexp(n, &exponent);
  std::string digits = std::to_string(static_cast<std::uint64_t>(std::ldexp(fraction, 53)));
  for (exponent -= 53; exponent > 0; --exponent) {
    int carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
      const int twice = (*it - '0') * 2 + carry;
      *it = static_cast<char>('0' + twice % 10);
      carry = twice / 10;
    }
    if (carry != 0) digits.insert(digits.begin(), '1');
  }
  return digits;
}

}  // namespace

std::string FormatNumber(double value, int decimals, bool hex, bool keepZeros, char decimalSign,
                         char thousandSign) {
  const double base = hex ? 16 : 10;
  std::size_t d = static_cast<std::size_t>(std::clamp(decimals, 0, kMaxDecimals));
  double scale = std::pow(base, static_cast<double>(d));
  while (d > 0 && std::fabs(value) * scale >= kScaledLimit) {
    --d;
    scale /= base;
  }
  // Rounds half up like the 64-bit integer conversion it stands for, without
  // its overflow: larger magnitudes take their digits from the double itself.
  double n = std::floor(value * scale + 0.5);
  const bool negative = n < 0;
  n = std::fabs(n);
  std::string digits = hex ? HexDigits(n) : DecimalDigits(n);
  if (digits.size() <= d) digits.insert(0, d + 1 - digits.size(), '0');
  if (!keepZeros)
    while (d > 0 && digits.back() == '0') {
      digits.pop_back();
      --d;
    }

  const std::size_t intLen = digits.size() - d;
  std::string s = negative ? "-" : "";
  for (std::size_t i = 0; i < intLen; ++i) {
    if (thousandSign != '\0' && i > 0 && (intLen - i) % 3 == 0) s.push_back(thousandSign);
    s.push_back(digits[i]);
  }
  if (d > 0) {
    s.push_back(decimalSign);
    s.append(digits, intLen, d);
  }
  return s;
}

NumEditModel::NumEditModel() { FormatValue(); }

void NumEditModel::SetValue(double v) {
  if (!std::isfinite(v) || v == value_) return;
  value_ = v;
  // A value the program sets is no change for the user's event to report.
  reportedValue_ = v;
  FormatValue();
}

void NumEditModel::SetType(PNumEdit_Type t) {
  if (t == type_) return;
  type_ = t;
  FormatValue();
}

void NumEditModel::SetDecimalSign(char c) {
  if (c == '\0' || !IsAscii(c) || c == decimalSign_) return;
  decimalSign_ = c;
  FormatValue();
}

void NumEditModel::SetThousandSign(char c) {
  if (!IsAscii(c) || c == thousandSign_) return;
  thousandSign_ = c;
  FormatValue();
}

void NumEditModel::SetNegSign(char c) {
  if (c == '\0' || !IsAscii(c) || c == negSign_) return;
  negSign_ = c;
  FormatValue();
}

void NumEditModel::SetPrefix(std::string s) {
  if (s == prefix_) return;
  prefix_ = std::move(s);
  FormatValue();
}

void NumEditModel::SetSuffix(std::string s) {
  if (s == suffix_) return;
  suffix_ = std::move(s);
  FormatValue();
}

void NumEditModel::SetLength(int n) {
  n = std::max(n, 0);
  if (n == length_) return;
  length_ = n;
  FormatValue();
}

void NumEditModel::SetMayNegative(bool b) {
  if (b == mayNegative_) return;
  mayNegative_ = b;
  FormatValue();
}

void NumEditModel::SetDecimalLen(int n) {
  n = std::clamp(n, 0, kMaxDecimals);
  if (n == decimalLen_) return;
  decimalLen_ = n;
  FormatValue();
}

void NumEditModel::SetDisplayDecimals(bool b) {
  if (b == displayDecimals_) return;
  displayDecimals_ = b;
  FormatValue();
}

void NumEditModel::SetMinimalZero(bool b) {
  if (b == minimalZero_) return;
  minimalZero_ = b;
  FormatValue();
}

std::optional<std::string> NumEditModel::PrefixLabel() const {
  if (focused_ || prefix_.empty()) return std::nullopt;
  return prefix_;
}

std::string_view NumEditModel::DigitSet() const {
  return type_ == PNumEdit_Type::pntHexadecimal ? kHexDigits : kDecimalDigits;
}

int NumEditModel::Decimals() const { return type_ == PNumEdit_Type::pntHexadecimal ? 0 : decimalLen_; }

void NumEditModel::FormatValue() {
  std::string s = FormatNumber(value_, Decimals(), type_ == PNumEdit_Type::pntHexadecimal, displayDecimals_,
                               decimalSign_, focused_ ? '\0' : thousandSign_);
  if (!minimalZero_ && s == "0") s.clear();
  if (!focused_ && !suffix_.empty()) s += " " + suffix_;
  edit_.SetText(std::move(s));
}

void NumEditModel::Enter() {
  focused_ = true;
  entryValue_ = value_;
  FormatValue();
  edit_.SelectAll();
}

void NumEditModel::Exit() {
  focused_ = false;
  FormatValue();
  if (ChangeOnExit && value_ != reportedValue_) Report();
}

void NumEditModel::Destroy() {
  if (ChangeOnExit && value_ != reportedValue_) Report();
}

void NumEditModel::Report() {
  reportedValue_ = value_;
  if (OnChange) OnChange(*this);
}

bool NumEditModel::KeyPress(char32_t ch) {
  if (IsClipboardChar(ch)) return false;
  if (ch == kCharEscape) {
    if (value_ != entryValue_) {
      value_ = entryValue_;
      FormatValue();
      edit_.SelectAll();
      if (!ChangeOnExit) Report();
    }
    return true;
  }
  InputChar(ch, true);
  return true;
}

bool NumEditModel::KeyDown(int key, bool shift) {
  const bool negative = StartsWithSign(Text());
  switch (key) {
    case kKeyHome:
      if (!negative) return false;
      edit_.Select(shift ? edit_.Anchor() : 1, 1);
      return true;
    case kKeyLeft:
      return negative && edit_.Caret() <= 1;
    case kKeyDelete:
      if (edit_.HasSelection())
        EraseChecked(edit_.SelStart(), edit_.SelEnd() - edit_.SelStart(), true);
      else if (edit_.Caret() < Text().size())
        EraseChecked(edit_.Caret(), 1, true);
      return true;
    default:
      return false;
  }
}

std::optional<std::string> NumEditModel::Cut() {
  if (!edit_.HasSelection()) return std::nullopt;
  std::string cut = edit_.Selected();
  if (!EraseChecked(edit_.SelStart(), cut.size(), true)) return std::nullopt;
  return cut;
}

bool NumEditModel::Clear() {
  return edit_.HasSelection() && EraseChecked(edit_.SelStart(), edit_.SelEnd() - edit_.SelStart(), true);
}

void NumEditModel::Paste(std::string_view clip) {
  // A pasted number that carries the decimal sign uses the thousands sign for
  // grouping only; typed, that sign stands in for the decimal sign.
  const bool grouped = thousandSign_ != '\0' && clip.find(decimalSign_) != std::string_view::npos;
  bool changed = false;
  // UTF-8 lead and trail bytes are never ASCII, so they are refused like any
  // other character that is no digit or sign.
  for (const char c : clip) {
    if (grouped && c == thousandSign_) continue;
    changed |= InputChar(static_cast<unsigned char>(c), false);
  }
  if (!changed) return;
  edited_ = true;
  Change();
}

std::size_t NumEditModel::IntegerDigits(std::string_view text) const {
  const std::size_t end = std::min(text.find(decimalSign_), text.size());
  return end - (StartsWithSign(text) ? 1 : 0);
}

bool NumEditModel::EraseChecked(std::size_t pos, std::size_t count, bool markEdited) {
  EditText next = edit_;
  next.Erase(pos, count);
  // Joining the fraction to the integer part may not give more integer
  // digits than allowed.
  if (!Fits(next.Text()) && IntegerDigits(next.Text()) > IntegerDigits(Text())) return false;
  return Commit(std::move(next), markEdited);
}

bool NumEditModel::Commit(EditText next, bool markEdited) {
  const bool changed = next.Text() != Text();
  edit_ = std::move(next);
  if (!changed) return false;
  if (markEdited) edited_ = true;
  Change();
  return true;
}

bool NumEditModel::InputChar(char32_t ch, bool markEdited) {
  EditText next = edit_;
  // Typing over a selection replaces it, but only as a whole: a key that is
  // refused leaves the selection standing.
  auto dropSelection = [&] {
    if (!next.HasSelection()) return true;
    next.DeleteSelection();
    return Fits(next.Text()) || IntegerDigits(next.Text()) <= IntegerDigits(Text());
  };
  // Nothing is ever typed in front of the sign.
  auto caret = [&] { return std::max<std::size_t>(next.Caret(), StartsWithSign(next.Text()) ? 1 : 0); };

  if (ch == kCharBackspace) {
    if (edit_.HasSelection()) return EraseChecked(edit_.SelStart(), edit_.SelEnd() - edit_.SelStart(), markEdited);
    if (edit_.Caret() == 0) return false;
    return EraseChecked(edit_.Caret() - 1, 1, markEdited);
  }

  if (ch == static_cast<unsigned char>(negSign_)) {
    if (mayNegative_ && !dropSelection()) return false;
    const std::size_t c = next.Caret();
    if (StartsWithSign(next.Text())) {
      next.Erase(0, 1);
      next.SetCaret(c > 0 ? c - 1 : 0);
    } else if (mayNegative_) {
      next.Insert(0, "-");
      next.SetCaret(c + 1);
    } else {
      return false;
    }
    return Commit(std::move(next), markEdited);
  }

  const int decimals = Decimals();
  if ((ch == static_cast<unsigned char>(decimalSign_) ||
       (thousandSign_ != '\0' && ch == static_cast<unsigned char>(thousandSign_))) &&
      decimals > 0) {
    if (!dropSelection()) return false;
    const std::size_t c = caret();
    if (next.Text().find(decimalSign_) != std::string::npos ||
        next.Text().size() - c > static_cast<std::size_t>(decimals))
      return false;
    next.Insert(c, std::string(1, decimalSign_));
    return Commit(std::move(next), markEdited);
  }

  if (ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
  const std::string_view digitSet = DigitSet();
  if (ch >= 0x80 || digitSet.find(static_cast<char>(ch)) == std::string_view::npos) return false;
  if (!dropSelection()) return false;
  const std::string& s = next.Text();
  const std::size_t c = caret();
  const std::size_t m = static_cast<std::size_t>(length_) + (StartsWithSign(s) ? 1 : 0);
  const std::size_t dp = s.find(decimalSign_);
  bool room;
  if (dp == std::string::npos)
    room = s.size() < m;
  else if (c <= dp)
    room = dp < m;  // in the integer part
  else
    room = s.size() - dp - 1 < static_cast<std::size_t>(decimals);
  if (!room) return false;
  next.Insert(c, std::string(1, static_cast<char>(ch)));
  return Commit(std::move(next), markEdited);
}

void NumEditModel::Change() {
  if (!edited_) return;
  edited_ = false;
  const std::string& t = Text();
  const std::string_view digitSet = DigitSet();
  const std::size_t dp = t.find(decimalSign_);
  double v = 0;
  int fraction = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const std::size_t k = digitSet.find(t[i]);
    if (k == std::string_view::npos) continue;
    v = v * static_cast<double>(digitSet.size()) + static_cast<double>(k);
    if (dp != std::string::npos && i > dp) ++fraction;
  }
  if (!t.empty() && (t.front() == '-' || t.front() == negSign_) && v != 0) v = -v;
  v /= std::pow(10.0, fraction);
  if (v == value_) return;
  value_ = v;
  if (!ChangeOnExit) Report();
}

}  // namespace orvalis::controls
