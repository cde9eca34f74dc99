// Registry addressing rules and the settings store's key.
#include "services/registry_rules.h"

#include "core/utf16.h"

namespace orvalis {
namespace {

std::string& ProductKeyStore() {
  static std::string product = "XXX";
  return product;
}

}  // namespace

std::string_view RelativeKeyPath(std::string_view key) {
  if (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  return key;
}

ValueAddress SplitValueName(std::string_view key, std::string_view name) {
  ValueAddress address{std::string(RelativeKeyPath(key)), std::string(name)};
  size_t slash = name.find('\\');
  if (slash == std::string_view::npos) return address;
  if (!address.key.empty()) address.key += '\\';
  address.key += name.substr(0, slash);
  address.name = std::string(name.substr(slash + 1));
  return address;
}

std::string StoredValueText(std::uint32_t type, std::string_view bytes) {
  switch (type) {
    case kRegString: {
      std::u16string wide;
      for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t c = char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (c == 0) break;
        wide += c;
      }
      return Utf16ToUtf8(wide);
    }
    case kRegExpandString:
    case kRegDword:
      return {};
    default:
      return std::string(bytes);
  }
}

void SetProductKey(std::string_view product) { ProductKeyStore() = std::string(product); }
std::string ProductKey() { return ProductKeyStore(); }
std::string SettingsKey() { return "Software\\Orvalis\\" + ProductKeyStore(); }

std::string SettingsSectionKey(std::string_view section) {
  std::string key = SettingsKey();
  if (section.empty()) return key;  // values of the product key itself
  key += '\\';
  key += section;
  return key;
}

}  // namespace orvalis
