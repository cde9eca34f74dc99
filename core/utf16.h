// UTF-8 ⇄ UTF-16 conversion without the Windows API, for code that runs on both
// sides (the packer writes UTF-16 resource names; Win32 calls take wide text).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalis {

// Invalid UTF-8 yields std::nullopt: callers decide whether that is an error.
[[nodiscard]] std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace orvalis
