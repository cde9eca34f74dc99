// Payload resources of the own image: enumeration, loading and extraction.
#include "services/payload.h"

#include "core/text.h"
#include "services/inflate.h"
#include "services/payload_name.h"
#include "win/unique_any.h"
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

bool ForceFolders(std::string_view folder) {
  std::wstring path = win::Wide(folder);
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty()) return false;
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t cut = path.find_last_of(L"\\/");
  // A drive root ("C:") or a share root has no parent to create.
  if (cut != std::wstring::npos && cut > 0 && path[cut - 1] != L':' && path[cut - 1] != L'\\') {
    if (!ForceFolders(win::Narrow(path.substr(0, cut)))) return false;
  }
  if (::CreateDirectoryW(path.c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

ExtractResult ExtractPayloadFile(HMODULE module, std::string_view payloadName, std::string_view installFolder) {
  if (CheckPayloadName(payloadName) != PayloadNameProblem::kSafe) return ExtractResult::kUnsafeName;
  std::string destination = std::string(installFolder) + PayloadDisplayName(payloadName);
  std::string bytes = LoadResourceData(module, "FILE:" + std::string(payloadName), RT_RCDATA);
  if (bytes.empty() || !InflateData(bytes)) return ExtractResult::kNoData;
  size_t cut = destination.rfind('\\');
  if (cut != std::string::npos && !ForceFolders(destination.substr(0, cut + 1))) return ExtractResult::kWriteFailed;
  win::unique_file file(::CreateFileW(win::Wide(destination).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return ExtractResult::kWriteFailed;
  // One write for the whole file; the payload streams are inflated one at a
  // time and no single file comes near the 4 GiB a write can take.
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return ExtractResult::kWriteFailed;
  if (!::CloseHandle(file.release())) return ExtractResult::kWriteFailed;
  return ExtractResult::kWritten;
}

}  // namespace orvalis
