// Reading the payload that travels inside the setup executable as RT_RCDATA
// resources named "FILE:" + payload name, each one zlib stream.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/inflate.h"

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

enum class ExtractProblem { kNone, kMissing, kDamaged, kTooLarge, kSystem };

// What became of one resource inflated into a file.
struct FileExtraction {
  ExtractProblem problem = ExtractProblem::kMissing;
  std::uint64_t size = 0;   // bytes written
  std::uint32_t error = 0;  // with kSystem: the error code of the create, write or replace that failed
};

// Inflates the zlib stream of resource `name` of `type`, read in place from
// the mapped image, into `path`. A file already at `path` is replaced only by a
// whole one: the new file is written to a temporary file beside it, which then
// takes its place; on any failure what was written is deleted and a file at
// `path` stays as it was. A file that is not there yet is written under its
// own name (and deleted on failure), which spares a fresh install a rename per
// file. A read-only file at `path` is not replaced (kSystem);
// the new file has the attributes of a freshly created one.
[[nodiscard]] FileExtraction ExtractResourceToFile(HMODULE module, std::string_view name, LPCWSTR type,
                                                   std::string_view path, InflateBuffers& buffers);

}  // namespace orvalis
