// Writing the winget manifests by hand: a fixed layout, every string quoted.
#include "tools/pack/winget.h"

#include "core/text.h"
#include "core/utf16.h"
#include "services/descriptor_reader.h"
#include "services/payload_name.h"
#include "services/switch_tokens.h"
#include "services/uninstall_entry.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace orvalis::pack {

namespace {

// The switches of the descriptor's PARAMS that matter to the manifest, read
// as the setup reads them.
struct ParamsSwitches {
  std::optional<std::string> folder;  // /P:
  std::optional<std::string> log;     // /O:
  std::string language;               // /M:, upper-cased
};

ParamsSwitches ReadParams(std::string_view text) {
  ParamsSwitches found;
  for (const SwitchToken& token : SwitchTokens(text)) {
    if (token.letter == 'M') found.language = UpperCase(token.value);
    if (token.letter == 'O') found.log = token.value;
    if (token.letter == 'P') found.folder = token.value;
  }
  return found;
}

// Everything the manifest takes from the descriptor, with the setup's own rules.
struct Package {
  std::string product;      // the software-list key name
  std::string version;      // "_" → ".", upper-cased, as the setup shows and registers it
  std::string packageName;  // English name, for the en-US manifest
  std::string dutchName;    // for the nl-NL manifest; empty when the descriptor has none
  std::string displayName;  // the name a quiet run registers, in that run's language
  bool registers = false;   // whether a run writes a software-list entry at all
  ParamsSwitches params;
};

Package ReadPackage(std::string_view descriptor) {
  Package p;
  p.product = DescriptorValue(descriptor, "PRODUCT");
  p.version = ReplaceChar(UpperCase(DescriptorValue(descriptor, "VERSION")), '_', '.');
  p.params = ReadParams(DescriptorValue(descriptor, "PARAMS"));
  const std::string dutch = ReplaceChar(DescriptorValue(descriptor, "PRODUCTNAME"), '_', ' ');
  const std::string english = ReplaceChar(DescriptorValue(descriptor, "PRODUCTNAMEENU"), '_', ' ');
  // A quiet run is Dutch unless /M:ENU says otherwise.
  p.displayName = p.params.language == "ENU" ? english : dutch;
  p.packageName = !english.empty() ? english : !dutch.empty() ? dutch : p.product;
  p.dutchName = dutch;
  p.registers = !p.displayName.empty() && !DescriptorValue(descriptor, "PROGRAM").empty();
  return p;
}

// The short descriptions of the en-US and nl-NL manifests.
std::string EnglishDescription(const Package& p) { return "Installs " + p.packageName + " " + p.version; }
std::string DutchDescription(const Package& p) { return "Installeert " + p.dutchName + " " + p.version; }

// Characters of UTF-8 text; none when the text is not UTF-8.
std::optional<std::size_t> Characters(std::string_view text) {
  auto wide = Utf8ToUtf16(text);
  if (!wide) return std::nullopt;
  std::size_t count = 0;
  for (char16_t c : *wide)
    if (c < 0xDC00 || c > 0xDFFF) ++count;
  return count;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// A segment of a package identifier: 1 to 32 characters, none of them a dot,
// white space, control character or one of \ / : * ? " < > |.
bool IsIdentifierSegment(std::string_view segment) {
  const auto length = Characters(segment);
  if (!length || *length < 1 || *length > 32) return false;
  for (char c : segment)
    if (IsControl(static_cast<unsigned char>(c)) || std::string_view(". \\/:*?\"<>|").find(c) != std::string_view::npos)
      return false;
  return true;
}

bool IsPackageIdentifier(std::string_view id) {
  if (id.size() > 128) return false;
  std::size_t segments = 0;
  for (;;) {
    const std::size_t dot = id.find('.');
    if (!IsIdentifierSegment(id.substr(0, dot))) return false;
    ++segments;
    if (dot == std::string_view::npos) break;
    id.remove_prefix(dot + 1);
  }
  return segments >= 2 && segments <= 8;
}

bool IsUrl(std::string_view url) {
  const std::string head = UpperCase(url.substr(0, 8));
  const std::size_t scheme = StartsWith(head, "HTTPS://") ? 8 : StartsWith(head, "HTTP://") ? 7 : 0;
  if (scheme == 0 || url.size() <= scheme || url.size() > 2048) return false;
  for (char c : url)
    if (IsControl(static_cast<unsigned char>(c))) return false;
  return Characters(url).has_value();
}

// A text between `least` and `most` characters, or the reason it is not.
std::string LengthProblem(const std::string& what, std::string_view text, std::size_t least, std::size_t most) {
  const auto length = Characters(text);
  if (!length) return what + std::string(" is not UTF-8 text");
  if (*length < least)
    return what + std::string(" \"") + std::string(text) + "\" is shorter than " + std::to_string(least) +
           " characters";
  if (*length > most) return what + std::string(" is longer than ") + std::to_string(most) + " characters";
  return "";
}

std::string ArchitectureOf(std::uint16_t machine) {
  switch (machine) {
    case 0x014C: return "x86";
    case 0x8664: return "x64";
    case 0xAA64: return "arm64";
    case 0x01C4: return "arm";
    default: return "neutral";
  }
}

// The local application data of every supported Windows is <profile>\AppData\Local.
bool InLocalAppData(std::string_view folder) {
  std::string upper = UpperCase(folder);
  for (char& c : upper)
    if (c == '/') c = '\\';
  return upper.find("\\APPDATA\\LOCAL\\") != std::string::npos || EndsWith(upper, "\\APPDATA\\LOCAL");
}

}  // namespace

std::string YamlQuoted(std::string_view text) {
  bool plain = true;
  for (char c : text) plain = plain && !IsControl(static_cast<unsigned char>(c));
  if (plain) {
    std::string quoted = "'";
    for (char c : text) {
      if (c == '\'') quoted += '\'';
      quoted += c;
    }
    return quoted + "'";
  }
  std::string quoted = "\"";
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (IsControl(b)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string WingetProblem(std::string_view descriptor, const WingetOptions& options) {
  if (!IsPackageIdentifier(options.packageIdentifier))
    return "winget identifier \"" + options.packageIdentifier +
           "\" is not Publisher.Name: 2 to 8 parts between dots, each 1 to 32 characters without blanks or any of "
           "\\ / : * ? \" < > |";
  if (!IsUrl(options.installerUrl))
    return "winget installer URL \"" + options.installerUrl + "\" does not start with http:// or https://";
  const Package p = ReadPackage(descriptor);
  if (p.version.empty()) return "the descriptor has no VERSION value, which the winget manifest needs";
  if (std::string problem = LengthProblem("the descriptor's VERSION", p.version, 1, 128); !problem.empty())
    return problem;
  for (char c : p.version)
    if (IsControl(static_cast<unsigned char>(c)) || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return "the descriptor's VERSION \"" + p.version + "\" holds \"" + std::string(1, c) +
             "\", which a winget version cannot";
  if (std::string problem = LengthProblem("the product name", p.packageName, 2, 256); !problem.empty())
    return problem;
  if (std::string problem = LengthProblem("the descriptor's PRODUCT", p.product, 1, 255); !problem.empty())
    return problem;
  if (std::string problem = LengthProblem("the software-list name", p.displayName, 0, 256); !problem.empty())
    return problem;
  if (!p.dutchName.empty())
    if (std::string problem = LengthProblem("the Dutch product name", p.dutchName, 2, 256); !problem.empty())
      return problem;
  for (const std::string& description : {EnglishDescription(p), DutchDescription(p)})
    if (std::string problem = LengthProblem("the short description", description, 0, 256); !problem.empty())
      return problem + " (the product name and version are too long together)";
  // The identifier's parts and the version name folders of the repository's layout.
  const std::string folder = WingetManifestFolder(descriptor, options);
  if (const PayloadNameProblem problem = CheckPayloadName(folder); problem != PayloadNameProblem::kSafe)
    return "the winget manifest's folder \"" + folder + "\" cannot be made: " + DescribePayloadNameProblem(problem);
  return "";
}

namespace {

constexpr std::string_view kManifestVersion = "1.28.0";
constexpr std::string_view kSingletonVersion = "1.6.0";

// A manifest's text: a fixed layout, every string quoted.
class Yaml {
 public:
  void Line(std::string_view text) {
    text_ += text;
    text_ += '\n';
  }
  void Field(std::string_view indent, std::string_view key, std::string_view value) {
    text_ += indent;
    text_ += key;
    text_ += ": ";
    text_ += YamlQuoted(value);
    text_ += '\n';
  }
  // The language server's schema line and the note that says who wrote it.
  void Header(std::string_view type, std::string_view version) {
    Line("# yaml-language-server: $schema=https://aka.ms/winget-manifest." + std::string(type) + "." +
         std::string(version) + ".schema.json");
    Line("# Written by orvalis-pack for the setup it packed.");
  }
  void Footer(std::string_view type, std::string_view version) {
    Field("", "ManifestType", type);
    Field("", "ManifestVersion", version);
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The one installer of both manifest forms: the setup, its switches, exit
// codes and the software-list entry it writes.
void WriteInstaller(Yaml& y, const Package& p, const WingetOptions& options, const WingetInstaller& installer) {
  const std::string publisher(kMakerName);
  y.Line("Installers:");
  y.Field("- ", "Architecture", ArchitectureOf(installer.machine));
  y.Field("  ", "InstallerType", "exe");
  // Without a folder of its own the setup follows the default folder rule: an
  // administrator (the setup asks for the highest available rights) installs
  // under Program Files with a machine-wide software-list entry. A folder that
  // PARAMS fixes in the local application data makes every installation the user's.
  y.Field("  ", "Scope", p.params.folder && InLocalAppData(*p.params.folder) ? "user" : "machine");
  y.Field("  ", "InstallerUrl", options.installerUrl);
  y.Field("  ", "InstallerSha256", installer.sha256);
  y.Line("  InstallModes:");
  for (const char* mode : {"interactive", "silent", "silentWithProgress"}) y.Line("  - " + YamlQuoted(mode));
  y.Line("  InstallerSwitches:");
  y.Field("    ", "Silent", "/Q /U");
  y.Field("    ", "SilentWithProgress", "/U");
  // PARAMS are applied after the command line and its /P: and /O: win, so
  // winget's own folder or log would be ignored: the manifest says so instead.
  if (!p.params.folder) y.Field("    ", "InstallLocation", "/P:\"<INSTALLPATH>\"");
  if (!p.params.log) y.Field("    ", "Log", "/O:\"<LOGPATH>\"");
  // Unattended runs write the software-list entry only when asked (/I), and
  // winget finds an installed version by that entry.
  if (p.registers) y.Field("    ", "Custom", "/I");
  if (p.params.folder || p.params.log) {
    y.Line("  UnsupportedArguments:");
    if (p.params.log) y.Line("  - 'log'");
    if (p.params.folder) y.Line("  - 'location'");
  }
  y.Line("  ExpectedReturnCodes:");
  y.Line("  - InstallerReturnCode: 1602");
  y.Field("    ", "ReturnResponse", "cancelledByUser");
  y.Line("  - InstallerReturnCode: 1618");
  y.Field("    ", "ReturnResponse", "installInProgress");
  if (p.registers) {
    y.Field("  ", "ProductCode", p.product);
    y.Line("  AppsAndFeaturesEntries:");
    y.Field("  - ", "DisplayName", p.displayName);
    y.Field("    ", "Publisher", publisher);
    y.Field("    ", "DisplayVersion", p.version);
    y.Field("    ", "ProductCode", p.product);
  }
}

void WriteIdentity(Yaml& y, const Package& p, const WingetOptions& options) {
  y.Field("", "PackageIdentifier", options.packageIdentifier);
  y.Field("", "PackageVersion", p.version);
}

}  // namespace

std::string WingetManifestFolder(std::string_view descriptor, const WingetOptions& options) {
  const std::string& id = options.packageIdentifier;
  // The first character whole, so that a letter outside ASCII keeps its bytes.
  std::size_t first = 1;
  while (first < id.size() && (static_cast<unsigned char>(id[first]) & 0xC0) == 0x80) ++first;
  return "manifests/" + LowerCase(std::string_view(id).substr(0, first)) + "/" + ReplaceChar(id, '.', '/') + "/" +
         ReadPackage(descriptor).version;
}

std::vector<WingetFile> WingetManifests(std::string_view descriptor, const WingetOptions& options,
                                        const WingetInstaller& installer) {
  const Package p = ReadPackage(descriptor);
  const std::string publisher(kMakerName);
  const std::string folder = WingetManifestFolder(descriptor, options) + "/" + options.packageIdentifier;
  std::vector<WingetFile> files;

  Yaml version;
  version.Header("version", kManifestVersion);
  WriteIdentity(version, p, options);
  version.Field("", "DefaultLocale", "en-US");
  version.Footer("version", kManifestVersion);
  files.push_back({folder + ".yaml", version.Text()});

  Yaml setup;
  setup.Header("installer", kManifestVersion);
  WriteIdentity(setup, p, options);
  WriteInstaller(setup, p, options, installer);
  setup.Footer("installer", kManifestVersion);
  files.push_back({folder + ".installer.yaml", setup.Text()});

  Yaml english;
  english.Header("defaultLocale", kManifestVersion);
  WriteIdentity(english, p, options);
  english.Field("", "PackageLocale", "en-US");
  english.Field("", "Publisher", publisher);
  english.Field("", "PublisherUrl", kMakerWebAddress);
  english.Field("", "PackageName", p.packageName);
  english.Field("", "License", "Proprietary");
  english.Field("", "ShortDescription", EnglishDescription(p));
  english.Footer("defaultLocale", kManifestVersion);
  files.push_back({folder + ".locale.en-US.yaml", english.Text()});

  // The fields a locale leaves out are the default locale's.
  if (!p.dutchName.empty()) {
    Yaml dutch;
    dutch.Header("locale", kManifestVersion);
    WriteIdentity(dutch, p, options);
    dutch.Field("", "PackageLocale", "nl-NL");
    dutch.Field("", "PackageName", p.dutchName);
    dutch.Field("", "ShortDescription", DutchDescription(p));
    dutch.Footer("locale", kManifestVersion);
    files.push_back({folder + ".locale.nl-NL.yaml", dutch.Text()});
  }
  return files;
}

std::string WingetSingletonManifest(std::string_view descriptor, const WingetOptions& options,
                                    const WingetInstaller& installer) {
  const Package p = ReadPackage(descriptor);
  Yaml y;
  y.Header("singleton", kSingletonVersion);
  WriteIdentity(y, p, options);
  y.Field("", "PackageLocale", "en-US");
  y.Field("", "Publisher", kMakerName);
  y.Field("", "PackageName", p.packageName);
  y.Field("", "License", "Proprietary");
  y.Field("", "ShortDescription", EnglishDescription(p));
  WriteInstaller(y, p, options, installer);
  y.Footer("singleton", kSingletonVersion);
  return y.Text();
}

}  // namespace orvalis::pack
