// Reading the package descriptor: Key=Value lines carried as the payload
// "DISK.ID". Shared by the setup, which acts on the keys, and the packer,
// which checks a descriptor before it packs it.
#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// The value of `key` in the descriptor `text`: the first occurrence of KEY= in
// the upper-cased text (not tied to the start of a line), the rest of that line
// in its own case, trimmed of characters 0 to 32. Empty when not found.
[[nodiscard]] std::string DescriptorValue(std::string_view text, std::string_view key);

}  // namespace orvalis
