// The postcode edit's text, key rules and checking.
#include "controls/entry/pzipedit_model.h"

#include <utility>

namespace orvalis::controls {
namespace {

constexpr std::size_t kDigits = 4;
constexpr std::size_t kCodeLength = 6;

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsUpperLetter(char32_t c) { return c >= 'A' && c <= 'Z'; }
char32_t Upper(char32_t c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

}  // namespace

std::optional<std::string> CheckPostcode(std::string_view text) {
  std::string code;
  for (const char c : text) {
    if (c == ' ') continue;
    const char32_t u = Upper(static_cast<unsigned char>(c));
    const bool fits = code.size() < kDigits ? IsDigit(u) : code.size() < kCodeLength && IsUpperLetter(u);
    if (!fits) return std::nullopt;
    code.push_back(static_cast<char>(u));
  }
  return code;
}

void ZipEditModel::SetText(std::string text) {
  EditText next = edit_;
  next.SetText(std::move(text));
  Commit(std::move(next), false);
}

void ZipEditModel::Enter() {
  focused_ = true;
  FormatValue();
  entryText_ = Text();
  edit_.SelectAll();
}

void ZipEditModel::Exit() {
  focused_ = false;
  FormatValue();
  ReportPending();
}

void ZipEditModel::Destroy() { ReportPending(); }

void ZipEditModel::Notify() {
  if (ChangeOnExit)
    pending_ = true;
  else if (OnChange)
    OnChange(*this);
}

void ZipEditModel::ReportPending() {
  // Edits that end where they began (Escape, or typed back) are no change.
  if (std::exchange(pending_, false) && CheckPostcode(Text()).value_or("") != entryText_ && OnChange)
    OnChange(*this);
}

void ZipEditModel::FormatValue() {
  std::string s = Text();
  if (focused_ && s.size() > kDigits && s[kDigits] == ' ')
    s.erase(kDigits, 1);
  else if (!focused_ && s.size() > kDigits && s.find(' ') == std::string::npos)
    s.insert(kDigits, 1, ' ');
  else
    return;
  SetText(std::move(s));
}

bool ZipEditModel::KeyPress(char32_t ch) {
  if (IsClipboardChar(ch)) return false;
  if (ch == kCharEscape) {
    if (Text() != entryText_) {
      SetText(entryText_);
      edit_.SelectAll();
      Notify();
    }
    return true;
  }
  InputChar(ch, true);
  return true;
}

bool ZipEditModel::KeyDown(int key, bool /*shift*/) {
  if (key != kKeyDelete) return false;
  // Delete only ever empties a wholly selected code.
  if (edit_.HasSelection() && edit_.WholeSelected()) {
    EditText next = edit_;
    next.SetText("");
    Commit(std::move(next), true);
  }
  return true;
}

std::optional<std::string> ZipEditModel::Cut() {
  std::string cut = edit_.Selected();
  if (cut.empty() || !Clear()) return std::nullopt;
  return cut;
}

bool ZipEditModel::Clear() {
  // Taking a piece out of the middle would leave no postcode, which the check
  // would then clear entirely: such a cut is refused instead.
  if (!edit_.HasSelection() || !CheckPostcode(edit_.WithoutSelection())) return false;
  EditText next = edit_;
  next.DeleteSelection();
  return Commit(std::move(next), true);
}

void ZipEditModel::Paste(std::string_view clip) {
  bool changed = false;
  for (const char c : clip) changed |= InputChar(static_cast<unsigned char>(c), false);
  if (!changed) return;
  edited_ = true;
  Change();
}

bool ZipEditModel::InputChar(char32_t ch, bool markEdited) {
  EditText next = edit_;
  if (ch == kCharBackspace) {
    if (!next.HasSelection() && next.Caret() == next.Text().size() && !next.Text().empty())
      next.Erase(next.Text().size() - 1, 1);
    else if (next.HasSelection() && next.WholeSelected())
      next.SetText("");
    else
      return false;
    return Commit(std::move(next), markEdited);
  }
  const char32_t u = Upper(ch);
  if (IsDigit(u) && next.HasSelection() && next.WholeSelected()) next.SetText("");
  // Codes are typed from the front: only the end of the text takes characters.
  const std::size_t p = next.SelStart();
  if (next.HasSelection() || p != next.Text().size()) return false;
  if (!(IsDigit(u) && p < kDigits) && !(IsUpperLetter(u) && (p == kDigits || p == kDigits + 1))) return false;
  next.Insert(p, std::string(1, static_cast<char>(u)));
  return Commit(std::move(next), markEdited);
}

bool ZipEditModel::Commit(EditText next, bool markEdited) {
  if (next.Text() == Text()) {
    edit_ = std::move(next);
    return false;
  }
  edit_ = std::move(next);
  if (markEdited) edited_ = true;
  Change();
  return true;
}

void ZipEditModel::Change() {
  const bool edited = std::exchange(edited_, false);
  std::string code = CheckPostcode(Text()).value_or("");
  if (!focused_ && code.size() > kDigits) code.insert(kDigits, 1, ' ');
  if (code != Text()) edit_.SetText(std::move(code));
  if (edited) Notify();
}

}  // namespace orvalis::controls
