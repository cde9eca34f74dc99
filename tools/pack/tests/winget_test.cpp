// The winget manifests' texts and folders, their quoting and the values they
// refuse; and the SHA-256 that names the installer in them.
#include "tools/pack/winget.h"

#include "tools/pack/cli.h"
#include "tools/pack/packer.h"
#include "tools/pack/sha256.h"
#include "tools/pack/tests/test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace orvalis::pack {
namespace {

const WingetOptions kOptions{"Orvalis.Demo", "https://example.com/Demo-Setup.exe"};
const WingetInstaller kInstaller{0x014C, std::string(64, 'A')};

const std::string kDemo =
    "Product=Demo\r\nProductName=Orvalis_Demo_NL\r\nProductNameEnu=Orvalis_Demo\r\nProgram=OrvalisDemo.exe\r\n"
    "Version=1_0_0_0\r\n";

// The installer as both manifest forms describe it.
const std::string kDemoInstaller =
    "Installers:\n"
    "- Architecture: 'x86'\n"
    "  InstallerType: 'exe'\n"
    "  Scope: 'machine'\n"
    "  InstallerUrl: 'https://example.com/Demo-Setup.exe'\n"
    "  InstallerSha256: '" + std::string(64, 'A') + "'\n"
    "  InstallModes:\n"
    "  - 'interactive'\n"
    "  - 'silent'\n"
    "  - 'silentWithProgress'\n"
    "  InstallerSwitches:\n"
    "    Silent: '/Q /U'\n"
    "    SilentWithProgress: '/U'\n"
    "    InstallLocation: '/P:\"<INSTALLPATH>\"'\n"
    "    Log: '/O:\"<LOGPATH>\"'\n"
    "    Custom: '/I'\n"
    "  ExpectedReturnCodes:\n"
    "  - InstallerReturnCode: 1602\n"
    "    ReturnResponse: 'cancelledByUser'\n"
    "  - InstallerReturnCode: 1618\n"
    "    ReturnResponse: 'installInProgress'\n"
    "  ProductCode: 'Demo'\n"
    "  AppsAndFeaturesEntries:\n"
    "  - DisplayName: 'Orvalis Demo NL'\n"
    "    Publisher: 'Orvalis'\n"
    "    DisplayVersion: '1.0.0.0'\n"
    "    ProductCode: 'Demo'\n";

const std::string kWritten = "# Written by orvalis-pack for the setup it packed.\n";
const std::string kIdentity = "PackageIdentifier: 'Orvalis.Demo'\nPackageVersion: '1.0.0.0'\n";

TEST(WingetManifests, DescribeAPerMachineSetupInFourFiles) {
  ASSERT_EQ(WingetProblem(kDemo, kOptions), "");
  const std::string folder = "manifests/o/Orvalis/Demo/1.0.0.0/Orvalis.Demo";
  const std::vector<std::pair<std::string, std::string>> expected = {
      {folder + ".yaml",
       "# yaml-language-server: $schema=https://aka.ms/winget-manifest.version.1.28.0.schema.json\n" + kWritten +
           kIdentity +
           "DefaultLocale: 'en-US'\n"
           "ManifestType: 'version'\n"
           "ManifestVersion: '1.28.0'\n"},
      {folder + ".installer.yaml",
       "# yaml-language-server: $schema=https://aka.ms/winget-manifest.installer.1.28.0.schema.json\n" + kWritten +
           kIdentity + kDemoInstaller +
           "ManifestType: 'installer'\n"
           "ManifestVersion: '1.28.0'\n"},
      {folder + ".locale.en-US.yaml",
       "# yaml-language-server: $schema=https://aka.ms/winget-manifest.defaultLocale.1.28.0.schema.json\n" + kWritten +
           kIdentity +
           "PackageLocale: 'en-US'\n"
           "Publisher: 'Orvalis'\n"
           "PublisherUrl: 'https://www.orvalis.nl/'\n"
           "PackageName: 'Orvalis Demo'\n"
           "License: 'Proprietary'\n"
           "ShortDescription: 'Installs Orvalis Demo 1.0.0.0'\n"
           "ManifestType: 'defaultLocale'\n"
           "ManifestVersion: '1.28.0'\n"},
      {folder + ".locale.nl-NL.yaml",
       "# yaml-language-server: $schema=https://aka.ms/winget-manifest.locale.1.28.0.schema.json\n" + kWritten +
           kIdentity +
           "PackageLocale: 'nl-NL'\n"
           "PackageName: 'Orvalis Demo NL'\n"
           "ShortDescription: 'Installeert Orvalis Demo NL 1.0.0.0'\n"
           "ManifestType: 'locale'\n"
           "ManifestVersion: '1.28.0'\n"},
  };
  const std::vector<WingetFile> files = WingetManifests(kDemo, kOptions, kInstaller);
  ASSERT_EQ(files.size(), expected.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].path, expected[i].first);
    EXPECT_EQ(files[i].text, expected[i].second) << files[i].path;
  }
}

