// Parsing orvalis-uidriver's command line and formatting its facts.
#include "tools/uidriver/command.h"

#include <array>
#include <cstdint>
#include <charconv>

#include "core/text.h"

namespace orvalis::uidriver {
namespace {

struct VerbRule {
  std::string_view verb;
  bool needsControl;
  std::string_view required;  // one more option the verb cannot do without
};

constexpr std::array<VerbRule, 21> kVerbs = {{
    {"list", false, ""},
    {"wait-window", false, ""},
    {"wait-painted", false, ""},
    {"controls", false, ""},
    {"text", true, ""},
    {"items", true, ""},
    {"checked", true, ""},
    {"set-text", true, "text"},
    {"type", true, "text"},
    {"click", true, ""},
    {"rect", false, ""},
    {"answer-box", false, "button"},
    {"close", false, ""},
    {"wait-exit", false, ""},
    {"watch", false, ""},
    {"toolbar", true, ""},
    {"toolbar-click", true, "command"},
    {"send", true, "message"},
    {"keys", true, "text"},
    {"tree", true, ""},
    {"tree-click", true, "item"},
}};

const std::set<std::string> kValueOptions = {"pid",     "exe",     "title",   "class",   "name",
                                             "id",      "caption", "text",    "button",  "timeout",
                                             "command", "message", "wparam",  "lparam",  "item", "until"};

constexpr std::array<std::string_view, 9> kReadingVerbs = {"list", "controls", "text", "items", "checked",
                                                           "rect", "toolbar",  "tree", "send"};
const std::set<std::string> kFlagOptions = {"mouse", "notify", "all", "ctrl", "shift", "expander"};

constexpr std::array<std::pair<std::string_view, int>, 11> kButtons = {{
    {"OK", 1}, {"Cancel", 2}, {"Abort", 3}, {"Retry", 4}, {"Ignore", 5}, {"Yes", 6},
    {"No", 7}, {"Close", 8}, {"Help", 9}, {"TryAgain", 10}, {"Continue", 11},
}};

bool IsNumber(const std::string& text, long long* value) {
  if (text.empty()) return false;
  int base = 10;
  const char* begin = text.data();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    begin += 2;
  }
  auto [end, error] = std::from_chars(begin, text.data() + text.size(), *value, base);
  return error == std::errc() && end == text.data() + text.size();
}

ParseResult Fail(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParseResult ParseCommand(const std::vector<std::string>& args) {
  if (args.empty()) return Fail("no command");
  Command command;
  command.verb = args[0];
  const VerbRule* rule = nullptr;
  for (const auto& candidate : kVerbs)
    if (candidate.verb == command.verb) rule = &candidate;
  if (rule == nullptr) return Fail("unknown command: " + command.verb);

  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) return Fail("unexpected argument: " + arg);
    std::string option = arg.substr(2);
    if (kFlagOptions.count(option)) {
      command.flags.insert(option);
    } else if (kValueOptions.count(option)) {
      if (i + 1 >= args.size()) return Fail("missing value for --" + option);
      if (command.options.count(option)) return Fail("--" + option + " given twice");
      command.options[option] = args[++i];
    } else {
      return Fail("unknown option: " + arg);
    }
  }

  if (command.Has("pid") == command.Has("exe")) return Fail("name the process with either --pid or --exe");
  for (const char* numeric : {"pid", "id", "timeout", "command", "message"}) {
    long long value = 0;
    if (command.Has(numeric) && (!IsNumber(command.Get(numeric), &value) || value < 0))
      return Fail(std::string("--") + numeric + " needs a number");
    if (std::string_view(numeric) == "timeout" && command.Has(numeric)) command.timeoutMs = int(value);
  }
  for (const char* numeric : {"wparam", "lparam"}) {  // these may be negative
    long long value = 0;
    std::string text = command.Get(numeric);
    if (!text.empty() && text[0] == '-') text.erase(0, 1);
    if (command.Has(numeric) && !IsNumber(text, &value)) return Fail(std::string("--") + numeric + " needs a number");
  }
  if (rule->needsControl && !command.Has("name") && !command.Has("id") && !command.Has("class"))
    return Fail(command.verb + " needs a control: --name, --id or --class");
  if (!rule->required.empty() && !command.Has(std::string(rule->required)))
    return Fail(command.verb + " needs --" + std::string(rule->required));
  if (command.Has("until")) {
    if (!IsReadingVerb(command.verb)) return Fail(command.verb + " reads nothing to wait for: no --until");
    command.until = ParseCondition(command.Get("until"));
    if (!command.until) return Fail("--until needs KEY=VALUE, KEY!=VALUE or KEY~=TEXT");
  }
  return {std::move(command), {}};
}

bool IsReadingVerb(std::string_view verb) {
  for (std::string_view reading : kReadingVerbs)
    if (reading == verb) return true;
  return false;
}

