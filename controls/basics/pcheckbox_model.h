// Focus rules of the check box: the caption arrow shown while focused and the
// themed "hot" box painted over the focused control.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvalis::controls {

enum class CheckState : std::uint8_t { Unchecked, Checked, Grayed };

constexpr int kCheckBoxPart = 3;

// The caption to set on entering, or nothing when it stays.
[[nodiscard]] std::optional<std::string> CheckBoxEnterCaption(std::string_view caption, bool themed,
                                                              bool captionLeftOfBox);
// The caption to set on leaving, or nothing when it stays.
[[nodiscard]] std::optional<std::string> CheckBoxExitCaption(std::string_view caption);

// The hot state of the check-box part for a check state.
[[nodiscard]] int CheckBoxHotState(CheckState state);

// Size flags of the box: its natural width at the right edge when the caption
// is left of it, at the left edge otherwise.
[[nodiscard]] constexpr int BoxSizeFlags(bool captionLeftOfBox) { return captionLeftOfBox ? 2 : 1; }

}  // namespace orvalis::controls
