// The settings store on top of the registry operations.
#include "services/settings.h"

#include "services/registry.h"

namespace orvalis {

std::string ReadSetting(std::string_view section, std::string_view name) {
  return ReadRegString(HKEY_CURRENT_USER, SettingsSectionKey(section), name);
}

std::int32_t ReadSettingInt(std::string_view section, std::string_view name) {
  return ReadRegInteger(HKEY_CURRENT_USER, SettingsSectionKey(section), name);
}

bool WriteSetting(std::string_view section, std::string_view name, std::string_view value, bool deleteIfEmpty) {
  return WriteRegString(HKEY_CURRENT_USER, SettingsSectionKey(section), name, deleteIfEmpty, value);
}

bool WriteSettingInt(std::string_view section, std::string_view name, std::int32_t value, bool deleteIfZero) {
  return WriteRegInteger(HKEY_CURRENT_USER, SettingsSectionKey(section), name, deleteIfZero, value);
}

bool DeleteSetting(std::string_view section, std::string_view name, bool deleteEmptyKey) {
  return DeleteRegValue(HKEY_CURRENT_USER, SettingsSectionKey(section), name, deleteEmptyKey);
}

bool SettingExists(std::string_view section, std::string_view name) {
  return RegValueExists(HKEY_CURRENT_USER, SettingsSectionKey(section), name);
}

}  // namespace orvalis
