// The UTF-8 ⇄ UTF-16 boundary for calls into the W functions of Windows.
#pragma once

#include <string>
#include <string_view>

namespace orvalis::win {

// Invalid UTF-8 is converted with U+FFFD in place of the bad bytes.
[[nodiscard]] std::wstring Wide(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view wide);

}  // namespace orvalis::win
