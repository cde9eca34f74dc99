// The formula line editor's token string, stored form, display and keys.
#include "controls/entry/plineedit_model.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/hex.h"

namespace orvalis::controls {
namespace {

constexpr std::string_view kInsertable = "0123456789.+-*/()?:><=^%rsctalenpb&|d !";
constexpr std::string_view kSeparator = "@~";
constexpr std::string_view kTextPrefix = "0001";  // a text variable's definition starts so

constexpr int kBackspace = 8;
constexpr int kVkReturn = 0x0D;
constexpr int kVkEnd = 0x23;
constexpr int kVkHome = 0x24;
constexpr int kVkLeft = 0x25;
constexpr int kVkRight = 0x27;
constexpr int kVkInsert = 0x2D;
constexpr int kVkDelete = 0x2E;
constexpr int kVkF7 = 0x76;
constexpr int kVkF10 = 0x79;

// The length the edit control gives UTF-8 text: UTF-16 units.
std::size_t Utf16Length(std::string_view s) {
  std::size_t n = 0;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c & 0xC0) != 0x80) ++n;  // every lead byte starts a unit
    if (c >= 0xF0) ++n;           // four-byte sequences need a surrogate pair
  }
  return n;
}

// Every part between separators, empty ones included, so that a last empty
// definition stays a variable.
std::vector<std::string_view> SplitAll(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(sep);
    if (at == std::string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + sep.size());
  }
  parts.push_back(text);
  return parts;
}

std::string_view FunctionName(char c) {
  switch (c) {
    case '?': return " then ";
    case ':': return " else ";
    case '&': return " and ";
    case '|': return " or ";
    case 's': return "sin";
    case 'c': return "cos";
    case 't': return "tan";
    case 'a': return "atan";
    case 'b': return "abs";
    case 'r': return "sqrt";
    case 'l': return "log";
    case 'd': return "round";
    case 'e': return "exp";
    case 'p': return " Pi ";
    case 'n': return "n!";
    case '!': return "\r\n";
    default: return {};
  }
}

}  // namespace

std::string VariableLetter(std::size_t index) {
  std::string letters;
  for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

bool NeedsVerticalScroll(const std::vector<int>& lineWidths, int lineHeight, int clientWidth, int clientHeight) {
  if (clientWidth <= 0) return false;
  long long used = 0;
  for (const int width : lineWidths) {
    used += static_cast<long long>(std::max(width, 0) / clientWidth + 1) * lineHeight;
    if (used >= clientHeight) return true;
  }
  return false;
}

bool IsInsertableToken(char c) { return c != '\0' && kInsertable.find(c) != std::string_view::npos; }

std::string PVar::Definition() const {
  if (Kind == 1) return std::string(kTextPrefix) + BytesToHex(TextValue);
  std::size_t used = Items.size();
  while (used > 0 && Items[used - 1].empty()) --used;
  std::string def;
  for (std::size_t i = 0; i < used; ++i) {
    if (i > 0) def += '@';
    def += Items[i];
  }
  return def;
}

void PVar::ParseDefinition(std::string_view def) {
  Items.clear();
  TextValue.clear();
  if (Kind == 1) {
    if (def.size() > kTextPrefix.size()) TextValue = HexToByteString(def.substr(kTextPrefix.size()));
    return;
  }
  if (def.empty()) return;
  for (const std::string_view item : SplitAll(def, "@")) Items.emplace_back(item);
}

std::string LineEditModel::Text() const {
  std::string stored = tokens_;
  for (const auto& var : vars_) {
    stored += kSeparator;
    if (var->Kind == 1) stored += '~';
    stored += var->Definition();
  }
  return stored;
}

void LineEditModel::SetText(std::string_view stored) {
  vars_.clear();
  const std::vector<std::string_view> parts = SplitAll(stored, kSeparator);
  tokens_.assign(parts.front());
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view def = parts[i];
    auto var = std::make_unique<PVar>();
    if (!def.empty() && def.front() == '~') {
      var->Kind = 1;
      def.remove_prefix(1);
    }
    var->ParseDefinition(def);
    vars_.push_back(std::move(var));
  }
  // The host hears only of variables that stay: a form whose counts differ is
  // dropped before anyone holds on to its variables.
  if (static_cast<std::size_t>(std::count(tokens_.begin(), tokens_.end(), 'V')) != vars_.size()) {
    tokens_.clear();
    vars_.clear();
  }
  if (OnEditVar)
    for (auto& var : vars_) OnEditVar(*var, false, 0, 0);
  SetCursor(cursor_);
}

