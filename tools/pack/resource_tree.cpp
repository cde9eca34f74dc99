// Reading and writing resource directories (IMAGE_RESOURCE_DIRECTORY and friends).
#include "tools/pack/resource_tree.h"

#include "core/utf16.h"
#include "tools/pack/bytes.h"

#include <set>
#include <type_traits>

namespace orvalis::pack {

ResourceId ResourceId::Number(std::uint16_t number) {
  ResourceId id;
  id.number_ = number;
  return id;
}

ResourceId ResourceId::Name(std::u16string name) {
  ResourceId id;
  id.isName_ = true;
  id.name_ = std::move(name);
  return id;
}

std::string ResourceId::Describe() const {
  if (isName_) return Utf16ToUtf8(name_);
  std::string text = "#";
  text += std::to_string(number_);
  return text;
}

bool ResourceOrder::operator()(const ResourceId& a, const ResourceId& b) const {
  if (a.IsName() != b.IsName()) return a.IsName();
  if (a.IsName()) return a.name() < b.name();  // char16_t is unsigned: code unit order
  return a.number() < b.number();
}

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectorySize = 16;  // IMAGE_RESOURCE_DIRECTORY
constexpr std::size_t kEntrySize = 8;       // IMAGE_RESOURCE_DIRECTORY_ENTRY
constexpr std::size_t kDataEntrySize = 16;  // IMAGE_RESOURCE_DATA_ENTRY

struct DirectoryEntry {
  ResourceId id;
  bool isDirectory = false;
  std::uint32_t target = 0;  // offset of the subdirectory or data entry
};

class DirectoryParser {
 public:
  DirectoryParser(std::string_view directory, const ResourceDataReader& readData)
      : bytes_(directory), readData_(readData) {}

  Result<ResourceTree> Parse() {
    auto types = Entries(0, true);
    if (!types.ok()) return types.failure();
    ResourceTree tree;
    for (const DirectoryEntry& type : types.value()) {
      auto names = Entries(type.target, true);
      if (!names.ok()) return names.failure();
      auto [typeAt, newType] = tree.emplace(type.id, NameTable{});
      if (!newType) return Failure{"resource type " + type.id.Describe() + " occurs twice"};
      NameTable& nameTable = typeAt->second;
      for (const DirectoryEntry& name : names.value()) {
        auto languages = Entries(name.target, false);
        if (!languages.ok()) return languages.failure();
        auto [nameAt, newName] = nameTable.emplace(name.id, LanguageTable{});
        if (!newName) return Failure{"resource " + type.id.Describe() + "/" + name.id.Describe() + " occurs twice"};
        LanguageTable& languageTable = nameAt->second;
        for (const DirectoryEntry& language : languages.value()) {
          std::string where = type.id.Describe() + "/" + name.id.Describe() + "/" + language.id.Describe();
          if (language.id.IsName()) return Failure{"resource " + where + " has a named language"};
          auto data = Data(language.target, where);
          if (!data.ok()) return data.failure();
          if (!languageTable.emplace(language.id.number(), std::move(data.value())).second)
            return Failure{"resource " + where + " occurs twice"};
        }
      }
    }
    return tree;
  }

 private:
  bool Fits(std::uint64_t offset, std::uint64_t size) const { return offset + size <= bytes_.size(); }

  // First use of a subdirectory or data entry; directories never share them.
  bool FirstVisit(std::uint32_t offset) { return visited_.insert(offset).second; }

  Result<ResourceId> Id(std::uint32_t field) {
    if (!(field & kHighBit)) {
      if (field > 0xFFFF) return Failure{"resource directory entry has an id above 65535"};
      return ResourceId::Number(static_cast<std::uint16_t>(field));
    }
    std::uint32_t at = field & ~kHighBit;
    if (!Fits(at, 2)) return Failure{"resource name lies outside the resource section"};
    std::uint16_t length = Get16(bytes_, at);
    if (!Fits(at + 2ull, 2ull * length)) return Failure{"resource name lies outside the resource section"};
    std::u16string name(length, u'\0');
    for (std::uint16_t i = 0; i < length; ++i) name[i] = static_cast<char16_t>(Get16(bytes_, at + 2 + 2u * i));
    return ResourceId::Name(std::move(name));
  }

