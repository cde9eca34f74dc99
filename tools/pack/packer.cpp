// Collecting, compressing and adding payload files; listing a built setup.
#include "tools/pack/packer.h"

#include "core/text.h"
#include "core/utf16.h"
#include "services/descriptor_reader.h"
#include "services/inflate.h"
#include "services/payload_name.h"
#include "tools/pack/pe_image.h"
#include "tools/pack/resource_tree.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>

namespace orvalis::pack {

namespace fs = std::filesystem;

std::filesystem::path PathFromUtf8(std::string_view text) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

namespace {

std::string Quoted(const fs::path& path) {
  std::string text = "\"";
  text += PathToUtf8(path);
  text += '"';
  return text;
}

// Bytes that are not printable ASCII shown as \xNN, for names that are not UTF-8.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out;
}

// Reads a whole file of at most `limit` bytes.
Result<std::string> ReadWholeFile(const fs::path& path, std::uint64_t limit, std::string_view role) {
  const std::string what = std::string(role) + " " + Quoted(path);
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return Failure{"cannot read " + what + ": it does not exist"};
  if (!fs::is_regular_file(status)) return Failure{"cannot read " + what + ": it is not a file"};
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return Failure{"cannot read " + what + ": " + ec.message()};
  if (size > limit)
    return Failure{what + " is too large (" + std::to_string(size) + " bytes, at most " + std::to_string(limit) + ")"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Failure{"cannot open " + what};
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size || in.peek() != std::ifstream::traits_type::eof())
    return Failure{"cannot read " + what + " (did it change while being read?)"};
  return bytes;
}

// One character of the Basic Multilingual Plane for a message: "ɐ" (U+0250).
std::string Character(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  std::string text = "\"";
  text += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
  text += "\" (";
  text += code;
  text += ')';
  return text;
}

// Whether `path` is `folder` or lies somewhere below it.
bool IsInside(const fs::path& path, const fs::path& folder) {
  std::error_code ec;
  const fs::path p = fs::weakly_canonical(path, ec);
  if (ec) return false;
  const fs::path f = fs::weakly_canonical(folder, ec);
  if (ec) return false;
  const fs::path relative = p.lexically_relative(f);
  return !relative.empty() && *relative.begin() != "..";
}

// The payload name of a file below the files folder, checked.
Result<std::string> PayloadNameOf(const fs::path& relative) {
  std::string name;
  for (const fs::path& component : relative) {
    std::string part = PathToUtf8(component);
    if (!Utf8ToUtf16(part)) return Failure{"file name is not valid UTF-8: " + Escaped(PathToUtf8(relative))};
    if (part.find('\\') != std::string::npos)
      return Failure{"file name " + Quoted(relative) + " holds \"\\\", which Windows takes for a folder separator"};
    if (!name.empty()) name += '\\';
    name += part;
  }
  const PayloadNameProblem problem = CheckPayloadName(name);
  if (problem != PayloadNameProblem::kSafe)
    return Failure{"file name " + Quoted(relative) + " cannot be installed: " + DescribePayloadNameProblem(problem)};
  if (const char32_t letter = UnstorableLetter(name))
    return Failure{"file name " + Quoted(relative) + " cannot be stored so that the setup finds it again: Windows " +
                   "upper-cases its " + Character(letter) + " to " + Character(WindowsUpperCase(letter)) +
                   ", which has another length in UTF-8, and names are stored upper-cased at their length; " +
                   "rename the file"};
  return name;
}

std::u16string ResourceNameOf(std::string_view payloadName) {
  return *Utf8ToUtf16(std::string(kPayloadPrefix) + UpperCase(payloadName));
}

bool HasPayloadPrefix(std::u16string_view name) {
  if (name.size() < kPayloadPrefix.size()) return false;
  for (std::size_t i = 0; i < kPayloadPrefix.size(); ++i) {
    char16_t c = name[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    if (c != static_cast<char16_t>(kPayloadPrefix[i])) return false;
  }
  return true;
}

Status WriteFileAtomically(const fs::path& output, const ImageParts& image, const FinishStep& finish) {
  fs::path temp = output;
  temp += ".tmp";
  std::error_code ec;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return Failure{"cannot create " + Quoted(temp)};
    for (std::string_view part : image.parts()) out.write(part.data(), static_cast<std::streamsize>(part.size()));
    out.close();
    if (!out) {
      fs::remove(temp, ec);
      return Failure{"cannot write " + Quoted(temp) + " (disk full?)"};
    }
  }
  if (finish) {
    fs::path finished = output;
    finished += ".signed.tmp";
    Status status = finish(temp, finished);
    fs::remove(temp, ec);
    if (!status.ok()) {
      fs::remove(finished, ec);
      return status;
    }
    temp = finished;
  }
  fs::rename(temp, output, ec);
  if (ec) {
    const std::string reason = ec.message();
    fs::remove(temp, ec);
    return Failure{"cannot replace " + Quoted(output) + ": " + reason};
  }
  return Ok();
}

}  // namespace

