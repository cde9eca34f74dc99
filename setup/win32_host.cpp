// The Windows host of a setup run: a thin adapter from the run's needs to the
// installation services. Calls are qualified with orvalis:: where a service has
// the same name as the host's method.
#include "setup/win32_host.h"

#include <windows.h>

#include "services/elevation.h"
#include "services/file_types.h"
#include "services/files.h"
#include "services/folders.h"
#include "services/payload.h"
#include "services/processes.h"
#include "services/registry_rules.h"
#include "services/settings.h"
#include "services/shortcuts.h"
#include "services/uninstall.h"
#include "setup/lang_window.h"
#include "setup/main_window.h"
#include "setup/options_window.h"
#include "setup/progress_window.h"
#include "setup/select_install_window.h"
#include "win/wide.h"

namespace orvalis {

Win32Host::Win32Host() = default;

Win32Host::~Win32Host() {
  if (mutexOwned_) ::ReleaseMutex(mutex_.get());
}

void Win32Host::ShowProgressNow() {
  if (!progress_.empty()) progress_.back()->Repaint(true);
}

void Win32Host::ShowMessage(const std::string& caption, const std::string& text) {
  ShowProgressNow();
  ::MessageBoxW(::GetActiveWindow(), win::Wide(text).c_str(), win::Wide(caption).c_str(), MB_OK);
}

bool Win32Host::AskYesNo(const std::string& caption, const std::string& text) {
  ShowProgressNow();
  return ::MessageBoxW(::GetActiveWindow(), win::Wide(text).c_str(), win::Wide(caption).c_str(), MB_YESNO) == IDYES;
}

bool Win32Host::AskElevation(const std::string& text) {
  ShowProgressNow();
  return orvalis::AskElevation(text);
}

LanguageChoice Win32Host::ChooseLanguage() {
  TfrmLang window;
  return window.Choose();
}

RunChoice Win32Host::ChooseRunOrInstall(const RunOrInstallTexts& texts) {
  TfrmSelectInstall window(texts);
  return window.Choose();
}

MainDialogResult Win32Host::ShowMainDialog(MainDialogModel& model) {
  if (!main_) main_ = std::make_unique<TSForm>();
  return main_->ShowDialog(model);
}

void Win32Host::DestroyMainWindow() { main_.reset(); }

bool Win32Host::ShowOptionsDialog(OptionsDialogModel& model) {
  TfrmCustom window(model);
  return window.Confirm(model);
}

void Win32Host::OpenProgress(const std::string& caption, int maximum) {
  progress_.push_back(std::make_unique<TfrmProgress>(caption, maximum));
}

void Win32Host::SetProgressText(const std::string& text) {
  if (!progress_.empty()) progress_.back()->SetStep(text);
}

void Win32Host::SetProgressPosition(int position) {
  if (!progress_.empty()) progress_.back()->SetPosition(position);
}

void Win32Host::RepaintProgress() {
  if (!progress_.empty()) progress_.back()->Repaint();
}

void Win32Host::CloseProgress() {
  if (!progress_.empty()) progress_.pop_back();
}

bool Win32Host::FileExists(const std::string& path) { return orvalis::FileExists(path); }
bool Win32Host::FolderExists(const std::string& path) { return orvalis::FolderExists(path); }
bool Win32Host::CreateFolders(const std::string& path) {
  ::SetLastError(ERROR_SUCCESS);
  if (orvalis::ForceFolders(path)) return true;
  folderError_ = ::GetLastError();
  return false;
}
bool Win32Host::RemoveFile(const std::string& path) { return orvalis::DeleteOneFile(path); }

std::vector<std::string> Win32Host::MatchingFiles(const std::string& folder, const std::string& pattern) {
  return orvalis::MatchingFiles(folder, pattern);
}

std::uint32_t Win32Host::ReadAttributes(const std::string& path) { return orvalis::ReadFileAttributes(path); }

bool Win32Host::WriteAttributes(const std::string& path, std::uint32_t attributes) {
  return orvalis::WriteFileAttributes(path, attributes);
}

bool Win32Host::CanOpenExclusive(const std::string& path) { return orvalis::CanOpenExclusive(path); }

bool Win32Host::ListPayloadNames(std::vector<std::string>& names) {
  return orvalis::ListResourceNames(nullptr, &names, "FILE:", RT_RCDATA);
}

std::string Win32Host::LoadPayloadData(const std::string& name) {
  return orvalis::LoadResourceData(nullptr, "FILE:" + name, RT_RCDATA);
}

ExtractResult Win32Host::ExtractPayloadFile(const std::string& name, const std::string& path) {
  FileExtraction extraction = ExtractResourceToFile(nullptr, "FILE:" + name, RT_RCDATA, path, inflateBuffers_);
  ExtractResult result;
  result.ok = extraction.problem == ExtractProblem::kNone;
  result.size = extraction.size;
  result.error = extraction.error;
  switch (extraction.problem) {
    case ExtractProblem::kNone: break;
    case ExtractProblem::kMissing: result.reason = "missing"; break;
    case ExtractProblem::kDamaged: result.reason = InflateStatusText(InflateStatus::kDamaged); break;
    case ExtractProblem::kTooLarge: result.reason = InflateStatusText(InflateStatus::kTooLarge); break;
    case ExtractProblem::kSystem: result.reason = SystemMessage(extraction.error); break;
  }
  return result;
}

void Win32Host::SetProductKey(const std::string& product) { orvalis::SetProductKey(product); }

std::string Win32Host::ReadSetting(const std::string& section, const std::string& name) {
  return orvalis::ReadSetting(section, name);
}

std::int32_t Win32Host::ReadSettingInt(const std::string& section, const std::string& name) {
  return orvalis::ReadSettingInt(section, name);
}

bool Win32Host::WriteSetting(const std::string& section, const std::string& name, const std::string& value,
                             bool deleteIfEmpty) {
  return orvalis::WriteSetting(section, name, value, deleteIfEmpty);
}

bool Win32Host::WriteSettingInt(const std::string& section, const std::string& name, std::int32_t value,
                                bool deleteIfZero) {
  return orvalis::WriteSettingInt(section, name, value, deleteIfZero);
}

bool Win32Host::IsUserAdministrator() { return orvalis::IsUserAdministrator(); }
std::string Win32Host::GetSystemPath(int kind) { return orvalis::GetSystemPath(kind); }

bool Win32Host::RegisterUninstall(const std::string& uninstallCommand, const std::string& entryName, bool perUser,
                                  const std::string& displayName, const UninstallDetails& details) {
  return orvalis::RegisterUninstall(uninstallCommand, entryName, perUser, displayName, details);
}

bool Win32Host::AssociateFileType(const std::string& ext, const std::string& program,
                                  const std::string& description) {
  return orvalis::AssociateFileType(ext, program, description);
}

void Win32Host::CreateShortcut(const std::string& target, const std::string& arguments, const std::string& name,
                               bool onDesktop) {
  orvalis::CreateShortcut(target, arguments, name, onDesktop);
}

void Win32Host::OpenProgram(const std::string& file, const std::string& parameters, const std::string& folder) {
  (void)orvalis::ShellOpen(file, parameters, folder);
}

void Win32Host::RestartElevated(const std::string& commandLine) {
  elevated_ = orvalis::RestartElevatedProcess(commandLine);
  elevatedError_ = elevated_ ? 0 : ::GetLastError();
}

bool Win32Host::AcquireSetupMutex() {
  // Owned, default security, inheritable. When it exists already, another run
  // holds it unless it can be taken at once (that run has released it or ended).
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), nullptr, TRUE};
  mutex_.reset(::CreateMutexW(&attributes, TRUE, L"OrvalisSetup"));
  if (!mutex_) return mutexOwned_ = false;
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return mutexOwned_ = true;
  const DWORD taken = ::WaitForSingleObject(mutex_.get(), 0);
  return mutexOwned_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

