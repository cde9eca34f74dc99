// Payload name rules.
#include "services/payload_name.h"

#include "core/text.h"
#include "core/utf16.h"

#include <array>

namespace orvalis {

std::string PayloadDisplayName(std::string_view payloadName) {
  std::string name = LowerCase(payloadName);
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = char(name[0] - 32);
  return name;
}

namespace {

bool IsReservedDeviceName(std::string_view segment) {
  // Windows ignores what follows the device name after a dot and trailing blanks/dots.
  std::string_view stem = segment.substr(0, segment.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper = UpperCase(stem);
  static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (auto name : kPlain)
    if (upper == name) return true;
  if (upper.size() == 4 && (StartsWith(upper, "COM") || StartsWith(upper, "LPT")) && upper[3] >= '0' &&
      upper[3] <= '9')
    return true;
  // COM¹ ² ³ and LPT¹ ² ³ are devices too.
  if (upper.size() == 5 && (StartsWith(upper, "COM") || StartsWith(upper, "LPT")) &&
      (upper.substr(3) == "\xC2\xB9" || upper.substr(3) == "\xC2\xB2" || upper.substr(3) == "\xC2\xB3"))
    return true;
  return false;
}

}  // namespace

PayloadNameProblem CheckPayloadName(std::string_view name) {
  if (name.empty()) return PayloadNameProblem::kEmpty;
  if (name[0] == '\\' || name[0] == '/') return PayloadNameProblem::kAbsolute;
  if (name.find(':') != std::string_view::npos) return PayloadNameProblem::kDrive;
  for (char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (u < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
      return PayloadNameProblem::kInvalidChar;
  }
  size_t start = 0;
  for (;;) {
    size_t end = name.find_first_of("\\/", start);
    std::string_view segment = name.substr(start, end == std::string_view::npos ? name.npos : end - start);
    if (segment.empty()) return PayloadNameProblem::kEmpty;
    // "..", "." and names that Windows trims to them (". .", "... ") climb or stay put.
    if (segment.find_first_not_of(". ") == std::string_view::npos) return PayloadNameProblem::kParent;
    if (IsReservedDeviceName(segment)) return PayloadNameProblem::kReservedName;
    // Windows drops trailing dots and blanks when it creates a file, so A.TXT.
    // would overwrite A.TXT.
    if (segment.back() == '.' || segment.back() == ' ') return PayloadNameProblem::kTrailingDotOrBlank;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return PayloadNameProblem::kSafe;
}

const char* DescribePayloadNameProblem(PayloadNameProblem problem) {
  switch (problem) {
    case PayloadNameProblem::kSafe: return "safe";
    case PayloadNameProblem::kEmpty: return "empty name or empty folder name";
    case PayloadNameProblem::kAbsolute: return "absolute path would leave the install folder";
    case PayloadNameProblem::kDrive: return "drive or stream name (\":\") would leave the install folder";
    case PayloadNameProblem::kParent: return "\".\" or \"..\" segment would leave the install folder";
    case PayloadNameProblem::kReservedName: return "reserved device name (CON, NUL, COM1 ...)";
    case PayloadNameProblem::kInvalidChar: return "character not allowed in a Windows file name";
    case PayloadNameProblem::kTrailingDotOrBlank: return "name ends with a dot or a blank, which Windows drops";
  }
  return "unknown";
}

char32_t UnstorableLetter(std::string_view payloadName) {
  const auto stored = Utf8ToUtf16(UpperCase(payloadName));
  if (!stored) return 0;  // not UTF-8: refused as such
  for (char16_t unit : *stored)
    if (WindowsUpperCase(unit) != unit) return unit;  // surrogates map to themselves
  return 0;
}

}  // namespace orvalis
