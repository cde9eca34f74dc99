// Rules for payload names: which are safe to write, and how they are shown.
#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// The display name of a payload entry: lower case with the first letter a..z
// upper-cased (UNINSTALL.EXE becomes Uninstall.exe). Installed files carry it.
[[nodiscard]] std::string PayloadDisplayName(std::string_view payloadName);

// Why a payload name cannot be installed, or kSafe.
enum class PayloadNameProblem {
  kSafe,
  kEmpty,          // nothing, or a segment that is empty ("A\\\\B", trailing "\")
  kAbsolute,       // starts with "\" or "/"
  kDrive,          // holds ":" (a drive letter or an alternate data stream)
  kParent,         // a "." or ".." segment
  kReservedName,   // a segment that Windows maps to a device (CON, NUL, COM1, ...)
  kInvalidChar,    // a control character or one of < > " | ? *
  kTrailingDotOrBlank,  // a segment ending in "." or " ", which Windows drops
};

// Checks a payload name ("\" separates folders; "/" is treated the same) so a
// hostile package can never write outside the install folder.
[[nodiscard]] PayloadNameProblem CheckPayloadName(std::string_view payloadName);

// A short English description of a problem, for the packer's messages.
[[nodiscard]] const char* DescribePayloadNameProblem(PayloadNameProblem problem);

}  // namespace orvalis
