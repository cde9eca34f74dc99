// Fuzz input as what a user does to a data-entry edit: typed keys, selections,
// Delete, cut, clear, leaving and entering the field again, and clipboard
// texts pasted in between.
//
// Every byte is a typed character (WM_CHAR) except these:
//   00 TEXT 00  paste TEXT (to the next 00 or the end; a clipboard text holds no NUL)
//   01 A B      select from A to B
//   02          the Delete key
//   04          cut
//   05          clear
//   06          leave the field and enter it again
//   07          the Home key
#pragma once

#include <cstddef>
#include <string_view>

namespace orvalis::fuzz {

struct EntryStep {
  enum class Kind { Key, Select, Delete, Cut, Clear, Refocus, Home, Paste };
  Kind kind = Kind::Key;
  char32_t key = 0;
  std::size_t anchor = 0;
  std::size_t caret = 0;
  std::string_view text;
};

// Calls visit(step) for each step of the script, in order.
template <class Visit>
void ForEachStep(std::string_view script, Visit&& visit) {
  for (std::size_t i = 0; i < script.size();) {
    const auto byte = static_cast<unsigned char>(script[i++]);
    EntryStep step;
    switch (byte) {
      case 0x00: {
        const std::size_t end = script.find('\0', i);
        step.kind = EntryStep::Kind::Paste;
        step.text = script.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
        i = end == std::string_view::npos ? script.size() : end + 1;
        break;
      }
      case 0x01:
        if (i + 2 > script.size()) return;
        step.kind = EntryStep::Kind::Select;
        step.anchor = static_cast<unsigned char>(script[i]);
        step.caret = static_cast<unsigned char>(script[i + 1]);
        i += 2;
        break;
      case 0x02: step.kind = EntryStep::Kind::Delete; break;
      case 0x04: step.kind = EntryStep::Kind::Cut; break;
      case 0x05: step.kind = EntryStep::Kind::Clear; break;
      case 0x06: step.kind = EntryStep::Kind::Refocus; break;
      case 0x07: step.kind = EntryStep::Kind::Home; break;
      default: step.key = byte; break;
    }
    visit(step);
  }
}

}  // namespace orvalis::fuzz
