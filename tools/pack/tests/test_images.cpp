// Builds test images byte by byte from the published PE layout.
#include "tools/pack/tests/test_images.h"

#include <algorithm>

namespace orvalis::pack::testing {

namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kHeaderSize = 0x400;

std::uint32_t Align(std::uint64_t value, std::uint32_t alignment) {
  return static_cast<std::uint32_t>((value + alignment - 1) / alignment * alignment);
}

void Write16(std::string& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void Write64(std::string& bytes, std::size_t at, std::uint64_t value) {
  Write32(bytes, at, static_cast<std::uint32_t>(value));
  Write32(bytes, at + 4, static_cast<std::uint32_t>(value >> 32));
}

struct Section {
  std::string name;
  std::uint32_t virtualAddress;
  std::uint32_t virtualSize;
  std::string data;  // raw data before file alignment padding
  std::uint32_t characteristics;
  std::uint32_t pointerToRawData = 0;
};

}  // namespace

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(Read16(bytes, at)) | (static_cast<std::uint32_t>(Read16(bytes, at + 2)) << 16);
}

std::uint16_t Read16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

void Write32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::size_t DirectoriesOffset(bool pe32Plus) { return kOptionalHeader + (pe32Plus ? 112 : 96); }
std::size_t SectionTableOffset(bool pe32Plus) { return kOptionalHeader + (pe32Plus ? 240 : 224); }

std::vector<TestResource> StandardResources() {
  const std::string manifest =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>\n";
  std::string version(92, '\0');
  for (std::size_t i = 0; i < version.size(); ++i) version[i] = static_cast<char>(i * 7);
  return {
      // Named types come before numbered ones, names before ids.
      {ResourceId::Name(u"ZFORMS"), ResourceId::Number(7), 0x0413, 1252, "Dutch form"},
      {ResourceId::Number(10), ResourceId::Name(u"TSFORM"), 0, 0, std::string("form\0bytes", 10)},
      {ResourceId::Number(16), ResourceId::Number(1), 0x0409, 0, version},
      {ResourceId::Number(24), ResourceId::Number(1), 0x0409, 0, manifest},
  };
}

std::string EncodeResourceDirectory(const std::vector<TestResource>& resources, std::uint32_t rva) {
  struct Name {
    ResourceId id;
    std::vector<const TestResource*> languages;
  };
  struct Type {
    ResourceId id;
    std::vector<Name> names;
  };
  std::vector<Type> types;
  for (const TestResource& r : resources) {
    if (types.empty() || !(types.back().id == r.type)) types.push_back({r.type, {}});
    auto& names = types.back().names;
    if (names.empty() || !(names.back().id == r.name)) names.push_back({r.name, {}});
    names.back().languages.push_back(&r);
  }

  std::string out;
  std::vector<std::pair<std::size_t, std::u16string>> nameFields;
  std::vector<std::pair<std::size_t, const TestResource*>> dataFields;
  auto table = [&](std::size_t named, std::size_t numbered) {
    std::size_t at = out.size();
    out.append(16 + 8 * (named + numbered), '\0');
    Write16(out, at + 12, static_cast<std::uint16_t>(named));
    Write16(out, at + 14, static_cast<std::uint16_t>(numbered));
    return at;
  };
  auto idField = [&](std::size_t entry, const ResourceId& id) {
    if (id.IsName())
      nameFields.emplace_back(entry, id.name());
    else
      Write32(out, entry, id.number());
  };
  auto countNamed = [](const auto& list) {
    std::size_t n = 0;
    for (const auto& item : list) n += item.id.IsName() ? 1 : 0;
    return n;
  };

  // Depth first: each table directly followed by its subtables.
  std::size_t root = table(countNamed(types), types.size() - countNamed(types));
  for (std::size_t t = 0; t < types.size(); ++t) {
    std::size_t entry = root + 16 + 8 * t;
    idField(entry, types[t].id);
    const auto& names = types[t].names;
    std::size_t typeTable = table(countNamed(names), names.size() - countNamed(names));
    Write32(out, entry + 4, static_cast<std::uint32_t>(typeTable) | 0x80000000u);
    for (std::size_t n = 0; n < names.size(); ++n) {
      std::size_t nameEntry = typeTable + 16 + 8 * n;
      idField(nameEntry, names[n].id);
      std::size_t languageTable = table(0, names[n].languages.size());
      Write32(out, nameEntry + 4, static_cast<std::uint32_t>(languageTable) | 0x80000000u);
      for (std::size_t l = 0; l < names[n].languages.size(); ++l) {
        std::size_t languageEntry = languageTable + 16 + 8 * l;
        Write32(out, languageEntry, names[n].languages[l]->language);
        dataFields.emplace_back(languageEntry + 4, names[n].languages[l]);
      }
    }
  }
  for (const auto& [entry, name] : nameFields) {
    Write32(out, entry, static_cast<std::uint32_t>(out.size()) | 0x80000000u);
    out.append(2, '\0');
    Write16(out, out.size() - 2, static_cast<std::uint16_t>(name.size()));
    for (char16_t c : name) {
      out.append(2, '\0');
      Write16(out, out.size() - 2, c);
    }
  }
  out.resize(Align(out.size(), 4), '\0');
  std::vector<std::size_t> dataEntries;
  for (const auto& [entry, resource] : dataFields) {
    Write32(out, entry, static_cast<std::uint32_t>(out.size()));
    dataEntries.push_back(out.size());
    out.append(16, '\0');
    Write32(out, out.size() - 12, static_cast<std::uint32_t>(resource->data.size()));
    Write32(out, out.size() - 8, resource->codePage);
  }
  for (std::size_t i = 0; i < dataFields.size(); ++i) {
    out.resize(Align(out.size(), 4), '\0');
    Write32(out, dataEntries[i], rva + static_cast<std::uint32_t>(out.size()));
    out += dataFields[i].second->data;
  }
  return out;
}

