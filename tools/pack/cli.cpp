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
    "                    [--winget DIR] [--winget-singleton MANIFEST.yaml] [--id PUBLISHER.NAME --url URL]\n"
    "       orvalis-pack --list Product-Setup.exe\n"
    "\n"
    "The first form adds every file under DIR and the descriptor to a copy of the\n"
    "setup program as compressed payload resources. --sign signs the setup with\n"
    "osslsigncode (the password is read from FILE; --timestamp names an RFC 3161\n"
    "server). --winget writes the winget manifest for the setup as it will be\n"
    "downloaded from URL (both take --id and --url), in the winget community\n"
    "repository's layout under DIR\n"
    "(DIR/manifests/p/Publisher/Name/Version/); --winget-singleton writes it as\n"
    "one file for `winget install --manifest`. The second form prints the payload\n"
    "of a setup (compressed size, inflated size, name) and fails if a stream is\n"
    "damaged.\n";

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

// Writes each file beside a temporary name first and renames them into place
// only when all were written, so a failure leaves none of them behind.
bool WriteFiles(const std::vector<std::pair<std::filesystem::path, std::string>>& files) {
  std::vector<std::filesystem::path> temps;
  std::error_code ec;
  auto discard = [&temps, &ec] {
    for (const auto& temp : temps) std::filesystem::remove(temp, ec);
    return false;
  };
  for (const auto& [target, text] : files) {
    std::filesystem::create_directories(target.parent_path(), ec);
    std::filesystem::path temp = target;
    temp += ".tmp";
    temps.push_back(temp);
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) return discard();
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::filesystem::rename(temps[i], files[i].first, ec);
    if (ec) return discard();
  }
  return true;
}

// The manifests for the setup just written: its hash and machine from the file itself.
int Winget(const std::optional<std::string>& folder, const std::optional<std::string>& singleton,
           const std::string& setup, const std::string& descriptor, const WingetOptions& options, std::ostream& out,
           std::ostream& err) {
  auto bytes = ReadText(setup);
  if (!bytes) {
    err << "orvalis-pack: cannot read " << setup << " back for its hash\n";
    return 1;
  }
  auto image = ParsePeImage(*bytes);
  WingetInstaller installer{image.ok() ? image.value().machine : std::uint16_t{0}, Sha256Hex(*bytes)};
  if (folder) {
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    for (WingetFile& file : WingetManifests(descriptor, options, installer))
      files.emplace_back(PathFromUtf8(*folder) / PathFromUtf8(file.path), std::move(file.text));
    const std::string where = PathToUtf8(PathFromUtf8(*folder) / PathFromUtf8(WingetManifestFolder(descriptor, options)));
    if (!WriteFiles(files)) {
      err << "orvalis-pack: cannot write the winget manifest in \"" << where << "\" (the setup is written)\n";
      return 1;
    }
    out << "orvalis-pack: wrote the winget manifest in " << where << " (" << files.size() << " files, SHA-256 "
        << installer.sha256 << ")\n";
  }
  if (singleton) {
    if (!WriteFiles({{PathFromUtf8(*singleton), WingetSingletonManifest(descriptor, options, installer)}})) {
      err << "orvalis-pack: cannot write the winget manifest \"" << *singleton << "\" (the setup is written)\n";
      return 1;
    }
    out << "orvalis-pack: wrote " << *singleton << ", the winget singleton manifest (SHA-256 " << installer.sha256
        << ")\n";
  }
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
                                                              {"--winget-singleton", "singleton"},
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
    const bool wingetAsked = given.count("winget") || given.count("singleton");
    for (const char* part : {"id", "url"})
      if (given.count(part) != static_cast<std::size_t>(wingetAsked))
        return UsageError(err, !wingetAsked             ? "--id and --url need --winget or --winget-singleton"
                               : given.count("winget") ? "--winget needs --id and --url"
                                                       : "--winget-singleton needs --id and --url");
    PackOptions options{PathFromUtf8(given["stub"]), PathFromUtf8(given["descriptor"]), PathFromUtf8(given["files"]),
                        PathFromUtf8(given["output"]), {}};

    // Everything the extra steps need is checked before packing, so a refusal leaves no output.
    std::string descriptor;
    WingetOptions winget{given["id"], given["url"]};
    std::optional<std::string> wingetFolder, singleton;
    if (given.count("winget")) wingetFolder = given["winget"];
    if (given.count("singleton")) singleton = given["singleton"];
    if (wingetAsked) {
      for (const std::optional<std::string>& path : {wingetFolder, singleton})
        if (path && PathFromUtf8(*path) == options.output)
          return UsageError(err, "--winget or --winget-singleton and -o name the same file");
      std::error_code ec;
      if (wingetFolder && std::filesystem::exists(PathFromUtf8(*wingetFolder), ec) &&
          !std::filesystem::is_directory(PathFromUtf8(*wingetFolder), ec)) {
        err << "orvalis-pack: cannot write the winget manifest: \"" << *wingetFolder << "\" is a file, not a folder\n";
        return 1;
      }
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
    if (int status = PackFiles(options, out, err); status != 0 || !wingetAsked) return status;
    return Winget(wingetFolder, singleton, given["output"], descriptor, winget, out, err);
  } catch (const std::exception& e) {
    // Out of memory, mostly; nothing has been written at that point.
    err << "orvalis-pack: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace orvalis::pack
