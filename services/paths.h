// Path pieces and command quoting shared by the installation services. Paths
// are UTF-8 Windows paths; "\", "/" and a drive's ":" separate folders.
#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// Everything up to and including the last separator; empty when there is none.
[[nodiscard]] std::string_view FolderPart(std::string_view path);
// What follows the last separator.
[[nodiscard]] std::string_view FileNamePart(std::string_view path);

// The working folder a program is started in: its folder without the final
// "\", except that a drive root keeps it ("C:\"; a bare "C:" would mean the
// drive's current folder). Empty when `file` has no "\".
[[nodiscard]] std::string StartFolderOf(std::string_view file);

// A program path as a command line's first token: quoted when it has a blank.
// When the path carries arguments after ".exe " (a program file such as
// "prog.exe /x"), only the part up to ".exe" is the program and gets the
// quotes. An already quoted path stays as it is.
[[nodiscard]] std::string QuoteProgram(std::string_view programPath);

}  // namespace orvalis
