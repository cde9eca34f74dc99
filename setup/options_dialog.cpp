// Options dialog rules.
#include "setup/options_dialog.h"

#include "core/text.h"
#include "setup/texts.h"

namespace orvalis {
namespace {

constexpr const char* kSetupSection = "Setup";

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

OptionsDialogModel BuildOptionsDialog(SetupRun& run) {
  SetupState& s = run.State;
  SetupHost& host = run.Host;
  OptionsDialogModel m;
  m.caption = run.Text(kTextMainCaption);
  m.productName = s.ProductName;
  m.cancelCaption = run.Text(kTextCancel);
  m.installCaption = run.Text(kTextInstall);
  m.filesHeading = run.Text(kTextSelectFiles);

  for (size_t i = 0; i < run.Payload.size(); ++i) {
    const std::string& name = run.Payload[i].Name;
    switch (ClassifyPayload(name)) {
      case PayloadClass::kAssist: run.AssistSelected = true; break;
      case PayloadClass::kRequired: break;
      case PayloadClass::kOptional:
        m.files.push_back({OptionalFileCaption(name, s.LanguageIndex), static_cast<int>(i),
                           host.ReadSettingInt(kSetupSection, "NoCopy" + name) == 0});
        break;
    }
  }
  if (run.AssistSelected)
    m.files.push_back({run.Text(kTextAssistFile), kAssistFilesTag, host.ReadSettingInt(kSetupSection, "NoQXA") == 0});
  m.filesVisible = !m.files.empty();
  if (!m.filesVisible && s.Unattended) s.CustomInstall = false;

  m.optionsVisible = !s.Unattended;
  if (m.optionsVisible) {
    m.registerCaption = run.Text(kTextRegisterSoftware);
    m.runCaption = run.Text(kTextRunAfterSetup);
    m.linkVisible = m.menuVisible = s.ShortcutMode == kShortcutsCreate;
    m.shortcutNoteVisible = s.ShortcutMode == kShortcutsByProgram;
    // NoLink and NoMenu live in the same Setup section as the other choices.
    s.DesktopLink = host.ReadSettingInt(kSetupSection, "NoLink") == 0;
    s.ProgramMenu = host.ReadSettingInt(kSetupSection, "NoMenu") == 0;
    s.RegisterSoftware = host.ReadSettingInt(kSetupSection, "NoSoftware") == 0;
    s.RunProgram = host.ReadSettingInt(kSetupSection, "NoRun") == 0;
    if (m.linkVisible) m.linkCaption = run.Text(kTextDesktopLink);
    if (m.menuVisible) m.menuCaption = run.Text(kTextProgramMenu);
    if (m.shortcutNoteVisible) m.shortcutNote = run.Text(kTextShortcutNote);
  }
  m.registerTicked = s.RegisterSoftware;
  m.runTicked = s.RunProgram;
  m.linkTicked = s.DesktopLink;
  m.menuTicked = s.ProgramMenu;
  return m;
}

void StoreChoices(SetupRun& run, const OptionsDialogModel& m) {
  SetupHost& host = run.Host;
  if (m.optionsVisible) {
    host.WriteSettingInt(kSetupSection, "NoSoftware", m.registerTicked ? 0 : 1, true);
    host.WriteSettingInt(kSetupSection, "NoRun", m.runTicked ? 0 : 1, true);
  }
  if (!m.filesVisible) return;
  for (const auto& item : m.files) {
    std::string name = item.tag == kAssistFilesTag ? std::string("NoQXA")
                                                   : "NoCopy" + run.Payload[static_cast<size_t>(item.tag)].Name;
    host.WriteSettingInt(kSetupSection, name, item.ticked ? 0 : 1, true);
  }
}

void ApplyChoices(SetupRun& run, const OptionsDialogModel& m) {
  SetupState& s = run.State;
  if (m.optionsVisible) {
    s.RegisterSoftware = m.registerTicked;
    s.RunProgram = m.runTicked;
    s.DesktopLink = m.linkTicked;
    s.ProgramMenu = m.menuTicked;
    if (m.linkVisible) run.Host.WriteSettingInt(kSetupSection, "NoLink", s.DesktopLink ? 0 : 1, true);
    if (m.menuVisible) run.Host.WriteSettingInt(kSetupSection, "NoMenu", s.ProgramMenu ? 0 : 1, true);
  }
  if (!m.filesVisible) return;
  for (const auto& item : m.files) {
    if (item.tag >= 0 && static_cast<size_t>(item.tag) < run.Payload.size()) {
      run.Payload[static_cast<size_t>(item.tag)].Selected = item.ticked;
    } else if (item.tag == kAssistFilesTag) {
      run.AssistSelected = item.ticked;
      for (auto& entry : run.Payload)
        if (IsAssistFile(entry.Name)) entry.Selected = item.ticked;
    }
  }
}

}  // namespace

bool IsAssistFile(std::string_view payloadName) { return Contains(UpperCase(payloadName), ".QXA"); }

PayloadClass ClassifyPayload(std::string_view payloadName) {
  std::string upper = UpperCase(payloadName);
  if (Contains(upper, ".QXA")) return PayloadClass::kAssist;
  for (std::string_view kind : {".DLL", ".EXE", ".CHM", ".PID", ".DAT"})
    if (Contains(upper, kind)) return PayloadClass::kRequired;
  return PayloadClass::kOptional;
}

std::string OptionalFileCaption(std::string_view payloadName, int languageIndex) {
  std::string upper = UpperCase(payloadName);
  int kind = Contains(upper, ".DEF")   ? kTextDefinitionFile
             : Contains(upper, ".DFT") ? kTextImportTemplate
             : Contains(upper, ".DET") ? kTextExportTemplate
                                       : -1;
  if (kind < 0) return std::string(payloadName);
  return SetupText(kind, languageIndex) + ": " + std::string(payloadName);
}

bool ShowOptionsDialog(SetupRun& run) {
  OptionsDialogModel model = BuildOptionsDialog(run);
  // A quiet run shows no window: the choices stand as shown, as if confirmed.
  if (!run.State.Quiet && !run.Host.ShowOptionsDialog(model)) {
    run.Ok = false;
    run.OptionsCancelled = true;
    run.Cancelled = true;
    return false;
  }
  StoreChoices(run, model);
  ApplyChoices(run, model);
  return true;
}

}  // namespace orvalis