std::string MakeTestImage(const TestImageOptions& options) {
  const bool plus = options.pe32Plus;
  std::vector<Section> sections;
  Section text{".text", 0x1000, 0x180, std::string(0x180, '\0'), 0x60000020};
  text.data[0] = '\xC3';  // ret
  sections.push_back(text);
  sections.push_back({".bss", 0x2000, 0x800, "", 0xC0000080});
  std::uint32_t nextVa = 0x3000;
  if (!options.resources.empty()) {
    std::string rsrc = EncodeResourceDirectory(options.resources, nextVa);
    sections.push_back({".rsrc", nextVa, static_cast<std::uint32_t>(rsrc.size()), rsrc, 0xC0000040});
    nextVa += Align(rsrc.size(), kSectionAlignment);
  }
  if (!options.resourcesLast) {
    std::string reloc(12, '\0');
    Write32(reloc, 0, 0x1000);
    Write32(reloc, 4, 12);
    sections.push_back({".reloc", nextVa, 12, reloc, 0x42000040});
  }

  std::string file(kHeaderSize, '\0');
  std::uint32_t rawEnd = kHeaderSize;
  std::uint32_t initialized = 0;
  for (Section& s : sections) {
    if (s.data.empty()) continue;
    s.pointerToRawData = rawEnd;
    file += s.data;
    file.resize(Align(file.size(), kFileAlignment), '\0');
    rawEnd = static_cast<std::uint32_t>(file.size());
    if (s.characteristics & 0x40) initialized += Align(s.data.size(), kFileAlignment);
  }
  const std::uint32_t overlayStart = rawEnd;
  file += options.overlay;
  std::uint32_t certificateAt = 0;
  if (!options.certificate.empty()) {
    file.resize(Align(file.size(), 8), '\0');
    certificateAt = static_cast<std::uint32_t>(file.size());
    file += options.certificate;
  }

  file[0] = 'M';
  file[1] = 'Z';
  Write32(file, 0x3C, kPeOffset);
  file.replace(kPeOffset, 4, std::string("PE\0\0", 4));
  const std::size_t coff = kPeOffset + 4;
  Write16(file, coff, plus ? 0x8664 : 0x014C);
  Write16(file, coff + 2, static_cast<std::uint16_t>(sections.size()));
  Write32(file, coff + 4, 0x5F5E1000);  // a fixed time stamp the packer must keep
  if (!options.overlay.empty()) {
    Write32(file, coff + 8, overlayStart);
    Write32(file, coff + 12, static_cast<std::uint32_t>(options.overlay.size() / 18));
  }
  Write16(file, coff + 16, plus ? 240 : 224);
  Write16(file, coff + 18, plus ? 0x0022 : 0x0102);

  const std::size_t opt = kOptionalHeader;
  Write16(file, opt, plus ? 0x20B : 0x10B);
  Write32(file, opt + 4, 0x200);  // SizeOfCode
  Write32(file, opt + 8, initialized);
  Write32(file, opt + 12, 0x800);   // SizeOfUninitializedData
  Write32(file, opt + 16, 0x1000);  // AddressOfEntryPoint
  Write32(file, opt + 20, 0x1000);  // BaseOfCode
  if (plus) {
    Write64(file, opt + 24, 0x140000000ull);
  } else {
    Write32(file, opt + 28, 0x400000);
  }
  Write32(file, opt + 32, kSectionAlignment);
  Write32(file, opt + 36, kFileAlignment);
  Write16(file, opt + 40, 6);  // operating system version
  Write16(file, opt + 48, 6);  // subsystem version
  std::uint64_t end = 0;
  for (const Section& s : sections) end = std::max<std::uint64_t>(end, s.virtualAddress + s.virtualSize);
  Write32(file, opt + 56, Align(end, kSectionAlignment));
  Write32(file, opt + 60, kHeaderSize);
  Write16(file, opt + 68, 3);  // console
  Write16(file, opt + 70, 0x8140);
  const std::size_t directories = DirectoriesOffset(plus);
  Write32(file, directories - 4, 16);
  for (const Section& s : sections) {
    if (s.name == ".rsrc") {
      Write32(file, directories + 8 * 2, s.virtualAddress);
      Write32(file, directories + 8 * 2 + 4, s.virtualSize);
    }
    if (s.name == ".reloc") {
      Write32(file, directories + 8 * 5, s.virtualAddress);
      Write32(file, directories + 8 * 5 + 4, 12);
    }
  }
  if (!options.certificate.empty()) {
    Write32(file, directories + 8 * 4, certificateAt);
    Write32(file, directories + 8 * 4 + 4, static_cast<std::uint32_t>(options.certificate.size()));
  }
  if (options.overlay.size() >= 24) {
    // A CodeView-style debug entry in .text whose data lies in the overlay.
    const std::size_t entry = sections[0].pointerToRawData + 0x100;
    Write32(file, entry + 12, 2);
    Write32(file, entry + 16, 8);
    Write32(file, entry + 24, overlayStart + 16);
    Write32(file, directories + 8 * 6, 0x1100);
    Write32(file, directories + 8 * 6 + 4, 28);
  }

  std::size_t table = SectionTableOffset(plus);
  for (const Section& s : sections) {
    for (std::size_t i = 0; i < s.name.size(); ++i) file[table + i] = s.name[i];
    Write32(file, table + 8, s.virtualSize);
    Write32(file, table + 12, s.virtualAddress);
    Write32(file, table + 16, s.data.empty() ? 0 : Align(s.data.size(), kFileAlignment));
    Write32(file, table + 20, s.pointerToRawData);
    Write32(file, table + 36, s.characteristics);
    table += 40;
  }
  Write32(file, opt + 64, ReferenceChecksum(file, opt + 64));
  return file;
}

std::uint32_t ReferenceChecksum(std::string_view file, std::size_t checksumOffset) {
  std::uint64_t sum = 0;
  for (std::size_t at = 0; at < file.size(); at += 4) {
    if (at == checksumOffset) continue;
    std::uint32_t dword = 0;
    for (std::size_t i = 0; i < 4 && at + i < file.size(); ++i)
      dword |= static_cast<std::uint32_t>(static_cast<unsigned char>(file[at + i])) << (8 * i);
    sum += dword;
    if (sum >> 32) sum = (sum & 0xFFFFFFFFu) + (sum >> 32);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  sum = sum + (sum >> 16);
  sum &= 0xFFFF;
  return static_cast<std::uint32_t>(sum + file.size());
}

}  // namespace orvalis::pack::testing
