// Image headers, the checksum, and replacing the resources of PE32 and PE32+ images.
#include "tools/pack/pe_image.h"

#include "tools/pack/tests/test_images.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace orvalis::pack {
namespace {

using testing::Read16;
using testing::Read32;
using testing::Write32;

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

std::string Overlay() {
  // Shaped like a COFF symbol table followed by its string table.
  return RandomBytes(18 * 20, 3) + std::string("\x10\0\0\0.debug_info\0", 16);
}

struct Flat {
  ResourceId type;
  ResourceId name;
  std::uint16_t language;
  std::string data;
  friend bool operator==(const Flat&, const Flat&) = default;
};

std::vector<Flat> Flatten(const ResourceTree& tree) {
  std::vector<Flat> out;
  for (const auto& [type, names] : tree)
    for (const auto& [name, languages] : names)
      for (const auto& [language, data] : languages) out.push_back({type, name, language, data.bytes});
  return out;
}

std::string SectionBytes(std::string_view file, const SectionHeader& s) {
  return std::string(file.substr(s.pointerToRawData, s.sizeOfRawData));
}

TEST(ReplaceResources, KeepsTheImageAndAddsTheResources) {
  struct Case {
    const char* what;
    bool pe32Plus;
    bool withResources;
    bool resourcesLast;
    bool expectAppended;
  };
  const Case cases[] = {
      {"PE32+, .rsrc before .reloc", true, true, false, true}, {"PE32, .rsrc before .reloc", false, true, false, true},
      {"PE32+, .rsrc last", true, true, true, false},          {"PE32, .rsrc last", false, true, true, false},
      {"PE32+, no resources", true, false, false, true},       {"PE32, no resources", false, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TestImageOptions options;
    options.pe32Plus = c.pe32Plus;
    if (c.withResources) options.resources = testing::StandardResources();
    options.resourcesLast = c.resourcesLast;
    options.overlay = Overlay();
    const std::string stub = testing::MakeTestImage(options);
    auto stubImage = ParsePeImage(stub);
    ASSERT_TRUE(stubImage.ok()) << stubImage.error();
    const PeImage& before = stubImage.value();
    ASSERT_EQ(before.pe32Plus, c.pe32Plus);
    ASSERT_EQ(before.checkSum, testing::ReferenceChecksum(stub, before.CheckSumOffset()));

    auto tree = ReadResources(stub, before);
    ASSERT_TRUE(tree.ok()) << tree.error();
    ASSERT_EQ(Flatten(tree.value()).size(), c.withResources ? 4u : 0u);
    tree.value()[ResourceId::Number(10)][ResourceId::Name(u"FILE:BIG.BIN")][0] = {RandomBytes(200'000, 1), 0};
    tree.value()[ResourceId::Number(10)][ResourceId::Name(u"FILE:A.TXT")][0] = {"a", 0};

    auto replaced = ReplaceResources(stub, before, tree.value());
    ASSERT_TRUE(replaced.ok()) << replaced.error();
    EXPECT_EQ(replaced.value().appendedSection, c.expectAppended);
    const std::string out = replaced.value().image.Join();
    ASSERT_EQ(out.size(), replaced.value().image.size());
    auto outImage = ParsePeImage(out);
    ASSERT_TRUE(outImage.ok()) << outImage.error();
    const PeImage& after = outImage.value();

    // Every resource, old and new, reads back.
    auto readBack = ReadResources(out, after);
    ASSERT_TRUE(readBack.ok()) << readBack.error();
    EXPECT_EQ(Flatten(readBack.value()), Flatten(tree.value()));

    // Sections stay where they were, with their bytes; the resources are in
    // a section of their own at the end of the image.
    ASSERT_FALSE(after.sections.empty());
    const SectionHeader& rsrc = after.sections.back();
    EXPECT_EQ(rsrc.name, ".rsrc");
    // The debug entry in .text is the one byte range that changes: its data moved with the overlay.
    const std::uint64_t overlayAt = std::uint64_t{rsrc.pointerToRawData} + rsrc.sizeOfRawData;
    const std::size_t oldCount = before.sections.size();
    ASSERT_EQ(after.sections.size(), oldCount + (c.expectAppended ? 1 : 0));
    for (std::size_t i = 0; i < oldCount; ++i) {
      const SectionHeader& was = before.sections[i];
      const SectionHeader& is = after.sections[i];
      if (!c.expectAppended && was.name == ".rsrc") continue;
      EXPECT_EQ(is.name, was.name == ".rsrc" ? ".oldrsrc" : was.name);
      EXPECT_EQ(is.virtualAddress, was.virtualAddress);
      EXPECT_EQ(is.virtualSize, was.virtualSize);
      EXPECT_EQ(is.pointerToRawData, was.pointerToRawData);
      std::string expected = SectionBytes(stub, was);
      if (was.name == ".text") Write32(expected, 0x100 + 24, static_cast<std::uint32_t>(overlayAt + 16));
      EXPECT_EQ(SectionBytes(out, is), expected) << was.name;
    }
    std::uint64_t previousEnd = 0;
    for (std::size_t i = 0; i + 1 < after.sections.size(); ++i)
      previousEnd = std::max(previousEnd, after.sections[i].VirtualEnd());
    EXPECT_EQ(rsrc.virtualAddress, (previousEnd + 0xFFF) / 0x1000 * 0x1000);
    EXPECT_EQ(rsrc.pointerToRawData % 0x1000, 0u);  // on a page, so the loader can map it from the file
    EXPECT_EQ(rsrc.sizeOfRawData % after.fileAlignment, 0u);
    EXPECT_GE(rsrc.sizeOfRawData, rsrc.virtualSize);
    EXPECT_EQ(after.Directory(kResourceDirectory).address, rsrc.virtualAddress);
    EXPECT_EQ(after.Directory(kResourceDirectory).size, rsrc.virtualSize);
    EXPECT_EQ(after.sizeOfImage, (rsrc.VirtualEnd() + 0xFFF) / 0x1000 * 0x1000);
    const std::uint32_t oldRsrcRaw =
        c.expectAppended
            ? 0
            : before.sections[before.SectionAt(before.Directory(kResourceDirectory).address).value()].sizeOfRawData;
    EXPECT_EQ(after.sizeOfInitializedData, before.sizeOfInitializedData + rsrc.sizeOfRawData - oldRsrcRaw);
    EXPECT_EQ(after.timeDateStamp, before.timeDateStamp);
    EXPECT_EQ(after.checkSum, testing::ReferenceChecksum(out, after.CheckSumOffset()));
    EXPECT_EQ(after.checkSum, replaced.value().checkSum);

    // The overlay follows the sections, and what pointed into it follows too.
    EXPECT_EQ(out.substr(overlayAt), options.overlay);
    EXPECT_EQ(after.pointerToSymbolTable, overlayAt);
    EXPECT_EQ(after.numberOfSymbols, before.numberOfSymbols);
    const std::size_t debugEntry = after.sections[0].pointerToRawData + 0x100;
    EXPECT_EQ(Read32(out, debugEntry + 24), overlayAt + 16);
  }
}

TEST(ReplaceResources, DropsASignatureThatEndsTheFile) {
  testing::TestImageOptions options;
  options.resources = testing::StandardResources();
  options.overlay = Overlay();
  options.certificate = std::string("\x10\0\0\0\0\x02\x02\0", 8) + RandomBytes(1000, 4);
  const std::string stub = testing::MakeTestImage(options);
  auto image = ParsePeImage(stub);
  ASSERT_TRUE(image.ok());
  ASSERT_NE(image.value().Directory(kCertificateDirectory).size, 0u);
  auto tree = ReadResources(stub, image.value());
  ASSERT_TRUE(tree.ok());
  auto replaced = ReplaceResources(stub, image.value(), tree.value());
  ASSERT_TRUE(replaced.ok()) << replaced.error();
  EXPECT_EQ(replaced.value().droppedSignatureBytes, options.certificate.size());
  const std::string out = replaced.value().image.Join();
  auto after = ParsePeImage(out);
  ASSERT_TRUE(after.ok());
  EXPECT_EQ(after.value().Directory(kCertificateDirectory).address, 0u);
  EXPECT_EQ(after.value().Directory(kCertificateDirectory).size, 0u);
  EXPECT_EQ(out.find(options.certificate), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - options.overlay.size()), options.overlay);
  EXPECT_EQ(after.value().checkSum, testing::ReferenceChecksum(out, after.value().CheckSumOffset()));
}

TEST(ReplaceResources, RefusesAnImageWithoutRoomForAnotherSectionHeader) {
  testing::TestImageOptions options;
  options.resources = testing::StandardResources();
  std::string stub = testing::MakeTestImage(options);
  auto image = ParsePeImage(stub);
  ASSERT_TRUE(image.ok());
  // Something lives right after the section table.
  stub[testing::SectionTableOffset(true) + 40 * image.value().sections.size() + 3] = 'x';
  image = ParsePeImage(stub);
  ASSERT_TRUE(image.ok());
  auto replaced = ReplaceResources(stub, image.value(), ResourceTree{});
  ASSERT_FALSE(replaced.ok());
  EXPECT_NE(replaced.error().find("no room for another section header"), std::string::npos);
}

TEST(ParsePeImage, RefusesWhatIsNotAWellFormedImage) {
  testing::TestImageOptions options;
  options.resources = testing::StandardResources();
  const std::string good = testing::MakeTestImage(options);
  const std::size_t coff = testing::kPeOffset + 4;
  const std::size_t opt = testing::kOptionalHeader;
  const std::size_t table = testing::SectionTableOffset(true);
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"text file", [](std::string& f) { f = "PRODUCT=Orvalis\r\n"; }, "no MZ header"},
      {"no MZ", [](std::string& f) { f[0] = 'X'; }, "no MZ header"},
      {"PE header past the end", [](std::string& f) { Write32(f, 0x3C, 0x7FFFFFF0); }, "PE header outside the file"},
      {"no PE signature", [](std::string& f) { f[testing::kPeOffset + 1] = 'X'; }, "no PE signature"},
      {"object file", [=](std::string& f) { f[coff + 18] = 0; }, "not an executable image"},
      {"optional header past the end", [=](std::string& f) { f[coff + 16] = f[coff + 17] = '\xFF'; },
       "optional header outside"},
      {"unknown magic", [=](std::string& f) { f[opt] = 0x07; }, "unknown optional header magic"},
      {"optional header too short", [=](std::string& f) { f[coff + 16] = 100; }, "optional header too short"},
      {"odd file alignment", [=](std::string& f) { Write32(f, opt + 36, 0x300); }, "unsupported file alignment"},
      {"small section alignment", [=](std::string& f) { Write32(f, opt + 32, 0x200); },
       "unsupported section alignment"},
      {"section table past the end", [=](std::string& f) { f[coff + 2] = '\x7F'; }, "section table outside"},
      {"headers larger than the file", [=](std::string& f) { Write32(f, opt + 60, 0x7FFFFFFF); }, "SizeOfHeaders"},
      {"section data past the end", [=](std::string& f) { Write32(f, table + 16, 0x100000); }, "ends past the end"},
      {"sections overlap", [=](std::string& f) { Write32(f, table + 40 + 12, 0x1000); }, "overlaps the one before"},
  };
  for (const Case& c : cases) {
    std::string file = good;
    c.damage(file);
    auto image = ParsePeImage(file);
    ASSERT_FALSE(image.ok()) << c.what;
    EXPECT_NE(image.error().find(c.message), std::string::npos) << c.what << ": " << image.error();
  }
}

TEST(ParsePeImage, RefusesEveryTruncationThatCutsIntoTheSections) {
  for (bool plus : {false, true}) {
    testing::TestImageOptions options;
    options.pe32Plus = plus;
    options.resources = testing::StandardResources();
    options.overlay = Overlay();
    const std::string good = testing::MakeTestImage(options);
    auto full = ParsePeImage(good);
    ASSERT_TRUE(full.ok());
    const std::uint64_t sectionEnd = full.value().SectionDataEnd();
    for (std::size_t length = 0; length < good.size(); ++length) {
      // An exact-size copy, so a read past the end is a read past the buffer.
      const std::string prefix = good.substr(0, length);
      auto image = ParsePeImage(prefix);
      EXPECT_EQ(image.ok(), length >= sectionEnd) << length;
      if (image.ok()) {
        EXPECT_TRUE(ReadResources(prefix, image.value()).ok()) << length;
      }
    }
  }
}

TEST(ReadResources, RefusesResourceDataOutsideTheFile) {
  testing::TestImageOptions options;
  options.resources = testing::StandardResources();
  std::string stub = testing::MakeTestImage(options);
  auto image = ParsePeImage(stub);
  ASSERT_TRUE(image.ok());
  // Point the first data entry's RVA at .bss, which has no file data.
  const std::uint32_t rsrcRva = image.value().Directory(kResourceDirectory).address;
  const std::uint64_t rsrcAt = image.value().FileOffsetOf(rsrcRva, 0).value();
  const std::string section = stub.substr(rsrcAt, 0x200);
  std::size_t entry = std::string::npos;
  for (std::size_t at = 0; at + 16 <= section.size(); at += 4)
    if (Read32(section, at) >= rsrcRva + at + 16 && Read32(section, at) < rsrcRva + 0x200 &&
        Read32(section, at + 4) == 10 && Read32(section, at + 8) == 0 && Read32(section, at + 12) == 0) {
      entry = at;  // the data entry of the 10-byte "form\0bytes"
      break;
    }
  ASSERT_NE(entry, std::string::npos);
  Write32(stub, rsrcAt + entry, 0x2010);
  auto tree = ReadResources(stub, image.value());
  ASSERT_FALSE(tree.ok());
  EXPECT_NE(tree.error().find("TSFORM"), std::string::npos) << tree.error();
  EXPECT_NE(tree.error().find("lies outside the file"), std::string::npos) << tree.error();
}

// Headers that place the resource directory where no file data backs it are
// refused with a message, never read past the end of the file.
TEST(ReadResources, RefusesADirectoryWithoutFileData) {
  struct Case {
    const char* what;
    std::uint32_t bssPointerToRawData;
  };
  const Case cases[] = {
      {"in .bss, whose file pointer lies past the end", 0x7FFFFF00},
      {"in .bss, whose file pointer is the end of the file", 0},  // 0: replaced by the file size
      {"in .bss, whose file pointer is 0", 1},                    // 1: replaced by 0
  };
  for (const Case& c : cases) {
    testing::TestImageOptions options;
    options.resources = testing::StandardResources();
    std::string stub = testing::MakeTestImage(options);
    const std::size_t bss = testing::SectionTableOffset(true) + 40;
    std::uint32_t pointer = c.bssPointerToRawData == 0 ? std::uint32_t(stub.size())
                            : c.bssPointerToRawData == 1 ? 0 : c.bssPointerToRawData;
    Write32(stub, bss + 20, pointer);
    Write32(stub, testing::DirectoriesOffset(true) + 8 * kResourceDirectory, Read32(stub, bss + 12));
    auto image = ParsePeImage(stub);
    ASSERT_TRUE(image.ok()) << c.what << ": " << image.error();
    EXPECT_FALSE(image.value().FileOffsetOf(Read32(stub, bss + 12), 0).has_value()) << c.what;
    auto tree = ReadResources(stub, image.value());
    ASSERT_FALSE(tree.ok()) << c.what;
    EXPECT_NE(tree.error().find("lies outside the sections"), std::string::npos) << c.what << ": " << tree.error();
  }
}

TEST(PeChecksum, MatchesTheReferenceSumFedInAnyPieces) {
  std::mt19937 rng(11);
  for (std::size_t length : {0, 1, 2, 3, 5, 64, 65, 4097, 70'001}) {
    // Mostly 0xFF bytes, so the 16-bit sums carry often.
    std::string file = RandomBytes(length, static_cast<unsigned>(length));
    for (std::size_t i = 0; i < length; i += 3) file[i] = '\xFF';
    for (std::size_t checksumAt : {std::size_t{0}, std::size_t{64}, length / 8 * 4, std::size_t{1} << 20}) {
      const std::uint32_t expected = testing::ReferenceChecksum(file, checksumAt);
      EXPECT_EQ(ComputePeChecksum(file, static_cast<std::uint32_t>(checksumAt)), expected) << length;
      PeChecksum pieces(checksumAt);
      for (std::size_t at = 0; at < length;) {
        std::size_t n = std::min<std::size_t>(length - at, rng() % 9);
        pieces.Add(std::string_view(file).substr(at, n));
        at += n;
      }
      EXPECT_EQ(pieces.Value(), expected) << length << " at " << checksumAt;
    }
  }
  // The field's own bytes never count.
  std::string withField(16, '\0');
  Write32(withField, 8, 0xDEADBEEF);
  EXPECT_EQ(ComputePeChecksum(withField, 8), 16u);
}

}  // namespace
}  // namespace orvalis::pack
