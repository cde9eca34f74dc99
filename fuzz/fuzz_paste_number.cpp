// The number edit with clipboard texts pasted among typed keys: the focused
// text stays a number of the allowed shape (sign only where negatives are
// allowed, the digit set of the mode, at most the integer and decimal digits
// set), a paste leaves what typing the same characters gives, the value is
// the number the text spells, and leaving shows that value.
//
// The first byte chooses one of eight settings (bits 0-2), the change reported
// on leaving (bit 3) and the value set by the host (bits 4-5); the rest is an
// entry script. Every setting keeps to 15 significant digits, which a double
// holds exactly, so that text and value can be compared digit for digit.
#include "controls/entry/pnumedit_model.h"
#include "fuzz/entry_script.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis::controls;
using orvalis::fuzz::EntryStep;

namespace {

struct Setting {
  PNumEdit_Type type;
  int decimals;
  int length;
  bool mayNegative;
  char decimalSign;
  char thousandSign;
  char negSign;
  bool displayDecimals;
  bool minimalZero;
};

constexpr Setting kSettings[] = {
    {PNumEdit_Type::pntNumeric, 2, 8, true, ',', '.', '-', false, true},
    {PNumEdit_Type::pntNumeric, 0, 4, false, ',', '.', '-', false, true},
    {PNumEdit_Type::pntHexadecimal, 2, 8, true, ',', '.', '-', false, true},
    {PNumEdit_Type::pntCurrency, 3, 12, true, '.', ',', '-', true, true},
    {PNumEdit_Type::pntNumeric, 2, 6, true, ',', '\0', 'm', false, false},
    {PNumEdit_Type::pntPercentage, 4, 1, false, ',', ' ', '-', true, false},
    {PNumEdit_Type::pntHexadecimal, 0, 4, false, '.', '\0', '-', false, true},
    {PNumEdit_Type::pntNumeric, 1, 14, true, '.', ',', '-', false, true},
};

void Apply(NumEditModel& m, const Setting& s) {
  m.SetType(s.type);
  m.SetDecimalLen(s.decimals);
  m.SetLength(s.length);
  m.SetMayNegative(s.mayNegative);
  m.SetDecimalSign(s.decimalSign);
  m.SetThousandSign(s.thousandSign);
  m.SetNegSign(s.negSign);
  m.SetDisplayDecimals(s.displayDecimals);
  m.SetMinimalZero(s.minimalZero);
}

struct Parts {
  bool negative = false;
  std::string integer;
  bool point = false;
  std::string fraction;
};

// The focused text's parts, or false when it is no number of the setting's shape.
bool Split(const NumEditModel& m, Parts& parts) {
  std::string_view text = m.Text();
  const std::string_view digits = m.DigitSet();
  if (!text.empty() && text.front() == '-') {
    parts.negative = true;
    text.remove_prefix(1);
  }
  for (const char c : text) {
    if (c == m.DecimalSign() && !parts.point && m.Decimals() > 0) {
      parts.point = true;
    } else if (digits.find(c) != std::string_view::npos) {
      (parts.point ? parts.fraction : parts.integer) += c;
    } else {
      return false;
    }
  }
  return true;
}

// The text a value of these digits is written as: no leading zeros, trailing
// decimal zeros as the setting keeps them, no sign on zero.
std::string Normalised(const NumEditModel& m, const Parts& parts) {
  std::string integer = parts.integer;
  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
  if (integer.empty()) integer.push_back('0');
  std::string fraction = parts.fraction;
  if (m.DisplayDecimals())
    fraction.resize(static_cast<std::size_t>(m.Decimals()), '0');
  else
    fraction.erase(std::min(fraction.find_last_not_of('0') + 1, fraction.size()));
  const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
  std::string text = parts.negative && !zero ? "-" : "";
  text += integer;
  if (!fraction.empty()) text += m.DecimalSign() + fraction;
  return text;
}

void CheckShapeAndValue(const NumEditModel& m, const Setting& s) {
  Parts parts;
  FUZZ_CHECK(Split(m, parts));
  FUZZ_CHECK(!parts.negative || s.mayNegative);
  FUZZ_CHECK(parts.integer.size() <= static_cast<std::size_t>(m.Length()));
  FUZZ_CHECK(parts.fraction.size() <= static_cast<std::size_t>(m.Decimals()));
  const bool hex = m.Type() == PNumEdit_Type::pntHexadecimal;
  FUZZ_CHECK(FormatNumber(m.Value(), m.Decimals(), hex, m.DisplayDecimals(), m.DecimalSign(), '\0') ==
             Normalised(m, parts));
}

// Leaving shows the value grouped, and nothing for zero when so set.
void CheckLeaving(const NumEditModel& field) {
  NumEditModel left = field;
  left.OnChange = nullptr;
  left.Exit();
  const bool hex = left.Type() == PNumEdit_Type::pntHexadecimal;
  std::string shown =
      FormatNumber(left.Value(), left.Decimals(), hex, left.DisplayDecimals(), left.DecimalSign(), left.ThousandSign());
  if (!left.MinimalZero() && shown == "0") shown.clear();
  FUZZ_CHECK(left.Text() == shown);
  FUZZ_CHECK(left.Value() == field.Value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  const std::string_view script(reinterpret_cast<const char*>(data) + 1, size - 1);
  const Setting& setting = kSettings[options & 7];
  const double values[] = {0, 7, 9, setting.mayNegative ? -3.0 : 1.0};

  NumEditModel field;
  Apply(field, setting);
  field.SetValue(values[(options >> 4) & 3]);
  field.ChangeOnExit = (options & 8) != 0;
  int changes = 0;
  field.OnChange = [&changes](NumEditModel&) { ++changes; };
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
        const double before = field.Value();
        const int changesBefore = changes;
        field.Paste(step.text);
        FUZZ_CHECK(changes - changesBefore == (field.Value() != before && !field.ChangeOnExit ? 1 : 0));
        // Typed into a field emptied first, the same characters give the same text and value.
        NumEditModel typed;
        Apply(typed, setting);
        typed.Enter();
        typed.KeyPress(kCharBackspace);
        for (const char c : field.Text()) typed.KeyPress(static_cast<unsigned char>(c == '-' ? setting.negSign : c));
        FUZZ_CHECK(typed.Text() == field.Text());
        FUZZ_CHECK(typed.Value() == field.Value());
        CheckLeaving(field);
        break;
      }
    }
    FUZZ_CHECK(field.Focused());
    FUZZ_CHECK(field.Edit().SelEnd() <= field.Text().size());
    CheckShapeAndValue(field, setting);
  });
  CheckLeaving(field);
  return 0;
}
