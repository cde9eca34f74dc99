// The registry keys and values that associate one file extension with the
// product's program, computed as an ordered list of steps; the Windows layer
// carries them out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/registry_rules.h"

namespace orvalis {

// Where the browser's application identifier is read (step before the
// attachment rule): HKCR "AppID\iexplore.exe", value "AppId".
inline constexpr std::string_view kBrowserAppIdKey = "AppID\\iexplore.exe";
inline constexpr std::string_view kBrowserAppIdValue = "AppId";

enum class RegStepAction { kWriteString, kWriteInteger, kWriteBinary, kDeleteKey };

struct RegStep {
  RegStepAction action = RegStepAction::kWriteString;
  RegRoot root = RegRoot::kClassesRoot;
  std::string key;
  std::string name;      // empty: the key's default value
  std::string text;      // string or binary data
  std::uint32_t number = 0;
  bool operator==(const RegStep&) const = default;
};

// Windows XP before service pack 3 passes long names only through "%L".
[[nodiscard]] bool NeedsLongNamePlaceholder(unsigned major, unsigned minor, unsigned servicePackMajor);

// The "open" command: the program (quoted when it has a blank), a blank and
// the quoted placeholder.
[[nodiscard]] std::string OpenCommand(std::string_view program, bool longNamePlaceholder);

// Every write and deletion for `ext` (without its dot), in order. The
// attachment-safety value is included only with a non-empty `browserAppId`.
// Deletions do not count towards the association's result; writes do.
[[nodiscard]] std::vector<RegStep> FileTypeSteps(std::string_view ext, std::string_view program,
                                                 std::string_view description, bool longNamePlaceholder,
                                                 std::string_view browserAppId);

}  // namespace orvalis
