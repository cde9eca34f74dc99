// The command language of orvalis-uidriver and the way it prints what it
// sees: one "key=value" line per fact, values escaped so that every fact stays
// on one line. Portable, so the parsing is tested natively.
#pragma once

#include <cstdint>
#include <functional>
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

// The state --until waits for, compared with the facts as the driver prints
// them (escaped): "KEY=VALUE" a fact KEY equals VALUE, "KEY!=VALUE" no fact
// KEY equals it, "KEY~=TEXT" a fact KEY holds TEXT. A verb may print several
// facts with one key (item, expanded): one of them is enough.
struct Condition {
  enum class Test { kEquals, kDiffers, kContains };
  std::string key;
  Test test = Test::kEquals;
  std::string value;
  friend bool operator==(const Condition&, const Condition&) = default;
};
// None when there is no key of letters, digits and "-", or no operator.
[[nodiscard]] std::optional<Condition> ParseCondition(std::string_view text);
// The condition as it was written.
[[nodiscard]] std::string ConditionText(const Condition& condition);

struct Command {
  std::string verb;
  std::map<std::string, std::string> options;  // "--pid 12" → {"pid", "12"}
  std::set<std::string> flags;                 // "--mouse" → "mouse"
  int timeoutMs = 5000;
  std::optional<Condition> until;              // --until, on the verbs that read

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
// control name it (--name, --id or --class), that numbers are numbers and
// that --until is a condition on a verb that reads.
[[nodiscard]] ParseResult ParseCommand(const std::vector<std::string>& args);

// True for the verbs that only read (text, items, checked, rect, toolbar,
// tree, list, controls, send): they are repeated until they succeed or meet
// --until.
[[nodiscard]] bool IsReadingVerb(std::string_view verb);

[[nodiscard]] std::string Usage();

// "key=value" with "\" → "\\", line feed → "\n", carriage return → "\r", tab → "\t".
[[nodiscard]] std::string FactLine(std::string_view key, std::string_view value);
// The value part of FactLine.
[[nodiscard]] std::string EscapedValue(std::string_view value);

struct Fact {
  std::string key;
  std::string value;  // as read, not escaped
  friend bool operator==(const Fact&, const Fact&) = default;
};

// What one reading of the program saw, or why it saw nothing: a control not
// found (yet), a message the program did not answer in time.
struct Reading {
  std::vector<Fact> facts;
  std::string error;  // empty when the reading succeeded
  [[nodiscard]] bool ok() const { return error.empty(); }
  void Add(std::string key, std::string value) { facts.push_back({std::move(key), std::move(value)}); }
};
[[nodiscard]] Reading FailedReading(std::string error);

// True when the facts meet the condition.
[[nodiscard]] bool Meets(const std::vector<Fact>& facts, const Condition& condition);

// The time a wait runs on; the driver's is the system's tick count.
class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual std::uint64_t NowMs() = 0;
  virtual void SleepMs(int ms) = 0;
};

struct WaitResult {
  Reading shown;      // the last successful reading, else the last failed one
  std::string error;  // empty when the wait ended in time
};

// Reads until a reading succeeds and meets `until` (or just succeeds, without
// one), for at most `timeoutMs` and at least once, a reading every `pollMs`.
// A failed reading is read again: a control that is not there yet, or a
// program too busy to answer, is no answer. Past the time the result shows
// what was last seen and why it was not enough.
[[nodiscard]] WaitResult ReadUntil(const std::function<Reading()>& read, const std::optional<Condition>& until,
                                   int timeoutMs, Clock& clock, int pollMs = 50);

// A button of a tool bar as the toolbar verb reports it.
struct ToolButton {
  int id = 0;
  bool checked = false;
  bool mixed = false;
  bool hidden = false;
  bool enabled = false;
  std::string tip;
};
// "ID checked=0|1 mixed=0|1 hidden=0|1 enabled=0|1 tip=TEXT", the value of a
// "button" fact when the whole bar is listed.
[[nodiscard]] std::string ToolButtonLine(const ToolButton& button);
// One button on its own: button, checked, mixed, hidden, enabled and tip facts.
void AddToolButtonFacts(Reading& reading, const ToolButton& button);

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
