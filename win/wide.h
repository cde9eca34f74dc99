// The UTF-8 ⇄ UTF-16 boundary for calls into the W functions of Windows.
#pragma once

#include <string>
#include <string_view>

namespace orvalis::win {

// Bytes that are not UTF-8 become U+FFFD.
[[nodiscard]] std::wstring Wide(std::string_view utf8);
// A surrogate without its partner (window texts and file names may hold one)
// becomes U+FFFD, so the result is always valid UTF-8.
[[nodiscard]] std::string Narrow(std::wstring_view wide);

}  // namespace orvalis::win
