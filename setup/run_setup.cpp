// The setup run, phase by phase.
#include "setup/run_setup.h"

#include "core/text.h"
#include "services/descriptor_reader.h"
#include "services/inflate.h"
#include "setup/completion.h"
#include "setup/descriptor.h"
#include "setup/install_pass.h"
#include "setup/main_dialog.h"
#include "setup/options_dialog.h"
#include "setup/setup_run.h"
#include "setup/setup_version.h"
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
        case LanguageChoice::kCancelled:
          run.Ok = false;
          run.Cancelled = true;
          break;
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
    run.Log.Write("folder: none");
    run.Message(std::string(kEmptyFolderMessage));
    run.Ok = false;
    return false;
  }
  if (!run.Host.FolderExists(s.InstallPath)) {
    if (run.Host.CreateFolders(s.InstallPath)) {
      run.Log.Write("folder: " + s.InstallPath + " (created)");
    } else {
      const std::uint32_t error = run.Host.LastFolderError();
      run.Log.Write("folder: " + s.InstallPath + " cannot be created: " + LogError(error, run.Host.ErrorText(error)));
      run.Ok = false;
      elevating = run.OfferElevation(run.Text(kTextFolderNotCreated));
    }
  } else {
    run.Log.Write("folder: " + s.InstallPath + " (exists)");
    if (!s.Unattended && !run.Host.AskYesNo(std::string(kApplicationTitle), run.Text(kTextFolderExists))) {
      run.Log.Write("the user chose not to overwrite the folder");
      run.Ok = false;
    }
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
        run.Cancelled = true;
        run.Log.Write("main dialog: cancelled");
        break;
      }
      run.Ok = true;
      run.Cancelled = false;
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

// How the run ended, in words for the log.
std::string Outcome(const SetupRun& run) {
  if (run.OtherSetupRunning) return "another setup is running, nothing installed";
  if (run.ElevationAccepted) return "handed over to the elevated copy";
  if (run.Ok) return run.RegistrationFailed ? "installed, but the registration failed" : "installed";
  return run.Cancelled ? "cancelled by the user" : "failed";
}

// The run's exit code, waiting for an elevated copy that took over and
// taking its code.
int FinishRun(SetupRun& run) {
  int code = run.ExitCode();
  if (run.ElevationAccepted) {
    run.Log.Write("waiting for the elevated copy");
    ElevatedCopy copy = run.Host.WaitForElevatedCopy();
    if (copy.started) {
      code = static_cast<int>(copy.exitCode);
      run.Log.Write("the elevated copy ended with exit code " + std::to_string(copy.exitCode));
    } else {
      code = copy.error == kErrorCancelled ? kExitCancelled : kExitFailed;
      run.Log.Write("the elevated copy did not start: " + LogError(copy.error, run.Host.ErrorText(copy.error)));
    }
  }
  run.Log.Write("outcome: " + Outcome(run));
  run.Log.Write("exit code: " + std::to_string(code));
  return code;
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

}  // namespace

int RunSetup(std::string_view commandLineText, SetupState& state, SetupHost& host) {
  SetupRun run(state, host, commandLineText);
  SetupState& s = state;
  const LocalTime started = host.Now();

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
  // The log file comes from the command line or from PARAMS: only now is it known.
  run.Log.Open(s.LogPath, LogHeader(kSetupVersion, started, commandLineText, DescriptorValue(run.Descriptor, "PARAMS")));
  run.Log.Write("product: " + (s.Product.empty() ? std::string("(none)") : s.Product) +
                ", version " + (s.Version.empty() ? std::string("(none)") : s.Version));
  run.Log.Write("administrator: " + YesNo(s.IsAdministrator));
  run.Log.Write(std::string("mode: ") + (s.Quiet ? "quiet" : s.Unattended ? "unattended" : "interactive"));

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

  if (run.Ok) {
    run.Log.Write("product name: " + s.ProductName + ", language " + s.LanguageCode);
    run.Log.Write("install folder: " + s.InstallPath);
  }

  bool mutexHeld = false;
  if (run.Ok) {
    mutexHeld = true;
    // Only a quiet run refuses to share the machine with another setup: it
    // cannot ask, and a deployment tool retries on this exit code.
    if (!host.AcquireSetupMutex() && s.Quiet) {
      run.Log.Write("another setup holds the OrvalisSetup mutex");
      run.OtherSetupRunning = true;
      run.Ok = false;
    }
  }
  if (!run.Ok) s.RunProgram = false;

  if (run.Ok && InstallLoop(run) == LoopEnd::kAborted) {
    // The folder could not even be named: the run stops here, like an error
    // that leaves the run.
    host.ReleaseSetupMutex();
    return FinishRun(run);
  }

  if (run.Ok) RegisterInstallation(run);

  run.Payload.clear();
  if (mutexHeld) host.ReleaseSetupMutex();
  host.DestroyMainWindow();

  CompleteRun(run);
  return FinishRun(run);
}

}  // namespace orvalis
