// Arguments of a command line for the elevated restart.
#include "services/command_line.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(CommandLine, ArgumentsAreTheTextAfterTheProgramNameUnchanged) {
  struct Case { const char* line; const char* arguments; };
  const Case cases[] = {
      {"setup.exe", ""},
      {"setup.exe /S", "/S"},
      {"\"C:\\Down loads\\setup.exe\" /P:\"C:\\My Folder\" /L:ENG", "/P:\"C:\\My Folder\" /L:ENG"},
      {"C:\\x\\setup.exe   /a    /b  ", "/a    /b  "},
      {"\"C:\\x\\setup.exe\"/S", "/S"},  // a quoted name ends at its closing quote
      {"\"C:\\Tëst Map\\setup.exe\"\t/P:C:\\Tëst Map", "/P:C:\\Tëst Map"},
      {"C:\\a\"b c\"\\setup.exe /x", "c\"\\setup.exe /x"},  // quotes inside an unquoted name do not group
      {"  setup.exe /x", "/x"},
      {"\"unclosed name /x", ""},
      {"", ""},
      {"setup.exe \"a\\\"b\" c\\\\", "\"a\\\"b\" c\\\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentsOf(c.line), c.arguments) << c.line;
}

}  // namespace
}  // namespace orvalis
