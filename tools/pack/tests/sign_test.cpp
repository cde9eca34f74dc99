// Signing through osslsigncode: a signed setup carries a certificate entry, and
// a missing tool, a wrong password or an unreadable certificate is told apart
// and leaves no file behind. Runs with the real tools where they are installed.
#include "tools/pack/signing.h"

#include "tools/pack/cli.h"
#include "tools/pack/packer.h"
#include "tools/pack/pe_image.h"
#include "tools/pack/process.h"
#include "tools/pack/tests/test_images.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace orvalis::pack {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(PathToUtf8(entry.path().filename()));
  return names;
}

// Sets PATH for the life of the object.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& value) : old_(ProgramSearchPath()) { Set(value); }
  ~ScopedPath() { Set(old_); }

 private:
  static void Set(const std::string& value) {
#ifdef _WIN32
    _putenv_s("PATH", value.c_str());
#else
    setenv("PATH", value.c_str(), 1);
#endif
  }
  std::string old_;
};

class SignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("orvalis-sign-test-" + std::to_string(random()));
    testing::TestImageOptions image;
    image.resources = testing::StandardResources();
    WriteFile(root_ / "stub.exe", testing::MakeTestImage(image));
    WriteFile(root_ / "DISK.ID", "Product=Demo\r\nVersion=1_0\r\n");
    WriteFile(root_ / "files" / "a.txt", "a");
    WriteFile(root_ / "pass.txt", "right horse");
    WriteFile(root_ / "wrong.txt", "wrong horse");
    WriteFile(root_ / "junk.pfx", "this is no certificate");
    fs::create_directories(root_ / "out");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  std::vector<std::string> PackArgs() const {
    return {"--stub", PathToUtf8(root_ / "stub.exe"), "--descriptor", PathToUtf8(root_ / "DISK.ID"),
            "--files", PathToUtf8(root_ / "files"), "-o", PathToUtf8(Output())};
  }
  fs::path Output() const { return root_ / "out" / "Demo-Setup.exe"; }

  // A certificate with its key in root_/cert.pfx, made by openssl; false when
  // either tool is missing (the Windows build, or a machine without them).
  bool MakeCertificate() {
    const std::string path = ProgramSearchPath();
    if (FindProgram(kSigningTool, path).empty()) return false;
    const fs::path openssl = FindProgram("openssl", path);
    if (openssl.empty()) return false;
    const std::string dir = PathToUtf8(root_) + "/";
    auto made = RunProgram(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                     "/CN=Orvalis Test", "-keyout", dir + "key.pem", "-out", dir + "cert.pem"});
    if (!made.ok() || made.value().exitCode != 0) return false;
    made = RunProgram(openssl, {"pkcs12", "-export", "-inkey", dir + "key.pem", "-in", dir + "cert.pem", "-out",
                                dir + "cert.pfx", "-passout", "file:" + dir + "pass.txt"});
    return made.ok() && made.value().exitCode == 0;
  }

  fs::path root_;
};

TEST_F(SignTest, PrepareNamesWhatIsMissing) {
  fs::create_directories(root_ / "empty");
  struct Case {
    std::string searchPath;
    fs::path certificate, password;
    std::string message;
  } cases[] = {
      {PathToUtf8(root_ / "empty"), root_ / "junk.pfx", root_ / "pass.txt", "osslsigncode is not found on the PATH"},
      {"", root_ / "junk.pfx", root_ / "pass.txt", "osslsigncode is not found on the PATH"},
  };
  for (const Case& c : cases) {
    auto tool = PrepareSigning({c.certificate, c.password, "", c.searchPath});
    ASSERT_FALSE(tool.ok());
    EXPECT_NE(tool.error().find(c.message), std::string::npos) << tool.error();
  }
  // With a tool on the search path the files are checked.
#ifdef _WIN32
  WriteFile(root_ / "bin" / "osslsigncode.exe", "MZ");
#else
  WriteFile(root_ / "bin" / "osslsigncode", "#!/bin/sh\n");
  fs::permissions(root_ / "bin" / "osslsigncode", fs::perms::owner_all);
#endif
  const std::string bin = PathToUtf8(root_ / "bin");
  EXPECT_FALSE(FindProgram(kSigningTool, bin).empty());
  auto noCertificate = PrepareSigning({root_ / "none.pfx", root_ / "pass.txt", "", bin});
  ASSERT_FALSE(noCertificate.ok());
  EXPECT_NE(noCertificate.error().find("cannot read the certificate"), std::string::npos) << noCertificate.error();
  auto noPassword = PrepareSigning({root_ / "junk.pfx", root_ / "out", "", bin});
  ASSERT_FALSE(noPassword.ok());
  EXPECT_NE(noPassword.error().find("password file"), std::string::npos) << noPassword.error();
  EXPECT_TRUE(PrepareSigning({root_ / "junk.pfx", root_ / "pass.txt", "", bin}).ok());
}

