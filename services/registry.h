// The registry operations every part of the setup goes through: one value read
// or written per call under a root key and a key path. Each call opens its key
// anew with full access (so a key the user may only read counts as absent),
// and closes it before it returns; nothing is cached between calls.
// The value name may carry one subkey prefix (see SplitValueName).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "services/registry_rules.h"

namespace orvalis {

[[nodiscard]] HKEY RootKey(RegRoot root);

// The value as text (see StoredValueText); empty when key or value is missing.
[[nodiscard]] std::string ReadRegString(HKEY root, std::string_view key, std::string_view name);
// The value when it is an integer (REG_DWORD); 0 otherwise.
[[nodiscard]] std::int32_t ReadRegInteger(HKEY root, std::string_view key, std::string_view name);
[[nodiscard]] bool RegValueExists(HKEY root, std::string_view key, std::string_view name);

// Writers create the key with its missing parents. With `deleteIfEmpty` an
// empty value (0 for integers) deletes the value instead of storing it, and
// the result is then DeleteRegValue's. False when the key cannot be opened or
// created or the write fails.
[[nodiscard]] bool WriteRegString(HKEY root, std::string_view key, std::string_view name, bool deleteIfEmpty,
                                  std::string_view value);
[[nodiscard]] bool WriteRegInteger(HKEY root, std::string_view key, std::string_view name, bool deleteIfZero,
                                   std::int32_t value);
[[nodiscard]] bool WriteRegBinary(HKEY root, std::string_view key, std::string_view name, bool deleteIfEmpty,
                                  std::string_view bytes);

// Deletes one value; a missing value is no error. The key is opened with
// creation, so a missing key is left behind empty unless `deleteEmptyKey`
// deletes a key that has neither subkeys nor values afterwards. Always true.
bool DeleteRegValue(HKEY root, std::string_view key, std::string_view name, bool deleteEmptyKey);
// Deletes the key with all its subkeys and values; the value-name split does
// not apply. A missing key is no error, and an empty path deletes nothing.
// Always true.
bool DeleteRegKey(HKEY root, std::string_view key);

}  // namespace orvalis
