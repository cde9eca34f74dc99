// Run-or-install choice and completion.
#include "setup/completion.h"

#include "setup/texts.h"

namespace orvalis {

void ChooseRunOrInstall(SetupRun& run) {
  RunOrInstallTexts texts{run.Text(kTextRunOrInstall), run.Text(kTextCancel), run.Text(kTextExecute),
                          run.Text(kTextInstallChoice)};
  switch (run.Host.ChooseRunOrInstall(texts)) {
    case RunChoice::kCancelled:
      run.Ok = false;
      run.Cancelled = true;
      break;
    case RunChoice::kExecute: {
      SetupState& s = run.State;
      s.Unattended = true;
      s.RegisterSoftware = false;
      s.RunProgram = true;
      s.InstallPath = run.ProductFolder(run.Host.GetSystemPath(kFolderTemporary));
      run.ProgressCaption = run.Text(kTextProgressExtract);
      break;
    }
    case RunChoice::kInstall: break;
  }
}

void CompleteRun(SetupRun& run) {
  SetupState& s = run.State;
  SetupHost& host = run.Host;
  if (run.Ok && !s.ProgramFile.empty()) {
    // Shortcuts point at the program itself and carry its parameters as
    // arguments; a target path with the parameters glued on would not start.
    ProgramCommand program = SplitProgramFile(s.ProgramFile);
    if (s.ProgramMenu) host.CreateShortcut(s.InstallPath + program.file, program.parameters, s.ProductName, false);
    if (s.DesktopLink) host.CreateShortcut(s.InstallPath + program.file, program.parameters, s.ProductName, true);
    if (s.RunProgram) {
      run.ProgressStep(kTextRunProgram, " " + s.ProductName);
      host.OpenProgram(s.InstallPath + program.file, program.parameters, s.InstallPath);
    }
  }
  // A quiet run refused for another running setup has nothing to report but that.
  if (!run.Ok && s.Unattended && !run.OptionsCancelled && !run.OtherSetupRunning)
    run.Message(s.ProductName + " " + run.Text(kTextCannotInstall));
  if (run.Ok && s.ShowReleaseNotes) {
    std::string helpFile = s.InstallPath + "QX.CHM";
    if (host.FileExists(helpFile)) {
      host.Wait(kReleaseNotesPauseMs);
      host.OpenProgram("HH.EXE", helpFile + "::/HTMLHELP/SOURCE/updates.htm", s.InstallPath);
    }
  }
  run.CloseProgress();
}

}  // namespace orvalis
