// Registry operations on the W functions; texts are stored as UTF-16 REG_SZ.
#include "services/registry.h"

#include <cstring>
#include <vector>

#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

win::unique_hkey OpenKey(HKEY root, const std::string& key) {
  win::unique_hkey handle;
  if (::RegOpenKeyExW(root, win::Wide(key).c_str(), 0, KEY_ALL_ACCESS, handle.put()) != ERROR_SUCCESS)
    handle.reset();
  return handle;
}

win::unique_hkey CreateKey(HKEY root, const std::string& key) {
  win::unique_hkey handle;
  if (::RegCreateKeyExW(root, win::Wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        handle.put(), nullptr) != ERROR_SUCCESS)
    handle.reset();
  return handle;
}

bool WriteValue(HKEY root, std::string_view key, std::string_view name, DWORD type, const void* data, DWORD size) {
  ValueAddress address = SplitValueName(key, name);
  win::unique_hkey handle = CreateKey(root, address.key);
  if (!handle) return false;
  return ::RegSetValueExW(handle.get(), win::Wide(address.name).c_str(), 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

// Reads type and bytes of one value; false when key or value is missing.
bool ReadValue(HKEY root, std::string_view key, std::string_view name, DWORD* type, std::string* bytes) {
  ValueAddress address = SplitValueName(key, name);
  win::unique_hkey handle = OpenKey(root, address.key);
  if (!handle) return false;
  std::wstring valueName = win::Wide(address.name);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (::RegQueryValueExW(handle.get(), valueName.c_str(), nullptr, type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    bytes->assign(size, '\0');
    LONG status = ::RegQueryValueExW(handle.get(), valueName.c_str(), nullptr, type,
                                     reinterpret_cast<BYTE*>(bytes->data()), &size);
    if (status == ERROR_SUCCESS) {
      bytes->resize(size);
      return true;
    }
    if (status != ERROR_MORE_DATA) return false;  // grown between the two calls: ask again
  }
  return false;
}

}  // namespace

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}

std::string ReadRegString(HKEY root, std::string_view key, std::string_view name) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadValue(root, key, name, &type, &bytes)) return {};
  return StoredValueText(type, bytes);
}

std::int32_t ReadRegInteger(HKEY root, std::string_view key, std::string_view name) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadValue(root, key, name, &type, &bytes) || type != REG_DWORD || bytes.size() != sizeof(DWORD)) return 0;
  DWORD value = 0;
  memcpy(&value, bytes.data(), sizeof value);
  return std::int32_t(value);
}

bool RegValueExists(HKEY root, std::string_view key, std::string_view name) {
  ValueAddress address = SplitValueName(key, name);
  win::unique_hkey handle = OpenKey(root, address.key);
  return handle && ::RegQueryValueExW(handle.get(), win::Wide(address.name).c_str(), nullptr, nullptr, nullptr,
                                      nullptr) == ERROR_SUCCESS;
}

bool WriteRegString(HKEY root, std::string_view key, std::string_view name, bool deleteIfEmpty,
                    std::string_view value) {
  if (value.empty() && deleteIfEmpty) return DeleteRegValue(root, key, name, false);
  std::wstring text = win::Wide(value);
  return WriteValue(root, key, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

bool WriteRegInteger(HKEY root, std::string_view key, std::string_view name, bool deleteIfZero, std::int32_t value) {
  if (value == 0 && deleteIfZero) return DeleteRegValue(root, key, name, false);
  DWORD data = DWORD(value);
  return WriteValue(root, key, name, REG_DWORD, &data, sizeof data);
}

bool WriteRegBinary(HKEY root, std::string_view key, std::string_view name, bool deleteIfEmpty,
                    std::string_view bytes) {
  if (bytes.empty() && deleteIfEmpty) return DeleteRegValue(root, key, name, false);
  return WriteValue(root, key, name, REG_BINARY, bytes.data(), DWORD(bytes.size()));
}

bool DeleteRegValue(HKEY root, std::string_view key, std::string_view name, bool deleteEmptyKey) {
  ValueAddress address = SplitValueName(key, name);
  win::unique_hkey handle = CreateKey(root, address.key);
  if (!handle) return true;
  ::RegDeleteValueW(handle.get(), win::Wide(address.name).c_str());
  DWORD subkeys = 0;
  DWORD values = 0;
  bool counted = ::RegQueryInfoKeyW(handle.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                    nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  handle.reset();
  if (deleteEmptyKey && counted && subkeys == 0 && values == 0 && !address.key.empty())
    ::RegDeleteKeyW(root, win::Wide(address.key).c_str());
  return true;
}

bool DeleteRegKey(HKEY root, std::string_view key) {
  std::string_view path = RelativeKeyPath(key);
  if (path.empty()) return true;
  ::RegDeleteTreeW(root, win::Wide(path).c_str());
  ::RegDeleteKeyW(root, win::Wide(path).c_str());
  return true;
}

}  // namespace orvalis
