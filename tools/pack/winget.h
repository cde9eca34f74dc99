// The winget manifest of a packed setup: one YAML file (a singleton manifest,
// ManifestVersion 1.6.0) that tells the package manager how to download,
// check, install and detect the product.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis::pack {

struct WingetOptions {
  std::string packageIdentifier;  // Publisher.Name
  std::string installerUrl;       // where the setup will be downloaded from
};

// What is known only once the setup is written.
struct WingetInstaller {
  std::uint16_t machine = 0;  // the setup's PE machine type
  std::string sha256;         // of the setup as shipped (signed, when it is), hexadecimal
};

// Why no manifest can be written for `descriptor` with `options` (a message
// naming the value), or empty when one can. Checked before packing, so a
// refusal leaves nothing behind.
[[nodiscard]] std::string WingetProblem(std::string_view descriptor, const WingetOptions& options);

// The manifest text, LF line ends. Call only when WingetProblem found nothing.
[[nodiscard]] std::string WingetManifest(std::string_view descriptor, const WingetOptions& options,
                                         const WingetInstaller& installer);

// `text` as one YAML scalar: single-quoted ('' for a quote), or double-quoted
// with escapes when it holds a character that a single-quoted scalar cannot
// carry (control characters, which YAML would also fold or refuse).
[[nodiscard]] std::string YamlQuoted(std::string_view text);

}  // namespace orvalis::pack
