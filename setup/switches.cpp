// Switch parsing.
#include "setup/switches.h"

#include "core/text.h"

#include <algorithm>
#include <string>

namespace orvalis {
namespace {

// Bytes of the UTF-8 character that starts with `lead` (1 for stray bytes).
size_t CharLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Removes and returns the value that starts `rest`. A quoted value runs to the
// next quote, which stays in `rest` so the token skip that follows drops it
// together with anything glued to it.
std::string TakeValue(std::string_view& rest, bool quotable) {
  size_t start = 0;
  size_t end;
  if (quotable && !rest.empty() && rest[0] == '"') {
    start = 1;
    end = rest.find('"', 1);
  } else {
    end = rest.find(' ');
  }
  if (end == std::string_view::npos) end = rest.size();
  std::string value(rest.substr(start, end - start));
  rest.remove_prefix(end);
  return value;
}

}  // namespace

void ParseSwitches(std::string_view text, SetupState& state) {
  std::string_view rest = Trim(text);
  while (rest.size() > 1) {
    if (rest[0] == '/') {
      char letter = rest[1];
      if (letter >= 'a' && letter <= 'z') letter = char(letter - 'a' + 'A');
      const bool takesValue = letter == 'D' || letter == 'E' || letter == 'M' || letter == 'O' || letter == 'P';
      if (takesValue) {
        // "/", the letter and the separator (normally ":"); a separator that is
        // not ASCII goes as one character, not as one byte.
        size_t skip = rest.size() > 2 ? 2 + CharLength(static_cast<unsigned char>(rest[2])) : rest.size();
        rest.remove_prefix(std::min(skip, rest.size()));
        std::string value = TakeValue(rest, letter != 'M');
        if (letter == 'E') state.ProgramFile = value;
        if (letter == 'M') state.LanguageCode = UpperCase(value);
        if (letter == 'O') state.LogPath = value;
        if (letter == 'P') state.InstallPath = value;
      } else {
        switch (letter) {
          case 'C': state.CustomInstall = true; break;
          case 'H': state.ShowReleaseNotes = true; break;
          case 'I': state.RegisterSoftware = true; break;
          case 'L': state.DesktopLink = true; break;
          case 'Q': state.Quiet = state.Unattended = true; break;
          case 'R': state.RunProgram = true; break;
          case 'S': state.ProgramMenu = true; break;
          case 'U': state.Unattended = true; break;
          default: break;
        }
      }
    }
    size_t blank = rest.find(' ');
    rest = blank == std::string_view::npos ? std::string_view{} : Trim(rest.substr(blank + 1));
  }
}

}  // namespace orvalis
