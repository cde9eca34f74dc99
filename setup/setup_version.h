// The setup's own version, the project version the build was made from.
#pragma once

#include <string_view>

namespace orvalis {

inline constexpr std::string_view kSetupVersion = ORVALIS_SETUP_VERSION;

}  // namespace orvalis