Result<std::vector<PayloadFile>> CollectPayloadFiles(const std::filesystem::path& folder) {
  const std::string what = "files folder " + Quoted(folder);
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (ec || !fs::exists(status)) return Failure{"cannot read " + what + ": it does not exist"};
  if (!fs::is_directory(status)) return Failure{"cannot read " + what + ": it is not a folder"};

  std::vector<PayloadFile> files;
  std::map<std::u16string, fs::path> seen;  // resource name → the file that has it
  try {
    fs::recursive_directory_iterator it(folder, ec);
    for (;;) {
      if (ec) return Failure{"cannot read " + what + ": " + ec.message()};
      if (it == fs::recursive_directory_iterator()) break;
      const fs::directory_entry& entry = *it;
      const fs::path relative = entry.path().lexically_relative(folder);
      const fs::file_status own = entry.symlink_status(ec);
      if (ec) return Failure{"cannot read " + Quoted(entry.path()) + ": " + ec.message()};
      if (!fs::is_directory(own)) {
        // A link to a file counts as that file; a link to a folder could loop.
        const fs::file_status target = entry.status(ec);
        if (ec || !fs::is_regular_file(target))
          return Failure{Quoted(entry.path()) +
                         " is neither a file nor a folder (a link to a folder, a broken link or a device)"};
        auto name = PayloadNameOf(relative);
        if (!name.ok()) return name.failure();
        std::u16string resourceName = ResourceNameOf(name.value());
        auto [where, added] = seen.emplace(resourceName, relative);
        if (!added)
          return Failure{"files " + Quoted(where->second) + " and " + Quoted(relative) +
                         " would have the same name in the setup (names are stored in upper case)"};
        files.push_back({UpperCase(name.value()), entry.path()});
      }
      it.increment(ec);
    }
  } catch (const std::exception& e) {
    // Windows names that are not valid UTF-16 cannot be converted to UTF-8.
    return Failure{"cannot read " + what + ": " + e.what()};
  }
  std::sort(files.begin(), files.end(),
            [](const PayloadFile& a, const PayloadFile& b) { return ResourceNameOf(a.name) < ResourceNameOf(b.name); });
  return files;
}

