// The meaning of the package descriptor's keys (the lines themselves are
// read by services/descriptor_reader.h).
#pragma once

#include "services/descriptor_reader.h"
#include "setup/setup_state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

// Reads the descriptor keys into `state` in their fixed order: PRODUCT,
// DIRECTRUN (into `directRun`), the product name of the current language,
// PROGRAM (unless /E: gave one), VERSION, DELETE, PID, DATE, FILETYPES (only
// when not unattended at this point), REGISTRY, SHORTCUTS, and last PARAMS,
// whose switches are applied on top of the command line's.
void ApplyDescriptor(std::string_view text, SetupState& state, bool& directRun);

// The product name for the language column: PRODUCTNAME or PRODUCTNAMEENU,
// every "_" shown as a blank.
[[nodiscard]] std::string DescriptorProductName(std::string_view text, int languageIndex);

// SHORTCUTS: "CREATE" and "REG" in any case and with blanks around; else none.
[[nodiscard]] int ShortcutModeOf(std::string_view value);

// One item of the REGISTRY list, section\name:value.
struct RegistryItem {
  std::string section;  // below the product's settings key; empty for the key itself
  std::string name;
  bool isInteger = false;  // the value began with "I" or "i"
  std::int32_t number = 0;
  std::string text;
};
[[nodiscard]] RegistryItem ParseRegistryItem(std::string_view item);

}  // namespace orvalis
