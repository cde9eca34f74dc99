// The winget manifests of a packed setup, which tell the package manager how
// to download, check, install and detect the product: the multi-file manifest
// (ManifestVersion 1.28.0) in the layout of the winget community repository,
// and the singleton manifest (ManifestVersion 1.6.0) that
// `winget install --manifest FILE` takes for a local installation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// One file of the multi-file manifest: its path below the folder given to the
// packer, "/" between folders, and its text.
struct WingetFile {
  std::string path;
  std::string text;
};

// Why no manifest can be written for `descriptor` with `options` (a message
// naming the value), or empty when one can. Checked before packing, so a
// refusal leaves nothing behind.
[[nodiscard]] std::string WingetProblem(std::string_view descriptor, const WingetOptions& options);

// The folder of the multi-file manifest below the folder given to the packer,
// as the community repository lays it out: manifests/<first letter of the
// identifier, lower case>/<one folder per part of the identifier>/<version>.
[[nodiscard]] std::string WingetManifestFolder(std::string_view descriptor, const WingetOptions& options);

// The multi-file manifest, each file in WingetManifestFolder: the version
// file, the installer file, the en-US default locale and, when the descriptor
// names the product in Dutch, the nl-NL locale. LF line ends. Call only when
// WingetProblem found nothing.
[[nodiscard]] std::vector<WingetFile> WingetManifests(std::string_view descriptor, const WingetOptions& options,
                                                      const WingetInstaller& installer);

// The singleton manifest text, LF line ends. Call only when WingetProblem
// found nothing.
[[nodiscard]] std::string WingetSingletonManifest(std::string_view descriptor, const WingetOptions& options,
                                                  const WingetInstaller& installer);

// `text` as one YAML scalar: single-quoted ('' for a quote), or double-quoted
// with escapes when it holds a character that a single-quoted scalar cannot
// carry (control characters, which YAML would also fold or refuse).
[[nodiscard]] std::string YamlQuoted(std::string_view text);

}  // namespace orvalis::pack
