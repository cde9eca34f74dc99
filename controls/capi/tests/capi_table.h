// The functions of include/orvalis_controls.h as a host program reaches them in
// a module it loads: one entry per declaration, resolved with GetProcAddress,
// called with the declared signature and counted, so a test run can tell which
// of the header's functions it has called.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "orvalis_controls.h"

namespace orvalis::capi_test {

// What every entry has, whatever its signature.
struct Entry {
  const char* name = nullptr;
  FARPROC address = nullptr;
  int calls = 0;
};

// Calls are counted while this is true: the sweep of null and wrong handles
// turns it off, so only calls that do something count.
inline bool counting = true;

template <typename Pointer>
class Function;

template <typename R, typename... A>
class Function<R (*)(A...)> : public Entry {
 public:
  using Pointer = R (*)(A...);
  R operator()(A... args) {
    if (counting) ++calls;
    return reinterpret_cast<Pointer>(reinterpret_cast<void*>(address))(args...);
  }
};

// The table: a member per function of the header, named as declared.
struct Api {
#define ORVALIS_FUNCTION(f) Function<decltype(&::f)> f;
#include "capi_functions.inc"
#undef ORVALIS_FUNCTION

  // Every entry, in the header's order.
  [[nodiscard]] std::vector<Entry*> Entries();
};

extern Api api;

// The module under test: its path as given, its handle, and whether calling
// into it is sound (see CallsRefused).
struct Module {
  std::wstring path;
  HMODULE handle = nullptr;
  bool isDll = false;
  int importsUnbound = 0;  // import address table slots the loader left unbound
};
[[nodiscard]] const Module& TheModule();

// Loads the module and resolves every entry; false with the reason when the
// module does not load.
bool LoadModule(const std::wstring& path, std::string& error);

// Why the functions of the module must not be called, or "" when they may.
// An .exe loaded as a library gets no bound imports and no run of its entry
// point (the C runtime's start-up), so any call into it is unsound.
[[nodiscard]] std::string CallsRefused();

// The module's file name, for messages: "OrvalisControls.dll".
[[nodiscard]] std::string ModuleName();

// The names the module exports.
[[nodiscard]] std::vector<std::string> ExportedNames(HMODULE module);

}  // namespace orvalis::capi_test
