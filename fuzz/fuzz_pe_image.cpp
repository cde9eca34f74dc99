// Arbitrary bytes read as a Windows image. Whatever the reader accepts stays
// inside the file; an image whose resources read is rebuilt with them (and
// with one more payload resource), and the result reads back as a well-formed
// image with exactly those resources and a correct checksum.
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_tree_compare.h"
#include "tools/pack/pe_image.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis::pack;

namespace {

void CheckRebuilt(std::string_view stub, const PeImage& image, const ResourceTree& tree) {
  auto replaced = ReplaceResources(stub, image, tree);
  if (!replaced.ok()) {
    FUZZ_CHECK(!replaced.error().empty());
    return;
  }
  const std::string file = replaced.value().image.Join();
  FUZZ_CHECK(file.size() == replaced.value().image.size());
  auto parsed = ParsePeImage(file);
  if (!parsed.ok()) std::fprintf(stderr, "rebuilt image: %s\n", parsed.error().c_str());
  FUZZ_CHECK(parsed.ok());
  const PeImage& rebuilt = parsed.value();
  FUZZ_CHECK(rebuilt.checkSum == replaced.value().checkSum);
  FUZZ_CHECK(ComputePeChecksum(file, rebuilt.CheckSumOffset()) == rebuilt.checkSum);
  FUZZ_CHECK(rebuilt.Directory(kResourceDirectory).address == replaced.value().resourceRva);
  FUZZ_CHECK(rebuilt.Directory(kCertificateDirectory).address == 0);
  auto resources = ReadResources(file, rebuilt);
  if (!resources.ok()) std::fprintf(stderr, "rebuilt resources: %s\n", resources.error().c_str());
  FUZZ_CHECK(resources.ok());
  FUZZ_CHECK(SameTree(resources.value(), tree));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  auto image = ParsePeImage(file);
  if (!image.ok()) {
    FUZZ_CHECK(!image.error().empty());
    return 0;
  }
  const PeImage& pe = image.value();
  FUZZ_CHECK(pe.fileSize == size);
  FUZZ_CHECK(pe.sizeOfHeaders <= size && pe.directories.size() <= 16);
  FUZZ_CHECK(pe.SectionDataEnd() <= size);
  for (const SectionHeader& s : pe.sections) {
    FUZZ_CHECK(s.VirtualEnd() <= 0xFFFFFFFFull);
    if (auto at = pe.FileOffsetOf(s.virtualAddress, 0)) FUZZ_CHECK(*at <= size);
  }
  (void)ComputePeChecksum(file, pe.CheckSumOffset());

  auto tree = ReadResources(file, pe);
  if (!tree.ok()) {
    FUZZ_CHECK(!tree.error().empty());
    return 0;
  }
  CheckRebuilt(file, pe, tree.value());

  // The packer's own change: one more payload resource of RT_RCDATA.
  ResourceTree more = tree.value();
  std::string payload(file.substr(0, std::min<std::size_t>(size, 100)));
  more[ResourceId::Number(kRtRcdata)][ResourceId::Name(u"FILE:FUZZ.BIN")][0] = ResourceData{payload, 0};
  CheckRebuilt(file, pe, more);
  return 0;
}
