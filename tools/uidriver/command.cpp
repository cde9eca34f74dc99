// Parsing orvalis-uidriver's command line and formatting its facts.
#include "tools/uidriver/command.h"

#include <array>
#include <charconv>

#include "core/text.h"

namespace orvalis::uidriver {
namespace {

struct VerbRule {
  std::string_view verb;
  bool needsControl;
  std::string_view required;  // one more option the verb cannot do without
};

constexpr std::array<VerbRule, 20> kVerbs = {{
    {"list", false, ""},
    {"wait-window", false, ""},
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

const std::set<std::string> kValueOptions = {"pid", "exe", "title", "class", "name", "id", "caption", "text",
                                             "button", "timeout", "command", "message", "wparam", "lparam", "item"};
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
  return {std::move(command), {}};
}

std::string Usage() {
  return "usage: orvalis-uidriver VERB (--pid N | --exe NAME) [options]\n"
         "  list                              top-level windows of the process\n"
         "  wait-window [--title T] [--class C]  waits for a visible window\n"
         "  controls [--title T]              every control of the process's windows\n"
         "  text CONTROL                      text of a control\n"
         "  items CONTROL                     items of a list box or combo box\n"
         "  checked CONTROL                   check state of a check box or radio button\n"
         "  set-text CONTROL --text S         replaces the text (WM_SETTEXT)\n"
         "  type CONTROL --text S             types the text character by character (WM_CHAR)\n"
         "  click CONTROL [--mouse|--notify]  clicks (BM_CLICK, mouse messages, or WM_COMMAND to the parent)\n"
         "  rect [--title T] [CONTROL]        screen rectangle and visibility of a window or control\n"
         "  answer-box --button NAME          reports the process's message box and presses a button\n"
         "  close [--title T]                 asks a window to close (WM_CLOSE)\n"
         "  wait-exit                         waits until the process has ended\n"
         "  watch                             waits for the process to start and end, reporting every\n"
         "                                    visible top-level window it shows meanwhile\n"
         "  toolbar CONTROL                   the buttons of a tool bar: command id, state and tooltip\n"
         "  toolbar-click CONTROL --command N  clicks the tool bar button with that command id (mouse)\n"
         "  send CONTROL --message N [--wparam N] [--lparam N]  sends a message without pointers\n"
         "  keys CONTROL --text KEYS          focuses the control and presses keys: \"ctrl+enter\",\n"
         "                                    \"ctrl+b\", \"shift+f10\" (keyboard input, window brought to front)\n"
         "  tree CONTROL                      the nodes of a tree view, one \"item\" each, indented two spaces\n"
         "                                    a level; \"selected\" is the tree's own selected node,\n"
         "                                    \"expanded\" each open node\n"
         "  tree-click CONTROL --item CAPTION [--ctrl] [--shift] [--expander]  clicks a tree node's caption\n"
         "                                    (or its expand button) with the mouse, holding Ctrl/Shift\n"
         "CONTROL: --name DESIGNERNAME | --id N | --class C [--caption T]; windows: --title T, --class C\n"
         "--timeout MS (default 5000) bounds every wait; --all includes hidden windows.\n"
         "Output: key=value lines, values escaped (\\\\ \\n \\r \\t). Exit 0 done, 1 not found or timed out, 2 usage.\n";
}

std::string FactLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
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
