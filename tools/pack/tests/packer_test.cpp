// Packing a product into generated stubs, listing the result, and every kind
// of input the packer must refuse without leaving an output behind.
#include "tools/pack/packer.h"

#include "services/inflate.h"
#include "tools/pack/cli.h"
#include "tools/pack/pe_image.h"
#include "tools/pack/tests/test_images.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>

namespace orvalis::pack {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// Names with ":" or "\", device names, names differing only in case, and
// links need a POSIX file system.
constexpr bool kPosixNames = false;
#else
constexpr bool kPosixNames = true;
#endif

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << PathToUtf8(path);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The product every test packs: payload name as stored → the file's bytes.
const std::map<std::string, std::string>& ProductFiles() {
  static const std::map<std::string, std::string> files = {
      {"ZEROS.BIN", std::string(1'000'000, '\0')},
      {"random.dat", RandomBytes(300'000, 1)},
      {"empty.txt", ""},
      {"Data/Sub/nested.txt", "nested"},
      {"caf\xC3\xA9-\xC3\xB1.txt", "not ASCII"},  // café-ñ.txt
      {"readme.TXT", "read me\r\n"},
  };
  return files;
}

const std::map<std::string, std::string>& ExpectedPayload() {
  static const std::map<std::string, std::string> payload = {
      {"ZEROS.BIN", ProductFiles().at("ZEROS.BIN")},
      {"RANDOM.DAT", ProductFiles().at("random.dat")},
      {"EMPTY.TXT", ""},
      {"DATA\\SUB\\NESTED.TXT", "nested"},
      {"CAF\xC3\x89-\xC3\x91.TXT", "not ASCII"},  // CAFÉ-Ñ.TXT
      {"README.TXT", "read me\r\n"},
      {"DISK.ID", "PRODUCT=Orvalis Demo\r\nVERSION=1.0\r\n"},
  };
  return payload;
}

class PackTest : public ::testing::Test {
 public:
  fs::path At(std::string_view relativeUtf8) const { return root_ / PathFromUtf8(relativeUtf8); }

 protected:
  void SetUp() override {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("orvalis-pack-test-" + std::to_string(random()));
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  // A stub with the standard resources, the descriptor and the product files.
  PackOptions Prepare(bool pe32Plus = true, std::string_view folder = "files") {
    testing::TestImageOptions image;
    image.pe32Plus = pe32Plus;
    image.resources = testing::StandardResources();
    WriteFile(At("stub.exe"), testing::MakeTestImage(image));
    WriteFile(At("DISK.ID"), ExpectedPayload().at("DISK.ID"));
    for (const auto& [name, bytes] : ProductFiles()) WriteFile(At(std::string(folder) + "/" + name), bytes);
    fs::create_directories(At("out"));
    return {At("stub.exe"), At("DISK.ID"), At(folder), At("out/Product-Setup.exe"), {}};
  }

  fs::path root_;
};

// Inflates one resource, also checking that the stream ends exactly where the resource does.
std::optional<std::string> InflateWhole(const std::string& stream, std::size_t expectedSize) {
  std::string out(expectedSize + 1, '\0');
  uLongf outSize = static_cast<uLongf>(out.size());
  uLong inSize = static_cast<uLong>(stream.size());
  if (uncompress2(reinterpret_cast<Bytef*>(out.data()), &outSize, reinterpret_cast<const Bytef*>(stream.data()),
                  &inSize) != Z_OK ||
      inSize != stream.size())
    return std::nullopt;
  out.resize(outSize);
  return out;
}

TEST_F(PackTest, StoresEveryFileAsOneStreamAndKeepsTheStubsResources) {
  for (bool pe32Plus : {false, true}) {
    SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
    const PackOptions options = Prepare(pe32Plus);
    auto report = Pack(options);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_FALSE(fs::exists(options.output.string() + ".tmp"));

    const std::string out = ReadFile(options.output);
    EXPECT_EQ(out.size(), report.value().outputSize);
    auto image = ParsePeImage(out);
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_EQ(image.value().checkSum, testing::ReferenceChecksum(out, image.value().CheckSumOffset()));
    auto tree = ReadResources(out, image.value());
    ASSERT_TRUE(tree.ok()) << tree.error();

    std::map<std::string, std::string> payload;
    for (const auto& [name, languages] : tree.value()[ResourceId::Number(kRtRcdata)]) {
      if (name.Describe().rfind("FILE:", 0) != 0) continue;
      ASSERT_EQ(languages.size(), 1u) << name.Describe();
      ASSERT_EQ(languages.begin()->first, 0) << name.Describe();  // language neutral
      const std::string& stream = languages.begin()->second.bytes;
      ASSERT_GE(stream.size(), 2u);
      EXPECT_EQ(stream.substr(0, 2), "\x78\x9C") << name.Describe();
      const std::string payloadName = name.Describe().substr(5);
      const auto expected = ExpectedPayload().find(payloadName);
      auto inflated = InflateWhole(stream, expected != ExpectedPayload().end() ? expected->second.size() : 0);
      ASSERT_TRUE(inflated) << name.Describe();
      std::string viaSetup = stream;
      ASSERT_TRUE(InflateData(viaSetup)) << name.Describe();
      EXPECT_TRUE(viaSetup == *inflated) << name.Describe();
      payload[payloadName] = *inflated;
    }
    EXPECT_TRUE(payload == ExpectedPayload());

    // The stub's own resources come through unchanged.
    const std::string stub = ReadFile(options.stub);
    auto stubTree = ReadResources(stub, ParsePeImage(stub).value());
    ASSERT_TRUE(stubTree.ok());
    for (const auto& [type, names] : stubTree.value())
      for (const auto& [name, languages] : names)
        for (const auto& [language, data] : languages) {
          const ResourceData& kept = tree.value().at(type).at(name).at(language);
          EXPECT_EQ(kept.bytes, data.bytes) << type.Describe() << "/" << name.Describe();
          EXPECT_EQ(kept.codePage, data.codePage);
        }

    std::vector<std::string> reported;
    for (const PackedEntry& entry : report.value().entries) {
      reported.push_back(entry.name);
      EXPECT_EQ(entry.size, ExpectedPayload().at(entry.name).size()) << entry.name;
    }
    EXPECT_EQ(reported.size(), ExpectedPayload().size());
    fs::remove_all(root_);
  }
}

TEST_F(PackTest, SameInputsGiveTheSameBytes) {
  // The second folder is written in the opposite order, so the order the file
  // system lists entries in differs too.
  const PackOptions first = Prepare();
  for (auto it = ProductFiles().rbegin(); it != ProductFiles().rend(); ++it)
    WriteFile(At("again/" + it->first), it->second);
  PackOptions second = first;
  second.files = At("again");
  second.output = At("Second-Setup.exe");
  ASSERT_TRUE(Pack(first).ok());
  ASSERT_TRUE(Pack(second).ok());
  const std::string a = ReadFile(first.output);
  EXPECT_FALSE(a.empty());
  EXPECT_TRUE(a == ReadFile(second.output));
  ASSERT_TRUE(Pack(first).ok());  // over an existing output
  EXPECT_TRUE(a == ReadFile(first.output));
}

TEST_F(PackTest, ListsFilesInResourceDirectoryOrder) {
  for (const char* name : {"b.txt", "A_B.TXT", "AAB.TXT", "a b.txt", "sub/x.txt", "Z.TXT", "\xC3\xA9.txt"})
    WriteFile(At(std::string("order/") + name), name);
  auto files = CollectPayloadFiles(At("order"));
  ASSERT_TRUE(files.ok()) << files.error();
  std::vector<std::string> names;
  for (const PayloadFile& file : files.value()) {
    names.push_back(file.name);
    EXPECT_TRUE(fs::is_regular_file(file.path)) << file.name;
  }
  const std::vector<std::string> expected = {"A B.TXT",    "AAB.TXT", "A_B.TXT",     "B.TXT",
                                             "SUB\\X.TXT", "Z.TXT",   "\xC3\x89.TXT"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(ReadFile(files.value()[3].path), "b.txt");
}

TEST_F(PackTest, StoresNamesAsWindowsUpperCasesThem) {
  // One-way mappings (µ, ǅ, ı, final ς) stay, as in Windows's table.
  for (const char* name : {"µ.txt", "ǅǆ.txt", "ա.txt", "ꭰ.txt", "Kısa.txt", "ａ.txt", "λόγος.txt", "ა.txt"})
    WriteFile(At(std::string("scripts/") + name), name);
  auto files = CollectPayloadFiles(At("scripts"));
  ASSERT_TRUE(files.ok()) << files.error();
  std::vector<std::string> names;
  for (const PayloadFile& file : files.value()) names.push_back(file.name);
  const std::vector<std::string> expected = {"KıSA.TXT", "µ.TXT", "ǅǄ.TXT", "ΛΌΓΟς.TXT",
                                             "Ա.TXT",    "Ꭰ.TXT", "Ა.TXT",  "Ａ.TXT"};
  EXPECT_EQ(names, expected);
}

TEST_F(PackTest, RefusesBadInputAndLeavesNoOutput) {
  struct Case {
    const char* what;
    std::function<void(PackTest&, PackOptions&)> spoil;
    const char* message;
    bool posixOnly = false;
  };
  const Case cases[] = {
      {"stub is a text file", [](PackTest& t, PackOptions&) { WriteFile(t.At("stub.exe"), "MZ? no"); }, "no MZ header"},
      {"stub is truncated",
       [](PackTest& t, PackOptions&) { WriteFile(t.At("stub.exe"), ReadFile(t.At("stub.exe")).substr(0, 0x500)); },
       "ends past the end of the file"},
      {"stub is missing", [](PackTest& t, PackOptions&) { fs::remove(t.At("stub.exe")); }, "does not exist"},
      {"stub already holds a payload",
       [](PackTest&, PackOptions& o) {
         ASSERT_TRUE(Pack(o).ok());
         fs::rename(o.output, o.stub);
       },
       "already holds the payload resource FILE:"},
      {"descriptor is missing", [](PackTest& t, PackOptions&) { fs::remove(t.At("DISK.ID")); }, "does not exist"},
      {"descriptor is a folder", [](PackTest& t, PackOptions& o) { o.descriptor = t.At("files/Data"); },
       "is not a file"},
      {"descriptor without PRODUCT",
       [](PackTest& t, PackOptions&) { WriteFile(t.At("DISK.ID"), "VERSION=1.0\r\nPRODUCT=\r\n"); },
       "has no PRODUCT value"},
      {"files folder is missing", [](PackTest& t, PackOptions& o) { o.files = t.At("nowhere"); }, "does not exist"},
      {"files folder is a file", [](PackTest& t, PackOptions& o) { o.files = t.At("DISK.ID"); }, "is not a folder"},
      {"files folder without files",
       [](PackTest& t, PackOptions& o) {
         o.files = t.At("hollow");
         fs::create_directories(t.At("hollow/empty/folders"));
       },
       "holds no files"},
      {"descriptor inside the files", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/disk.id"), "x"); },
       "would collide with the descriptor"},
      {"names equal once upper-cased", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/README.txt"), "x"); },
       "same name in the setup", true},
      {"accented names equal once upper-cased",
       [](PackTest& t, PackOptions&) { WriteFile(t.At("files/CAF\xC3\x89-\xC3\x91.TXT"), "x"); },
       "same name in the setup", true},
      {"folder names equal once upper-cased",
       [](PackTest& t, PackOptions&) { WriteFile(t.At("files/DATA/sub/NESTED.txt"), "x"); }, "same name in the setup",
       true},
      {"letter whose upper case has another length",
       [](PackTest& t, PackOptions&) { WriteFile(t.At("files/Data/ƀ ɐ.txt"), "x"); },
       "ƀ ɐ.txt\" cannot be stored so that the setup finds it again: Windows upper-cases its "
       "\"ɐ\" (U+0250) to \"Ɐ\" (U+2C6F)"},
      {"device name", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/Data/aux.txt"), "x"); },
       "reserved device name", true},
      {"control character", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/tab\t.txt"), "x"); },
       "character not allowed", true},
      {"drive or stream name", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/a:b.txt"), "x"); },
       "would leave the install folder", true},
      {"backslash in a name", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/a\\b.txt"), "x"); },
       "folder separator", true},
      {"name that is not UTF-8", [](PackTest& t, PackOptions&) { WriteFile(t.At("files/\xFF\xFE.txt"), "x"); },
       "not valid UTF-8: \\xFF\\xFE.txt", true},
      {"link to a folder",
       [](PackTest& t, PackOptions&) { fs::create_directory_symlink(t.At("files/Data"), t.At("files/loop")); },
       "neither a file nor a folder", true},
      {"broken link", [](PackTest& t, PackOptions&) { fs::create_symlink(t.At("gone"), t.At("files/gone")); },
       "neither a file nor a folder", true},
      {"output inside the files folder", [](PackTest& t, PackOptions& o) { o.output = t.At("files/Setup.exe"); },
       "inside the files folder"},
      {"output folder missing", [](PackTest& t, PackOptions& o) { o.output = t.At("missing/Setup.exe"); },
       "cannot create"},
      {"output is a folder", [](PackTest&, PackOptions& o) { fs::create_directories(o.output / "keep"); },
       "cannot replace"},
  };
  for (const Case& c : cases) {
    if (c.posixOnly && !kPosixNames) continue;
    for (bool outputExists : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (outputExists ? ", over an existing output" : ""));
      fs::remove_all(root_);
      PackOptions options = Prepare();
      c.spoil(*this, options);
      const bool previous = outputExists && fs::exists(options.output.parent_path()) && !fs::exists(options.output);
      if (previous) WriteFile(options.output, "previous setup");
      auto report = Pack(options);
      ASSERT_FALSE(report.ok());
      EXPECT_NE(report.error().find(c.message), std::string::npos) << report.error();
      if (previous)
        EXPECT_EQ(ReadFile(options.output), "previous setup");
      else
        EXPECT_FALSE(fs::is_regular_file(options.output));
      EXPECT_FALSE(fs::exists(options.output.string() + ".tmp"));
    }
  }
}

// Runs the command line in-process.
struct ToolRun {
  int code;
  std::string out;
  std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int code = RunPackTool(args, out, err);
  return {code, out.str(), err.str()};
}

TEST_F(PackTest, ListShowsEveryPayloadAndNamesADamagedOne) {
  const PackOptions options = Prepare(false);
  const std::string output = PathToUtf8(options.output);
  ToolRun packed = RunTool({"--stub", PathToUtf8(options.stub), "--descriptor", PathToUtf8(options.descriptor),
                            "--files", PathToUtf8(options.files), "-o", output});
  ASSERT_EQ(packed.code, 0) << packed.err;
  EXPECT_NE(packed.out.find("6 files and the descriptor"), std::string::npos) << packed.out;

  ToolRun listed = RunTool({"--list", output});
  ASSERT_EQ(listed.code, 0) << listed.err;
  std::map<std::string, std::uint64_t> sizes;
  std::istringstream lines(listed.out);
  std::string line;
  while (std::getline(lines, line)) {
    ASSERT_GT(line.size(), 27u) << line;
    sizes[line.substr(27)] = std::stoull(line.substr(13, 12));
  }
  std::map<std::string, std::uint64_t> expected;
  for (const auto& [name, bytes] : ExpectedPayload()) expected[name] = bytes.size();
  EXPECT_EQ(sizes, expected);

  // One byte changed in the middle of one stream.
  std::string image = ReadFile(options.output);
  const std::string stream = CompressPayload(ProductFiles().at("random.dat"));
  const std::size_t at = image.find(stream);
  ASSERT_NE(at, std::string::npos);
  image[at + stream.size() / 2] ^= 0x01;
  WriteFile(options.output, image);
  ToolRun damaged = RunTool({"--list", output});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_NE(damaged.err.find("payload RANDOM.DAT is damaged"), std::string::npos) << damaged.err;
  EXPECT_NE(damaged.out.find("damaged  RANDOM.DAT"), std::string::npos) << damaged.out;
  EXPECT_EQ(damaged.err.find("ZEROS.BIN"), std::string::npos) << damaged.err;

  ToolRun bare = RunTool({"--list", PathToUtf8(options.stub)});
  EXPECT_EQ(bare.code, 1);
  EXPECT_NE(bare.err.find("holds no payload"), std::string::npos) << bare.err;
  ToolRun notImage = RunTool({"--list", PathToUtf8(options.descriptor)});
  EXPECT_EQ(notImage.code, 1);
  EXPECT_NE(notImage.err.find("not a Windows executable"), std::string::npos) << notImage.err;
}

TEST_F(PackTest, ASignedStubLosesItsSignatureWithANote) {
  PackOptions options = Prepare();
  testing::TestImageOptions image;
  image.resources = testing::StandardResources();
  image.certificate = RandomBytes(512, 8);
  WriteFile(options.stub, testing::MakeTestImage(image));
  ToolRun packed = RunTool({"--stub", PathToUtf8(options.stub), "--descriptor", PathToUtf8(options.descriptor),
                            "--files", PathToUtf8(options.files), "--output", PathToUtf8(options.output)});
  ASSERT_EQ(packed.code, 0) << packed.err;
  EXPECT_NE(packed.out.find("signature (512 bytes)"), std::string::npos) << packed.out;
  EXPECT_EQ(ReadFile(options.output).find(image.certificate), std::string::npos);
}

TEST(PackTool, WrongUsageExitsWithTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{}, "nothing to do"},
      {{"--stub"}, "--stub needs a value"},
      {{"--bogus", "x"}, "unknown argument \"--bogus\""},
      {{"--list", "a.exe", "--stub", "b.exe"}, "--list takes no other options"},
      {{"--stub", "a", "--stub", "b"}, "--stub given twice"},
      {{"--stub", "a", "--descriptor", "d", "--files", "f"}, "missing the output option"},
  };
  for (const Case& c : cases) {
    ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.code, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
  }
  ToolRun help = RunTool({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace orvalis::pack