// Without a Dutch product name there is nothing to say in Dutch; the English
// name stands for every language.
TEST(WingetManifests, WriteTheDutchLocaleOnlyForADutchName) {
  const std::string english = "Product=Demo\r\nProductNameEnu=Demo_Tool\r\nProgram=Demo.exe\r\nVersion=2\r\n";
  ASSERT_EQ(WingetProblem(english, kOptions), "");
  std::vector<std::string> paths;
  for (const WingetFile& file : WingetManifests(english, kOptions, kInstaller)) paths.push_back(file.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"manifests/o/Orvalis/Demo/2/Orvalis.Demo.yaml",
                                             "manifests/o/Orvalis/Demo/2/Orvalis.Demo.installer.yaml",
                                             "manifests/o/Orvalis/Demo/2/Orvalis.Demo.locale.en-US.yaml"}));
}

// The community repository's folders: the identifier's first letter in lower
// case, then a folder per part of the identifier, then the version.
TEST(WingetManifests, LieInTheCommunityRepositoryLayout) {
  const std::pair<std::string, std::string> cases[] = {
      {"Orvalis.Demo", "manifests/o/Orvalis/Demo/2.5"},
      {"orvalis.Demo", "manifests/o/orvalis/Demo/2.5"},
      {"Zeta.Office.Writer", "manifests/z/Zeta/Office/Writer/2.5"},
      {"\xC3\x84rger.Demo", "manifests/\xC3\xA4/\xC3\x84rger/Demo/2.5"},  // Ärger: ä
      {"7zip.Demo", "manifests/7/7zip/Demo/2.5"},
  };
  for (const auto& [id, folder] : cases) {
    const WingetOptions options{id, kOptions.installerUrl};
    const std::string descriptor = "Product=Demo\r\nProductName=Demo\r\nVersion=2_5\r\n";
    ASSERT_EQ(WingetProblem(descriptor, options), "") << id;
    EXPECT_EQ(WingetManifestFolder(descriptor, options), folder);
    for (const WingetFile& file : WingetManifests(descriptor, options, kInstaller))
      EXPECT_EQ(file.path.substr(0, folder.size() + 1 + id.size()), folder + "/" + id) << file.path;
  }
}

TEST(WingetManifest, SingletonDescribesAPerMachineSetup) {
  ASSERT_EQ(WingetProblem(kDemo, kOptions), "");
  EXPECT_EQ(WingetSingletonManifest(kDemo, kOptions, kInstaller),
            "# yaml-language-server: $schema=https://aka.ms/winget-manifest.singleton.1.6.0.schema.json\n" + kWritten +
                kIdentity +
                "PackageLocale: 'en-US'\n"
                "Publisher: 'Orvalis'\n"
                "PackageName: 'Orvalis Demo'\n"
                "License: 'Proprietary'\n"
                "ShortDescription: 'Installs Orvalis Demo 1.0.0.0'\n" +
                kDemoInstaller +
                "ManifestType: 'singleton'\n"
                "ManifestVersion: '1.6.0'\n");
}

// Lines that must appear (or, after "!", must not) in one of the files of the
// multi-file manifest for each descriptor.
TEST(WingetManifests, FollowTheDescriptor) {
  const std::string base = "Product=Demo\r\nProgram=Demo.exe\r\nVersion=2_5\r\n";
  struct Case {
    std::string descriptor;
    std::uint16_t machine;
    std::vector<std::string> lines;
  } cases[] = {
      {base + "ProductName=It's: \"Demo\"\r\nProductNameEnu=It's: \"Demo\"\r\n", 0x8664,
       {"PackageName: 'It''s: \"Demo\"'", "  - DisplayName: 'It''s: \"Demo\"'", "- Architecture: 'x64'",
        "PackageVersion: '2.5'"}},
      {base + "ProductName=NL\r\nProductNameEnu=EN\r\nParams=/m:enu /P:\"C:\\Users\\x\\AppData\\Local\\Tools\"\r\n", 0x014C,
       {"  Scope: 'user'", "  - DisplayName: 'EN'", "  UnsupportedArguments:", "  - 'location'",
        "!    InstallLocation: '/P:\"<INSTALLPATH>\"'", "    Log: '/O:\"<LOGPATH>\"'", "PackageName: 'EN'",
        "PackageName: 'NL'", "ShortDescription: 'Installeert NL 2.5'"}},
      {base + "ProductName=Demo\r\nParams=/P:D:\\Apps /O:\"C:\\x.log\"\r\n", 0x014C,
       {"  Scope: 'machine'", "  - 'log'", "  - 'location'", "!    Log: '/O:\"<LOGPATH>\"'"}},
      {"Product=Demo\r\nProductName=Name\r\nVersion=1\r\n", 0x014C,  // no PROGRAM: no software-list entry
       {"!  ProductCode: 'Demo'", "!  AppsAndFeaturesEntries:", "!    Custom: '/I'", "PackageName: 'Name'"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.descriptor);
    ASSERT_EQ(WingetProblem(c.descriptor, kOptions), "");
    std::string text = "\n";
    for (const WingetFile& file : WingetManifests(c.descriptor, kOptions, {c.machine, kInstaller.sha256}))
      text += file.text;
    for (const std::string& line : c.lines) {
      const bool absent = line[0] == '!';
      std::string needle = "\n";
      needle.append(line, absent ? 1 : 0);
      needle += '\n';
      EXPECT_EQ(text.find(needle) == std::string::npos, absent) << line << "\n" << text;
    }
  }
}

TEST(WingetManifest, QuotesEveryStringSafely) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "'plain'"},
      {"it's", "'it''s'"},
      {"a: b # c", "'a: b # c'"},
      {"\"C:\\x\"", "'\"C:\\x\"'"},
      {"caf\xC3\xA9", "'caf\xC3\xA9'"},
      {"", "''"},
      {"tab\there", "\"tab\\there\""},
      {"line\nbreak \"q\" \\", "\"line\\x0Abreak \\\"q\\\" \\\\\""},
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(YamlQuoted(text), quoted) << text;
}

