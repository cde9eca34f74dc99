// Building a setup: the product's files and its descriptor become compressed
// payload resources in a copy of the setup program; and listing what a built
// setup carries.
#pragma once

#include "tools/pack/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::pack {

inline constexpr std::string_view kPayloadPrefix = "FILE:";
inline constexpr std::string_view kDescriptorName = "DISK.ID";

// Paths from and to UTF-8 text, so names outside ASCII reach the wide file
// API on Windows instead of the ANSI code page.
[[nodiscard]] std::filesystem::path PathFromUtf8(std::string_view text);
[[nodiscard]] std::string PathToUtf8(const std::filesystem::path& path);

struct PayloadFile {
  std::string name;  // as stored: upper case, "\" between folders, without the prefix
  std::filesystem::path path;
};

// Every regular file under `folder` (links to files are followed), named as the
// setup will install it, in resource directory order. Fails on a name that is
// not UTF-8, holds a "\", would leave the install folder or is a device name;
// on two names equal once upper-cased; on an entry that is neither a file nor
// a folder (links to folders are refused rather than followed); and when a
// folder cannot be read.
[[nodiscard]] Result<std::vector<PayloadFile>> CollectPayloadFiles(const std::filesystem::path& folder);

// One zlib stream holding `bytes`, as compress2 makes it at the default level.
// Takes the bytes over so they are freed before the stream is cut to size.
[[nodiscard]] std::string CompressPayload(std::string bytes);

// Turns the written setup `input` into the new file `output` (signing it), or
// fails and leaves no `output`.
using FinishStep = std::function<Status(const std::filesystem::path& input, const std::filesystem::path& output)>;

struct PackOptions {
  std::filesystem::path stub;
  std::filesystem::path descriptor;
  std::filesystem::path files;
  std::filesystem::path output;
  FinishStep finish;  // none: the setup as packed, the same bytes for the same inputs
};

struct PackedEntry {
  std::string name;  // payload name, without the prefix
  std::uint64_t size = 0;
  std::uint64_t compressedSize = 0;
};

struct PackReport {
  std::vector<PackedEntry> entries;  // resource directory order, the descriptor included
  std::uint64_t outputSize = 0;  // after the finish step
  bool appendedSection = false;
  std::uint64_t overlayBytes = 0;
  std::uint64_t droppedSignatureBytes = 0;
};

// Writes options.output: the stub with every file under options.files and the
// descriptor added as RT_RCDATA resources "FILE:" + name, language neutral,
// each one zlib stream. All inputs are checked before anything is compressed;
// the output is written to a temporary file beside it and renamed at the end,
// so a failure leaves no output behind; `finish` runs between the two, on
// temporary files too. Files are read and compressed one at a
// time; the compressed streams are held until the output is written.
[[nodiscard]] Result<PackReport> Pack(const PackOptions& options);

struct PayloadEntry {
  std::string name;  // after the prefix, as stored
  std::uint16_t language = 0;
  std::uint64_t compressedSize = 0;
  std::optional<std::uint64_t> size;  // inflated; none when the stream is damaged
};

// The payload resources of an image, in resource directory order, each one
// inflated to check it.
[[nodiscard]] Result<std::vector<PayloadEntry>> ListPayload(std::string_view image);
[[nodiscard]] Result<std::vector<PayloadEntry>> ListPayloadFile(const std::filesystem::path& path);

}  // namespace orvalis::pack
