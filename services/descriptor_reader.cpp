// Descriptor lookup.
#include "services/descriptor_reader.h"

#include "core/text.h"

namespace orvalis {

std::string DescriptorValue(std::string_view text, std::string_view key) {
  // Upper-casing keeps byte positions, so the match found in the upper-cased
  // copy marks the same place in the original text.
  std::string upperText = UpperCase(text);
  std::string needle = UpperCase(key) + "=";
  size_t at = upperText.find(needle);
  if (at == std::string::npos) return {};
  std::string_view rest = text.substr(at + needle.size());
  rest = rest.substr(0, rest.find('\n'));
  rest = rest.substr(0, rest.find('\r'));
  return std::string(Trim(rest));
}

}  // namespace orvalis
