// Focus rules of the radio button.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalis::controls {

constexpr int kRadioButtonPart = 2;

// A caption that ends tight gets one trailing space on entering, so the focus
// rectangle does not touch its last letter; nothing when it stays.
[[nodiscard]] std::optional<std::string> RadioEnterCaption(std::string_view caption);

[[nodiscard]] constexpr int RadioHotState(bool checked) { return checked ? 6 : 2; }

}  // namespace orvalis::controls
