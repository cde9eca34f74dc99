// PMemo has no behaviour of its own.
#include "controls/basics/pmemo.h"

namespace orvalis::controls {

PMemo::PMemo() = default;

}  // namespace orvalis::controls
