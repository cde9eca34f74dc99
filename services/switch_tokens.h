// The switches of a setup's command line and of a descriptor's PARAMS value, as
// the setup reads them. The setup applies them; the packer reads the ones its
// winget manifest depends on, so both read them here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// One switch: "/" and the letter after it (ASCII letters upper-cased; the rest
// of the word counts for nothing, so /LOG is /L), and for the letters that take
// one the value after a one-character separator (normally ":").
struct SwitchToken {
  char letter = 0;
  std::string value;
  friend bool operator==(const SwitchToken&, const SwitchToken&) = default;
};

// Whether a switch letter takes a value: /D: /E: /M: /O: /P:.
[[nodiscard]] bool SwitchTakesValue(char letter);

// The switches of `text` in order. A value is in double quotes when it holds
// blanks (never /M:'s): it runs to the next quote, or to the end when none
// closes it, and text glued to the closing quote is dropped; an unquoted value
// runs to the next blank. A separator that is not ASCII counts as one
// character. Text that is not a switch is skipped up to the next blank, and so
// is a single character at the end.
[[nodiscard]] std::vector<SwitchToken> SwitchTokens(std::string_view text);

}  // namespace orvalis
