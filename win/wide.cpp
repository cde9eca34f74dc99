// UTF-8 ⇄ UTF-16 through the system's own converters.
//
// Without MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS both put U+FFFD in place
// of what cannot be converted: invalid UTF-8 bytes one way, a surrogate without
// its partner the other way. That holds since Vista (and in Wine); earlier
// systems encoded lone surrogates as they were.
// https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
#include "win/wide.h"

#include <windows.h>

namespace orvalis::win {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(size_t(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(size_t(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace orvalis::win
