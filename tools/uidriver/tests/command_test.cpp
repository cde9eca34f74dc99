// The driver's command language and its output lines.
#include "tools/uidriver/command.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace orvalis::uidriver