std::optional<Condition> ParseCondition(std::string_view text) {
  std::size_t keyEnd = 0;
  while (keyEnd < text.size()) {
    const char c = text[keyEnd];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) break;
    ++keyEnd;
  }
  if (keyEnd == 0) return std::nullopt;
  Condition condition;
  condition.key = std::string(text.substr(0, keyEnd));
  const std::string_view rest = text.substr(keyEnd);
  std::size_t operatorLength = 0;
  if (StartsWith(rest, "=")) {
    condition.test = Condition::Test::kEquals;
    operatorLength = 1;
  } else if (StartsWith(rest, "!=")) {
    condition.test = Condition::Test::kDiffers;
    operatorLength = 2;
  } else if (StartsWith(rest, "~=")) {
    condition.test = Condition::Test::kContains;
    operatorLength = 2;
  } else {
    return std::nullopt;
  }
  condition.value = std::string(rest.substr(operatorLength));
  return condition;
}

std::string ConditionText(const Condition& condition) {
  const char* op = condition.test == Condition::Test::kEquals    ? "="
                   : condition.test == Condition::Test::kDiffers ? "!="
                                                                 : "~=";
  return condition.key + op + condition.value;
}

std::string Usage() {
  return "usage: orvalis-uidriver VERB (--pid N | --exe NAME) [options]\n"
         "Reading (repeated until a reading succeeds, and with --until until it shows the state):\n"
         "  list                              top-level windows of the process\n"
         "  controls [--title T]              every control of the process's windows\n"
         "  text CONTROL                      text of a control\n"
         "  items CONTROL                     items of a list box or combo box\n"
         "  checked CONTROL                   check state of a check box or radio button\n"
         "  rect [--title T] [CONTROL]        screen rectangle and visibility of a window or control\n"
         "  toolbar CONTROL [--command N]     the buttons of a tool bar: command id, state and tooltip,\n"
         "                                    or one button's button, checked, mixed, hidden, enabled, tip\n"
         "  tree CONTROL                      the nodes of a tree view, one \"item\" each, indented two spaces\n"
         "                                    a level; \"selected\" is the tree's own selected node,\n"
         "                                    \"expanded\" each open node\n"
         "  send CONTROL --message N [--wparam N] [--lparam N]  sends a message without pointers, prints\n"
         "                                    its result (sent again only under --until)\n"
         "Acting (each returns once the program has taken what it was given and is idle again, or\n"
         "fails after the time when it works on without taking messages):\n"
         "  set-text CONTROL --text S         replaces the text (WM_SETTEXT)\n"
         "  type CONTROL --text S             types the text character by character (WM_CHAR)\n"
         "  click CONTROL [--mouse|--notify]  clicks (BM_CLICK, mouse messages, or WM_COMMAND to the parent)\n"
         "  toolbar-click CONTROL --command N  clicks the tool bar button with that command id (mouse)\n"
         "  keys CONTROL --text KEYS          focuses the control and presses keys: \"ctrl+enter\",\n"
         "                                    \"ctrl+b\", \"shift+f10\" (keyboard input, window brought to front)\n"
         "  tree-click CONTROL --item CAPTION [--ctrl] [--shift] [--expander]  clicks a tree node's caption\n"
         "                                    (or its expand button) with the mouse, holding Ctrl/Shift\n"
         "  answer-box --button NAME          reports the process's message box and presses a button;\n"
         "                                    returns once the box is gone\n"
         "  close [--title T]                 asks a window to close (WM_CLOSE)\n"
         "Waiting:\n"
         "  wait-window [--title T] [--class C]  waits for a visible window\n"
         "  wait-painted [--title T] [CONTROL]  waits until the program is idle and a window, with every\n"
         "                                    window in it, has nothing left to paint (for a photograph)\n"
         "  wait-exit                         waits until the process has ended\n"
         "  watch                             waits for the process to start and end, reporting every\n"
         "                                    visible top-level window it shows meanwhile\n"
         "CONTROL: --name DESIGNERNAME | --id N | --class C [--caption T]; windows: --title T, --class C\n"
         "--until KEY=VALUE | KEY!=VALUE | KEY~=TEXT  reads again until a printed fact KEY equals VALUE, no\n"
         "    fact KEY equals it, or one holds TEXT (values as printed, escaped); past the time the last\n"
         "    reading is printed with the error\n"
         "--timeout MS (default 5000) bounds every wait; --all includes hidden windows.\n"
         "Output: key=value lines, values escaped (\\\\ \\n \\r \\t). Exit 0 done, 1 not found or timed out, 2 usage.\n";
}

std::string FactLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += EscapedValue(value);
  return line;
}

std::string EscapedValue(std::string_view value) {
  std::string line;
  for (char c : value) {
    switch (c) {
      case '\\': line += "\\\\"; break;
      case '\n': line += "\\n"; break;
      case '\r': line += "\\r"; break;
      case '\t': line += "\\t"; break;
      default: line += c;
    }
  }
  return line;
}

