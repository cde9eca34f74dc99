// Command-line switches from arbitrary text: values are pieces of the text,
// flags only ever switch on, and parsing the same text again changes nothing.
#include "core/text.h"
#include "fuzz/fuzz_check.h"
#include "setup/switches.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis;

namespace {

bool SameState(const SetupState& a, const SetupState& b) {
  return a.Product == b.Product && a.ProductName == b.ProductName && a.ProgramFile == b.ProgramFile &&
         a.Version == b.Version && a.Pid == b.Pid && a.Date == b.Date && a.DeleteList == b.DeleteList &&
         a.FileTypeList == b.FileTypeList && a.RegistryList == b.RegistryList && a.InstallPath == b.InstallPath &&
         a.LanguageCode == b.LanguageCode && a.LanguageIndex == b.LanguageIndex && a.Unattended == b.Unattended &&
         a.CustomInstall == b.CustomInstall && a.RegisterSoftware == b.RegisterSoftware &&
         a.RunProgram == b.RunProgram && a.DesktopLink == b.DesktopLink && a.ProgramMenu == b.ProgramMenu &&
         a.ShowReleaseNotes == b.ShowReleaseNotes && a.ShortcutMode == b.ShortcutMode &&
         a.IsAdministrator == b.IsAdministrator;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  SetupState state;
  ParseSwitches(text, state);
  FUZZ_CHECK(state.InstallPath.size() <= text.size());
  FUZZ_CHECK(state.ProgramFile.size() <= text.size());
  FUZZ_CHECK(state.LanguageCode.size() <= text.size());
  FUZZ_CHECK(text.find(state.InstallPath) != std::string_view::npos);
  FUZZ_CHECK(text.find(state.ProgramFile) != std::string_view::npos);
  // /M: takes no quotes and stops at a blank; the code is upper-cased.
  FUZZ_CHECK(state.LanguageCode.find(' ') == std::string::npos);
  FUZZ_CHECK(UpperCase(state.LanguageCode) == state.LanguageCode);
  FUZZ_CHECK(state.Product.empty() && state.Version.empty() && state.RegistryList.empty());
  FUZZ_CHECK(state.ShortcutMode == kShortcutsNone && !state.IsAdministrator);
  // Without a "/" nothing is a switch.
  if (text.find('/') == std::string_view::npos) FUZZ_CHECK(SameState(state, SetupState{}));

  // The same switches once more: values are replaced by the same values.
  SetupState again = state;
  ParseSwitches(text, again);
  FUZZ_CHECK(SameState(state, again));

  // Flags set before stay set whatever the text says.
  SetupState flags;
  flags.Unattended = flags.CustomInstall = flags.RegisterSoftware = flags.RunProgram = true;
  flags.DesktopLink = flags.ProgramMenu = flags.ShowReleaseNotes = true;
  ParseSwitches(text, flags);
  FUZZ_CHECK(flags.Unattended && flags.CustomInstall && flags.RegisterSoftware && flags.RunProgram &&
             flags.DesktopLink && flags.ProgramMenu && flags.ShowReleaseNotes);
  FUZZ_CHECK(flags.InstallPath == state.InstallPath && flags.ProgramFile == state.ProgramFile &&
             flags.LanguageCode == state.LanguageCode);
  return 0;
}
