// Reading switches as the setup and the packer both read them.
#include "services/switch_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvalis {
namespace {

// "P=C:\X U" for a /P: with a value and a /U: one token a word.
std::string Picture(const std::vector<SwitchToken>& tokens) {
  std::string out;
  for (const SwitchToken& t : tokens) {
    if (!out.empty()) out += ' ';
    out += t.letter;
    if (SwitchTakesValue(t.letter)) out += "=" + t.value;
  }
  return out;
}

TEST(SwitchTokens, ReadsLettersValuesQuotesAndSeparators) {
  struct Case { const char* text; const char* tokens; };
  const Case cases[] = {
      {"/p:\"C:\\My Folder\" /u /m:enu", "P=C:\\My Folder U M=enu"},
      {"/u /p:D:\\Apps\\X /r", "U P=D:\\Apps\\X R"},
      {"/c /h /i /l /r /s /u", "C H I L R S U"},
      {"/C /H /I /L /R /S /U", "C H I L R S U"},
      {"/R /C", "R C"},                                           // /R does not swallow the next switch
      {"/E:\"my prog.exe\" /l", "E=my prog.exe L"},
      {"/m:\"enu\"", "M=\"enu\""},                                 // /M: never takes quotes
      {"/p:\"C:\\My Folder\"junk /s", "P=C:\\My Folder S"},        // glued text after the quote is dropped
      {"/p:\"C:\\Open Quote /u", "P=C:\\Open Quote /u"},            // an unclosed quote runs to the end
      {"/p:\"C:\\Tëst Map\" /u", "P=C:\\Tëst Map U"},
      {"/p:C:\\Tëst", "P=C:\\Tëst"},
      {"/d:\"C:\\Some Where\" /u", "D=C:\\Some Where U"},
      {"/u x", "U"},                                                // a single trailing character is no switch
      {"/", ""},
      {"", ""},
      {"  \t/u\t  ", "U"},
      {"/x /u", "X U"},                                             // every letter is read; the setup knows which count
      {"hello /u world", "U"},                                      // text that is no switch is skipped
      {"/uc", "U"},                                                 // only the letter after "/" counts
      {"/u/c", "U"},                                                // the token runs to the blank
      {"/p:A /p:B", "P=A P=B"},
      {"/p", "P="},
      {"/m", "M="},
      {"/p:\"\" /u", "P= U"},
      {"/p:C:\\A   /u", "P=C:\\A U"},                                // several blanks between switches
      {"/pé\"C:\\X Y\" /u", "P=C:\\X Y U"},                          // a non-ASCII separator is one character
      {"/O:C:\\s.log /q", "O=C:\\s.log Q"},
      {"/log:C:\\s.log", "L"},                                      // a word switch is its first letter
  };
  for (const auto& c : cases) EXPECT_EQ(Picture(SwitchTokens(c.text)), c.tokens) << c.text;
}

}  // namespace
}  // namespace orvalis