std::size_t LineEditModel::VarIndexAt(std::size_t tokenIndex) const {
  const auto end = tokens_.begin() + static_cast<std::ptrdiff_t>(std::min(tokenIndex, tokens_.size()));
  return static_cast<std::size_t>(std::count(tokens_.begin(), end, 'V'));
}

PVar* LineEditModel::VarAtToken(std::size_t index) {
  if (index >= tokens_.size() || tokens_[index] != 'V') return nullptr;
  const std::size_t vi = VarIndexAt(index);
  return vi < vars_.size() ? vars_[vi].get() : nullptr;
}

std::string LineEditModel::TokenDisplay(std::size_t index) const {
  const char c = tokens_[index];
  if (c == 'V') {
    const std::size_t vi = VarIndexAt(index);
    if (vi < vars_.size()) return "[" + vars_[vi]->Caption + "]";
  }
  if (c >= 'A' && c <= 'Z') {
    const auto entry = static_cast<std::size_t>(c - 'A');
    return "{" + (entry < ConstList.size() ? ConstList[entry] : std::string(1, c)) + "}";
  }
  const std::string_view name = FunctionName(c);
  return name.empty() ? std::string(1, c) : std::string(name);
}

std::string LineEditModel::DisplayText() const {
  std::string shown;
  for (std::size_t i = 0; i < tokens_.size(); ++i) shown += TokenDisplay(i);
  return shown;
}

std::vector<std::string> LineEditModel::DisplayLines() const {
  std::vector<std::string> lines;
  if (tokens_.empty()) return lines;
  const std::string text = DisplayText();  // the pieces point into it
  for (const std::string_view line : SplitAll(text, "\r\n")) lines.emplace_back(line);
  return lines;
}

std::size_t LineEditModel::DisplayCaret() const {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < cursor_; ++i) pos += Utf16Length(TokenDisplay(i));
  return pos;
}

std::size_t LineEditModel::CursorFromDisplay(std::size_t pos) const {
  std::size_t sum = 0;
  std::size_t i = 0;
  while (i < tokens_.size() && sum < pos) sum += Utf16Length(TokenDisplay(i++));
  return i;
}

std::size_t LineEditModel::TokenAtDisplay(std::size_t pos) const {
  std::size_t sum = 0;
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    sum += Utf16Length(TokenDisplay(i));
    if (pos < sum) return i;
  }
  return tokens_.size();
}

void LineEditModel::Changed() {
  if (OnChange) OnChange(*this);
}

void LineEditModel::NewVariable(int kind) {
  auto var = std::make_unique<PVar>();
  var->Kind = kind;
  const ScreenPoint at = CaretScreenPos ? CaretScreenPos() : ScreenPoint{};
  if (!OnEditVar(*var, true, at.x, at.y)) return;
  // List order stays token order.
  vars_.insert(vars_.begin() + static_cast<std::ptrdiff_t>(VarIndexAt(cursor_)), std::move(var));
  tokens_.insert(cursor_++, 1, 'V');
  Changed();
}

bool LineEditModel::KeyPress(char ch) {
  if (ch == ',') ch = '.';
  if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  if (Locked) return false;
  if (IsInsertableToken(ch)) {
    tokens_.insert(cursor_++, 1, ch);
    Changed();
    return true;
  }
  if (ch == kBackspace) {
    if (cursor_ >= 1) DeletePos(cursor_--);
    return true;
  }
  if ((ch == 'v' || ch == '"' || ch == '[' || ch == ']') && OnEditVar) {
    NewVariable(ch == '"' ? 1 : 0);
    return true;
  }
  return false;
}

