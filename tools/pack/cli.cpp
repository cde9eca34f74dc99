// Option parsing and reporting for orvalis-pack.
#include "tools/pack/cli.h"

#include "tools/pack/packer.h"
#include "tools/pack/pe_image.h"
#include "tools/pack/process.h"
#include "tools/pack/sha256.h"
#include "tools/pack/signing.h"
#include "tools/pack/winget.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>

namespace orvalis::pack {

namespace {

constexpr const char* kUsage =
    "usage: orvalis-pack --stub OrvalisSetup.exe --descriptor DISK.ID --files DIR -o Product-Setup.exe\n"
    "                    [--sign CERT.pfx --password-file FILE [--timestamp URL]]\n"
    "                    [--winget MANIFEST.yaml --id PUBLISHER.NAME --url URL]\n"
    "       orvalis-pack --list Product-Setup.exe\n"
    "\n"
    "The first form adds every file under DIR and the descriptor to a copy of the\n"
    "setup program as compressed payload resources. --sign signs the setup with\n"
    "osslsigncode (the password is read from FILE; --timestamp names an RFC 3161\n"
    "server). --winget writes a winget manifest for the setup as it will be\n"
    "downloaded from URL. The second form prints the payload of a setup (compressed\n"
    "size, inflated size, name) and fails if a stream is damaged.\n";

int UsageError(std::ostream& err, const std::string& message) {
  err << "orvalis-pack: " << message << "\n" << kUsage;
  return 2;
}

std::string Column(std::uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%12llu", static_cast<unsigned long long>(value));
  return text;
}

int List(const std::string& setup, std::ostream& out, std::ostream& err) {
  auto entries = ListPayloadFile(PathFromUtf8(setup));
  if (!entries.ok()) {
    err << "orvalis-pack: " << entries.error() << "\n";
    return 1;
  }
  if (entries.value().empty()) {
    err << "orvalis-pack: " << setup << " holds no payload resources\n";
    return 1;
  }
  int damaged = 0;
  for (const PayloadEntry& entry : entries.value()) {
    out << Column(entry.compressedSize) << ' ' << (entry.size ? Column(*entry.size) : "     damaged") << "  "
        << entry.name << "\n";
  }
  for (const PayloadEntry& entry : entries.value()) {
    if (entry.size) continue;
    err << "orvalis-pack: " << setup << ": payload " << entry.name << " is damaged (its stream does not inflate)\n";
    ++damaged;
  }
  return damaged == 0 ? 0 : 1;
}

std::optional<std::string> ReadText(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes the manifest beside a temporary name and renames it into place.
bool WriteManifest(const std::string& path, const std::string& text) {
  const std::filesystem::path target = PathFromUtf8(path);
  std::filesystem::path temp = target;
  temp += ".tmp";
  std::error_code ec;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, target, ec);
  if (ec) std::filesystem::remove(temp, ec);
  return !ec;
}

// The manifest for the setup just written: its hash and machine from the file itself.
int Winget(const std::string& path, const std::string& setup, const std::string& descriptor,
           const WingetOptions& options, std::ostream& out, std::ostream& err) {
  auto bytes = ReadText(setup);
  if (!bytes) {
    err << "orvalis-pack: cannot read " << setup << " back for its hash\n";
    return 1;
  }
  auto image = ParsePeImage(*bytes);
  WingetInstaller installer{image.ok() ? image.value().machine : std::uint16_t{0}, Sha256Hex(*bytes)};
  if (!WriteManifest(path, WingetManifest(descriptor, options, installer))) {
    err << "orvalis-pack: cannot write the winget manifest \"" << path << "\" (the setup is written)\n";
    return 1;
  }
  out << "orvalis-pack: wrote " << path << ", the winget manifest (SHA-256 " << installer.sha256 << ")\n";
  return 0;
}

int PackFiles(const PackOptions& options, std::ostream& out, std::ostream& err) {
  auto report = Pack(options);
  if (!report.ok()) {
    err << "orvalis-pack: " << report.error() << "\n";
    return 1;
  }
  std::uint64_t size = 0;
  std::uint64_t compressed = 0;
  for (const PackedEntry& entry : report.value().entries) {
    size += entry.size;
    compressed += entry.compressedSize;
  }
  out << "orvalis-pack: wrote " << PathToUtf8(options.output) << " (" << report.value().outputSize
      << " bytes): " << report.value().entries.size() - 1 << " files and the descriptor, " << size
      << " bytes compressed to " << compressed << "\n";
  if (report.value().droppedSignatureBytes != 0 && !options.finish)
    out << "orvalis-pack: the stub's signature (" << report.value().droppedSignatureBytes
        << " bytes) no longer matched and was removed; sign the setup again\n";
  return 0;
}

}  // namespace

int RunPackTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  static const std::map<std::string, std::string> kOptions = {{"--stub", "stub"},     {"--descriptor", "descriptor"},
                                                              {"--files", "files"},   {"-o", "output"},
                                                              {"--output", "output"}, {"--list", "list"},
                                                              {"--sign", "sign"},     {"--password-file", "password"},
                                                              {"--timestamp", "timestamp"}, {"--winget", "winget"},
                                                              {"--id", "id"},         {"--url", "url"}};
  std::map<std::string, std::string> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      out << kUsage;
      return 0;
    }
    auto option = kOptions.find(args[i]);
    if (option == kOptions.end()) return UsageError(err, "unknown argument \"" + args[i] + "\"");
    if (i + 1 == args.size()) return UsageError(err, args[i] + " needs a value");
    if (!given.emplace(option->second, args[++i]).second) return UsageError(err, args[i - 1] + " given twice");
  }
  try {
    if (given.count("list")) {
      if (given.size() != 1) return UsageError(err, "--list takes no other options");
      return List(given["list"], out, err);
    }
    for (const char* required : {"stub", "descriptor", "files", "output"})
      if (!given.count(required))
        return UsageError(err, given.empty() ? "nothing to do" : std::string("missing the ") + required + " option");
    if (given.count("sign") != given.count("password"))
      return UsageError(err, given.count("sign") ? "--sign needs --password-file" : "--password-file needs --sign");
    if (given.count("timestamp") && !given.count("sign")) return UsageError(err, "--timestamp needs --sign");
    for (const char* part : {"id", "url"})
      if (given.count(part) != given.count("winget"))
        return UsageError(err, given.count("winget") ? "--winget needs --id and --url" : "--id and --url need --winget");
    PackOptions options{PathFromUtf8(given["stub"]), PathFromUtf8(given["descriptor"]), PathFromUtf8(given["files"]),
                        PathFromUtf8(given["output"]), {}};

    // Everything the extra steps need is checked before packing, so a refusal leaves no output.
    std::string descriptor;
    WingetOptions winget{given["id"], given["url"]};
    if (given.count("winget")) {
      if (PathFromUtf8(given["winget"]) == options.output)
        return UsageError(err, "--winget and -o name the same file");
      auto text = ReadText(given["descriptor"]);
      descriptor = text.value_or("");
      if (text) {
        if (std::string problem = WingetProblem(descriptor, winget); !problem.empty()) {
          err << "orvalis-pack: cannot write the winget manifest: " << problem << "\n";
          return 1;
        }
      }
    }
    if (given.count("sign")) {
      SignOptions sign{PathFromUtf8(given["sign"]), PathFromUtf8(given["password"]), given["timestamp"],
                       ProgramSearchPath()};
      auto tool = PrepareSigning(sign);
      if (!tool.ok()) {
        err << "orvalis-pack: " << tool.error() << "\n";
        return 1;
      }
      options.finish = [sign, path = tool.value()](const std::filesystem::path& in, const std::filesystem::path& to) {
        return SignFile(path, sign, in, to);
      };
    }
    if (int status = PackFiles(options, out, err); status != 0 || !given.count("winget")) return status;
    return Winget(given["winget"], given["output"], descriptor, winget, out, err);
  } catch (const std::exception& e) {
    // Out of memory, mostly; nothing has been written at that point.
    err << "orvalis-pack: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace orvalis::pack
