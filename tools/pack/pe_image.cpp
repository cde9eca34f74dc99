// PE header parsing, resource section replacement and the header checksum.
// Layout reference: https://learn.microsoft.com/windows/win32/debug/pe-format
#include "tools/pack/pe_image.h"

#include "tools/pack/bytes.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace orvalis::pack {

namespace {

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kDebugEntrySize = 28;  // IMAGE_DEBUG_DIRECTORY
constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint32_t kMaxDirectories = 16;
constexpr std::uint64_t kPageSize = 0x1000;
// The resource section's name, and what an older one is renamed to when a new
// one is added, so tools that look sections up by name find the live one.
constexpr std::string_view kResourceSectionName = ".rsrc";
constexpr std::string_view kOldResourceSectionName = ".oldrsrc";

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

bool IsPowerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

std::string SectionName(std::string_view raw) { return std::string(raw.substr(0, raw.find('\0'))); }

void PutSectionName(std::string& bytes, std::size_t at, std::string_view name) {
  for (std::size_t i = 0; i < 8; ++i) bytes[at + i] = i < name.size() ? name[i] : '\0';
}

void PutSection(std::string& bytes, std::size_t at, const SectionHeader& section) {
  PutSectionName(bytes, at, section.name);
  Put32(bytes, at + 8, section.virtualSize);
  Put32(bytes, at + 12, section.virtualAddress);
  Put32(bytes, at + 16, section.sizeOfRawData);
  Put32(bytes, at + 20, section.pointerToRawData);
  Put32(bytes, at + 36, section.characteristics);
}

}  // namespace

std::uint64_t SectionHeader::VirtualEnd() const {
  return std::uint64_t{virtualAddress} + (virtualSize != 0 ? virtualSize : sizeOfRawData);
}

DataDirectory PeImage::Directory(std::size_t index) const {
  return index < directories.size() ? directories[index] : DataDirectory{};
}

std::optional<std::size_t> PeImage::SectionAt(std::uint32_t rva) const {
  for (std::size_t i = 0; i < sections.size(); ++i)
    if (rva >= sections[i].virtualAddress && rva < sections[i].VirtualEnd()) return i;
  return std::nullopt;
}

std::optional<std::uint64_t> PeImage::FileOffsetOf(std::uint32_t rva, std::uint32_t size) const {
  for (const SectionHeader& s : sections) {
    // Only the part of the raw data that is also inside the section's memory
    // range is loaded; the rest of memory is zero-filled, not read from the file.
    std::uint64_t loaded = s.virtualSize != 0 ? std::min(s.virtualSize, s.sizeOfRawData) : s.sizeOfRawData;
    // Without file data the section's file pointer means nothing and may lie
    // anywhere, even past the end of the file.
    if (loaded == 0) continue;
    if (rva >= s.virtualAddress && std::uint64_t{rva} + size <= s.virtualAddress + loaded)
      return std::uint64_t{s.pointerToRawData} + (rva - s.virtualAddress);
  }
  return std::nullopt;
}

std::uint64_t PeImage::SectionDataEnd() const {
  std::uint64_t end = sizeOfHeaders;
  for (const SectionHeader& s : sections)
    if (s.sizeOfRawData != 0) end = std::max(end, std::uint64_t{s.pointerToRawData} + s.sizeOfRawData);
  return end;
}