bool LineEditModel::KeyDown(int key, bool ctrl, bool shift, FormulaClipboard& clip) {
  const bool plain = !ctrl && !shift;
  if (ctrl && !shift && (key == 'C' || key == kVkInsert)) {
    Copy(clip);
  } else if ((ctrl && !shift && key == 'X') || (shift && !ctrl && key == kVkDelete)) {
    if (!Locked) Cut(clip);
  } else if ((ctrl && !shift && key == 'V') || (shift && !ctrl && key == kVkInsert)) {
    if (!Locked) Paste(clip);
  } else if (ctrl && !shift && key == 'R') {
    clip.SetText(ReadableForm());
  } else if (!plain) {
    return false;
  } else if (key == kVkReturn) {
    KeyPress('!');
  } else if (key == kVkLeft) {
    if (cursor_ > 0) --cursor_;
  } else if (key == kVkRight) {
    SetCursor(cursor_ + 1);
  } else if (key == kVkHome) {
    cursor_ = 0;
  } else if (key == kVkEnd) {
    cursor_ = tokens_.size();
  } else if (key == kVkDelete) {
    DeletePos(cursor_ + 1);  // even when locked
  } else if (key == kVkF7) {
    KeyPress('"');
  } else if (key == kVkF10) {
    KeyPress('[');
  } else {
    // Up and Down move the memo's caret; plain Insert has no action.
    return false;
  }
  return true;
}

void LineEditModel::Cut(FormulaClipboard& clip) {
  clip.SetText(Text());
  SetText("");
  Changed();
}

void LineEditModel::Paste(FormulaClipboard& clip) {
  SetText(clip.GetText());
  Changed();
}

bool LineEditModel::InsertConst(int index) {
  if (index < 0 || index >= 26 || index == 'V' - 'A') return false;
  tokens_.insert(cursor_++, 1, static_cast<char>('A' + index));
  Changed();
  return true;
}

void LineEditModel::DeletePos(std::size_t position) {
  if (position < 1 || position > tokens_.size()) return;
  const std::size_t index = position - 1;
  if (tokens_[index] == 'V') {
    const std::size_t vi = VarIndexAt(index);
    if (vi >= vars_.size()) return;
    vars_.erase(vars_.begin() + static_cast<std::ptrdiff_t>(vi));
  }
  tokens_.erase(index, 1);
  SetCursor(cursor_);
  Changed();
}

bool LineEditModel::CanEdit() const { return cursor_ >= 1 && tokens_[cursor_ - 1] == 'V'; }

void LineEditModel::DoEdit(ScreenPoint at) {
  PVar* var = cursor_ >= 1 ? VarAtToken(cursor_ - 1) : nullptr;
  if (var == nullptr || !OnEditVar) return;
  OnEditVar(*var, true, at.x, at.y);
  Changed();
}

std::string LineEditModel::ReadableForm() const {
  std::map<std::string, std::size_t> letterOfHint;
  std::vector<const std::string*> hints;  // by letter, in order of first appearance
  std::string out;
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    const std::size_t vi = tokens_[i] == 'V' ? VarIndexAt(i) : vars_.size();
    if (vi >= vars_.size()) {
      out += TokenDisplay(i);
      continue;
    }
    const std::string& hint = vars_[vi]->Hint;
    const auto [it, added] = letterOfHint.try_emplace(hint, hints.size());
    if (added) hints.push_back(&hint);
    out += '[';
    out += VariableLetter(it->second);
    out += ']';
  }
  for (std::size_t n = 0; n < hints.size(); ++n) {
    out += "\r\n[";
    out += VariableLetter(n);
    out += "] ";
    for (const char c : *hints[n]) {
      out += c;
      if (c == '\n') out += "    ";
    }
  }
  return out;
}

}  // namespace orvalis::controls
