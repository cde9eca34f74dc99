// The masked edit with clipboard texts pasted among typed keys: a paste puts
// the text up to its first line break in place of the selection, the field
// may be left only with a text its mask accepts (or none), and what it accepts
// is what typing the same characters gives.
//
// The first byte chooses the mask (bits 0-2), first-letter capitals (bit 3)
// and the change reported on leaving (bit 4); the rest is an entry script.
#include "controls/entry/pedit_model.h"
#include "core/utf16.h"
#include "fuzz/entry_script.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace orvalis;
using namespace orvalis::controls;
using orvalis::fuzz::EntryStep;

namespace {

constexpr std::string_view kMasks[] = {"", "0000 AA", "00-00-0000", "!>LL", "(000)", "aa-AA", "\xE2\x82\xAC 00", "0"};

// Code points as the field keeps them: a byte that starts no well-formed
// sequence stands for itself as U+FFFD.
std::u32string CodePoints(std::string_view text) {
  std::u32string out;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Char c = DecodeUtf8At(text, at);
    out.push_back(c.size == 0 ? U'\xFFFD' : c.code);
    at += c.size == 0 ? 1 : c.size;
  }
  return out;
}

std::string Utf8(std::u32string_view text) {
  std::u16string wide;
  for (const char32_t c : text) {
    if (c < 0x10000) {
      wide.push_back(static_cast<char16_t>(c));
    } else {
      wide.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return Utf16ToUtf8(wide);
}

bool IsSlot(char32_t maskChar) { return !IsMaskLiteral(maskChar); }

// The text left on leaving is one the mask accepts, or the field complains
// with the caret at the end; an accepted text is what typing its letters and
// digits gives, the control writing the literals up to the last of them.
void CheckLeaving(const PEditModel& field) {
  PEditModel left = field;
  left.OnChange = nullptr;
  const bool complaint = left.Exit();
  const std::string text = left.Text();
  const std::string& format = left.Format();
  FUZZ_CHECK(complaint == !TextFitsMask(text, format));
  if (complaint) {
    FUZZ_CHECK(left.SelStart() == left.Length() && left.SelEnd() == left.Length());
    return;
  }
  if (format.empty() || text.empty()) return;
  const std::u32string mask = CodePoints(format);
  const std::u32string chars = CodePoints(text);
  FUZZ_CHECK(chars.size() == mask.size());
  PEditModel typed;
  typed.SetFormat(format);
  std::size_t typedUpTo = 0;  // the positions up to the last letter or digit
  for (std::size_t i = 0; i < mask.size(); ++i) {
    if (!IsSlot(mask[i])) continue;
    typed.KeyPress(chars[i]);
    typedUpTo = i + 1;
  }
  std::u32string expected;
  for (std::size_t i = 0; i < typedUpTo; ++i) expected.push_back(IsSlot(mask[i]) ? chars[i] : mask[i]);
  FUZZ_CHECK(typed.Text() == Utf8(expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  const std::string_view script(reinterpret_cast<const char*>(data) + 1, size - 1);

  PEditModel field;
  field.SetFormat(kMasks[options & 7]);
  field.SetFirstCapital((options & 8) != 0);
  field.SetChangeOnExit((options & 16) != 0);
  int changes = 0;
  field.OnChange = [&changes] { ++changes; };
  field.Enter();

  fuzz::ForEachStep(script, [&](const EntryStep& step) {
    switch (step.kind) {
      case EntryStep::Kind::Key: field.KeyPress(step.key); break;
      case EntryStep::Kind::Select:
        field.SetSelection(static_cast<int>(step.anchor), static_cast<int>(step.caret));
        break;
      case EntryStep::Kind::Delete: (void)field.KeyDown(46); break;
      case EntryStep::Kind::Cut:
      case EntryStep::Kind::Clear: (void)field.Cut(); break;
      case EntryStep::Kind::Refocus:
        (void)field.Exit();
        field.Enter();
        break;
      case EntryStep::Kind::Home: (void)field.KeyDown(36); break;
      case EntryStep::Kind::Paste: {
        const std::u32string before = CodePoints(field.Text());
        const auto start = static_cast<std::size_t>(field.SelStart());
        const auto end = static_cast<std::size_t>(field.SelEnd());
        FUZZ_CHECK(start <= end && end <= before.size());
        std::u32string piece = CodePoints(step.text);
        piece.resize(std::min(piece.find_first_of(U"\r\n"), piece.size()));
        const int changesBefore = changes;
        field.Paste(step.text);
        const std::u32string expected = before.substr(0, start) + piece + before.substr(end);
        FUZZ_CHECK(field.Text() == Utf8(expected));
        FUZZ_CHECK(field.SelStart() == field.SelEnd() && field.SelStart() == static_cast<int>(start + piece.size()));
        // One change event for a paste that changed the text, unless it waits for the exit.
        FUZZ_CHECK(changes - changesBefore == (expected != before && !field.ChangeOnExit() ? 1 : 0));
        CheckLeaving(field);
        break;
      }
    }
    // Whatever happened, the field holds well-formed text and a selection inside it.
    FUZZ_CHECK(Utf8ToUtf16(field.Text()).has_value());
    FUZZ_CHECK(static_cast<std::size_t>(field.Length()) == CodePoints(field.Text()).size());
    FUZZ_CHECK(0 <= field.SelStart() && field.SelStart() <= field.SelEnd() && field.SelEnd() <= field.Length());
  });
  CheckLeaving(field);
  return 0;
}
