// The floor of the install benchmark: a program that does nothing but list the
// payload of its own image and inflate each stream into its file. Packed with
// orvalis-pack like the setup, so it reads the very same resources.
//
//   orvalis-bench-floor.exe MODE FOLDER [--chunk=BYTES] [--window]
//
// MODE:
//   stream  one inflate() pass per stream, read in place from the mapped
//           image, each chunk of output written as it comes; one z_stream and
//           one chunk buffer (128 KiB unless --chunk says otherwise) for all files
//   none    lists the payload and ends: the cost of starting the process
//
// --window shows the setup's own progress window (TfrmProgress), its label and
// bar set per file and repainted at most every 50 ms as the setup does, to
// weigh what having a window costs under Wine.
//
// Prints one line of phase times (milliseconds) and counts on standard output,
// so a run also tells where its time went.
#include <windows.h>
#include <commctrl.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "services/files.h"
#include "services/payload.h"
#include "services/payload_name.h"
#include "setup/progress_window.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Profile {
  double list = 0, inflate = 0, folders = 0, create = 0, write = 0, close = 0, paint = 0;
  std::size_t files = 0, failed = 0, stored = 0, inflated = 0, repaints = 0;
};

// The bytes of a resource where the image maps them.
bool Resource(const std::string& name, const unsigned char*& data, DWORD& size) {
  HRSRC info = ::FindResourceW(nullptr, orvalis::win::Wide("FILE:" + name).c_str(), RT_RCDATA);
  if (info == nullptr) return false;
  size = ::SizeofResource(nullptr, info);
  HGLOBAL loaded = ::LoadResource(nullptr, info);
  data = loaded ? static_cast<const unsigned char*>(::LockResource(loaded)) : nullptr;
  return data != nullptr && size != 0;
}

// One inflate() pass, writing every chunk of output as it comes.
bool InflateToFile(z_stream& z, std::vector<unsigned char>& chunk, const unsigned char* input, DWORD size,
                   const std::string& path, Profile& p) {
  double t0 = Now();
  orvalis::win::unique_file file(::CreateFileW(orvalis::win::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  p.create += Now() - t0;
  if (!file) return false;
  if (inflateReset(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(input);
  z.avail_in = size;
  int rc = Z_OK;
  bool ok = true;
  while (ok && rc != Z_STREAM_END) {
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    double t1 = Now();
    rc = inflate(&z, Z_NO_FLUSH);
    double t2 = Now();
    p.inflate += t2 - t1;
    DWORD have = static_cast<DWORD>(chunk.size() - z.avail_out);
    if (rc != Z_OK && rc != Z_STREAM_END) ok = false;
    DWORD written = 0;
    if (ok && have != 0 && (!::WriteFile(file.get(), chunk.data(), have, &written, nullptr) || written != have))
      ok = false;
    p.write += Now() - t2;
    p.inflated += have;
  }
  double t3 = Now();
  if (::CloseHandle(file.release()) == FALSE) ok = false;
  p.close += Now() - t3;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: orvalis-bench-floor.exe stream|none FOLDER [--chunk=BYTES] [--window]\n");
    return 2;
  }
  const std::string mode = argv[1];
  std::string folder = argv[2];
  std::size_t chunkSize = 128 * 1024;
  bool window = false;
  for (int i = 3; i < argc; ++i) {
    if (std::strncmp(argv[i], "--chunk=", 8) == 0) chunkSize = std::strtoul(argv[i] + 8, nullptr, 10);
    else if (std::strcmp(argv[i], "--window") == 0) window = true;
  }
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  const double start = Now();
  Profile p;

  std::vector<std::string> names;
  if (!orvalis::ListResourceNames(nullptr, &names, "FILE:", RT_RCDATA)) return 1;
  p.list = Now() - start;

  std::unique_ptr<orvalis::TfrmProgress> progress;
  double lastPaint = -1000;
  auto repaint = [&](bool force) {
    double t = Now();
    if (!force && t - lastPaint < 50) return;
    progress->Repaint();
    lastPaint = Now();
    p.paint += lastPaint - t;
    ++p.repaints;
  };
  if (window) {
    ::InitCommonControls();
    progress = std::make_unique<orvalis::TfrmProgress>("Bench", static_cast<int>(names.size()) + 3);
  }

  z_stream z{};
  if (inflateInit(&z) != Z_OK) return 1;
  std::vector<unsigned char> chunk(chunkSize);
  std::size_t index = 0;
  if (mode == "stream") {
    for (const auto& name : names) {
      ++index;
      if (name == "DISK.ID") continue;
      ++p.files;
      if (progress) {
        progress->SetStep(orvalis::PayloadDisplayName(name));
        progress->SetPosition(static_cast<int>(index - 1));
        repaint(false);
      }
      const unsigned char* data = nullptr;
      DWORD size = 0;
      if (!Resource(name, data, size)) {
        ++p.failed;
        continue;
      }
      p.stored += size;
      std::string path = folder + orvalis::PayloadDisplayName(name);
      double t0 = Now();
      bool ok = orvalis::ForceFolders(path.substr(0, path.rfind('\\') + 1));
      p.folders += Now() - t0;
      if (!ok || !InflateToFile(z, chunk, data, size, path, p)) ++p.failed;
    }
    if (progress) repaint(true);
  }
  inflateEnd(&z);
  std::printf(
      "mode=%s files=%zu failed=%zu stored=%zu inflated=%zu chunk=%zu total_ms=%.1f list_ms=%.1f folders_ms=%.1f "
      "create_ms=%.1f inflate_ms=%.1f write_ms=%.1f close_ms=%.1f paint_ms=%.1f repaints=%zu\n",
      mode.c_str(), p.files, p.failed, p.stored, p.inflated, chunkSize, Now() - start, p.list, p.folders, p.create,
      p.inflate, p.write, p.close, p.paint, p.repaints);
  return p.failed == 0 ? 0 : 1;
}