  Result<std::vector<DirectoryEntry>> Entries(std::uint32_t offset, bool wantDirectories) {
    if (!FirstVisit(offset)) return Failure{"resource directory refers to one table twice"};
    if (!Fits(offset, kDirectorySize)) return Failure{"resource directory table lies outside the resource section"};
    std::size_t count = std::size_t{Get16(bytes_, offset + 12)} + Get16(bytes_, offset + 14);
    if (!Fits(offset + kDirectorySize, count * kEntrySize))
      return Failure{"resource directory table lies outside the resource section"};
    std::vector<DirectoryEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t at = offset + kDirectorySize + i * kEntrySize;
      auto id = Id(Get32(bytes_, at));
      if (!id.ok()) return id.failure();
      std::uint32_t target = Get32(bytes_, at + 4);
      DirectoryEntry entry{std::move(id.value()), (target & kHighBit) != 0, target & ~kHighBit};
      if (entry.isDirectory != wantDirectories)
        return Failure{wantDirectories ? "resource directory has data where a table belongs"
                                       : "resource directory is nested deeper than type, name and language"};
      entries.push_back(std::move(entry));
    }
    return entries;
  }

  Result<ResourceData> Data(std::uint32_t offset, const std::string& where) {
    if (!FirstVisit(offset)) return Failure{"resource " + where + " shares its data entry with another"};
    if (!Fits(offset, kDataEntrySize)) return Failure{"data entry of resource " + where + " lies outside the section"};
    auto bytes = readData_(Get32(bytes_, offset), Get32(bytes_, offset + 4));
    if (!bytes.ok()) return Failure{"resource " + where + ": " + bytes.error()};
    return ResourceData{std::string(bytes.value()), Get32(bytes_, offset + 8)};
  }

  std::string_view bytes_;
  const ResourceDataReader& readData_;
  std::set<std::uint32_t> visited_;
};

// Writes resource directory structures into a preallocated head.
class HeadWriter {
 public:
  explicit HeadWriter(std::string& head) : head_(head) {}

  void Table(std::uint32_t at, std::uint16_t named, std::uint16_t numbered) {
    // Characteristics, time stamp and version stay 0: the output must not
    // depend on when it was made.
    Put16(head_, at + 12, named);
    Put16(head_, at + 14, numbered);
  }

  void Entry(std::uint32_t at, std::uint32_t idField, std::uint32_t target) {
    Put32(head_, at, idField);
    Put32(head_, at + 4, target);
  }

  // The id field for `id`; a name is stored at `stringCursor`, which advances.
  std::uint32_t IdField(const ResourceId& id, std::uint32_t& stringCursor) {
    if (!id.IsName()) return id.number();
    std::uint32_t at = stringCursor;
    Put16(head_, at, static_cast<std::uint16_t>(id.name().size()));
    for (std::size_t i = 0; i < id.name().size(); ++i) Put16(head_, at + 2 + 2 * i, id.name()[i]);
    stringCursor += static_cast<std::uint32_t>(2 + 2 * id.name().size());
    return at | kHighBit;
  }

 private:
  std::string& head_;
};

template <typename Table>
Status CheckCounts(const Table& table, const std::string& where) {
  std::size_t named = 0;
  for (const auto& [id, unused] : table) {
    if constexpr (std::is_same_v<typename Table::key_type, ResourceId>) {
      if (id.IsName()) {
        ++named;
        if (id.name().size() > 0xFFFF) return Failure{"resource name longer than 65535 characters in " + where};
      }
    }
  }
  if (named > 0xFFFF || table.size() - named > 0xFFFF) return Failure{"more than 65535 resources in " + where};
  return Ok();
}

template <typename Table>
std::uint16_t NamedCount(const Table& table) {
  std::size_t named = 0;
  if constexpr (std::is_same_v<typename Table::key_type, ResourceId>)
    for (const auto& [id, unused] : table) named += id.IsName() ? 1 : 0;
  return static_cast<std::uint16_t>(named);
}

std::uint64_t NameBytes(const ResourceId& id) { return id.IsName() ? 2 + 2 * std::uint64_t{id.name().size()} : 0; }

}  // namespace

Result<ResourceTree> ParseResourceDirectory(std::string_view directory, const ResourceDataReader& readData) {
  return DirectoryParser(directory, readData).Parse();
}

std::string ResourceSectionLayout::Join() const {
  std::string section(size, '\0');
  section.replace(0, head.size(), head);
  for (const Chunk& chunk : chunks) section.replace(chunk.offset, chunk.bytes.size(), chunk.bytes);
  return section;
}

