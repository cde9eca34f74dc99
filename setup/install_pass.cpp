// Install procedure and registration.
#include "setup/install_pass.h"

#include "core/text.h"
#include "services/field_list.h"
#include "services/payload_name.h"
#include "services/uninstall_entry.h"
#include "setup/descriptor.h"
#include "setup/options_dialog.h"
#include "setup/texts.h"

#include <vector>

namespace orvalis {
namespace {

constexpr const char* kSetupSection = "Setup";

// Payload and DELETE names are relative to the install folder; one that would
// climb out of it (absolute, drive, "..") is never touched.
bool StaysInside(std::string_view name) { return CheckPayloadName(name) == PayloadNameProblem::kSafe; }

// Selected entries whose file lies inside the install folder and exists.
std::vector<std::string> ExistingSelectedFiles(SetupRun& run) {
  std::vector<std::string> names;
  for (const auto& entry : run.Payload)
    if (entry.Selected && StaysInside(entry.Name) && run.Host.FileExists(run.State.InstallPath + entry.Name))
      names.push_back(entry.Name);
  return names;
}

bool AllWritable(SetupRun& run, const std::vector<std::string>& names) {
  for (const auto& name : names)
    if (run.Host.FileExists(run.State.InstallPath + name) && !run.Host.CanOpenExclusive(run.State.InstallPath + name))
      return false;
  return true;
}

// Writes one payload entry under its display name; false when it failed.
// A file that fails keeps what was there before. `knownFolder` is the folder
// found or made for the file before: files come folder by folder, and each
// look at the disk costs time under Wine.
bool WritePayloadFile(SetupRun& run, const std::string& name, std::string& knownFolder) {
  const std::string display = PayloadDisplayName(name);
  if (!StaysInside(name)) {
    run.Log.Write(LogFileLine(display, {false, 0, 0, "outside the install folder"}));
    return false;
  }
  std::string path = run.State.InstallPath + display;
  std::string folder = path.substr(0, path.rfind('\\') + 1);
  if (folder != knownFolder) {
    if (!run.Host.FolderExists(folder) && !run.Host.CreateFolders(folder)) {
      const std::uint32_t error = run.Host.LastFolderError();
      run.Log.Write("folder: " + folder + " cannot be created");
      run.Log.Write(LogFileLine(display, {false, 0, error, run.Host.ErrorText(error)}));
      return false;
    }
    knownFolder = folder;
  }
  ExtractResult result = run.Host.ExtractPayloadFile(name, path);
  run.Log.Write(LogFileLine(display, result));
  if (result.ok) run.BytesWritten += result.size;
  return result.ok;
}

void DeleteOldFiles(SetupRun& run) {
  SetupHost& host = run.Host;
  const std::string& folder = run.State.InstallPath;
  if (run.AssistSelected) {
    run.ProgressStep(kTextDeleteAssistFiles);
    for (const auto& name : host.MatchingFiles(folder, "PF*.QXA")) (void)host.RemoveFile(folder + name);
    (void)host.RemoveFile(folder + "DEFAULT.QXA");
  }
  if (!run.State.DeleteList.empty()) {
    run.ProgressStep(kTextDeleteOldFiles);
    const std::string& list = run.State.DeleteList;
    for (int i = 0, n = CountItems(list, kFieldsPlain); i < n; ++i) {
      std::string item = GetListItem(list, i, kFieldsPlain);
      if (item.empty() || !StaysInside(item)) continue;
      (void)host.RemoveFile(folder + item);
    }
  }
}

}  // namespace

PassOutcome InstallPass(SetupRun& run) {
  SetupHost& host = run.Host;
  const std::string& folder = run.State.InstallPath;
  int selected = 0;
  for (const auto& entry : run.Payload) selected += entry.Selected ? 1 : 0;
  run.OpenProgress(selected + 3);
  run.BytesWritten = 0;

  // Files to be replaced lose their read-only mark for the pass. Every
  // attribute goes, because the platform also refuses to overwrite hidden and
  // system files; only read-only is put back afterwards.
  run.ProgressStep(kTextResetReadOnly);
  std::vector<std::string> readOnly;
  std::vector<std::string> existing = ExistingSelectedFiles(run);
  for (const auto& name : existing) {
    std::uint32_t attributes = host.ReadAttributes(folder + name);
    if (attributes != kNoAttributes && (attributes & kAttributeReadOnly) != 0) {
      (void)host.WriteAttributes(folder + name, 0);
      readOnly.push_back(name);
    }
  }

  run.ProgressStep(kTextCheckWritable);
  bool writable = false;
  for (int attempt = 1; attempt <= kWritableAttempts; ++attempt) {
    writable = AllWritable(run, existing);
    host.RepaintProgress();
    if (writable) break;
    if (attempt < kWritableAttempts) host.Wait(kWritableRetryMs);
  }
  if (!writable) {
    run.Ok = false;
    std::string inUse;
    for (const auto& name : existing)
      if (host.FileExists(folder + name) && !host.CanOpenExclusive(folder + name))
        inUse += (inUse.empty() ? "" : ", ") + PayloadDisplayName(name);
    run.Log.Write("files in use after " + std::to_string(kWritableAttempts) + " attempts: " + inUse);
    // An accepted offer leaves the files writable for the elevated copy.
    if (run.OfferElevation(run.Text(kTextFilesLocked))) return PassOutcome::kElevating;
  }

  if (run.Ok) {
    DeleteOldFiles(run);
    std::string knownFolder;
    for (size_t i = 0; i < run.Payload.size(); ++i) {
      const PayloadEntry& entry = run.Payload[i];
      if (!entry.Selected) continue;
      // Text and bar first, then one repaint for both.
      if (run.ProgressOpen) host.SetProgressText(PayloadDisplayName(entry.Name));
      run.SetProgressPosition(static_cast<int>(i));
      if (run.ProgressOpen) host.RepaintProgress();
      if (!WritePayloadFile(run, entry.Name, knownFolder)) run.Ok = false;
    }
    if (!run.Ok) {
      if (run.OfferElevation(run.Text(kTextNotAllInstalled))) return PassOutcome::kElevating;
      run.CloseProgress();
    }
  }

  if (!readOnly.empty()) {
    run.ProgressStep(kTextSetReadOnly);
    for (const auto& name : readOnly) {
      std::uint32_t attributes = host.ReadAttributes(folder + name);
      if (attributes != kNoAttributes) (void)host.WriteAttributes(folder + name, attributes | kAttributeReadOnly);
    }
  }
  return PassOutcome::kFinished;
}

void RegisterInstallation(SetupRun& run) {
  SetupState& s = run.State;
  SetupHost& host = run.Host;
  // Every write is attempted; one that fails is logged and fails the run's exit code.
  auto written = [&run](bool ok, const std::string& what) {
    if (!ok) {
      run.RegistrationFailed = true;
      run.Log.Write("registration: " + what + " FAILED");
    }
    return ok;
  };
  written(host.WriteSettingInt(kSetupSection, "Custom", s.CustomInstall ? 1 : 0, true), "setting Setup\\Custom");
  written(host.WriteSetting(kSetupSection, "Path", s.InstallPath, true), "setting Setup\\Path");

  ProgramCommand program = SplitProgramFile(s.ProgramFile);
  if (s.RegisterSoftware && !s.ProgramFile.empty() && !s.ProductName.empty()) {
    run.ProgressStep(kTextUpdateSoftware);
    std::string local = host.GetSystemPath(kFolderLocalAppData);
    bool perUser = !s.IsAdministrator || (!local.empty() && StartsWith(UpperCase(s.InstallPath), UpperCase(local)));
    LocalTime today = host.Now();
    UninstallDetails details{s.Version, s.InstallPath, s.InstallPath + program.file, EstimatedSizeKiB(run.BytesWritten),
                             InstallDateText(today.year, today.month, today.day)};
    // The program path is quoted when it holds a blank, so the software list
    // runs the program and not the first word of its folder.
    const std::string entry = std::string(perUser ? "HKCU" : "HKLM") + UninstallKeyPath(s.Product);
    if (written(host.RegisterUninstall(CommandLineOf(s.InstallPath + program.file, program.parameters) + " /UnInstall",
                                       s.Product, perUser, s.ProductName, details),
                "software-list entry " + entry))
      run.Log.Write("registration: software-list entry " + entry + ", version " + details.displayVersion + ", " +
                    std::to_string(details.estimatedSizeKiB) + " KiB");
  } else {
    run.Log.Write("registration: no software-list entry");
  }

  run.ProgressStep(kTextFinish);
  run.SetProgressPosition(run.ProgressPosition + 1);
  if (run.ProgressOpen) host.RepaintProgress();

  if (!s.FileTypeList.empty()) {
    // Quoted for the same reason as the uninstall command: the association's
    // "open" command starts with this text.
    std::string command = CommandLineOf(s.InstallPath + program.file, program.parameters);
    std::string description = s.ProductName + " " + run.Text(kTextFileTypeSuffix);
    bool allAssociated = true;
    for (int i = 0, n = CountItems(s.FileTypeList, kFieldsPlain); i < n; ++i) {
      std::string ext = GetListItem(s.FileTypeList, i, kFieldsPlain);
      if (written(host.AssociateFileType(ext, command, description), "file type " + ext))
        run.Log.Write("registration: file type " + ext);
      else
        allAssociated = false;
    }
    if (!allAssociated) run.Message(run.Text(kTextFileTypesFailed));
  }

  if (!s.RegistryList.empty()) {
    for (int i = 0, n = CountItems(s.RegistryList, kFieldsPlain); i < n; ++i) {
      RegistryItem item = ParseRegistryItem(GetListItem(s.RegistryList, i, kFieldsPlain));
      const std::string what = "registry value " + (item.section.empty() ? item.name : item.section + "\\" + item.name);
      if (written(item.isInteger ? host.WriteSettingInt(item.section, item.name, item.number, false)
                                 : host.WriteSetting(item.section, item.name, item.text, false),
                  what))
        run.Log.Write("registration: " + what);
    }
  }

  written(host.WriteSettingInt(kSetupSection, "ReleaseNotes", 1, false), "setting Setup\\ReleaseNotes");
  written(host.WriteSetting("", "Language", s.LanguageCode, true), "setting Language");
}

}  // namespace orvalis
