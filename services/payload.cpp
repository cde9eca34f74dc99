// Payload resources of the own image: enumeration, loading and extraction.
#include "services/payload.h"

#include "core/text.h"
#include "win/wide.h"

namespace orvalis {
namespace {

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) noexcept {
  // Numbered resources are not part of the payload format.
  if (IS_INTRESOURCE(name)) return TRUE;
  try {
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(win::Narrow(name));
  } catch (...) {
    return FALSE;  // no exception may cross into the system's enumeration
  }
  return TRUE;
}

}  // namespace

bool ListResourceNames(HMODULE module, std::vector<std::string>* list, std::string_view prefix, LPCWSTR type) {
  if (list == nullptr) return false;
  list->clear();
  if (!::EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(list))) {
    list->clear();
    return false;
  }
  if (prefix.empty()) return true;
  std::string upperPrefix = UpperCase(prefix);
  std::vector<std::string> kept;
  kept.reserve(list->size());
  for (auto& entry : *list) {
    if (entry.size() >= upperPrefix.size() && UpperCase(std::string_view(entry).substr(0, upperPrefix.size())) == upperPrefix)
      kept.push_back(entry.substr(upperPrefix.size()));
  }
  list->swap(kept);
  return true;
}

std::string LoadResourceData(HMODULE module, std::string_view name, LPCWSTR type) {
  std::wstring wideName = win::Wide(name);
  HRSRC info = ::FindResourceW(module, wideName.c_str(), type);
  if (info == nullptr) return {};
  DWORD size = ::SizeofResource(module, info);
  if (size == 0) return {};
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return {};
  const void* data = ::LockResource(loaded);
  if (data == nullptr) return {};
  return std::string(static_cast<const char*>(data), size);
}

}  // namespace orvalis
