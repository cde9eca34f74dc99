// Small but complete Windows images built in memory, so the packer's tests
// need neither a Windows build nor committed binaries. Everything here is
// written independently of the code under test.
#pragma once

#include "tools/pack/resource_tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::pack::testing {

struct TestResource {
  ResourceId type;
  ResourceId name;
  std::uint16_t language = 0;
  std::uint32_t codePage = 0;
  std::string data;
};

// A manifest, version information, a named RT_RCDATA form and a resource of a
// named type in a language other than neutral, in directory order.
std::vector<TestResource> StandardResources();

struct TestImageOptions {
  bool pe32Plus = true;
  std::vector<TestResource> resources;  // none: the image has no resource directory
  bool resourcesLast = false;           // no .reloc section after .rsrc
  std::string overlay;                  // after the sections, announced as the COFF symbol table
  std::string certificate;              // ends the file, named by the certificate directory
};

// The image, with a correct header checksum. Sections: .text (which holds a
// debug directory entry pointing 16 bytes into the overlay, if any), .bss
// without file data, .rsrc, .reloc.
std::string MakeTestImage(const TestImageOptions& options);

// A resource directory with its data for resources given in directory order,
// laid out depth first (unlike the packer), for a section at `rva`.
std::string EncodeResourceDirectory(const std::vector<TestResource>& resources, std::uint32_t rva);

// The header checksum summed in 32-bit steps, the way Python's pefile computes it.
std::uint32_t ReferenceChecksum(std::string_view file, std::size_t checksumOffset);

// Little-endian fields, for tests that inspect headers.
std::uint32_t Read32(std::string_view bytes, std::size_t at);
std::uint16_t Read16(std::string_view bytes, std::size_t at);
void Write32(std::string& bytes, std::size_t at, std::uint32_t value);

// Offsets in images made by MakeTestImage.
inline constexpr std::size_t kPeOffset = 0x80;
inline constexpr std::size_t kOptionalHeader = kPeOffset + 24;
std::size_t DirectoriesOffset(bool pe32Plus);
std::size_t SectionTableOffset(bool pe32Plus);

}  // namespace orvalis::pack::testing
