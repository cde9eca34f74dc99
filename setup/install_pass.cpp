// Install procedure and registration.
#include "setup/install_pass.h"

#include "core/text.h"
#include "services/field_list.h"
#include "services/inflate.h"
#include "services/payload_name.h"
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
bool WritePayloadFile(SetupRun& run, const std::string& name) {
  if (!StaysInside(name)) return false;
  std::string bytes = run.Host.LoadPayloadData(name);
  // A missing resource has no bytes at all; a stream of an empty file
  // inflates successfully to no bytes and is written as an empty file.
  if (bytes.empty() || !InflateData(bytes)) return false;
  std::string path = run.State.InstallPath + PayloadDisplayName(name);
  std::string folder = path.substr(0, path.rfind('\\') + 1);
  if (!run.Host.FolderExists(folder) && !run.Host.CreateFolders(folder)) return false;
  return run.Host.WriteFileBytes(path, bytes);
}

void DeleteOldFiles(SetupRun& run) {
  SetupHost& host = run.Host;
  const std::string& folder = run.State.InstallPath;
  if (run.AssistSelected) {
    run.ProgressStep(run.Text(kTextDeleteAssistFiles));
    for (const auto& name : host.MatchingFiles(folder, "PF*.QXA")) (void)host.RemoveFile(folder + name);
    (void)host.RemoveFile(folder + "DEFAULT.QXA");
  }
  if (!run.State.DeleteList.empty()) {
    run.ProgressStep(run.Text(kTextDeleteOldFiles));
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

  // Files to be replaced lose their read-only mark for the pass. Every
  // attribute goes, because the platform also refuses to overwrite hidden and
  // system files; only read-only is put back afterwards.
  run.ProgressStep(run.Text(kTextResetReadOnly));
  std::vector<std::string> readOnly;
  std::vector<std::string> existing = ExistingSelectedFiles(run);
  for (const auto& name : existing) {
    std::uint32_t attributes = host.ReadAttributes(folder + name);
    if (attributes != kNoAttributes && (attributes & kAttributeReadOnly) != 0) {
      (void)host.WriteAttributes(folder + name, 0);
      readOnly.push_back(name);
    }
  }

  run.ProgressStep(run.Text(kTextCheckWritable));
  bool writable = false;
  for (int attempt = 1; attempt <= kWritableAttempts; ++attempt) {
    writable = AllWritable(run, existing);
    host.RepaintProgress();
    if (writable) break;
    if (attempt < kWritableAttempts) host.Wait(kWritableRetryMs);
  }
  if (!writable) {
    run.Ok = false;
    // An accepted offer leaves the files writable for the elevated copy.
    if (run.OfferElevation(run.Text(kTextFilesLocked))) return PassOutcome::kElevating;
  }

  if (run.Ok) {
    DeleteOldFiles(run);
    for (size_t i = 0; i < run.Payload.size(); ++i) {
      const PayloadEntry& entry = run.Payload[i];
      if (!entry.Selected) continue;
      // Text and bar first, then one repaint for both.
      if (run.ProgressOpen) host.SetProgressText(PayloadDisplayName(entry.Name));
      run.SetProgressPosition(static_cast<int>(i));
      if (run.ProgressOpen) host.RepaintProgress();
      if (!WritePayloadFile(run, entry.Name)) run.Ok = false;
    }
    if (!run.Ok) {
      if (run.OfferElevation(run.Text(kTextNotAllInstalled))) return PassOutcome::kElevating;
      run.CloseProgress();
    }
  }

  if (!readOnly.empty()) {
    run.ProgressStep(run.Text(kTextSetReadOnly));
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
  host.WriteSettingInt(kSetupSection, "Custom", s.CustomInstall ? 1 : 0, true);
  host.WriteSetting(kSetupSection, "Path", s.InstallPath, true);

  ProgramCommand program = SplitProgramFile(s.ProgramFile);
  if (s.RegisterSoftware && !s.ProgramFile.empty() && !s.ProductName.empty()) {
    run.ProgressStep(run.Text(kTextUpdateSoftware));
    std::string local = host.GetSystemPath(kFolderLocalAppData);
    bool perUser = !s.IsAdministrator || (!local.empty() && StartsWith(UpperCase(s.InstallPath), UpperCase(local)));
    // The program path is quoted when it holds a blank, so the software list
    // runs the program and not the first word of its folder.
    host.RegisterUninstall(CommandLineOf(s.InstallPath + program.file, program.parameters) + " /UnInstall",
                           s.Product, perUser, s.ProductName);
  }

  run.ProgressStep(run.Text(kTextFinish));
  run.SetProgressPosition(run.ProgressPosition + 1);
  if (run.ProgressOpen) host.RepaintProgress();

  if (!s.FileTypeList.empty()) {
    // Quoted for the same reason as the uninstall command: the association's
    // "open" command starts with this text.
    std::string command = CommandLineOf(s.InstallPath + program.file, program.parameters);
    std::string description = s.ProductName + " " + run.Text(kTextFileTypeSuffix);
    bool allAssociated = true;
    for (int i = 0, n = CountItems(s.FileTypeList, kFieldsPlain); i < n; ++i)
      if (!host.AssociateFileType(GetListItem(s.FileTypeList, i, kFieldsPlain), command, description))
        allAssociated = false;
    if (!allAssociated) run.Message(run.Text(kTextFileTypesFailed));
  }

  if (!s.RegistryList.empty()) {
    for (int i = 0, n = CountItems(s.RegistryList, kFieldsPlain); i < n; ++i) {
      RegistryItem item = ParseRegistryItem(GetListItem(s.RegistryList, i, kFieldsPlain));
      if (item.isInteger)
        host.WriteSettingInt(item.section, item.name, item.number, false);
      else
        host.WriteSetting(item.section, item.name, item.text, false);
    }
  }

  host.WriteSettingInt(kSetupSection, "ReleaseNotes", 1, false);
  host.WriteSetting("", "Language", s.LanguageCode, true);
}

}  // namespace orvalis
