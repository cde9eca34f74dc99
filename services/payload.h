// Reading the payload that travels inside the setup executable as RT_RCDATA
// resources named "FILE:" + payload name, each one zlib stream.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// Fills `list` with the names of every resource of `type` in `module` (null:
// the program's own image) that begins with `prefix` (compared without case),
// prefix removed, in the order of the resource directory. False, with an empty
// list, when `list` is null or the image has no resource of that type.
// Resources of the type that carry a number instead of a name are not payload
// and are passed over.
[[nodiscard]] bool ListResourceNames(HMODULE module, std::vector<std::string>* list, std::string_view prefix,
                                     LPCWSTR type);

// A copy of the bytes of resource `name` of `type`; empty when it is missing,
// empty, or cannot be loaded.
[[nodiscard]] std::string LoadResourceData(HMODULE module, std::string_view name, LPCWSTR type);

}  // namespace orvalis
