// Windows executable images (PE32 and PE32+) as far as the packer needs them:
// the headers, the resource directory, the header checksum, and a copy of an
// image whose resources are replaced.
#pragma once

#include "tools/pack/resource_tree.h"
#include "tools/pack/result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::pack {

struct SectionHeader {
  std::string name;  // up to 8 bytes; long names stay as their "/n" string-table reference
  std::uint32_t virtualSize = 0;
  std::uint32_t virtualAddress = 0;
  std::uint32_t sizeOfRawData = 0;
  std::uint32_t pointerToRawData = 0;
  std::uint32_t characteristics = 0;

  // First address past the section in memory (VirtualSize 0 means SizeOfRawData).
  [[nodiscard]] std::uint64_t VirtualEnd() const;
};

struct DataDirectory {
  std::uint32_t address = 0;  // an RVA; a file offset for the certificate table
  std::uint32_t size = 0;
};

inline constexpr std::size_t kResourceDirectory = 2;
inline constexpr std::size_t kCertificateDirectory = 4;
inline constexpr std::size_t kDebugDirectory = 6;

inline constexpr std::uint32_t kSectionInitializedData = 0x00000040;
inline constexpr std::uint32_t kSectionRead = 0x40000000;

struct PeImage {
  bool pe32Plus = false;
  std::uint16_t machine = 0;
  std::uint32_t timeDateStamp = 0;
  std::uint32_t pointerToSymbolTable = 0;
  std::uint32_t numberOfSymbols = 0;
  std::uint32_t fileHeaderOffset = 0;  // the COFF header, after "PE\0\0"
  std::uint32_t optionalHeaderOffset = 0;
  std::uint32_t sectionTableOffset = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t fileAlignment = 0;
  std::uint32_t sizeOfInitializedData = 0;
  std::uint32_t sizeOfImage = 0;
  std::uint32_t sizeOfHeaders = 0;
  std::uint32_t checkSum = 0;
  std::vector<DataDirectory> directories;  // as many as the header declares, at most 16
  std::vector<SectionHeader> sections;
  std::uint64_t fileSize = 0;

  [[nodiscard]] std::uint32_t CheckSumOffset() const { return optionalHeaderOffset + 64; }
  [[nodiscard]] DataDirectory Directory(std::size_t index) const;
  // The section whose memory range holds `rva`.
  [[nodiscard]] std::optional<std::size_t> SectionAt(std::uint32_t rva) const;
  // The file offset of `size` bytes at `rva`, when one section's file data holds them all.
  [[nodiscard]] std::optional<std::uint64_t> FileOffsetOf(std::uint32_t rva, std::uint32_t size) const;
  // The end of the headers and of every section's file data; what follows is overlay.
  [[nodiscard]] std::uint64_t SectionDataEnd() const;
};

// Reads and checks the headers; never reads outside `file`. Fails with a
// message for anything that is not a well-formed image with page-aligned
// sections.
[[nodiscard]] Result<PeImage> ParsePeImage(std::string_view file);

// The image's resources; an empty tree when it has none.
[[nodiscard]] Result<ResourceTree> ReadResources(std::string_view file, const PeImage& image);

// The header checksum as imagehlp's CheckSumMappedFile computes it: the 16-bit
// one's complement sum of the file's little-endian words, with the checksum
// field counting as zero, plus the file length. Takes the file in pieces.
class PeChecksum {
 public:
  explicit PeChecksum(std::uint64_t checksumOffset) : checksumOffset_(checksumOffset) {}
  void Add(std::string_view bytes);
  [[nodiscard]] std::uint32_t Value() const;

 private:
  void Sum(const unsigned char* bytes, std::size_t count);

  std::uint64_t checksumOffset_;
  std::uint64_t length_ = 0;
  std::uint64_t sum_ = 0;
};

[[nodiscard]] std::uint32_t ComputePeChecksum(std::string_view file, std::uint32_t checksumOffset);

// A file made of consecutive pieces: buffers it owns and views of buffers
// that must outlive it (the stub, the resource data).
class ImageParts {
 public:
  // The owned buffer may still be changed in place; its size may not.
  std::string& AddOwned(std::string bytes);
  void AddView(std::string_view bytes);
  void AddZeros(std::uint64_t count);

  [[nodiscard]] const std::vector<std::string_view>& parts() const { return parts_; }
  [[nodiscard]] std::uint64_t size() const { return size_; }
  [[nodiscard]] std::string Join() const;

 private:
  std::vector<std::unique_ptr<std::string>> owned_;
  std::vector<std::string_view> parts_;
  std::uint64_t size_ = 0;
};

struct ResourceReplacement {
  ImageParts image;
  // False when the old resource section was the last one and was rebuilt
  // where it stood; true when a new section was added after the last one.
  bool appendedSection = false;
  std::uint32_t resourceRva = 0;
  std::uint32_t resourceSize = 0;
  std::uint64_t overlayBytes = 0;  // kept, moved behind the new section data
  std::uint64_t droppedSignatureBytes = 0;
  std::uint32_t checkSum = 0;
};

// `stub` with its resources replaced by `tree`. Every other byte of the
// sections is kept; the headers get the new section, SizeOfImage,
// SizeOfInitializedData and the resource directory. A certificate table is
// dropped from the header (the signature would not match any more), and its
// bytes too when they end the file. Bytes after the last section (overlay,
// such as the COFF symbol table of an unstripped MinGW build) move behind the
// new section data, with PointerToSymbolTable and debug-directory file
// pointers following them. The result views `stub` and `tree`.
[[nodiscard]] Result<ResourceReplacement> ReplaceResources(std::string_view stub, const PeImage& image,
                                                           const ResourceTree& tree);

}  // namespace orvalis::pack
