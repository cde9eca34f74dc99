// Files and attributes, in the plain terms the install procedure needs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// 0xFFFFFFFF when the path does not exist.
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

[[nodiscard]] bool FileExists(std::string_view path);  // a file, not a folder
[[nodiscard]] std::uint32_t ReadFileAttributes(std::string_view path);
// 0 clears every attribute.
[[nodiscard]] bool WriteFileAttributes(std::string_view path, std::uint32_t attributes);
// True when the file can be opened for reading and writing with no sharing;
// the handle is closed at once.
[[nodiscard]] bool CanOpenExclusive(std::string_view path);
// Creates the file, or truncates it when it exists, and writes all bytes with
// one write.
[[nodiscard]] bool WriteWholeFile(std::string_view path, std::string_view bytes);
[[nodiscard]] bool DeleteOneFile(std::string_view path);
// The names (not paths) of the files in `folder` (ending with "\") that match
// the wildcard `pattern`; folders are left out.
[[nodiscard]] std::vector<std::string> MatchingFiles(std::string_view folder, std::string_view pattern);
// Creates `folder` with every missing parent. True when it exists afterwards.
[[nodiscard]] bool ForceFolders(std::string_view folder);
// The system's text for an error code, without the final line break; "error N"
// when the system has none.
[[nodiscard]] std::string SystemMessage(std::uint32_t error);

}  // namespace orvalis
