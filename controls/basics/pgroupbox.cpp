// PGroupBox has no behaviour of its own.
#include "controls/basics/pgroupbox.h"

namespace orvalis::controls {

PGroupBox::PGroupBox() = default;

}  // namespace orvalis::controls
