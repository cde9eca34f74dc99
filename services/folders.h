// System folders and folder checks. Every lookup reports failure as an empty
// text; nothing is shown.
#pragma once

#include <string>
#include <string_view>

#include "services/folder_kinds.h"

namespace orvalis {

// The folder of a folder kind (kFolderKind...); empty for other kinds.
[[nodiscard]] std::string GetSystemPath(int kind);

// The file-system path of a shell special folder (kCsidl...), with the
// fallbacks of ResolveSpecialFolder.
[[nodiscard]] std::string GetSpecialFolder(int csidl);

[[nodiscard]] bool FolderExists(std::string_view path);
// Creates one folder whose parent exists; false when it cannot be made or
// already exists (see ForceFolders for a whole chain).
[[nodiscard]] bool CreateFolder(std::string_view path);

}  // namespace orvalis
