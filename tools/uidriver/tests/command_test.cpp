// The driver's command language and its output lines.
#include "tools/uidriver/command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace orvalis::uidriver {
namespace {

TEST(UiDriverCommand, ParsesVerbsOptionsAndFlags) {
  auto parsed = ParseCommand({"click", "--exe", "OrvalisSetup.exe", "--name", "btnInstall", "--mouse", "--timeout",
                              "250"});
  ASSERT_TRUE(parsed.command) << parsed.error;
  const Command& c = *parsed.command;
  EXPECT_EQ(c.verb, "click");
  EXPECT_EQ(c.Get("exe"), "OrvalisSetup.exe");
  EXPECT_EQ(c.Get("name"), "btnInstall");
  EXPECT_FALSE(c.Has("pid"));
  EXPECT_TRUE(c.flags.count("mouse"));
  EXPECT_EQ(c.timeoutMs, 250);

  auto defaults = ParseCommand({"wait-window", "--pid", "0x1F", "--title", "Orvalis Setup"});
  ASSERT_TRUE(defaults.command) << defaults.error;
  EXPECT_EQ(defaults.command->timeoutMs, 5000);
  EXPECT_EQ(defaults.command->Get("title"), "Orvalis Setup");
}

TEST(UiDriverCommand, RejectsIncompleteOrMalformedCommands) {
  struct Case { std::vector<std::string> args; const char* error; };
  const Case cases[] = {
      {{}, "no command"},
      {{"poke", "--pid", "1"}, "unknown command: poke"},
      {{"list"}, "name the process with either --pid or --exe"},
      {{"list", "--pid", "1", "--exe", "x.exe"}, "name the process with either --pid or --exe"},
      {{"list", "--pid", "abc"}, "--pid needs a number"},
      {{"list", "--pid", "-4"}, "--pid needs a number"},
      {{"list", "--exe", "x", "--timeout", "1s"}, "--timeout needs a number"},
      {{"text", "--exe", "x"}, "text needs a control: --name, --id or --class"},
      {{"set-text", "--exe", "x", "--name", "e"}, "set-text needs --text"},
      {{"answer-box", "--exe", "x"}, "answer-box needs --button"},
      {{"text", "--exe", "x", "--name"}, "missing value for --name"},
      {{"text", "--exe", "x", "--name", "a", "--name", "b"}, "--name given twice"},
      {{"text", "--exe", "x", "--colour", "red"}, "unknown option: --colour"},
      {{"text", "--exe", "x", "stray"}, "unexpected argument: stray"},
      {{"toolbar-click", "--exe", "x", "--name", "t"}, "toolbar-click needs --command"},
      {{"toolbar-click", "--exe", "x", "--name", "t", "--command", "-1"}, "--command needs a number"},
      {{"send", "--exe", "x", "--name", "e", "--message", "177", "--lparam", "x"}, "--lparam needs a number"},
      {{"keys", "--exe", "x", "--name", "e"}, "keys needs --text"},
      {{"tree-click", "--exe", "x", "--name", "t", "--ctrl"}, "tree-click needs --item"},
  };
  for (const auto& c : cases) {
    auto parsed = ParseCommand(c.args);
    EXPECT_FALSE(parsed.command) << c.error;
    EXPECT_EQ(parsed.error, c.error);
  }
}

TEST(UiDriverCommand, FactLinesStayOnOneLine) {
  struct Case { const char* value; const char* line; };
  const Case cases[] = {
      {"Orvalis Setup", "k=Orvalis Setup"},
      {"a\nb", "k=a\\nb"},
      {"C:\\Tëst Map\\", "k=C:\\\\Tëst Map\\\\"},
      {"x\r\ny\tz", "k=x\\r\\ny\\tz"},
      {"", "k="},
  };
  for (const auto& c : cases) EXPECT_EQ(FactLine("k", c.value), c.line);
}

TEST(UiDriverCommand, BoxButtonNamesAndCaptions) {
  struct Case { const char* name; int id; };
  const Case cases[] = {{"OK", 1}, {"ok", 1}, {"Cancel", 2}, {"Yes", 6}, {"NO", 7}, {"TryAgain", 10},
                        {"Continue", 11}, {"Ja", 0}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(BoxButtonId(c.name), c.id) << c.name;
  EXPECT_EQ(BoxButtonName(6), "Yes");
  EXPECT_EQ(BoxButtonName(1234), "1234");

  struct Caption { const char* in; const char* out; };
  const Caption captions[] = {{"&Yes", "Yes"}, {"A&&B", "A&B"}, {"Save && &close", "Save & close"},
                              {"end&", "end"}, {"plain", "plain"}};
  for (const auto& c : captions) EXPECT_EQ(WithoutAccelerator(c.in), c.out) << c.in;
}

TEST(UiDriverCommand, KeyChords) {
  struct Case { const char* text; std::optional<KeyChord> chord; };
  const Case cases[] = {
      {"ctrl+enter", KeyChord{true, false, false, 0x0D}},
      {"Ctrl+Shift+c", KeyChord{true, true, false, 'C'}},
      {"shift+F10", KeyChord{false, true, false, 0x79}},
      {"alt+1", KeyChord{false, false, true, '1'}},
      {"f24", KeyChord{false, false, false, 0x87}},
      {"ctrl+", std::nullopt},
      {"meta+a", std::nullopt},
      {"f25", std::nullopt},
      {"enterr", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseKeyChord(c.text), c.chord) << c.text;
  auto negative = ParseCommand({"send", "--exe", "x", "--name", "e", "--message", "0xB1", "--wparam", "0",
                                "--lparam", "-1"});
  EXPECT_TRUE(negative.command) << negative.error;
}

TEST(UiDriverCommand, UntilConditions) {
  using Test = Condition::Test;
  struct Case { const char* text; std::optional<Condition> condition; };
  const Case cases[] = {
      {"text=Hello clicks: 1", Condition{"text", Test::kEquals, "Hello clicks: 1"}},
      {"text=", Condition{"text", Test::kEquals, ""}},
      {"text=a=b", Condition{"text", Test::kEquals, "a=b"}},
      {"checked!=1", Condition{"checked", Test::kDiffers, "1"}},
      {"text~=\\\\page", Condition{"text", Test::kContains, "\\\\page"}},
      {"my-key~=", Condition{"my-key", Test::kContains, ""}},
      {"=x", std::nullopt},
      {"text", std::nullopt},
      {"te xt=x", std::nullopt},
      {"text<x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseCondition(c.text), c.condition) << c.text;
    if (c.condition) {
      EXPECT_EQ(ConditionText(*c.condition), c.text);
    }
  }

  // Only the verbs that read take it.
  for (const char* verb : {"text", "items", "checked", "rect", "toolbar", "tree", "list", "controls"}) {
    auto parsed = ParseCommand({verb, "--exe", "x", "--name", "c", "--until", "visible=1"});
    ASSERT_TRUE(parsed.command) << verb << ": " << parsed.error;
    EXPECT_EQ(parsed.command->until, (Condition{"visible", Test::kEquals, "1"})) << verb;
  }
  auto send = ParseCommand({"send", "--exe", "x", "--name", "e", "--message", "0xB0", "--until", "result!=0"});
  ASSERT_TRUE(send.command) << send.error;
  EXPECT_TRUE(send.command->until);
  EXPECT_FALSE(ParseCommand({"text", "--exe", "x", "--name", "c"}).command->until);

  struct Refused { std::vector<std::string> args; const char* error; };
  const Refused refused[] = {
      {{"click", "--exe", "x", "--name", "b", "--until", "text=1"}, "click reads nothing to wait for: no --until"},
      {{"type", "--exe", "x", "--name", "e", "--text", "a", "--until", "text=a"},
       "type reads nothing to wait for: no --until"},
      {{"wait-exit", "--exe", "x", "--until", "exited=1"}, "wait-exit reads nothing to wait for: no --until"},
      {{"wait-painted", "--exe", "x", "--until", "painted=1"}, "wait-painted reads nothing to wait for: no --until"},
      {{"text", "--exe", "x", "--name", "c", "--until", "text"}, "--until needs KEY=VALUE, KEY!=VALUE or KEY~=TEXT"},
      {{"text", "--exe", "x", "--name", "c", "--until"}, "missing value for --until"},
  };
  for (const auto& r : refused) EXPECT_EQ(ParseCommand(r.args).error, r.error);
}

TEST(UiDriverCommand, ConditionsCompareFactsAsPrinted) {
  const std::vector<Fact> facts = {
      {"control", "0x00010080"}, {"text", "a\\b\r\nc"}, {"item", "One"}, {"item", "Two"}, {"count", "2"}};
  struct Case { const char* condition; bool met; };
  const Case cases[] = {
      {"text=a\\\\b\\r\\nc", true},  // the backslash and the line break escaped, as printed
      {"text=a\\b\r\nc", false},
      {"item=Two", true},             // any one of several facts
      {"item=Three", false},
      {"item!=Three", true},
      {"item!=One", false},
      {"count!=2", false},
      {"selected!=One", true},        // no such fact at all
      {"selected=", false},
      {"text~=\\r\\n", true},
      {"text~=", true},
      {"item~=w", true},
      {"item~=x", false},
      {"tip~=", false},
  };
  for (const auto& c : cases) EXPECT_EQ(Meets(facts, *ParseCondition(c.condition)), c.met) << c.condition;
}

// A clock that moves only when the wait sleeps or a reading takes time.
class FakeClock : public Clock {
 public:
  std::uint64_t NowMs() override { return now; }
  void SleepMs(int ms) override {
    now += std::uint64_t(ms);
    ++sleeps;
  }
  std::uint64_t now = 1000;
  int sleeps = 0;
};

// Plays back readings, one per call, the last one again when they run out.
struct Script {
  std::vector<Reading> readings;
  FakeClock* clock = nullptr;
  int costMs = 0;  // the time each reading takes
  int calls = 0;
  Reading operator()() {
    clock->now += std::uint64_t(costMs);
    const Reading& next = readings[std::min<std::size_t>(std::size_t(calls), readings.size() - 1)];
    ++calls;
    return next;
  }
};

Reading TextReading(const std::string& text) {
  Reading reading;
  reading.Add("control", "0x10");
  reading.Add("text", text);
  return reading;
}

TEST(UiDriverCommand, ReadUntilRetriesFailedReadingsAndWaitsForTheState) {
  const std::optional<Condition> ready = ParseCondition("text=ready");
  struct Case {
    const char* what;
    std::vector<Reading> readings;
    std::optional<Condition> until;
    int timeoutMs;
    int costMs;
    int calls;            // readings made
    const char* shown;    // the text fact printed, or the reading's error
    const char* error;
  };
  const Case cases[] = {
      {"a first good reading is printed at once", {TextReading("busy")}, std::nullopt, 5000, 0, 1, "busy", ""},
      {"a control not there yet is looked for again",
       {FailedReading("no control"), FailedReading("no control"), TextReading("busy")}, std::nullopt, 5000, 0, 3,
       "busy", ""},
      {"an unanswered message is asked again, not read as empty",
       {TextReading("busy"), FailedReading("the control did not answer"), TextReading("ready")}, ready, 5000, 0, 3,
       "ready", ""},
      {"read until the state shows",
       {TextReading(""), TextReading("busy"), TextReading("busy"), TextReading("ready"), TextReading("later")}, ready,
       5000, 0, 4, "ready", ""},
      {"past the time: the last text seen and the state waited for",
       {TextReading("busy"), TextReading("still busy")}, ready, 1000, 0, 21, "still busy",
       "timed out waiting for text=ready"},
      {"a later failed reading does not hide what was seen",
       {TextReading("busy"), FailedReading("no control")}, ready, 1000, 0, 21, "busy",
       "timed out waiting for text=ready"},
      {"never found: the reading's own error", {FailedReading("no control")}, std::nullopt, 1000, 0, 21,
       "no control", "no control"},
      {"no time at all still reads once", {TextReading("busy")}, ready, 0, 0, 1, "busy",
       "timed out waiting for text=ready"},
      {"slow readings count against the time", {FailedReading("the control did not answer")}, std::nullopt, 5000,
       2000, 3, "the control did not answer", "the control did not answer"},
  };
  for (const auto& c : cases) {
    FakeClock clock;
    Script script{c.readings, &clock, c.costMs};
    const WaitResult result = ReadUntil(std::ref(script), c.until, c.timeoutMs, clock, 50);
    EXPECT_EQ(script.calls, c.calls) << c.what;
    EXPECT_EQ(result.error, c.error) << c.what;
    const std::string shown = result.shown.ok() ? result.shown.facts.back().value : result.shown.error;
    EXPECT_EQ(shown, c.shown) << c.what;
    EXPECT_LE(clock.now - 1000, std::uint64_t(c.timeoutMs + 50 + c.costMs)) << c.what << ": waited too long";
  }
}

TEST(UiDriverCommand, ToolButtonFacts) {
  const ToolButton bold{108, true, false, false, true, "Vet"};
  EXPECT_EQ(ToolButtonLine(bold), "108 checked=1 mixed=0 hidden=0 enabled=1 tip=Vet");
  EXPECT_EQ(ToolButtonLine(ToolButton{111, false, true, true, false, ""}),
            "111 checked=0 mixed=1 hidden=1 enabled=0 tip=");
  Reading reading;
  AddToolButtonFacts(reading, bold);
  const std::vector<Fact> expected = {{"button", "108"}, {"checked", "1"}, {"mixed", "0"},
                                      {"hidden", "0"},   {"enabled", "1"}, {"tip", "Vet"}};
  EXPECT_EQ(reading.facts, expected);
  EXPECT_TRUE(Meets(reading.facts, *ParseCondition("checked=1")));
  auto parsed = ParseCommand({"toolbar", "--exe", "x", "--name", "bar", "--command", "111", "--until", "checked=0"});
  ASSERT_TRUE(parsed.command) << parsed.error;
  EXPECT_EQ(parsed.command->Get("command"), "111");
}

}  // namespace
}  // namespace orvalis::uidriver
