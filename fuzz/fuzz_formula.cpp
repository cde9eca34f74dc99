// The formula editor's stored form on arbitrary text: what loads writes back
// the same, a form the editor accepts whole writes back byte for byte, and the
// shown text, caret and token positions agree with each other.
//
// The first byte chooses the host: bit 0 names every variable (captions beyond
// ASCII, so that positions count UTF-16 units), bit 1 gives the constants
// names, bits 2 to 7 the caret left by an earlier formula. The stored form is
// the rest.
#include "controls/entry/plineedit_model.h"
#include "core/utf16.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace orvalis;
using namespace orvalis::controls;

namespace {

constexpr std::string_view kSeparator = "@~";

std::vector<std::string_view> Parts(std::string_view stored) {
  std::vector<std::string_view> parts;
  for (std::size_t at; (at = stored.find(kSeparator)) != std::string_view::npos;) {
    parts.push_back(stored.substr(0, at));
    stored.remove_prefix(at + kSeparator.size());
  }
  parts.push_back(stored);
  return parts;
}

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// A definition as the editor writes it: a text variable's "~0001" and its
// bytes as pairs of upper-case digits, or items joined by "@" whose last one
// is not empty (empty items at the end are not kept).
bool IsWrittenDefinition(std::string_view def) {
  if (!def.empty() && def.front() == '~') {
    const std::string_view hex = def.substr(1);
    return hex.starts_with("0001") && hex.size() % 2 == 0 && std::all_of(hex.begin(), hex.end(), IsUpperHex);
  }
  return def.empty() || def.back() != '@';
}

// Whether the editor takes the stored form whole: one definition for every
// "V" token, each in the form the editor writes.
bool AcceptedWhole(std::string_view stored) {
  const std::vector<std::string_view> parts = Parts(stored);
  if (static_cast<std::size_t>(std::count(parts[0].begin(), parts[0].end(), 'V')) != parts.size() - 1) return false;
  return std::all_of(parts.begin() + 1, parts.end(), IsWrittenDefinition);
}

// The caret's display position for the first and the last two dozen cursors,
// checked against the lookups from display positions back to tokens.
void CheckPositions(LineEditModel& m) {
  const std::size_t tokens = m.Tokens().size();
  m.SetCursor(tokens);
  const std::size_t total = m.DisplayCaret();
  const std::string shown = m.DisplayText();
  // Where the text is well-formed, the caret counts what the edit control shows.
  if (const std::optional<std::u16string> wide = Utf8ToUtf16(shown)) FUZZ_CHECK(wide->size() == total);

  std::vector<std::size_t> cursors;
  for (std::size_t c = 0; c <= tokens && c < 24; ++c) cursors.push_back(c);
  for (std::size_t c = tokens > 24 ? tokens - 24 : 24; c <= tokens; ++c) cursors.push_back(c);
  std::optional<std::size_t> previous;
  std::size_t before = 0;
  for (const std::size_t cursor : cursors) {
    m.SetCursor(cursor);
    FUZZ_CHECK(m.Cursor() == cursor);
    const std::size_t caret = m.DisplayCaret();
    FUZZ_CHECK(caret <= total);
    if (previous && *previous < cursor) FUZZ_CHECK(caret >= before);
    previous = cursor;
    before = caret;
    // A click at the caret's position puts the cursor where the caret shows the same.
    const std::size_t back = m.CursorFromDisplay(caret);
    FUZZ_CHECK(back <= cursor);
    m.SetCursor(back);
    FUZZ_CHECK(m.DisplayCaret() == caret);
    // The token under the caret starts at or before it and ends after it.
    if (caret < total) {
      const std::size_t token = m.TokenAtDisplay(caret);
      FUZZ_CHECK(token < tokens);
      m.SetCursor(token);
      const std::size_t start = m.DisplayCaret();
      m.SetCursor(token + 1);
      FUZZ_CHECK(start <= caret && caret < m.DisplayCaret());
    } else {
      FUZZ_CHECK(m.TokenAtDisplay(caret) == tokens);
    }
  }
  m.SetCursor(tokens + 1);
  FUZZ_CHECK(m.Cursor() == tokens);
}

void CheckLines(const LineEditModel& m) {
  const std::vector<std::string> lines = m.DisplayLines();
  if (m.Tokens().empty()) {
    FUZZ_CHECK(lines.empty());
    return;
  }
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += "\r\n";
    FUZZ_CHECK(lines[i].find("\r\n") == std::string::npos);
    joined += lines[i];
  }
  FUZZ_CHECK(joined == m.DisplayText());
}

