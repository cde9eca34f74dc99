// File-type association: the steps of FileTypeSteps carried out in the registry.
#include "services/file_types.h"

#include <windows.h>

#include "services/file_type_plan.h"
#include "services/registry.h"

namespace orvalis {
namespace {

// GetVersionExW reports the real version for the only case that matters here
// (Windows XP, which knows nothing of manifests and compatibility shims).
bool SystemNeedsLongNamePlaceholder() {
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return false;
  return NeedsLongNamePlaceholder(version.dwMajorVersion, version.dwMinorVersion, version.wServicePackMajor);
}

bool Perform(const RegStep& step) {
  HKEY root = RootKey(step.root);
  switch (step.action) {
    case RegStepAction::kWriteString: return WriteRegString(root, step.key, step.name, false, step.text);
    case RegStepAction::kWriteInteger: return WriteRegInteger(root, step.key, step.name, false, std::int32_t(step.number));
    case RegStepAction::kWriteBinary: return WriteRegBinary(root, step.key, step.name, false, step.text);
    case RegStepAction::kDeleteKey: DeleteRegKey(root, step.key); return true;
  }
  return false;
}

}  // namespace

bool AssociateFileType(std::string_view ext, std::string_view program, std::string_view description) {
  // Read before the first write; the steps never touch the key it reads.
  std::string appId = ReadRegString(HKEY_CLASSES_ROOT, kBrowserAppIdKey, kBrowserAppIdValue);
  bool ok = true;
  for (const RegStep& step : FileTypeSteps(ext, program, description, SystemNeedsLongNamePlaceholder(), appId))
    ok = Perform(step) && ok;
  return ok;
}

}  // namespace orvalis
