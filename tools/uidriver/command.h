// The command language of orvalis-uidriver and the way it prints what it
// sees: one "key=value" line per fact, values escaped so that every fact stays
// on one line. Portable, so the parsing is tested natively.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::uidriver {

// The window property that carries a control's designer name: its value is a
// global atom (GlobalAddAtom) of the name, readable from any process.
inline constexpr char kDesignerNameProperty[] = "OrvalisName";

struct Command {
  std::string verb;
  std::map<std::string, std::string> options;  // "--pid 12" → {"pid", "12"}
  std::set<std::string> flags;                 // "--mouse" → "mouse"
  int timeoutMs = 5000;

  [[nodiscard]] bool Has(const std::string& option) const { return options.count(option) != 0; }
  [[nodiscard]] std::string Get(const std::string& option) const {
    auto found = options.find(option);
    return found == options.end() ? std::string() : found->second;
  }
};

struct ParseResult {
  std::optional<Command> command;
  std::string error;  // set when `command` is empty
};

// Reads "VERB --option value ... --flag ...". Checks that the verb is known,
// that the process is named by exactly one of --pid and --exe, that verbs on a
// control name it (--name, --id or --class) and that numbers are numbers.
[[nodiscard]] ParseResult ParseCommand(const std::vector<std::string>& args);

[[nodiscard]] std::string Usage();

// "key=value" with "\" → "\\", line feed → "\n", carriage return → "\r", tab → "\t".
[[nodiscard]] std::string FactLine(std::string_view key, std::string_view value);

// The dialog command of a message-box button name (OK, Cancel, Abort, Retry,
// Ignore, Yes, No, Close, Help, TryAgain, Continue; any case); 0 when unknown.
[[nodiscard]] int BoxButtonId(std::string_view name);
// The name BoxButtonId knows for `id`, else the number as text.
[[nodiscard]] std::string BoxButtonName(int id);
// A caption without its accelerator marks: "&Yes" → "Yes", "A&&B" → "A&B".
[[nodiscard]] std::string WithoutAccelerator(std::string_view caption);

// A key with its modifiers, as the "keys" verb presses it: "ctrl+enter",
// "shift+f10", "ctrl+b". Letters and digits are their virtual-key codes.
struct KeyChord {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  unsigned virtualKey = 0;
  friend bool operator==(const KeyChord&, const KeyChord&) = default;
};
// None when a part is unknown or no key is named.
[[nodiscard]] std::optional<KeyChord> ParseKeyChord(std::string_view text);

}  // namespace orvalis::uidriver