TEST(WingetManifest, RefusesWhatTheSchemaRefuses) {
  const std::string good = "Product=Demo\r\nProductName=Demo\r\nProgram=Demo.exe\r\nVersion=1_0\r\n";
  struct Case {
    std::string id, url, descriptor, problem;  // a part of the message; empty: accepted
  } cases[] = {
      {"Orvalis.Demo", "https://x/y.exe", good, ""},
      {"A.B.C.D.E.F.G.H", "HTTP://x", good, ""},
      {"Orvalis", "https://x/y.exe", good, "is not Publisher.Name"},
      {"Orvalis.", "https://x/y.exe", good, "is not Publisher.Name"},
      {"Orvalis.My Demo", "https://x/y.exe", good, "is not Publisher.Name"},
      {"A.B.C.D.E.F.G.H.I", "https://x/y.exe", good, "is not Publisher.Name"},
      {"Orvalis." + std::string(33, 'x'), "https://x/y.exe", good, "is not Publisher.Name"},
      {"Orvalis.Demo", "ftp://x/y.exe", good, "does not start with http"},
      {"Orvalis.Demo", "https://", good, "does not start with http"},
      {"Orvalis.Demo", "https://x/y.exe", "Product=Demo\r\nProductName=Demo\r\n", "no VERSION"},
      {"Orvalis.Demo", "https://x/y.exe", "Product=Demo\r\nProductName=Demo\r\nVersion=1:0\r\n", "holds \":\""},
      {"Orvalis.Demo", "https://x/y.exe", "Product=D\r\nVersion=1\r\n", "shorter than 2"},
      {"Orvalis.Demo", "https://x/y.exe", "Product=Demo\r\nProductName=\xFF\xFE\r\nVersion=1\r\n", "not UTF-8"},
      // The Dutch name goes into the nl-NL manifest, which holds it to the same length.
      {"Orvalis.Demo", "https://x/y.exe", "Product=Demo\r\nProductName=D\r\nProductNameEnu=Demo\r\nVersion=1\r\n",
       "Dutch product name \"D\" is shorter than 2"},
      // "Installs NAME VERSION" in at most 256 characters.
      {"Orvalis.Demo", "https://x/y.exe",
       "Product=Demo\r\nProductName=Demo\r\nProductNameEnu=" + std::string(239, 'x') + "\r\nVersion=1_0_0_0\r\n", ""},
      {"Orvalis.Demo", "https://x/y.exe",
       "Product=Demo\r\nProductName=Demo\r\nProductNameEnu=" + std::string(239, 'x') + "\r\nVersion=1_0_0_0_0\r\n",
       "too long together"},
      {"Orvalis.Demo", "https://x/y.exe",
       "Product=Demo\r\nProductName=" + std::string(236, 'x') + "\r\nProductNameEnu=Demo\r\nVersion=1_0_0_0_0\r\n",
       "too long together"},
      // The identifier's parts and the version become folders.
      {"CON.Demo", "https://x/y.exe", good, "folder \"manifests/c/CON/Demo/1.0\" cannot be made: reserved device name"},
      {"Orvalis.Demo", "https://x/y.exe", "Product=Demo\r\nProductName=Demo\r\nVersion=1_\r\n", "ends with a dot"},
      {"Orvalis.Demo", "https://x/y.exe", "Product=Demo\r\nProductName=Demo\r\nVersion=..\r\n", "cannot be made"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id + " " + c.url + " " + c.descriptor);
    const std::string problem = WingetProblem(c.descriptor, {c.id, c.url});
    if (c.problem.empty())
      EXPECT_EQ(problem, "");
    else
      EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
  }
}

