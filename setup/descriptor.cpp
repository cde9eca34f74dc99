// The meaning of the descriptor keys.
#include "setup/descriptor.h"

#include "core/text.h"
#include "services/field_list.h"
#include "setup/switches.h"
#include "setup/texts.h"

namespace orvalis {

std::string DescriptorProductName(std::string_view text, int languageIndex) {
  return ReplaceChar(DescriptorValue(text, SetupText(kTextProductNameKey, languageIndex)), '_', ' ');
}

int ShortcutModeOf(std::string_view value) {
  std::string mode = UpperCase(Trim(value));
  if (mode == "CREATE") return kShortcutsCreate;
  if (mode == "REG") return kShortcutsByProgram;
  return kShortcutsNone;
}

RegistryItem ParseRegistryItem(std::string_view item) {
  RegistryItem result;
  std::string location = GetDelimitedField(item, 0, ":", kFieldsPlain);
  std::string value = GetDelimitedField(item, 1, ":", kFieldsPlain);
  size_t slash = location.rfind('\\');
  if (slash == std::string::npos) {
    result.name = location;
  } else {
    result.section = location.substr(0, slash);
    result.name = location.substr(slash + 1);
  }
  if (!value.empty() && (value[0] == 'I' || value[0] == 'i')) {
    result.isInteger = true;
    result.number = LenientInt(std::string_view(value).substr(1));
  } else {
    result.text = value;
  }
  return result;
}

void ApplyDescriptor(std::string_view text, SetupState& state, bool& directRun) {
  state.Product = DescriptorValue(text, "PRODUCT");
  directRun = !DescriptorValue(text, "DIRECTRUN").empty();
  state.ProductName = DescriptorProductName(text, state.LanguageIndex);
  if (state.ProgramFile.empty()) state.ProgramFile = DescriptorValue(text, "PROGRAM");
  state.Version = ReplaceChar(UpperCase(DescriptorValue(text, "VERSION")), '_', '.');
  state.DeleteList = UpperCase(DescriptorValue(text, "DELETE"));
  state.Pid = DescriptorValue(text, "PID");
  state.Date = DescriptorValue(text, "DATE");
  if (!state.Unattended) state.FileTypeList = DescriptorValue(text, "FILETYPES");
  state.RegistryList = DescriptorValue(text, "REGISTRY");
  state.ShortcutMode = ShortcutModeOf(DescriptorValue(text, "SHORTCUTS"));
  ParseSwitches(DescriptorValue(text, "PARAMS"), state);
  ApplyLanguageCode(state);
}

}  // namespace orvalis
