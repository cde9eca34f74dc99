// PParent has no behaviour of its own.
#include "controls/basics/pparent.h"

namespace orvalis::controls {

PParent::PParent() = default;

}  // namespace orvalis::controls
