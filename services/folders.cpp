// Folder kinds and special folders answered by the system.
#include "services/folders.h"

#include <windows.h>
#include <shlobj.h>

#include "win/com.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

constexpr DWORD kPathBuffer = 512;

// A system folder query that fills a buffer of 512 characters; a result of
// 512 or more characters (the buffer was too small) counts as none.
template <typename Query>
std::string FromBuffer(Query query) {
  wchar_t buffer[kPathBuffer] = {};
  DWORD length = query(buffer, kPathBuffer);
  if (length < 1 || length >= kPathBuffer) return {};
  return win::Narrow(std::wstring_view(buffer, length));
}

std::string ShellFolder(int csidl) {
  win::unique_cotaskmem<PIDLIST_ABSOLUTE> items;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, items.put())) || !items) return {};
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(items.get(), path)) return {};
  return win::Narrow(path);
}

std::string ProgramFilesDir() {
  win::unique_hkey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE,
                      key.put()) != ERROR_SUCCESS)
    return {};
  wchar_t buffer[MAX_PATH] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);  // leaves room for a zero the registry may not have stored
  DWORD type = 0;
  if (::RegQueryValueExW(key.get(), L"ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  return win::Narrow(buffer);
}

class SystemFolderSources final : public FolderSources {
 public:
  std::string WindowsFolder() override {
    return FromBuffer([](wchar_t* b, DWORD n) { return DWORD(::GetWindowsDirectoryW(b, n)); });
  }
  std::string SystemFolder() override {
    return FromBuffer([](wchar_t* b, DWORD n) { return DWORD(::GetSystemDirectoryW(b, n)); });
  }
  std::string TemporaryFolder() override {
    return FromBuffer([](wchar_t* b, DWORD n) { return ::GetTempPathW(n, b); });
  }
  std::string CurrentFolder() override {
    return FromBuffer([](wchar_t* b, DWORD n) { return ::GetCurrentDirectoryW(n, b); });
  }
  std::string ExecutablePath() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
      if (length == 0) return {};
      if (length < path.size()) return win::Narrow(std::wstring_view(path.data(), length));
      path.resize(path.size() * 2);  // cut off: the full path is longer
    }
  }
  std::string SpecialFolder(int csidl) override { return GetSpecialFolder(csidl); }
};

}  // namespace

std::string GetSystemPath(int kind) {
  SystemFolderSources sources;
  return SystemPathOf(kind, sources);
}

std::string GetSpecialFolder(int csidl) { return ResolveSpecialFolder(csidl, ShellFolder, ProgramFilesDir); }

bool FolderExists(std::string_view path) {
  if (path.empty()) return false;
  DWORD attributes = ::GetFileAttributesW(win::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolder(std::string_view path) {
  return !path.empty() && ::CreateDirectoryW(win::Wide(path).c_str(), nullptr) != 0;
}

}  // namespace orvalis
