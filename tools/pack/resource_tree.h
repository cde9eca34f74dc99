// The resource directory of a Windows image as a tree (type → name → language
// → data): read from the bytes a linker wrote, and laid out again after changes.
#pragma once

#include "tools/pack/result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis::pack {

inline constexpr std::uint16_t kRtRcdata = 10;

// A resource type, name or language: a string or a 16-bit number.
class ResourceId {
 public:
  [[nodiscard]] static ResourceId Number(std::uint16_t number);
  [[nodiscard]] static ResourceId Name(std::u16string name);

  [[nodiscard]] bool IsName() const { return isName_; }
  [[nodiscard]] std::uint16_t number() const { return number_; }
  [[nodiscard]] const std::u16string& name() const { return name_; }
  // "#10" for a number, the UTF-8 text for a name; for messages.
  [[nodiscard]] std::string Describe() const;

  friend bool operator==(const ResourceId&, const ResourceId&) = default;

 private:
  bool isName_ = false;
  std::uint16_t number_ = 0;
  std::u16string name_;
};

// The order the loader's binary search expects within one directory: named
// entries first, by their UTF-16 code units, then numbered entries ascending.
// Windows upper-cases the name it looks for and then compares code units
// (wcsncmp in LdrpCompareResourceNames_U), so stored names must be ordered
// ordinally; for the upper-case names resource compilers and this packer
// store, that is also the case-insensitive order.
struct ResourceOrder {
  [[nodiscard]] bool operator()(const ResourceId& a, const ResourceId& b) const;
};

struct ResourceData {
  std::string bytes;
  std::uint32_t codePage = 0;
};

using LanguageTable = std::map<std::uint16_t, ResourceData>;
using NameTable = std::map<ResourceId, LanguageTable, ResourceOrder>;
using ResourceTree = std::map<ResourceId, NameTable, ResourceOrder>;

// Gives the bytes of one resource from its data entry (an RVA and a size), or
// says why they cannot be read.
using ResourceDataReader = std::function<Result<std::string_view>(std::uint32_t rva, std::uint32_t size)>;

// Reads the directory whose bytes start `directory` (up to the end of the
// section holding it). Only the three levels Windows uses are accepted; a
// subdirectory or data entry reached twice, or two entries with the same id,
// make the directory malformed, so a hostile image cannot multiply its size.
[[nodiscard]] Result<ResourceTree> ParseResourceDirectory(std::string_view directory,
                                                          const ResourceDataReader& readData);

// A resource section laid out to start at `sectionRva`: `head` holds the
// directory tables, the data entries and the names; each resource's bytes
// follow at an 8-byte aligned offset. Chunks point into the tree, which must
// outlive the layout, so a large payload is never copied.
struct ResourceSectionLayout {
  struct Chunk {
    std::uint32_t offset = 0;
    std::string_view bytes;
  };
  std::string head;
  std::vector<Chunk> chunks;
  std::uint32_t size = 0;

  // The whole section in one string.
  [[nodiscard]] std::string Join() const;
};

// Fails when a directory would need more than 65535 entries of a kind, a name
// is longer than 65535 code units, or the section would not fit below 2 GiB
// past `sectionRva` (directory offsets keep their top bit as a flag).
[[nodiscard]] Result<ResourceSectionLayout> LayoutResourceSection(const ResourceTree& tree, std::uint32_t sectionRva);

}  // namespace orvalis::pack