TEST_F(SignTest, MissingToolLeavesNoOutput) {
  fs::create_directories(root_ / "empty");
  ScopedPath path(PathToUtf8(root_ / "empty"));
  std::vector<std::string> args = PackArgs();
  args.insert(args.end(), {"--sign", PathToUtf8(root_ / "junk.pfx"), "--password-file", PathToUtf8(root_ / "pass.txt")});
  std::ostringstream out, err;
  EXPECT_EQ(RunPackTool(args, out, err), 1);
  EXPECT_NE(err.str().find("osslsigncode is not found"), std::string::npos) << err.str();
  EXPECT_TRUE(FilesIn(root_ / "out").empty());
}

TEST(SignFailure, TellsTheCausesApart) {
  const SignOptions options{"c.pfx", "p.txt", "http://127.0.0.1:9/", ""};
  const std::pair<std::string, std::string> cases[] = {
      {"Failed to parse PKCS#12 file: c.pfx (Wrong password?)\nFailed to read key or certificates\n",
       "the password in \"p.txt\" does not open the certificate \"c.pfx\""},
      {"Failed to extract PKCS#12 data: c.pfx\nFailed to read key or certificates\n",
       "the certificate \"c.pfx\" cannot be read as a PKCS#12"},
      {"Failed to read password from file: p.txt\n", "the password file \"p.txt\" cannot be read"},
      {"CURL failure: Couldn't connect to server\nRFC3161 timestamping failed\nFailed\n",
       "the time-stamp server http://127.0.0.1:9/ did not answer (RFC3161 timestamping failed)"},
      {"Unrecognized file type\nFailed\n", "osslsigncode failed: Unrecognized file type"},
  };
  for (const auto& [output, message] : cases)
    EXPECT_NE(DescribeSigningFailure(output, options).find(message), std::string::npos)
        << DescribeSigningFailure(output, options);
}

TEST_F(SignTest, SignsAndRefusesWithTheRealTool) {
  if (!MakeCertificate()) GTEST_SKIP() << "osslsigncode or openssl is not installed";
  const std::string pfx = PathToUtf8(root_ / "cert.pfx");
  struct Case {
    std::string certificate, password, timestamp, message;  // empty message: signs
  } cases[] = {
      {pfx, PathToUtf8(root_ / "wrong.txt"), "", "does not open the certificate"},
      {PathToUtf8(root_ / "junk.pfx"), PathToUtf8(root_ / "pass.txt"), "", "cannot be read as a PKCS#12"},
      {pfx, PathToUtf8(root_ / "pass.txt"), "http://127.0.0.1:9/", "time-stamp server"},
      {pfx, PathToUtf8(root_ / "pass.txt"), "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.certificate + " " + c.password + " " + c.timestamp);
    std::vector<std::string> args = PackArgs();
    args.insert(args.end(), {"--sign", c.certificate, "--password-file", c.password});
    if (!c.timestamp.empty()) args.insert(args.end(), {"--timestamp", c.timestamp});
    std::ostringstream out, err;
    const int status = RunPackTool(args, out, err);
    if (!c.message.empty()) {
      EXPECT_EQ(status, 1);
      EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
      EXPECT_TRUE(FilesIn(root_ / "out").empty());
      continue;
    }
    ASSERT_EQ(status, 0) << err.str();
    EXPECT_EQ(FilesIn(root_ / "out"), std::vector<std::string>{"Demo-Setup.exe"});
    std::ifstream in(Output(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto image = ParsePeImage(bytes);
    ASSERT_TRUE(image.ok()) << image.error();
    const DataDirectory certificate = image.value().directories.at(kCertificateDirectory);
    EXPECT_GT(certificate.size, 0u);
    EXPECT_EQ(std::uint64_t{certificate.address} + certificate.size, bytes.size());
    EXPECT_NE(out.str().find(std::string("(") + std::to_string(bytes.size()) + " bytes)"), std::string::npos) << out.str();
  }
}

// The arguments reach the program one by one, blanks and quotes intact, and
// its output and exit code come back.
TEST(RunProgram, PassesArgumentsAndReturnsOutputAndExitCode) {
#ifdef _WIN32
  const fs::path shell = FindProgram("cmd", ProgramSearchPath());
  ASSERT_FALSE(shell.empty());
  // cmd's echo prints its command line as written: the quoting itself shows.
  auto run = RunProgram(shell, {"/c", "echo", "a \"b\" c\\", "&", "exit", "3"});
  ASSERT_TRUE(run.ok()) << run.error();
  EXPECT_EQ(run.value().output.rfind("\"a \\\"b\\\" c\\\\\" \r\n", 0), 0u) << run.value().output;
#else
  const fs::path shell = FindProgram("sh", ProgramSearchPath());
  ASSERT_FALSE(shell.empty());
  auto run = RunProgram(shell, {"-c", "printf '%s|%s' \"$1\" \"$2\" >&2; exit 3", "sh", "a \"b\" c\\", ""});
  ASSERT_TRUE(run.ok()) << run.error();
  EXPECT_EQ(run.value().output, "a \"b\" c\\|");
#endif
  EXPECT_EQ(run.value().exitCode, 3);
  EXPECT_FALSE(RunProgram(fs::path("/no/such/program"), {}).ok());
}

}  // namespace
}  // namespace orvalis::pack
