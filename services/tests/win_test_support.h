// Helpers for tests that run under Windows (Wine): temporary folders, file
// bytes and the build output folder.
#pragma once

#include <windows.h>

#include <string>

namespace orvalis::test {

// A fresh folder under %TEMP%, removed with everything in it at the end.
// path() ends with "\".
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// The folder of the running test program, where the other build outputs lie.
[[nodiscard]] std::wstring BuildOutput(const std::wstring& fileName);

[[nodiscard]] std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The name of the last path element as the file system stores it (its case).
[[nodiscard]] std::wstring StoredName(const std::wstring& path);
// One zlib stream at the default level, as the packer writes them.
[[nodiscard]] std::string Deflate(const std::string& data);

}  // namespace orvalis::test
