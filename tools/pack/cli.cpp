// Option parsing and reporting for orvalis-pack.
#include "tools/pack/cli.h"

#include "tools/pack/packer.h"

#include <cstdio>
#include <map>
#include <ostream>

namespace orvalis::pack {

namespace {

constexpr const char* kUsage =
    "usage: orvalis-pack --stub OrvalisSetup.exe --descriptor DISK.ID --files DIR -o Product-Setup.exe\n"
    "       orvalis-pack --list Product-Setup.exe\n"
    "\n"
    "The first form adds every file under DIR and the descriptor to a copy of the\n"
    "setup program as compressed payload resources. The second prints the payload\n"
    "of a setup (compressed size, inflated size, name) and fails if a stream is damaged.\n";

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
  if (report.value().droppedSignatureBytes != 0)
    out << "orvalis-pack: the stub's signature (" << report.value().droppedSignatureBytes
        << " bytes) no longer matched and was removed; sign the setup again\n";
  return 0;
}

}  // namespace

int RunPackTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  static const std::map<std::string, std::string> kOptions = {{"--stub", "stub"},     {"--descriptor", "descriptor"},
                                                              {"--files", "files"},   {"-o", "output"},
                                                              {"--output", "output"}, {"--list", "list"}};
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
    PackOptions options{PathFromUtf8(given["stub"]), PathFromUtf8(given["descriptor"]), PathFromUtf8(given["files"]),
                        PathFromUtf8(given["output"])};
    return PackFiles(options, out, err);
  } catch (const std::exception& e) {
    // Out of memory, mostly; nothing has been written at that point.
    err << "orvalis-pack: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace orvalis::pack