Result<PeImage> ParsePeImage(std::string_view file) {
  PeImage image;
  image.fileSize = file.size();
  if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z') return Failure{"not a Windows executable (no MZ header)"};
  const std::uint64_t pe = Get32(file, 0x3C);
  if (pe + 24 > file.size()) return Failure{"not a Windows executable (PE header outside the file)"};
  if (file.substr(pe, 4) != std::string_view("PE\0\0", 4)) return Failure{"not a Windows executable (no PE signature)"};

  image.fileHeaderOffset = static_cast<std::uint32_t>(pe + 4);
  const std::uint32_t coff = image.fileHeaderOffset;
  image.machine = Get16(file, coff);
  const std::uint16_t sectionCount = Get16(file, coff + 2);
  image.timeDateStamp = Get32(file, coff + 4);
  image.pointerToSymbolTable = Get32(file, coff + 8);
  image.numberOfSymbols = Get32(file, coff + 12);
  const std::uint16_t optionalSize = Get16(file, coff + 16);
  if (!(Get16(file, coff + 18) & kExecutableImage)) return Failure{"not an executable image (an object file?)"};

  image.optionalHeaderOffset = coff + 20;
  const std::uint32_t opt = image.optionalHeaderOffset;
  if (std::uint64_t{opt} + optionalSize > file.size() || optionalSize < 2)
    return Failure{"truncated image: optional header outside the file"};
  const std::uint16_t magic = Get16(file, opt);
  if (magic != 0x10B && magic != 0x20B) return Failure{"unknown optional header magic " + Hex(magic)};
  image.pe32Plus = magic == 0x20B;
  const std::uint32_t fixedSize = image.pe32Plus ? 112 : 96;  // up to and including NumberOfRvaAndSizes
  if (optionalSize < fixedSize) return Failure{"malformed image: optional header too short"};
  image.sizeOfInitializedData = Get32(file, opt + 8);
  image.sectionAlignment = Get32(file, opt + 32);
  image.fileAlignment = Get32(file, opt + 36);
  image.sizeOfImage = Get32(file, opt + 56);
  image.sizeOfHeaders = Get32(file, opt + 60);
  image.checkSum = Get32(file, opt + 64);
  const std::uint32_t declared = Get32(file, opt + fixedSize - 4);
  const std::uint32_t directoryCount = std::min({declared, kMaxDirectories, (optionalSize - fixedSize) / 8u});
  for (std::uint32_t i = 0; i < directoryCount; ++i)
    image.directories.push_back({Get32(file, opt + fixedSize + 8 * i), Get32(file, opt + fixedSize + 8 * i + 4)});

  if (!IsPowerOfTwo(image.fileAlignment) || image.fileAlignment < 512 || image.fileAlignment > 0x10000)
    return Failure{"unsupported file alignment " + Hex(image.fileAlignment)};
  if (!IsPowerOfTwo(image.sectionAlignment) || image.sectionAlignment < 0x1000)
    return Failure{"unsupported section alignment " + Hex(image.sectionAlignment)};

  image.sectionTableOffset = opt + optionalSize;
  const std::uint64_t tableEnd = image.sectionTableOffset + std::uint64_t{kSectionHeaderSize} * sectionCount;
  if (tableEnd > file.size()) return Failure{"truncated image: section table outside the file"};
  if (image.sizeOfHeaders > file.size() || image.sizeOfHeaders < tableEnd)
    return Failure{"malformed image: SizeOfHeaders " + Hex(image.sizeOfHeaders) + " does not cover the headers"};

  std::uint64_t previousEnd = 0;
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    const std::size_t at = image.sectionTableOffset + kSectionHeaderSize * i;
    SectionHeader s;
    s.name = SectionName(file.substr(at, 8));
    s.virtualSize = Get32(file, at + 8);
    s.virtualAddress = Get32(file, at + 12);
    s.sizeOfRawData = Get32(file, at + 16);
    s.pointerToRawData = Get32(file, at + 20);
    s.characteristics = Get32(file, at + 36);
    if (s.sizeOfRawData != 0 && std::uint64_t{s.pointerToRawData} + s.sizeOfRawData > file.size())
      return Failure{"truncated image: section " + s.name + " ends past the end of the file"};
    if (s.virtualAddress < previousEnd || s.VirtualEnd() > 0xFFFFFFFFull)
      return Failure{"malformed image: section " + s.name + " overlaps the one before it"};
    previousEnd = s.VirtualEnd();
    image.sections.push_back(std::move(s));
  }
  return image;
}

Result<ResourceTree> ReadResources(std::string_view file, const PeImage& image) {
  const DataDirectory directory = image.Directory(kResourceDirectory);
  if (directory.address == 0) return ResourceTree{};
  const auto index = image.SectionAt(directory.address);
  const auto start = image.FileOffsetOf(directory.address, 0);
  if (!index || !start) return Failure{"resource directory " + Hex(directory.address) + " lies outside the sections"};
  const SectionHeader& section = image.sections[*index];
  const std::uint64_t loaded =
      section.virtualSize != 0 ? std::min(section.virtualSize, section.sizeOfRawData) : section.sizeOfRawData;
  const std::uint64_t end = std::uint64_t{section.pointerToRawData} + loaded;
  // Real resources never overlap, so together they cannot exceed the file;
  // more than that means entries that point at the same bytes again and again.
  std::uint64_t total = 0;
  auto readData = [&](std::uint32_t rva, std::uint32_t size) -> Result<std::string_view> {
    auto offset = image.FileOffsetOf(rva, size);
    if (!offset) return Failure{"data at " + Hex(rva) + " (" + std::to_string(size) + " bytes) lies outside the file"};
    total += size;
    if (total > file.size()) return Failure{"resource data entries overlap"};
    return file.substr(*offset, size);
  };
  auto tree = ParseResourceDirectory(file.substr(*start, end - *start), readData);
  if (!tree.ok()) return Failure{"malformed resource directory: " + tree.error()};
  return tree;
}

