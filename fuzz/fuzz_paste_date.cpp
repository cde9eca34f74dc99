// The date edit with clipboard texts pasted among typed keys: the field keeps
// at most eight digits, a paste leaves what typing the same digits gives, the
// date is always the one the digits spell (or none), and leaving shows it as
// dd-mm-yyyy.
//
// The first byte chooses the date set by the host (bits 0-1), the start and
// end dates that "<" and ">" offer (bits 2-3, 4-5) and the change reported on
// leaving (bit 6); the rest is an entry script.
#include "controls/entry/pdateedit_model.h"
#include "fuzz/entry_script.h"
#include "fuzz/fuzz_check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis::controls;
using orvalis::fuzz::EntryStep;

namespace {

double Day(int year, int month, int day) { return *DayNumber(year, month, day); }

bool AllDigits(std::string_view text) {
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// Leaving shows the date with hyphens, a real calendar day, or nothing.
void CheckLeaving(const PDateEditModel& field) {
  PDateEditModel left = field;
  left.OnChange = nullptr;
  left.Exit();
  const std::string& text = left.Text();
  const int whole = WholeDays(left.Date()).value_or(0);
  if (whole == 0) {
    FUZZ_CHECK(text.empty());
    return;
  }
  FUZZ_CHECK(text.size() == 10 && text[2] == '-' && text[5] == '-');
  const std::string digits = text.substr(0, 2) + text.substr(3, 2) + text.substr(6);
  FUZZ_CHECK(AllDigits(digits));
  const int day = std::stoi(digits.substr(0, 2)), month = std::stoi(digits.substr(2, 2));
  const int year = std::stoi(digits.substr(4));
  FUZZ_CHECK(DayNumber(year, month, day) == whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  const std::string_view script(reinterpret_cast<const char*>(data) + 1, size - 1);
  const double dates[] = {0, Day(2014, 3, 12) + 0.75, Day(1, 1, 1), Day(9999, 12, 31)};

  PDateEditModel field;
  field.SetDate(dates[options & 3]);
  field.SetStartDate(dates[(options >> 2) & 3]);
  field.SetEndDate(dates[(options >> 4) & 3]);
  field.SetChangeOnExit((options & 64) != 0);
  int changes = 0;
  field.OnChange = [&changes] { ++changes; };
  field.Enter();

  orvalis::fuzz::ForEachStep(script, [&](const EntryStep& step) {
    switch (step.kind) {
      case EntryStep::Kind::Key: field.KeyPress(step.key); break;
      case EntryStep::Kind::Select:
        field.SetSelection(static_cast<int>(step.anchor), static_cast<int>(step.caret));
        break;
      case EntryStep::Kind::Delete: (void)field.KeyDown(46); break;
      case EntryStep::Kind::Cut: (void)field.Cut(); break;
      case EntryStep::Kind::Clear: field.Clear(); break;
      case EntryStep::Kind::Refocus:
        CheckLeaving(field);
        field.Exit();
        field.Enter();
        break;
      case EntryStep::Kind::Home: (void)field.KeyDown(36); break;
      case EntryStep::Kind::Paste: {
        const double before = field.Date();
        const int changesBefore = changes;
        field.Paste(step.text);
        // The pasted text is parsed whatever came of it.
        FUZZ_CHECK(field.Date() == ParseDateDigits(field.Text()));
        FUZZ_CHECK(changes - changesBefore == (field.Date() != before && !field.ChangeOnExit() ? 1 : 0));
        // Typed, the same digits give the same text and date.
        PDateEditModel typed;
        typed.Enter();
        for (const char c : field.Text()) typed.KeyPress(static_cast<unsigned char>(c));
        FUZZ_CHECK(typed.Text() == field.Text());
        FUZZ_CHECK(typed.Date() == field.Date());
        // Eight digits of a date are the text the field shows for it.
        if (field.Date() != 0 && field.Text().size() == 8) FUZZ_CHECK(DateText(field.Date(), true) == field.Text());
        CheckLeaving(field);
        break;
      }
    }
    // Whatever happened, the focused field holds at most eight digits, and the
    // date's whole days are the ones they spell.
    FUZZ_CHECK(field.Focused());
    FUZZ_CHECK(field.Text().size() <= 8 && AllDigits(field.Text()));
    FUZZ_CHECK(std::isfinite(field.Date()) && ParseDateDigits(field.Text()) == std::trunc(field.Date()));
    FUZZ_CHECK(0 <= field.SelStart() && field.SelStart() <= field.SelEnd() &&
               field.SelEnd() <= static_cast<int>(field.Text().size()));
  });
  CheckLeaving(field);
  return 0;
}