TEST(Sha256, MatchesTheStandardsExamples) {
  EXPECT_EQ(Sha256Hex(""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
  EXPECT_EQ(Sha256Hex("abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
  // A million "a" in uneven pieces, so additions straddle the 64-byte blocks.
  Sha256 sha;
  const std::string a(1'000'000, 'a');
  for (std::size_t at = 0, step = 1; at < a.size(); at += step, step = step % 131 + 7)
    sha.Add(std::string_view(a).substr(at, step));
  std::string hex;
  for (std::uint8_t byte : sha.Finish()) hex += "0123456789ABCDEF"[byte >> 4], hex += "0123456789ABCDEF"[byte & 15];
  EXPECT_EQ(hex, "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
}

// Through the command line: the manifests name the setup as written, and a
// refused manifest option stops the run before anything is written.
TEST(WingetManifests, PackToolWritesThemForTheSetupOrNothingAtAll) {
  namespace fs = std::filesystem;
  std::random_device random;
  const fs::path root = fs::temp_directory_path() / ("orvalis-winget-test-" + std::to_string(random()));
  auto write = [](const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  };
  auto read = [](const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
  };
  auto written = [&root] {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root / "out"))
      if (entry.is_regular_file()) paths.push_back(fs::relative(entry.path(), root / "out").generic_string());
    std::sort(paths.begin(), paths.end());
    return paths;
  };
  testing::TestImageOptions image;
  image.resources = testing::StandardResources();
  write(root / "stub.exe", testing::MakeTestImage(image));
  write(root / "DISK.ID", "Product=Demo\r\nProductName=Demo_NL\r\nProductNameEnu=Demo\r\nProgram=Demo.exe\r\nVersion=1_2\r\n");
  write(root / "files" / "Demo.exe", "MZ");
  fs::create_directories(root / "out");
  auto args = [&](const std::string& id, const fs::path& folder) {
    return std::vector<std::string>{"--stub", PathToUtf8(root / "stub.exe"), "--descriptor", PathToUtf8(root / "DISK.ID"),
                                    "--files", PathToUtf8(root / "files"), "-o", PathToUtf8(root / "out" / "S.exe"),
                                    "--winget", PathToUtf8(folder), "--winget-singleton",
                                    PathToUtf8(root / "out" / "S.yaml"), "--id", id, "--url", "https://example.com/S.exe"};
  };
  std::ostringstream out, err;
  EXPECT_EQ(RunPackTool(args("Orvalis Demo", root / "out" / "winget"), out, err), 1);
  EXPECT_NE(err.str().find("is not Publisher.Name"), std::string::npos) << err.str();
  EXPECT_EQ(written(), std::vector<std::string>{});
  write(root / "out" / "file", "");
  EXPECT_EQ(RunPackTool(args("Orvalis.Demo", root / "out" / "file"), out, err), 1);
  EXPECT_NE(err.str().find("is a file, not a folder"), std::string::npos) << err.str();
  EXPECT_EQ(written(), std::vector<std::string>{"file"});
  fs::remove(root / "out" / "file");
  std::vector<std::string> noId = args("Orvalis.Demo", root / "out" / "winget");
  noId.resize(noId.size() - 4);
  EXPECT_EQ(RunPackTool(noId, out, err), 2);
  EXPECT_NE(err.str().find("--winget needs --id and --url"), std::string::npos) << err.str();

  ASSERT_EQ(RunPackTool(args("Orvalis.Demo", root / "out" / "winget"), out, err), 0) << err.str();
  const std::string folder = "winget/manifests/o/Orvalis/Demo/1.2/";
  EXPECT_EQ(written(), (std::vector<std::string>{"S.exe", "S.yaml", folder + "Orvalis.Demo.installer.yaml",
                                                 folder + "Orvalis.Demo.locale.en-US.yaml",
                                                 folder + "Orvalis.Demo.locale.nl-NL.yaml", folder + "Orvalis.Demo.yaml"}));
  const std::string hash = "  InstallerSha256: '" + Sha256Hex(read(root / "out" / "S.exe")) + "'\n";
  for (const std::string& manifest : {read(root / "out" / "S.yaml"), read(root / "out" / folder / "Orvalis.Demo.installer.yaml")}) {
    EXPECT_NE(manifest.find(hash), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("- Architecture: 'x64'\n"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("PackageVersion: '1.2'\n"), std::string::npos) << manifest;
  }
  std::error_code ec;
  fs::remove_all(root, ec);
}

}  // namespace
}  // namespace orvalis::pack