std::string CompressPayload(std::string bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string buffer(size, '\0');
  const int status =
      compress2(reinterpret_cast<Bytef*>(buffer.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                static_cast<uLong>(bytes.size()), Z_DEFAULT_COMPRESSION);
  if (status != Z_OK) throw std::bad_alloc();  // with a compressBound buffer only memory can run out
  std::string().swap(bytes);
  return buffer.substr(0, size);
}

Result<PackReport> Pack(const PackOptions& options) {
  // Everything that can be refused is checked before the slow part.
  auto descriptor = ReadWholeFile(options.descriptor, kInflateCeiling, "descriptor");
  if (!descriptor.ok()) return descriptor.failure();
  if (DescriptorValue(descriptor.value(), "PRODUCT").empty())
    return Failure{"descriptor " + Quoted(options.descriptor) + " has no PRODUCT value"};

  auto files = CollectPayloadFiles(options.files);
  if (!files.ok()) return files.failure();
  // The setup refuses to run without a payload besides the descriptor.
  if (files.value().empty()) return Failure{"files folder " + Quoted(options.files) + " holds no files"};
  for (const PayloadFile& file : files.value())
    if (file.name == kDescriptorName)
      return Failure{Quoted(file.path) + " would collide with the descriptor, which is stored as " +
                     std::string(kDescriptorName) + "; remove it from the files folder"};
  if (IsInside(options.output, options.files))
    return Failure{"output " + Quoted(options.output) + " lies inside the files folder"};

  auto stub = ReadWholeFile(options.stub, 0xFFFFFFFFu, "stub");
  if (!stub.ok()) return stub.failure();
  const std::string stubName = "stub " + Quoted(options.stub);
  auto image = ParsePeImage(stub.value());
  if (!image.ok()) return Failure{stubName + ": " + image.error()};
  auto tree = ReadResources(stub.value(), image.value());
  if (!tree.ok()) return Failure{stubName + ": " + tree.error()};

  NameTable& rcdata = tree.value()[ResourceId::Number(kRtRcdata)];
  for (const auto& [name, languages] : rcdata)
    if (name.IsName() && HasPayloadPrefix(name.name()))
      return Failure{stubName + " already holds the payload resource " + name.Describe() +
                     "; pack the setup program as it was built"};

  PackReport report;
  auto add = [&](const std::string& name, std::string bytes) {
    const std::uint64_t size = bytes.size();
    ResourceData data{CompressPayload(std::move(bytes)), 0};
    report.entries.push_back({name, size, data.bytes.size()});
    // Language neutral: the loader tries it for every lookup without a
    // language, whatever the user's language is.
    rcdata[ResourceId::Name(ResourceNameOf(name))][0] = std::move(data);
  };
  add(std::string(kDescriptorName), descriptor.value());
  for (const PayloadFile& file : files.value()) {
    auto bytes = ReadWholeFile(file.path, kInflateCeiling, "file");
    if (!bytes.ok()) return bytes.failure();
    add(file.name, std::move(bytes.value()));
  }

  auto replaced = ReplaceResources(stub.value(), image.value(), tree.value());
  if (!replaced.ok()) return Failure{stubName + ": " + replaced.error()};
  if (auto written = WriteFileAtomically(options.output, replaced.value().image, options.finish); !written.ok())
    return written.failure();

  std::sort(report.entries.begin(), report.entries.end(),
            [](const PackedEntry& a, const PackedEntry& b) { return ResourceNameOf(a.name) < ResourceNameOf(b.name); });
  report.outputSize = replaced.value().image.size();
  if (options.finish) {
    std::error_code ec;
    report.outputSize = fs::file_size(options.output, ec);
  }
  report.appendedSection = replaced.value().appendedSection;
  report.overlayBytes = replaced.value().overlayBytes;
  report.droppedSignatureBytes = replaced.value().droppedSignatureBytes;
  return report;
}

namespace {

// Consumes the tree: each stream is inflated in place of its copy.
std::vector<PayloadEntry> ListFromTree(ResourceTree& tree) {
  std::vector<PayloadEntry> entries;
  auto rcdata = tree.find(ResourceId::Number(kRtRcdata));
  if (rcdata == tree.end()) return entries;
  for (auto& [name, languages] : rcdata->second) {
    if (!name.IsName() || !HasPayloadPrefix(name.name())) continue;
    for (auto& [language, data] : languages) {
      PayloadEntry entry{Utf16ToUtf8(std::u16string_view(name.name()).substr(kPayloadPrefix.size())), language,
                         data.bytes.size(), std::nullopt};
      std::string bytes = std::move(data.bytes);
      if (InflateData(bytes)) entry.size = bytes.size();
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

}  // namespace

Result<std::vector<PayloadEntry>> ListPayload(std::string_view bytes) {
  auto image = ParsePeImage(bytes);
  if (!image.ok()) return image.failure();
  auto tree = ReadResources(bytes, image.value());
  if (!tree.ok()) return tree.failure();
  return ListFromTree(tree.value());
}

Result<std::vector<PayloadEntry>> ListPayloadFile(const std::filesystem::path& path) {
  auto bytes = ReadWholeFile(path, 0xFFFFFFFFu, "setup");
  if (!bytes.ok()) return bytes.failure();
  const std::string what = "setup " + Quoted(path) + ": ";
  auto image = ParsePeImage(bytes.value());
  if (!image.ok()) return Failure{what + image.error()};
  auto tree = ReadResources(bytes.value(), image.value());
  if (!tree.ok()) return Failure{what + tree.error()};
  std::string().swap(bytes.value());  // the tree holds copies of what is needed
  return ListFromTree(tree.value());
}

}  // namespace orvalis::pack