void Win32Host::ReleaseSetupMutex() {
  // Released, not closed: the handle lives until the process ends.
  if (mutexOwned_) ::ReleaseMutex(mutex_.get());
  mutexOwned_ = false;
}

void Win32Host::Wait(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

bool Win32Host::OpenLog(const std::string& path) {
  // A log folder that does not exist yet is made, as deployment tools expect.
  size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0) (void)orvalis::ForceFolders(path.substr(0, slash));
  // Appending, and shared for writing: an elevated copy started with the same
  // command line writes its run into the same file while this one waits.
  log_.reset(::CreateFileW(win::Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(log_);
}

void Win32Host::AppendLog(const std::string& line) {
  if (!log_) return;
  std::string text = line + "\r\n";
  DWORD written = 0;
  (void)::WriteFile(log_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LocalTime Win32Host::Now() {
  SYSTEMTIME t = {};
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint32_t Win32Host::LastFolderError() { return folderError_; }

std::string Win32Host::ErrorText(std::uint32_t code) { return SystemMessage(code); }

ElevatedCopy Win32Host::WaitForElevatedCopy() {
  if (!elevated_) return {false, 0, elevatedError_};
  return {true, orvalis::WaitForProcessPumping(elevated_.get()), 0};
}

}  // namespace orvalis