// The readable form letters variables by hint in order of first appearance:
// the host above gives the i-th variable the hint "h" + i % 5, no host none.
void CheckReadable(const LineEditModel& m, bool named) {
  const std::size_t letters = named ? std::min<std::size_t>(m.VarCount(), 5) : std::min<std::size_t>(m.VarCount(), 1);
  std::string expected;
  std::size_t var = 0;
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on
  // "literal" + std::string temporaries here.
  for (std::size_t i = 0; i < m.Tokens().size(); ++i) {
    if (m.Tokens()[i] == 'V') {
      expected.append("[").append(VariableLetter(named ? var++ % 5 : 0)).append("]");
    } else {
      expected.append(m.TokenDisplay(i));
    }
  }
  for (std::size_t n = 0; n < letters; ++n) {
    expected.append("\r\n[").append(VariableLetter(n)).append("] ");
    if (named) expected.append("h").append(std::to_string(n));
  }
  FUZZ_CHECK(m.ReadableForm() == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  const std::string_view stored(reinterpret_cast<const char*>(data) + 1, size - 1);

  LineEditModel m;
  std::size_t announced = 0;
  if (options & 1)
    m.OnEditVar = [&announced](PVar& var, bool edit, std::int32_t, std::int32_t) {
      FUZZ_CHECK(!edit);  // loading asks for no edit
      var.Caption = announced % 3 == 0 ? "x" : announced % 3 == 1 ? "\xC3\xA9" : "\xF0\x9F\x98\x80";
      var.Hint = std::string("h").append(std::to_string(announced % 5));
      ++announced;
      return true;
    };
  if (options & 2) m.ConstList = {"Turnover", "Kosten \xE2\x82\xAC", ""};
  bool changed = false;
  m.OnChange = [&changed](LineEditModel&) { changed = true; };

  // A caret left by an earlier formula is kept within the new one.
  m.SetText(std::string(64, '1'));
  const std::size_t cursor = options >> 2;
  m.SetCursor(cursor);
  announced = 0;
  m.SetText(stored);
  FUZZ_CHECK(!changed);  // loading is no user change
  FUZZ_CHECK(m.Cursor() == std::min(cursor, m.Tokens().size()));

  // One definition for every "V" token, each announced once; or nothing.
  const std::size_t vars = static_cast<std::size_t>(std::count(m.Tokens().begin(), m.Tokens().end(), 'V'));
  FUZZ_CHECK(m.VarCount() == vars);
  if (options & 1) FUZZ_CHECK(announced == vars);
  const std::string text = m.Text();
  FUZZ_CHECK(text.starts_with(m.Tokens()));

  // The form written is one the editor takes whole, and the input comes back
  // byte for byte exactly when the editor takes it whole.
  FUZZ_CHECK(AcceptedWhole(text));
  FUZZ_CHECK((text == stored) == AcceptedWhole(stored));
  LineEditModel again;
  again.SetText(text);
  FUZZ_CHECK(again.Text() == text);
  FUZZ_CHECK(again.Tokens() == m.Tokens());
  for (std::size_t i = 0; i < vars; ++i) {
    FUZZ_CHECK(again.Var(i).Kind == m.Var(i).Kind);
    FUZZ_CHECK(again.Var(i).Definition() == m.Var(i).Definition());
  }

  CheckLines(m);
  CheckPositions(m);
  CheckReadable(m, (options & 1) != 0);
  return 0;
}
