// Switches applied to the setup's state.
#include "setup/switches.h"

#include "core/text.h"
#include "services/switch_tokens.h"

namespace orvalis {

void ParseSwitches(std::string_view text, SetupState& state) {
  for (const SwitchToken& token : SwitchTokens(text)) {
    switch (token.letter) {
      case 'E': state.ProgramFile = token.value; break;
      case 'M': state.LanguageCode = UpperCase(token.value); break;
      case 'O': state.LogPath = token.value; break;
      case 'P': state.InstallPath = token.value; break;
      case 'C': state.CustomInstall = true; break;
      case 'H': state.ShowReleaseNotes = true; break;
      case 'I': state.RegisterSoftware = true; break;
      case 'L': state.DesktopLink = true; break;
      case 'Q': state.Quiet = state.Unattended = true; break;
      case 'R': state.RunProgram = true; break;
      case 'S': state.ProgramMenu = true; break;
      case 'U': state.Unattended = true; break;
      default: break;  // /D: is read and ignored, unknown letters too
    }
  }
}

}  // namespace orvalis
