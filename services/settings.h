// The per-user settings store: values under HKEY_CURRENT_USER in
// SettingsKey() + "\" + section (see registry_rules.h for the product key).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

[[nodiscard]] std::string ReadSetting(std::string_view section, std::string_view name);
[[nodiscard]] std::int32_t ReadSettingInt(std::string_view section, std::string_view name);
// With `deleteIfEmpty` (`deleteIfZero`) an empty (zero) value removes the
// stored value instead of writing it.
[[nodiscard]] bool WriteSetting(std::string_view section, std::string_view name, std::string_view value,
                                bool deleteIfEmpty);
[[nodiscard]] bool WriteSettingInt(std::string_view section, std::string_view name, std::int32_t value,
                                   bool deleteIfZero);
// Always true; see DeleteRegValue for the section key that a missing value leaves behind.
bool DeleteSetting(std::string_view section, std::string_view name, bool deleteEmptyKey);
[[nodiscard]] bool SettingExists(std::string_view section, std::string_view name);

}  // namespace orvalis
