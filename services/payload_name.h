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

// The first letter of a payload name that keeps the setup from finding the
// name again, or 0. Payload names are stored upper-cased, and the resource
// loader upper-cases the name it is asked for with Windows's table before it
// compares, so every letter of the stored name must be one that table leaves
// as it is. UpperCase keeps the UTF-8 length and so leaves the few letters
// whose upper case has another length (ɐ U+0250 → Ɐ U+2C6F, ⱥ U+2C65 → Ⱥ).
[[nodiscard]] char32_t UnstorableLetter(std::string_view payloadName);

}  // namespace orvalis
