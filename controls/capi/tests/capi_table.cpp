// Loading the module under test and resolving the table.
#include "capi_table.h"

namespace orvalis::capi_test {
namespace {

Module module;

template <typename T>
const T* At(HMODULE base, DWORD rva) {
  return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(base) + rva);
}

const IMAGE_NT_HEADERS* Headers(HMODULE base) {
  return At<IMAGE_NT_HEADERS>(base, DWORD(At<IMAGE_DOS_HEADER>(base, 0)->e_lfanew));
}

// Slots of the import address table that still hold what the file holds (the
// hint-and-name reference) instead of the address of the imported function.
int UnboundImports(HMODULE base) {
  const IMAGE_DATA_DIRECTORY& directory = Headers(base)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return 0;
  int unbound = 0;
  for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(base, directory.VirtualAddress); d->Name; ++d) {
    if (d->OriginalFirstThunk == 0) continue;
    const auto* names = At<IMAGE_THUNK_DATA>(base, d->OriginalFirstThunk);
    const auto* slots = At<IMAGE_THUNK_DATA>(base, d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots)
      if (slots->u1.Function == names->u1.AddressOfData) ++unbound;
  }
  return unbound;
}

}  // namespace

Api api;

std::vector<Entry*> Api::Entries() {
  return {
#define ORVALIS_FUNCTION(f) &f,
#include "capi_functions.inc"
#undef ORVALIS_FUNCTION
  };
}

const Module& TheModule() { return module; }

bool LoadModule(const std::wstring& path, std::string& error) {
  module.path = path;
  module.handle = ::LoadLibraryW(path.c_str());
  if (!module.handle) {
    error = "LoadLibraryW failed with error " + std::to_string(::GetLastError());
    return false;
  }
  module.isDll = (Headers(module.handle)->FileHeader.Characteristics & IMAGE_FILE_DLL) != 0;
  module.importsUnbound = UnboundImports(module.handle);
#define ORVALIS_FUNCTION(f) \
  api.f.name = #f;            \
  api.f.address = ::GetProcAddress(module.handle, #f);
#include "capi_functions.inc"
#undef ORVALIS_FUNCTION
  return true;
}

std::string CallsRefused() {
  if (module.isDll && module.importsUnbound == 0) return "";
  return ModuleName() + " is " + (module.isDll ? "a library" : "a program") + " the loader mapped with " +
         std::to_string(module.importsUnbound) +
         " imports unbound and its entry point not run (an .exe loaded as a library: no bound imports, no C "
         "runtime start-up); a call into it would jump through an unbound import";
}

std::string ModuleName() {
  const std::size_t slash = module.path.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? module.path : module.path.substr(slash + 1);
  return std::string(name.begin(), name.end());
}

std::vector<std::string> ExportedNames(HMODULE base) {
  std::vector<std::string> names;
  const IMAGE_DATA_DIRECTORY& directory = Headers(base)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (directory.VirtualAddress == 0) return names;
  const auto* exports = At<IMAGE_EXPORT_DIRECTORY>(base, directory.VirtualAddress);
  const auto* rvas = At<DWORD>(base, exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.emplace_back(At<char>(base, rvas[i]));
  return names;
}

}  // namespace orvalis::capi_test
