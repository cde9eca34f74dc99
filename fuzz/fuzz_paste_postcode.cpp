// The postcode edit with clipboard texts pasted among typed keys: the focused
// field holds a (partial) postcode, at most four digits and then two capitals,
// a paste leaves what typing the same characters gives, and leaving puts the
// space after the digits.
//
// The first byte chooses the text set by the host (bits 0-1) and the change
// reported on leaving (bit 2); the rest is an entry script.
#include "controls/entry/pzipedit_model.h"
#include "fuzz/entry_script.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace orvalis::controls;
using orvalis::fuzz::EntryStep;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// Up to four digits, then, after all four, up to two capitals.
bool IsPartialCode(std::string_view text) {
  if (text.size() > 6) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i < 4 ? !IsDigit(text[i]) : !IsCapital(text[i])) return false;
  return true;
}

void CheckLeaving(const ZipEditModel& field) {
  ZipEditModel left = field;
  left.OnChange = nullptr;
  left.Exit();
  std::string expected = field.Text();
  if (expected.size() > 4) expected.insert(4, 1, ' ');
  FUZZ_CHECK(left.Text() == expected);
  FUZZ_CHECK(CheckPostcode(left.Text()) == field.Text());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  const std::string_view script(reinterpret_cast<const char*>(data) + 1, size - 1);
  const char* const texts[] = {"", "1234 ab", "12", "12345"};

  ZipEditModel field;
  field.SetText(texts[options & 3]);
  field.ChangeOnExit = (options & 4) != 0;
  int changes = 0;
  field.OnChange = [&changes](ZipEditModel&) { ++changes; };
  field.Enter();

  orvalis::fuzz::ForEachStep(script, [&](const EntryStep& step) {
    switch (step.kind) {
      case EntryStep::Kind::Key: field.KeyPress(step.key); break;
      case EntryStep::Kind::Select: field.SetSelection(step.anchor, step.caret); break;
      case EntryStep::Kind::Delete: field.KeyDown(kKeyDelete); break;
      case EntryStep::Kind::Cut: (void)field.Cut(); break;
      case EntryStep::Kind::Clear: (void)field.Clear(); break;
      case EntryStep::Kind::Refocus:
        CheckLeaving(field);
        field.Exit();
        field.Enter();
        break;
      case EntryStep::Kind::Home: field.KeyDown(kKeyHome); break;
      case EntryStep::Kind::Paste: {
        const std::string before = field.Text();
        const int changesBefore = changes;
        field.Paste(step.text);
        // One change event at most; one for certain when the code changed. (Characters the
        // paste took and then removed again count as an edit too.)
        FUZZ_CHECK(changes - changesBefore <= (field.ChangeOnExit ? 0 : 1));
        if (field.Text() != before && !field.ChangeOnExit) FUZZ_CHECK(changes - changesBefore == 1);
        // Typed, the same characters give the same code.
        ZipEditModel typed;
        typed.Enter();
        for (const char c : field.Text()) typed.KeyPress(static_cast<unsigned char>(c));
        FUZZ_CHECK(typed.Text() == field.Text());
        CheckLeaving(field);
        break;
      }
    }
    FUZZ_CHECK(field.Focused());
    FUZZ_CHECK(IsPartialCode(field.Text()));
    FUZZ_CHECK(CheckPostcode(field.Text()) == field.Text());
    FUZZ_CHECK(field.Edit().SelEnd() <= field.Text().size());
  });
  CheckLeaving(field);
  return 0;
}