void PeChecksum::Sum(const unsigned char* bytes, std::size_t count) {
  std::size_t i = 0;
  std::uint64_t sum = sum_;
  if (count != 0 && (length_ & 1)) sum += std::uint64_t{bytes[i++]} << 8;
  for (; i + 1 < count; i += 2) sum += bytes[i] | (std::uint64_t{bytes[i + 1]} << 8);
  if (i < count) sum += bytes[i];
  sum_ = sum;
  length_ += count;
}

void PeChecksum::Add(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t count = bytes.size();
  // The checksum field itself counts as zero.
  static constexpr unsigned char kZero[4] = {};
  while (count != 0) {
    if (length_ >= checksumOffset_ && length_ < checksumOffset_ + 4) {
      std::size_t n = std::min<std::uint64_t>(count, checksumOffset_ + 4 - length_);
      Sum(kZero, n);
      data += n;
      count -= n;
    } else {
      std::size_t n = length_ < checksumOffset_ ? std::min<std::uint64_t>(count, checksumOffset_ - length_) : count;
      Sum(data, n);
      data += n;
      count -= n;
    }
  }
}

std::uint32_t PeChecksum::Value() const {
  std::uint64_t sum = sum_;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + length_);
}

std::uint32_t ComputePeChecksum(std::string_view file, std::uint32_t checksumOffset) {
  PeChecksum checksum(checksumOffset);
  checksum.Add(file);
  return checksum.Value();
}

std::string& ImageParts::AddOwned(std::string bytes) {
  owned_.push_back(std::make_unique<std::string>(std::move(bytes)));
  AddView(*owned_.back());
  return *owned_.back();
}

void ImageParts::AddView(std::string_view bytes) {
  if (bytes.empty()) return;
  parts_.push_back(bytes);
  size_ += bytes.size();
}

void ImageParts::AddZeros(std::uint64_t count) {
  static const std::array<char, 0x10000> kZeros{};
  while (count != 0) {
    std::size_t n = std::min<std::uint64_t>(count, kZeros.size());
    AddView(std::string_view(kZeros.data(), n));
    count -= n;
  }
}

std::string ImageParts::Join() const {
  std::string file;
  file.reserve(size_);
  for (std::string_view part : parts_) file.append(part);
  return file;
}

namespace {

// Whether the section holding the resource directory can simply be rebuilt
// larger where it stands: it holds nothing but the directory (no other data
// directory points into it), and it is the last section both in memory and in
// the file, so growing it moves nothing else.
bool CanRebuildInPlace(const PeImage& image, std::size_t index) {
  const SectionHeader& s = image.sections[index];
  if (s.virtualAddress != image.Directory(kResourceDirectory).address || s.sizeOfRawData == 0) return false;
  if (s.pointerToRawData < image.sizeOfHeaders) return false;
  if (index + 1 != image.sections.size()) return false;
  for (std::size_t i = 0; i < image.sections.size(); ++i) {
    const SectionHeader& other = image.sections[i];
    const std::uint64_t otherEnd = std::uint64_t{other.pointerToRawData} + other.sizeOfRawData;
    if (i != index && other.sizeOfRawData != 0 && otherEnd > s.pointerToRawData) return false;
  }
  for (std::size_t d = 0; d < image.directories.size(); ++d) {
    if (d == kResourceDirectory || d == kCertificateDirectory || image.directories[d].address == 0) continue;
    if (image.directories[d].address >= s.virtualAddress && image.directories[d].address < s.VirtualEnd()) return false;
  }
  return true;
}

}  // namespace

