// The masked edit's rules without a window: mask input, Escape, exit checks and
// the change event.
#include "controls/entry/pedit_model.h"

#include <algorithm>

#include "core/text.h"

namespace orvalis::controls {
namespace {

// UTF-8 to code points; a byte that starts no valid sequence becomes U+FFFD.
std::u32string Decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((t & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (t & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (ok && (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsUpper(char32_t c) { return c >= U'A' && c <= U'Z'; }
bool IsLower(char32_t c) { return c >= U'a' && c <= U'z'; }

bool Fits(char32_t maskChar, char32_t c) {
  switch (maskChar) {
    case U'0': return IsDigit(c);
    case U'A': return IsUpper(c);
    case U'a': return IsLower(c);
    default: return true;
  }
}

constexpr char32_t kBackspace = 8;
constexpr char32_t kReturn = 13;
constexpr char32_t kEscape = 27;
constexpr char32_t kCtrlC = 3;
constexpr char32_t kCtrlV = 22;
constexpr char32_t kCtrlX = 24;
constexpr int kVkDelete = 46;

}  // namespace

bool IsMaskLiteral(char32_t maskChar) { return maskChar != U'0' && maskChar != U'A' && maskChar != U'a'; }

bool TextFitsMask(std::string_view text, std::string_view mask) {
  if (text.empty() || mask.empty()) return true;
  const std::u32string t = Decode(text);
  const std::u32string m = Decode(mask);
  if (t.size() != m.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i)
    if (!Fits(m[i], t[i])) return false;
  return true;
}

std::string_view MaskComplaint(std::string_view language) {
  if (language == "NLD")
    return "De invoer voldoet niet aan het gevraagde format. Vul het volledige veld of wis de invoer";
  return "The entry does not match the required format. Fill in the whole field or clear the entry";
}

std::string PEditModel::Text() const { return Encode(text_); }

std::string PEditModel::SelectedText() const {
  return Encode(std::u32string_view(text_).substr(static_cast<std::size_t>(selStart_),
                                                  static_cast<std::size_t>(selEnd_ - selStart_)));
}

void PEditModel::SetFormat(std::string_view format) {
  format_ = std::string(format);
  mask_ = Decode(format);
}

void PEditModel::SetText(std::string_view text) { Store(Decode(text), 0); }

void PEditModel::SetSelection(int start, int end) {
  const int n = Length();
  start = std::clamp(start, 0, n);
  end = std::clamp(end, 0, n);
  selStart_ = std::min(start, end);
  selEnd_ = std::max(start, end);
}

// The text changed: the caret goes to `caret` without a selection, and the
// change rule runs as the edit's change notification would run it.
void PEditModel::Store(std::u32string text, int caret) {
  const bool changed = text != text_;
  text_ = std::move(text);
  SetSelection(caret, caret);
  if (changed) Changed();
}

void PEditModel::Changed() {
  if (!changeOnExit_) Report();
}

void PEditModel::Report() {
  reportedText_ = text_;
  if (OnChange) OnChange();
}

bool PEditModel::KeyPress(char32_t key) {
  if (key == kEscape) {
    if (text_ != entryText_) {
      std::u32string entry = entryText_;
      Store(std::move(entry), 0);
      SetSelection(0, Length());
      // Restoring the text has reported it already unless the change waits
      // for the exit; one Escape is one change event.
      if (!changeOnExit_ && text_ != reportedText_) Report();
    }
    return true;
  }
  if (key == kReturn && changeOnExit_ && text_ != reportedText_) Report();
  if (mask_.empty() || key == kCtrlC || key == kCtrlV || key == kCtrlX) return false;
  InputChar(key);
  return true;
}

bool PEditModel::KeyDown(int virtualKey) const { return !mask_.empty() && virtualKey == kVkDelete; }

void PEditModel::InputChar(char32_t ch) {
  const auto maskLen = mask_.size();
  const auto caret = static_cast<std::size_t>(selStart_);
  if (ch == kBackspace && caret == text_.size()) {
    if (text_.empty()) return;
    std::u32string t = text_;
    t.pop_back();
    while (!t.empty() && t.size() <= maskLen && IsMaskLiteral(mask_[t.size() - 1])) t.pop_back();
    const int end = static_cast<int>(t.size());
    Store(std::move(t), end);
    return;
  }
  std::size_t p = caret;
  while (p < maskLen && IsMaskLiteral(mask_[p])) ++p;
  if (p >= maskLen) return;
  if (mask_[p] == U'A' && IsLower(ch)) ch = ch - U'a' + U'A';
  if (mask_[p] == U'a' && IsUpper(ch)) ch = ch - U'A' + U'a';
  if (!Fits(mask_[p], ch)) return;
  std::u32string t = text_;
  for (std::size_t q = caret; q < p; ++q) {
    if (q < t.size())
      t[q] = mask_[q];
    else
      t.push_back(mask_[q]);
  }
  if (p < t.size())
    t[p] = ch;
  else
    t.push_back(ch);
  Store(std::move(t), static_cast<int>(p) + 1);
}

void PEditModel::Paste(std::string_view text) {
  std::u32string piece = Decode(text);
  const auto lineEnd = piece.find_first_of(U"\r\n");
  if (lineEnd != std::u32string::npos) piece.resize(lineEnd);
  std::u32string t = text_;
  t.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_), piece);
  Store(std::move(t), selStart_ + static_cast<int>(piece.size()));
}

std::string PEditModel::Cut() {
  std::string cut = SelectedText();
  if (selEnd_ > selStart_) {
    std::u32string t = text_;
    t.erase(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selEnd_ - selStart_));
    Store(std::move(t), selStart_);
  }
  return cut;
}

void PEditModel::TextEdited(std::string_view text, int selStart, int selEnd) {
  Store(Decode(text), 0);
  SetSelection(selStart, selEnd);
}

void PEditModel::Enter() { entryText_ = text_; }

bool PEditModel::Exit() {
  if (firstCapital_ && !text_.empty()) {
    std::u32string t = text_;
    const std::u32string first = Decode(UpperCase(Encode(t.substr(0, 1))));
    if (first.size() == 1 && first[0] != t[0]) {
      t[0] = first[0];
      Store(std::move(t), selStart_);
    }
  }
  bool incomplete = false;
  if (!mask_.empty() && !TextFitsMask(Text(), format_)) {
    incomplete = true;
    SetSelection(Length(), Length());
  }
  if (changeOnExit_ && text_ != reportedText_) Report();
  return incomplete;
}

void PEditModel::Destroy() {
  if (changeOnExit_ && text_ != reportedText_) Report();
}

std::optional<PEditModel::HintUpdate> PEditModel::MouseMove() {
  if (!autoHint_) return std::nullopt;
  std::string text = Text();
  if (text == hint_) return std::nullopt;
  hint_ = std::move(text);
  return HintUpdate{hint_, !hint_.empty()};
}

}  // namespace orvalis::controls
