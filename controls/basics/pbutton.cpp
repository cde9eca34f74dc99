// PButton has no behaviour of its own.
#include "controls/basics/pbutton.h"

namespace orvalis::controls {

PButton::PButton() = default;
PButton::~PButton() = default;

}  // namespace orvalis::controls
