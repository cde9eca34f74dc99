// SHBrowseForFolder with the initial selection and a status line.
#include "ui/browse_folder.h"

#include <shlobj.h>

#include "win/com.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) noexcept {
  if (message == BFFM_INITIALIZED) {
    ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  } else if (message == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH] = {};
    if (lParam && ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path))
      ::SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

}  // namespace

std::string BrowseForFolder(HWND owner, const std::string& initialFolder, const std::string& title) {
  std::wstring start = win::Wide(initialFolder);
  std::wstring heading = win::Wide(title);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner ? owner : ::GetActiveWindow();
  info.pszDisplayName = display;
  info.lpszTitle = heading.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  // The item list is the caller's to free with CoTaskMemFree.
  win::unique_cotaskmem<PIDLIST_ABSOLUTE> chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return initialFolder;
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path)) return {};
  return win::Narrow(path);
}

}  // namespace orvalis::ui