Result<ResourceReplacement> ReplaceResources(std::string_view stub, const PeImage& image, const ResourceTree& tree) {
  if (image.directories.size() <= kResourceDirectory)
    return Failure{"the image header has no entry for a resource directory"};
  if (image.fileSize != stub.size()) return Failure{"image headers do not belong to this file"};

  const std::uint64_t sectionDataEnd = image.SectionDataEnd();
  std::uint64_t virtualEnd = AlignUp(image.sizeOfHeaders, image.sectionAlignment);
  for (const SectionHeader& s : image.sections) virtualEnd = std::max(virtualEnd, s.VirtualEnd());

  const DataDirectory oldDirectory = image.Directory(kResourceDirectory);
  // The section that holds the old directory, if any (else the section count).
  const std::size_t oldSection = oldDirectory.address != 0
                                     ? image.SectionAt(oldDirectory.address).value_or(image.sections.size())
                                     : image.sections.size();
  const bool hasOldSection = oldSection < image.sections.size();
  const bool inPlace = hasOldSection && CanRebuildInPlace(image, oldSection);

  std::vector<SectionHeader> sections = image.sections;
  SectionHeader resourceSection;
  std::uint64_t keepEnd;  // stub bytes kept from the start of the file
  std::uint64_t oldRawSize = 0;
  // The resources start on a page of the file: Wine maps a section whose
  // file offset is page-aligned straight from the file, and reads any other
  // into fresh memory when the image loads (for a setup: its whole payload,
  // before the first file is written).
  const std::uint64_t rawAlignment = std::max<std::uint64_t>(image.fileAlignment, kPageSize);
  if (inPlace) {
    resourceSection = sections[oldSection];
    oldRawSize = resourceSection.sizeOfRawData;
    keepEnd = resourceSection.pointerToRawData;
    resourceSection.pointerToRawData = static_cast<std::uint32_t>(AlignUp(keepEnd, rawAlignment));
  } else {
    const std::uint64_t headerAt = image.sectionTableOffset + kSectionHeaderSize * sections.size();
    std::uint64_t firstRaw = stub.size();
    for (const SectionHeader& s : sections)
      if (s.sizeOfRawData != 0) firstRaw = std::min<std::uint64_t>(firstRaw, s.pointerToRawData);
    const std::uint64_t headerEnd = headerAt + kSectionHeaderSize;
    if (sections.size() >= 0xFFFF || headerEnd > image.sizeOfHeaders || headerEnd > firstRaw ||
        stub.substr(headerAt, kSectionHeaderSize).find_first_not_of('\0') != std::string_view::npos)
      return Failure{"no room for another section header in the image headers"};
    resourceSection.name = kResourceSectionName;
    resourceSection.virtualAddress = static_cast<std::uint32_t>(AlignUp(virtualEnd, image.sectionAlignment));
    resourceSection.pointerToRawData = static_cast<std::uint32_t>(AlignUp(sectionDataEnd, rawAlignment));
    resourceSection.characteristics = kSectionInitializedData | kSectionRead;
    keepEnd = sectionDataEnd;
    if (hasOldSection && sections[oldSection].name == kResourceSectionName &&
        sections[oldSection].virtualAddress == oldDirectory.address)
      sections[oldSection].name = kOldResourceSectionName;
  }
  if (AlignUp(virtualEnd, image.sectionAlignment) > 0xFFFFFFFFull ||
      AlignUp(sectionDataEnd, rawAlignment) > 0xFFFFFFFFull)
    return Failure{"image too large to add resources to"};

  auto layout = LayoutResourceSection(tree, resourceSection.virtualAddress);
  if (!layout.ok()) return layout.failure();
  const std::uint64_t rawSize = AlignUp(layout.value().size, image.fileAlignment);
  resourceSection.virtualSize = layout.value().size;
  resourceSection.sizeOfRawData = static_cast<std::uint32_t>(rawSize);

  // Overlay: everything after the sections, minus a certificate table that ends the file.
  ResourceReplacement result;
  const DataDirectory certificate = image.Directory(kCertificateDirectory);
  std::uint64_t overlayEnd = stub.size();
  if (certificate.size != 0 && certificate.address >= sectionDataEnd && certificate.address <= stub.size() &&
      std::uint64_t{certificate.address} + certificate.size >= stub.size()) {
    overlayEnd = certificate.address;
    result.droppedSignatureBytes = stub.size() - certificate.address;
  }
  const std::uint64_t overlayStart = std::min(sectionDataEnd, overlayEnd);
  const std::uint64_t newOverlayStart = std::uint64_t{resourceSection.pointerToRawData} + rawSize;
  const std::uint64_t newFileSize = newOverlayStart + (overlayEnd - overlayStart);
  std::uint64_t imageEnd = resourceSection.VirtualEnd();
  for (const SectionHeader& s : sections) imageEnd = std::max(imageEnd, s.VirtualEnd());
  imageEnd = AlignUp(imageEnd, image.sectionAlignment);
  if (newFileSize > 0xFFFFFFFFull || imageEnd > 0xFFFFFFFFull)
    return Failure{"resources too large for a Windows executable"};
  // A file offset that pointed into the overlay follows it.
  auto moved = [&](std::uint32_t offset) -> std::uint32_t {
    if (offset < overlayStart || offset >= overlayEnd) return offset;
    return static_cast<std::uint32_t>(offset - overlayStart + newOverlayStart);
  };

  if (inPlace)
    sections[oldSection] = resourceSection;
  else
    sections.push_back(resourceSection);

  std::string& head = result.image.AddOwned(std::string(stub.substr(0, keepEnd)));
  const std::uint32_t coff = image.fileHeaderOffset;
  const std::uint32_t opt = image.optionalHeaderOffset;
  const std::uint32_t directories = opt + (image.pe32Plus ? 112 : 96);
  Put16(head, coff + 2, static_cast<std::uint16_t>(sections.size()));
  if (image.pointerToSymbolTable != 0) {
    // A symbol table in the rebuilt section or in the dropped signature is gone.
    const std::uint32_t symbols = image.pointerToSymbolTable;
    const bool kept = symbols < keepEnd || (symbols >= overlayStart && symbols < overlayEnd);
    Put32(head, coff + 8, kept ? moved(symbols) : 0);
    if (!kept) Put32(head, coff + 12, 0);
  }
  const std::int64_t initialized =
      std::int64_t{image.sizeOfInitializedData} + std::int64_t(rawSize) - std::int64_t(oldRawSize);
  Put32(head, opt + 8, static_cast<std::uint32_t>(std::clamp<std::int64_t>(initialized, 0, 0xFFFFFFFF)));
  Put32(head, opt + 56, static_cast<std::uint32_t>(imageEnd));
  Put32(head, directories + 8 * kResourceDirectory, resourceSection.virtualAddress);
  Put32(head, directories + 8 * kResourceDirectory + 4, layout.value().size);
  if (image.directories.size() > kCertificateDirectory) {
    Put32(head, directories + 8 * kCertificateDirectory, 0);
    Put32(head, directories + 8 * kCertificateDirectory + 4, 0);
  }
  for (std::size_t i = 0; i < sections.size(); ++i)
    PutSection(head, image.sectionTableOffset + kSectionHeaderSize * i, sections[i]);
  const DataDirectory debug = image.Directory(kDebugDirectory);
  if (auto at = image.FileOffsetOf(debug.address, debug.size); debug.address != 0 && at && *at + debug.size <= keepEnd)
    for (std::uint64_t entry = *at; entry + kDebugEntrySize <= *at + debug.size; entry += kDebugEntrySize)
      Put32(head, entry + 24, moved(Get32(head, entry + 24)));

  result.image.AddZeros(resourceSection.pointerToRawData - keepEnd);
  result.image.AddOwned(std::move(layout.value().head));
  std::uint64_t written = result.image.size() - resourceSection.pointerToRawData;
  for (const auto& chunk : layout.value().chunks) {
    result.image.AddZeros(chunk.offset - written);
    result.image.AddView(chunk.bytes);
    written = chunk.offset + chunk.bytes.size();
  }
  result.image.AddZeros(rawSize - written);
  result.image.AddView(stub.substr(overlayStart, overlayEnd - overlayStart));

  PeChecksum checksum(image.CheckSumOffset());
  for (std::string_view part : result.image.parts()) checksum.Add(part);
  result.checkSum = checksum.Value();
  Put32(head, image.CheckSumOffset(), result.checkSum);

  result.appendedSection = !inPlace;
  result.resourceRva = resourceSection.virtualAddress;
  result.resourceSize = layout.value().size;
  result.overlayBytes = overlayEnd - overlayStart;
  return result;
}

}  // namespace orvalis::pack
