// Running osslsigncode and turning its failures into messages.
#include "tools/pack/signing.h"

#include "tools/pack/packer.h"
#include "tools/pack/process.h"

#include <fstream>
#include <vector>

namespace orvalis::pack {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) {
  std::string text = "\"";
  text += PathToUtf8(path);
  text += '"';
  return text;
}

// Whether a regular file can be opened for reading; the reason when not.
std::string Unreadable(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return "it does not exist";
  if (!fs::is_regular_file(status)) return "it is not a file";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "it cannot be opened";
  return "";
}

// The last line of the tool's output that says something, for the message.
std::string LastLine(std::string_view output) {
  std::string line;
  std::size_t start = 0;
  while (start < output.size()) {
    std::size_t end = output.find('\n', start);
    if (end == std::string_view::npos) end = output.size();
    std::string_view text = output.substr(start, end - start);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
    if (!text.empty() && text != "Failed") line = text;
    start = end + 1;
  }
  return line;
}

}  // namespace

Result<fs::path> PrepareSigning(const SignOptions& options) {
  fs::path tool = FindProgram(kSigningTool, options.searchPath);
  if (tool.empty())
    return Failure{"cannot sign: the signing tool " + std::string(kSigningTool) +
                   " is not found on the PATH (on Debian: apt-get install osslsigncode)"};
  if (std::string why = Unreadable(options.certificate); !why.empty())
    return Failure{"cannot read the certificate " + Quoted(options.certificate) + ": " + why};
  if (std::string why = Unreadable(options.passwordFile); !why.empty())
    return Failure{"cannot read the password file " + Quoted(options.passwordFile) + ": " + why};
  return tool;
}

std::string DescribeSigningFailure(std::string_view toolOutput, const SignOptions& options) {
  const std::string certificate = Quoted(options.certificate);
  if (toolOutput.find("Wrong password?") != std::string_view::npos ||
      toolOutput.find("mac verify failure") != std::string_view::npos)
    return "cannot sign: the password in " + Quoted(options.passwordFile) + " does not open the certificate " +
           certificate;
  if (toolOutput.find("Failed to extract PKCS#12") != std::string_view::npos ||
      toolOutput.find("Failed to read PKCS#12") != std::string_view::npos ||
      toolOutput.find("Failed to read key or certificates") != std::string_view::npos)
    return "cannot sign: the certificate " + certificate +
           " cannot be read as a PKCS#12 (.pfx) file with a private key and its certificate";
  if (toolOutput.find("Failed to read password") != std::string_view::npos)
    return "cannot sign: the password file " + Quoted(options.passwordFile) + " cannot be read";
  if (!options.timestampUrl.empty() && (toolOutput.find("imestamp") != std::string_view::npos ||
                                        toolOutput.find("CURL") != std::string_view::npos ||
                                        toolOutput.find("curl") != std::string_view::npos))
    return "cannot sign: the time-stamp server " + options.timestampUrl + " did not answer (" + LastLine(toolOutput) +
           ")";
  const std::string last = LastLine(toolOutput);
  return "cannot sign: " + std::string(kSigningTool) + " failed" + (last.empty() ? "" : ": " + last);
}

Status SignFile(const fs::path& tool, const SignOptions& options, const fs::path& input, const fs::path& output) {
  std::error_code ec;
  fs::remove(output, ec);
  std::vector<std::string> args = {"sign",      "-pkcs12", PathToUtf8(options.certificate),
                                   "-readpass", PathToUtf8(options.passwordFile),
                                   "-h",        "sha256"};
  if (!options.timestampUrl.empty()) {
    args.push_back("-ts");
    args.push_back(options.timestampUrl);
  }
  args.insert(args.end(), {"-in", PathToUtf8(input), "-out", PathToUtf8(output)});
  auto run = RunProgram(tool, args);
  if (!run.ok()) return Failure{"cannot sign: " + run.error()};
  // The tool can leave a partial output behind when it fails.
  if (run.value().exitCode != 0 || !fs::is_regular_file(output, ec)) {
    fs::remove(output, ec);
    return Failure{DescribeSigningFailure(run.value().output, options)};
  }
  return Ok();
}

}  // namespace orvalis::pack
