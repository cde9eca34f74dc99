// Shortcuts through IShellLinkW and IPersistFile.
#include "services/shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "services/folders.h"
#include "services/paths.h"
#include "win/com.h"
#include "win/wide.h"

namespace orvalis {

bool WriteShortcut(std::string_view linkPath, std::string_view target, std::string_view arguments,
                   std::string_view description) {
  win::com_scope com;
  if (!com.ok()) return false;
  win::com_ptr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
    return false;
  // The results of the setters are not examined: a field the link refuses
  // still leaves a usable shortcut.
  link->SetPath(win::Wide(target).c_str());
  link->SetWorkingDirectory(win::Wide(FolderPart(target)).c_str());
  link->SetArguments(win::Wide(arguments).c_str());
  link->SetDescription(win::Wide(description).c_str());
  link->SetShowCmd(SW_SHOW);
  auto file = link.query<IPersistFile>(IID_IPersistFile);
  return file && SUCCEEDED(file->Save(win::Wide(linkPath).c_str(), TRUE));
}

std::string ShortcutFolder(bool onDesktop) {
  if (onDesktop) return GetSpecialFolder(kCsidlDesktopDirectory);
  std::string programs = GetSpecialFolder(kCsidlCommonPrograms);
  return programs.empty() ? programs : programs + "\\Orvalis";
}

bool CreateShortcut(std::string_view target, std::string_view arguments, std::string_view name, bool onDesktop) {
  std::string folder = ShortcutFolder(onDesktop);
  if (folder.empty()) return false;
  if (!onDesktop) static_cast<void>(CreateFolder(folder));  // usually exists from an earlier install
  std::string linkPath = folder;
  linkPath += '\\';
  linkPath += name;
  linkPath += ".lnk";
  return WriteShortcut(linkPath, target, arguments, name);
}

}  // namespace orvalis
