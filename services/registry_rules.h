// Registry addressing rules shared by every registry operation: roots, key
// paths, the value-name split, the text a stored value reads as, and the
// settings store's key. No Windows types, so the rules are tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

enum class RegRoot { kClassesRoot, kCurrentUser, kLocalMachine };

// Value types, numbered as the registry numbers them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegString = 1;
inline constexpr std::uint32_t kRegExpandString = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiString = 7;

// A key path and a value name after the value name's subkey prefix has moved
// into the key path. A leading "\" of the key path is dropped: it means the
// same as none.
struct ValueAddress {
  std::string key;
  std::string name;
  bool operator==(const ValueAddress&) const = default;
};

// Key "A" and name "B\C" address value "C" of key "A\B"; only the first "\"
// of the name splits it. An empty name is the key's default value.
[[nodiscard]] ValueAddress SplitValueName(std::string_view key, std::string_view name);
// The key path without its leading "\" (registry calls take relative paths).
[[nodiscard]] std::string_view RelativeKeyPath(std::string_view key);

// The text a stored value reads as: a text value up to its first zero
// character (converted from UTF-16 little-endian to UTF-8); binary data and
// types other than text, expandable text and integer as their raw bytes;
// expandable text and integers as empty text.
[[nodiscard]] std::string StoredValueText(std::uint32_t type, std::string_view bytes);

// The product's part of the settings store. "XXX" until the setup names it.
void SetProductKey(std::string_view product);
[[nodiscard]] std::string ProductKey();
// "Software\Orvalis\" + the product key.
[[nodiscard]] std::string SettingsKey();
// The key of one section of the settings store; an empty section is the
// product key itself.
[[nodiscard]] std::string SettingsSectionKey(std::string_view section);

}  // namespace orvalis
