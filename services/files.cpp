// Files and attributes through the W functions.
#include "services/files.h"

#include <windows.h>

#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {

bool FileExists(std::string_view path) {
  DWORD attributes = ::GetFileAttributesW(win::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint32_t ReadFileAttributes(std::string_view path) {
  return ::GetFileAttributesW(win::Wide(path).c_str());
}

bool WriteFileAttributes(std::string_view path, std::uint32_t attributes) {
  // FILE_ATTRIBUTE_NORMAL is how "no attributes" is spelled for SetFileAttributes.
  return ::SetFileAttributesW(win::Wide(path).c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
}

bool CanOpenExclusive(std::string_view path) {
  win::unique_file file(::CreateFileW(win::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

bool WriteWholeFile(std::string_view path, std::string_view bytes) {
  win::unique_file file(::CreateFileW(win::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  // One write for the whole file: payload files are inflated one at a time and
  // none comes near the 4 GiB a single write can take.
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return false;
  // A close can report a failed delayed write (full disk on a network share).
  return ::CloseHandle(file.release()) != FALSE;
}

bool DeleteOneFile(std::string_view path) { return ::DeleteFileW(win::Wide(path).c_str()) != FALSE; }

std::vector<std::string> MatchingFiles(std::string_view folder, std::string_view pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  win::unique_find find(::FindFirstFileW(win::Wide(std::string(folder) + std::string(pattern)).c_str(), &data));
  if (!find) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(win::Narrow(data.cFileName));
  } while (::FindNextFileW(find.get(), &data));
  return names;
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

std::string SystemMessage(std::uint32_t error) {
  wchar_t text[512];
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  512, nullptr);
  if (length == 0) return "error " + std::to_string(error);
  std::wstring message(text, length);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
    message.pop_back();
  return win::Narrow(message);
}

}  // namespace orvalis
