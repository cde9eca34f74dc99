// The registration steps of one file type.
#include "services/file_type_plan.h"

#include "services/paths.h"

namespace orvalis {
namespace {

constexpr std::uint32_t kOpenIsSafe = 0x00010000;
constexpr std::uint32_t kBrowserOpensOutside = 8;
constexpr std::string_view kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.";

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (auto part : parts) out += part;
  return out;
}

RegStep Text(RegRoot root, std::string key, std::string_view name, std::string_view text) {
  return {RegStepAction::kWriteString, root, std::move(key), std::string(name), std::string(text), 0};
}
RegStep Number(RegRoot root, std::string key, std::string_view name, std::uint32_t number) {
  return {RegStepAction::kWriteInteger, root, std::move(key), std::string(name), {}, number};
}
RegStep DeleteKey(RegRoot root, std::string key) {
  return {RegStepAction::kDeleteKey, root, std::move(key), {}, {}, 0};
}

}  // namespace

bool NeedsLongNamePlaceholder(unsigned major, unsigned minor, unsigned servicePackMajor) {
  return major == 5 && minor == 1 && servicePackMajor < 3;
}

std::string OpenCommand(std::string_view program, bool longNamePlaceholder) {
  return QuoteProgram(program) + (longNamePlaceholder ? " \"%L\"" : " \"%1\"");
}

std::vector<RegStep> FileTypeSteps(std::string_view ext, std::string_view program, std::string_view description,
                                   bool longNamePlaceholder, std::string_view browserAppId) {
  const RegRoot hkcr = RegRoot::kClassesRoot;
  const RegRoot hkcu = RegRoot::kCurrentUser;
  const std::string command = OpenCommand(program, longNamePlaceholder);
  std::vector<RegStep> steps = {
      Text(hkcr, Concat({".", ext}), "", ext),
      Text(hkcr, std::string(ext), "", description),
      Text(hkcr, Concat({ext, "\\Shell"}), "", "open"),
      Text(hkcr, Concat({ext, "\\Shell\\open"}), "", "&Openen"),
      Text(hkcr, Concat({ext, "\\Shell\\open\\command"}), "", command),
      Number(hkcr, std::string(ext), "EditFlags", kOpenIsSafe),
      Number(hkcr, std::string(ext), "BrowserFlags", kBrowserOpensOutside),
  };
  if (!browserAppId.empty()) {
    steps.push_back({RegStepAction::kWriteBinary, hkcu,
                     Concat({"Software\\Microsoft\\Windows\\Shell\\AttachmentExecute\\", browserAppId}),
                     std::string(ext), {}, 0});
  }
  steps.push_back(DeleteKey(hkcu, Concat({kFileExts, ext})));
  steps.push_back(Text(hkcu, Concat({kFileExts, ext, "\\UserChoice"}), "Progid", Concat({"Applications\\", ext})));
  steps.push_back(Text(hkcu, Concat({"Software\\Classes\\Applications\\", ext, "\\Shell\\open\\command"}), "", command));
  steps.push_back(DeleteKey(hkcr, Concat({ext, "\\DefaultIcon"})));
  return steps;
}

}  // namespace orvalis
