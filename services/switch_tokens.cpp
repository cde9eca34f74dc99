// Reading switches.
#include "services/switch_tokens.h"

#include <algorithm>

#include "core/text.h"

namespace orvalis {
namespace {

// Bytes of the UTF-8 character that starts with `lead` (1 for stray bytes).
std::size_t CharLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Removes and returns the value that starts `rest`. A quoted value runs to the
// next quote, which stays in `rest` so the token skip that follows drops it
// together with anything glued to it.
std::string TakeValue(std::string_view& rest, bool quotable) {
  std::size_t start = 0;
  std::size_t end;
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

bool SwitchTakesValue(char letter) {
  return letter == 'D' || letter == 'E' || letter == 'M' || letter == 'O' || letter == 'P';
}

std::vector<SwitchToken> SwitchTokens(std::string_view text) {
  std::vector<SwitchToken> tokens;
  std::string_view rest = Trim(text);
  while (rest.size() > 1) {
    if (rest[0] == '/') {
      SwitchToken token;
      token.letter = rest[1];
      if (token.letter >= 'a' && token.letter <= 'z') token.letter = char(token.letter - 'a' + 'A');
      if (SwitchTakesValue(token.letter)) {
        // "/", the letter and the separator.
        const std::size_t skip = rest.size() > 2 ? 2 + CharLength(static_cast<unsigned char>(rest[2])) : rest.size();
        rest.remove_prefix(std::min(skip, rest.size()));
        token.value = TakeValue(rest, token.letter != 'M');
      }
      tokens.push_back(std::move(token));
    }
    const std::size_t blank = rest.find(' ');
    rest = blank == std::string_view::npos ? std::string_view{} : Trim(rest.substr(blank + 1));
  }
  return tokens;
}

}  // namespace orvalis