Reading FailedReading(std::string error) {
  Reading reading;
  reading.error = std::move(error);
  return reading;
}

bool Meets(const std::vector<Fact>& facts, const Condition& condition) {
  bool equal = false;
  bool contains = false;
  for (const Fact& fact : facts) {
    if (fact.key != condition.key) continue;
    const std::string shown = EscapedValue(fact.value);
    equal = equal || shown == condition.value;
    contains = contains || shown.find(condition.value) != std::string::npos;
  }
  switch (condition.test) {
    case Condition::Test::kEquals: return equal;
    case Condition::Test::kDiffers: return !equal;
    case Condition::Test::kContains: return contains;
  }
  return false;
}

WaitResult ReadUntil(const std::function<Reading()>& read, const std::optional<Condition>& until, int timeoutMs,
                     Clock& clock, int pollMs) {
  const std::uint64_t start = clock.NowMs();
  WaitResult result;
  bool seen = false;  // a reading has succeeded
  for (;;) {
    Reading reading = read();
    if (reading.ok()) {
      const bool met = !until || Meets(reading.facts, *until);
      result.shown = std::move(reading);
      seen = true;
      if (met) {
        result.error.clear();
        return result;
      }
      result.error = "timed out waiting for " + ConditionText(*until);
    } else if (!seen) {
      result.shown = std::move(reading);
      result.error = result.shown.error;
    }
    if (clock.NowMs() - start >= std::uint64_t(timeoutMs < 0 ? 0 : timeoutMs)) return result;
    clock.SleepMs(pollMs);
  }
}

std::string ToolButtonLine(const ToolButton& button) {
  const auto bit = [](bool on) { return on ? "1" : "0"; };
  return std::to_string(button.id) + " checked=" + bit(button.checked) + " mixed=" + bit(button.mixed) +
         " hidden=" + bit(button.hidden) + " enabled=" + bit(button.enabled) + " tip=" + button.tip;
}

void AddToolButtonFacts(Reading& reading, const ToolButton& button) {
  const auto bit = [](bool on) { return std::string(on ? "1" : "0"); };
  reading.Add("button", std::to_string(button.id));
  reading.Add("checked", bit(button.checked));
  reading.Add("mixed", bit(button.mixed));
  reading.Add("hidden", bit(button.hidden));
  reading.Add("enabled", bit(button.enabled));
  reading.Add("tip", button.tip);
}

int BoxButtonId(std::string_view name) {
  std::string upper = UpperCase(name);
  for (const auto& [known, id] : kButtons)
    if (UpperCase(known) == upper) return id;
  return 0;
}

std::string BoxButtonName(int id) {
  for (const auto& [known, knownId] : kButtons)
    if (knownId == id) return std::string(known);
  return std::to_string(id);
}

std::string WithoutAccelerator(std::string_view caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size()) {
      out += caption[++i];  // the marked letter, or the second "&" of "&&"
    }
  }
  return out;
}

std::optional<KeyChord> ParseKeyChord(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, unsigned>, 14> kNamed = {{
      {"ENTER", 0x0D}, {"TAB", 0x09}, {"ESCAPE", 0x1B}, {"SPACE", 0x20}, {"BACKSPACE", 0x08}, {"DELETE", 0x2E},
      {"INSERT", 0x2D}, {"HOME", 0x24}, {"END", 0x23}, {"LEFT", 0x25}, {"UP", 0x26}, {"RIGHT", 0x27},
      {"DOWN", 0x28}, {"APPS", 0x5D},
  }};
  KeyChord chord;
  const std::string upper = UpperCase(text);
  std::size_t from = 0;
  for (;;) {
    const std::size_t plus = upper.find('+', from);
    const std::string part = upper.substr(from, plus == std::string::npos ? std::string::npos : plus - from);
    const bool last = plus == std::string::npos;
    if (!last) {
      if (part == "CTRL") chord.ctrl = true;
      else if (part == "SHIFT") chord.shift = true;
      else if (part == "ALT") chord.alt = true;
      else return std::nullopt;
      from = plus + 1;
      continue;
    }
    if (part.size() == 1 && ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= '0' && part[0] <= '9'))) {
      chord.virtualKey = unsigned(part[0]);
    } else if (part.size() >= 2 && part[0] == 'F') {
      long long number = 0;
      if (!IsNumber(part.substr(1), &number) || number < 1 || number > 24) return std::nullopt;
      chord.virtualKey = 0x70 + unsigned(number - 1);
    } else {
      for (const auto& [name, key] : kNamed)
        if (part == name) chord.virtualKey = key;
      if (chord.virtualKey == 0) return std::nullopt;
    }
    return chord;
  }
}

}  // namespace orvalis::uidriver
