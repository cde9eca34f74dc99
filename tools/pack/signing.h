// Signing a packed setup with Authenticode, through Debian's osslsigncode.
#pragma once

#include "tools/pack/result.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace orvalis::pack {

inline constexpr std::string_view kSigningTool = "osslsigncode";

struct SignOptions {
  std::filesystem::path certificate;   // PKCS#12 (.pfx) holding the key and its certificate chain
  std::filesystem::path passwordFile;  // the certificate's password, read by the tool itself
  std::string timestampUrl;            // an RFC 3161 time-stamp server; empty for none
  std::string searchPath;              // where the tool is looked for (a PATH value)
};

// What can be checked before anything is packed: the tool is found and the
// certificate and password files can be read. Gives the tool's path.
[[nodiscard]] Result<std::filesystem::path> PrepareSigning(const SignOptions& options);

// Signs `input` into the new file `output` with the tool at `tool`. On failure
// `output` does not exist and the message says why, in the user's terms where
// the tool's output tells (wrong password, certificate that is no PKCS#12 file,
// time-stamp server out of reach).
[[nodiscard]] Status SignFile(const std::filesystem::path& tool, const SignOptions& options,
                              const std::filesystem::path& input, const std::filesystem::path& output);

// The message for a signing run that failed with `toolOutput`.
[[nodiscard]] std::string DescribeSigningFailure(std::string_view toolOutput, const SignOptions& options);

}  // namespace orvalis::pack
