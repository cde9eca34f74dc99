// Arbitrary bytes read as a resource directory (data addresses count from the
// start of the same bytes): whatever is accepted is laid out again, and the
// new section reads back as the same tree and lays out to the same bytes.
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_tree_compare.h"
#include "tools/pack/resource_tree.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis::pack;

namespace {

ResourceDataReader ReaderFor(std::string_view section, std::uint32_t sectionRva) {
  return [section, sectionRva](std::uint32_t rva, std::uint32_t size) -> Result<std::string_view> {
    if (rva < sectionRva || std::uint64_t{rva - sectionRva} + size > section.size())
      return Failure{"data outside the section"};
    return section.substr(rva - sectionRva, size);
  };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto tree = ParseResourceDirectory(bytes, ReaderFor(bytes, 0));
  if (!tree.ok()) {
    FUZZ_CHECK(!tree.error().empty());
    return 0;
  }
  // Every accepted resource's bytes are a piece of the input.
  for (const auto& [type, names] : tree.value())
    for (const auto& [name, languages] : names)
      for (const auto& [language, resource] : languages)
        FUZZ_CHECK(bytes.find(resource.bytes) != std::string_view::npos);

  const std::uint32_t rva = 0x5000 + (size > 0 ? data[0] : 0) * 0x1000u;
  auto layout = LayoutResourceSection(tree.value(), rva);
  FUZZ_CHECK(layout.ok());
  const std::string section = layout.value().Join();
  FUZZ_CHECK(section.size() == layout.value().size);
  FUZZ_CHECK(layout.value().head.size() <= section.size());
  for (const auto& chunk : layout.value().chunks) FUZZ_CHECK(chunk.offset % 8 == 0);

  auto again = ParseResourceDirectory(section, ReaderFor(section, rva));
  if (!again.ok()) std::fprintf(stderr, "%s\n", again.error().c_str());
  FUZZ_CHECK(again.ok());
  FUZZ_CHECK(SameTree(tree.value(), again.value()));
  auto relaid = LayoutResourceSection(again.value(), rva);
  FUZZ_CHECK(relaid.ok() && relaid.value().Join() == section);
  return 0;
}