Result<ResourceSectionLayout> LayoutResourceSection(const ResourceTree& tree, std::uint32_t sectionRva) {
  // Sizes first: tables (root, then every type's, then every name's), data
  // entries, names; then the data at 8-byte boundaries.
  if (auto s = CheckCounts(tree, "the type table"); !s.ok()) return s.failure();
  std::uint64_t tables = kDirectorySize + kEntrySize * tree.size();
  std::uint64_t leaves = 0;
  std::uint64_t names = 0;
  for (const auto& [type, nameTable] : tree) {
    if (auto s = CheckCounts(nameTable, "type " + type.Describe()); !s.ok()) return s.failure();
    tables += kDirectorySize + kEntrySize * nameTable.size();
    names += NameBytes(type);
    for (const auto& [name, languages] : nameTable) {
      if (auto s = CheckCounts(languages, type.Describe() + "/" + name.Describe()); !s.ok()) return s.failure();
      tables += kDirectorySize + kEntrySize * languages.size();
      names += NameBytes(name);
      leaves += languages.size();
    }
  }
  const std::uint64_t dataEntries = tables;
  const std::uint64_t nameStart = dataEntries + kDataEntrySize * leaves;
  const std::uint64_t headSize = AlignUp(nameStart + names, 8);
  std::uint64_t end = headSize;
  for (const auto& [type, nameTable] : tree)
    for (const auto& [name, languages] : nameTable)
      for (const auto& [language, data] : languages) end = AlignUp(end, 8) + data.bytes.size();
  if (end > 0x7FFFFFFF || sectionRva + end > 0xFFFFFFFFull)
    return Failure{"resources too large for a Windows executable (" + std::to_string(end) + " bytes)"};

  ResourceSectionLayout layout;
  layout.size = static_cast<std::uint32_t>(end);
  layout.head.assign(headSize, '\0');
  HeadWriter writer(layout.head);
  auto nameCursor = static_cast<std::uint32_t>(nameStart);
  auto entryCursor = static_cast<std::uint32_t>(dataEntries);
  auto dataCursor = static_cast<std::uint32_t>(headSize);
  auto typeTable = static_cast<std::uint32_t>(kDirectorySize + kEntrySize * tree.size());
  std::uint32_t languageTable = typeTable;
  for (const auto& [type, nameTable] : tree) languageTable += kDirectorySize + kEntrySize * nameTable.size();

  writer.Table(0, NamedCount(tree), static_cast<std::uint16_t>(tree.size() - NamedCount(tree)));
  std::uint32_t rootEntry = kDirectorySize;
  for (const auto& [type, nameTable] : tree) {
    writer.Entry(rootEntry, writer.IdField(type, nameCursor), typeTable | kHighBit);
    rootEntry += kEntrySize;
    const std::uint16_t named = NamedCount(nameTable);
    writer.Table(typeTable, named, static_cast<std::uint16_t>(nameTable.size() - named));
    std::uint32_t typeEntry = typeTable + kDirectorySize;
    typeTable += kDirectorySize + kEntrySize * nameTable.size();
    for (const auto& [name, languages] : nameTable) {
      writer.Entry(typeEntry, writer.IdField(name, nameCursor), languageTable | kHighBit);
      typeEntry += kEntrySize;
      writer.Table(languageTable, 0, static_cast<std::uint16_t>(languages.size()));
      std::uint32_t languageEntry = languageTable + kDirectorySize;
      languageTable += kDirectorySize + kEntrySize * languages.size();
      for (const auto& [language, data] : languages) {
        writer.Entry(languageEntry, language, entryCursor);
        languageEntry += kEntrySize;
        dataCursor = static_cast<std::uint32_t>(AlignUp(dataCursor, 8));
        Put32(layout.head, entryCursor, sectionRva + dataCursor);
        Put32(layout.head, entryCursor + 4, static_cast<std::uint32_t>(data.bytes.size()));
        Put32(layout.head, entryCursor + 8, data.codePage);
        entryCursor += kDataEntrySize;
        layout.chunks.push_back({dataCursor, data.bytes});
        dataCursor += static_cast<std::uint32_t>(data.bytes.size());
      }
    }
  }
  return layout;
}

}  // namespace orvalis::pack
