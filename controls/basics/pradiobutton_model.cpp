// Focus rules of the radio button.
#include "controls/basics/pradiobutton_model.h"

namespace orvalis::controls {

std::optional<std::string> RadioEnterCaption(std::string_view caption) {
  if (caption.empty() || caption == " " || caption.back() == ' ') return std::nullopt;
  return std::string(caption) + " ";
}

}  // namespace orvalis::controls
