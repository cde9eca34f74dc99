// The setup run, phase by phase.
#include "setup/run_setup.h"

#include "core/text.h"
#include "services/inflate.h"
#include "setup/completion.h"
#include "setup/descriptor.h"
#include "setup/install_pass.h"
#include "setup/main_dialog.h"
#include "setup/options_dialog.h"
#include "setup/setup_run.h"
#include "setup/switches.h"
#include "setup/texts.h"

#include <algorithm>

namespace orvalis {
namespace {

constexpr const char* kDescriptorName = "DISK.ID";

enum class LoopEnd {
  kDone,     // run.Ok tells whether a pass succeeded
  kAborted,  // nothing more happens in this run
};

void LoadPayloadList(SetupRun& run) {
  std::vector<std::string> names;
  (void)run.Host.ListPayloadNames(names);
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const std::string& name) { return SameText(name, kDescriptorName); }),
              names.end());
  for (auto& name : names) run.Payload.push_back({std::move(name), true});
  if (run.Payload.empty()) {
    run.Message(run.Text(kTextNoPayload));
    run.Ok = false;
  }
}

void ReadDescriptor(SetupRun& run) {
  run.Descriptor = run.Host.LoadPayloadData(kDescriptorName);
  if (run.Descriptor.empty() || !InflateData(run.Descriptor)) run.Descriptor.clear();
  ApplyDescriptor(run.Descriptor, run.State, run.DirectRun);
  if (run.State.Product.empty()) {
    run.Message(run.Text(kTextNoProduct));
    run.Ok = false;
  }
}

void SettleLanguage(SetupRun& run) {
  SetupState& s = run.State;
  if (run.Ok && s.LanguageCode.empty()) s.LanguageCode = run.Host.ReadSetting("", "Language");
  if (run.Ok && s.LanguageCode.empty()) {
    if (s.Unattended) {
      s.LanguageCode = kLanguageDutch;
    } else {
      switch (run.Host.ChooseLanguage()) {
        case LanguageChoice::kCancelled: run.Ok = false; break;
        case LanguageChoice::kEnglish: s.LanguageCode = kLanguageEnglish; break;
        case LanguageChoice::kDutch: s.LanguageCode = kLanguageDutch; break;
      }
    }
  }
  ApplyLanguageCode(s);
  run.ProgressCaption = run.Text(kTextProgressInstall);
  s.ProductName = DescriptorProductName(run.Descriptor, s.LanguageIndex);
}

// Gives the folder its final "\", creates it or asks before overwriting.
// Returns false when the run must end at once (empty folder).
bool CheckFolder(SetupRun& run, bool& elevating) {
  SetupState& s = run.State;
  if (!s.InstallPath.empty() && !EndsWith(s.InstallPath, "\\")) s.InstallPath += '\\';
  if (s.InstallPath.empty()) {
    run.Message(std::string(kEmptyFolderMessage));
    return false;
  }
  if (!run.Host.FolderExists(s.InstallPath)) {
    if (!run.Host.CreateFolders(s.InstallPath)) {
      run.Ok = false;
      elevating = run.OfferElevation(run.Text(kTextFolderNotCreated));
    }
  } else if (!s.Unattended) {
    if (!run.Host.AskYesNo(std::string(kApplicationTitle), run.Text(kTextFolderExists))) run.Ok = false;
  }
  return true;
}

LoopEnd InstallLoop(SetupRun& run) {
  SetupState& s = run.State;
  bool firstPass = true;
  do {
    if (!s.Unattended) {
      if (ShowMainDialog(run) != MainDialogResult::kInstall) {
        run.Ok = false;
        break;
      }
      run.Ok = true;
    } else if (!firstPass) {
      break;
    }
    firstPass = false;

    if (s.CustomInstall) (void)ShowOptionsDialog(run);
    if (!run.Ok) continue;

    bool elevating = false;
    if (!CheckFolder(run, elevating)) return LoopEnd::kAborted;
    if (elevating) break;
    if (s.Unattended && !run.Ok) break;

    if (run.Ok && InstallPass(run) == PassOutcome::kElevating) break;
  } while (!run.Ok);
  return LoopEnd::kDone;
}

}  // namespace

void RunSetup(std::string_view commandLineText, SetupState& state, SetupHost& host) {
  SetupRun run(state, host, commandLineText);
  SetupState& s = state;

  s.RegisterSoftware = s.RunProgram = s.DesktopLink = s.ProgramMenu = false;
  s.ShortcutMode = kShortcutsNone;
  s.FileTypeList.clear();
  s.RegistryList.clear();

  s.IsAdministrator = host.IsUserAdministrator();

  ParseSwitches(commandLineText, s);
  ApplyLanguageCode(s);

  LoadPayloadList(run);
  if (run.Ok) ReadDescriptor(run);
  host.SetProductKey(s.Product);

  if (s.InstallPath.empty() && !s.IsAdministrator)
    s.InstallPath = run.ProductFolder(host.GetSystemPath(kFolderLocalAppData));
  if (s.InstallPath.empty()) s.InstallPath = run.ProductFolder(host.GetSystemPath(kFolderProgramFiles));

  if (!s.Unattended) s.RegisterSoftware = s.RunProgram = true;

  SettleLanguage(run);

  if (run.Ok && run.DirectRun && !s.Unattended) ChooseRunOrInstall(run);

  if (run.Ok && !s.Unattended) {
    s.CustomInstall = host.ReadSettingInt("Setup", "Custom") != 0;
    std::string storedPath = host.ReadSetting("Setup", "Path");
    if (!storedPath.empty()) s.InstallPath = storedPath;
  }

  bool mutexHeld = false;
  if (run.Ok) {
    host.AcquireSetupMutex();
    mutexHeld = true;
  } else {
    s.RunProgram = false;
  }

  if (run.Ok && InstallLoop(run) == LoopEnd::kAborted) {
    // The folder could not even be named: the run stops here, like an error
    // that leaves the run.
    host.ReleaseSetupMutex();
    return;
  }

  if (run.Ok) RegisterInstallation(run);

  run.Payload.clear();
  if (mutexHeld) host.ReleaseSetupMutex();
  host.DestroyMainWindow();

  CompleteRun(run);
}

}  // namespace orvalis
