// The product sub-folder rule that every default install folder goes through.
#pragma once

#include "setup/setup_state.h"

#include <functional>
#include <string>
#include <string_view>

namespace orvalis {

using FileExistsFunction = std::function<bool(const std::string& path)>;

// `base` + "\Orvalis\" + Product, unless `base` already names the product's
// folder (it contains "\Orvalis\" + Product, case-sensitive) or already holds
// the program file. Empty for an empty base.
[[nodiscard]] std::string ProductFolder(std::string_view base, const SetupState& state,
                                        const FileExistsFunction& fileExists);

// `folder` + "\" + `name`, without doubling a "\" that ends `folder`.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace orvalis
