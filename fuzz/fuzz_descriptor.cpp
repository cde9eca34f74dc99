// Descriptor lookup and the reading of every key from arbitrary descriptor text.
// Input: the key, a zero byte, then the descriptor text (no zero byte: the
// whole input is the text and the key is PRODUCT).
#include "core/text.h"
#include "fuzz/fuzz_check.h"
#include "setup/descriptor.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis;

namespace {

bool IsTrimmed(std::string_view s) { return Trim(s) == s; }

void CheckValue(std::string_view text, std::string_view key) {
  const std::string value = DescriptorValue(text, key);
  FUZZ_CHECK(value.size() <= text.size());
  FUZZ_CHECK(value.find('\n') == std::string::npos && value.find('\r') == std::string::npos);
  FUZZ_CHECK(IsTrimmed(value));
  FUZZ_CHECK(text.find(value) != std::string_view::npos);
  const std::string upperText = UpperCase(text);
  const std::string needle = UpperCase(key) + "=";
  const std::size_t at = upperText.find(needle);
  if (at == std::string::npos) {
    FUZZ_CHECK(value.empty());
  } else {
    // The value is taken from the original text right after the match.
    const std::string_view rest = text.substr(at + needle.size());
    FUZZ_CHECK(rest.find(value) != std::string_view::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view key = "PRODUCT";
  std::string_view text = input;
  if (std::size_t zero = input.find('\0'); zero != std::string_view::npos && zero <= 32) {
    key = input.substr(0, zero);
    text = input.substr(zero + 1);
  }
  CheckValue(text, key);
  for (std::string_view k : {"PRODUCT", "VERSION", "PARAMS", "REGISTRY"}) CheckValue(text, k);

  SetupState state;
  bool directRun = false;
  ApplyDescriptor(text, state, directRun);
  FUZZ_CHECK(state.Product == DescriptorValue(text, "PRODUCT"));
  FUZZ_CHECK(directRun == !DescriptorValue(text, "DIRECTRUN").empty());
  const std::string version = DescriptorValue(text, "VERSION");
  FUZZ_CHECK(state.Version.size() == version.size());
  FUZZ_CHECK(state.Version.find('_') == std::string::npos);
  FUZZ_CHECK(state.DeleteList == UpperCase(DescriptorValue(text, "DELETE")));
  FUZZ_CHECK(state.RegistryList == DescriptorValue(text, "REGISTRY"));
  FUZZ_CHECK(state.ShortcutMode >= kShortcutsNone && state.ShortcutMode <= kShortcutsByProgram);
  FUZZ_CHECK(state.LanguageIndex == kDutch || state.LanguageIndex == kEnglish);
  FUZZ_CHECK(state.LanguageIndex == (state.LanguageCode == "ENU" ? kEnglish : kDutch));
  for (const std::string* s : {&state.ProductName, &state.ProgramFile, &state.InstallPath, &state.LanguageCode,
                               &state.FileTypeList, &state.Pid, &state.Date})
    FUZZ_CHECK(s->size() <= text.size());

  // Every item of the REGISTRY list parses to parts of the item.
  const RegistryItem item = ParseRegistryItem(state.RegistryList);
  FUZZ_CHECK(item.section.size() + item.name.size() + item.text.size() <= state.RegistryList.size());
  FUZZ_CHECK(item.name.find('\\') == std::string::npos);
  return 0;
}
