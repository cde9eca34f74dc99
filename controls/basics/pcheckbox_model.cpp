// Focus rules of the check box.
#include "controls/basics/pcheckbox_model.h"

namespace orvalis::controls {

std::optional<std::string> CheckBoxEnterCaption(std::string_view caption, bool themed, bool captionLeftOfBox) {
  if ((!themed && caption.empty()) || caption == " ") return std::string(captionLeftOfBox ? " >" : "< ");
  return std::nullopt;
}

std::optional<std::string> CheckBoxExitCaption(std::string_view caption) {
  if (caption == " >" || caption == "< ") return std::string();
  return std::nullopt;
}

int CheckBoxHotState(CheckState state) {
  switch (state) {
    case CheckState::Checked: return 6;
    case CheckState::Grayed: return 10;
    case CheckState::Unchecked: break;
  }
  return 2;
}

}  // namespace orvalis::controls
