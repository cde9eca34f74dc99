// The floor of the install benchmark: a program that does nothing but list the
// payload of its own image, inflate each stream and write the files. Packed with
// orvalis-pack like the setup, so it reads the very same resources.
//
//   orvalis-bench-floor.exe MODE FOLDER [--ui=full2|full1|parts|throttle|still]
//
// MODE:
//   grow    the setup's rule: LoadResourceData, then InflateData (one-shot
//           uncompress, retried with a growing buffer), one write per file
//   once    one inflate() pass per stream into a buffer that grows by doubling
//           without inflating again, cut to the exact size, one write per file
//   stream  one inflate() pass per stream, each 1 MiB of output written as it
//           comes, so no file is ever held whole in memory
//   none    lists the payload and ends: the cost of starting the process
//
// --ui shows the setup's own progress window (TfrmProgress) while it works, to
// weigh what painting it costs:
//   full2     per file: label set and whole window repainted, bar set and whole
//             window repainted again (what an install pass does today)
//   full1     per file: label and bar set, one whole-window repaint
//   parts     per file: label and bar set, only those two controls repainted
//   throttle  label and bar set per file, a whole-window repaint at most every
//             50 ms (and after the last file)
//   still     the window is shown once and never repainted
//
// Prints one line of phase times (milliseconds) and counts on standard output,
// so a run also tells where its time went.
#include <windows.h>
#include <commctrl.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "services/files.h"
#include "services/inflate.h"
#include "services/payload.h"
#include "services/payload_name.h"
#include "setup/progress_window.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace {

constexpr std::size_t kChunk = 1 << 20;

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
  double list = 0, load = 0, inflate = 0, folders = 0, write = 0, paint = 0;
  std::size_t repaints = 0;
  std::size_t files = 0, failed = 0, attempts = 0, stored = 0, inflated = 0, attemptBytes = 0;
};

// One inflate() pass over `input`; the buffer doubles when full, so the
// stream is inflated exactly once. Same failures as uncompress(): a damaged,
// truncated or dictionary stream gives false.
bool InflateOnce(const std::string& input, std::string& output) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  output.assign(std::max<std::size_t>(4 * input.size(), 64), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  z.avail_in = static_cast<uInt>(input.size());
  std::size_t used = 0;
  int rc = Z_OK;
  for (;;) {
    if (used == output.size()) output.resize(output.size() * 2);
    z.next_out = reinterpret_cast<Bytef*>(output.data() + used);
    z.avail_out = static_cast<uInt>(output.size() - used);
    rc = inflate(&z, Z_NO_FLUSH);
    used = output.size() - z.avail_out;
    if (rc == Z_STREAM_END) break;
    if (rc != Z_OK && !(rc == Z_BUF_ERROR && z.avail_out == 0)) break;
    if (z.avail_in == 0 && z.avail_out != 0) {  // input ended before the stream did
      rc = Z_DATA_ERROR;
      break;
    }
  }
  inflateEnd(&z);
  if (rc != Z_STREAM_END) return false;
  output.resize(used);
  output.shrink_to_fit();
  return true;
}

// One inflate() pass, writing every chunk of output as it comes.
bool InflateToFile(const std::string& input, const std::string& path, Profile& p) {
  orvalis::win::unique_file file(::CreateFileW(orvalis::win::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  std::vector<unsigned char> chunk(kChunk);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  z.avail_in = static_cast<uInt>(input.size());
  int rc = Z_OK;
  bool ok = true;
  do {
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    double t0 = Now();
    rc = inflate(&z, Z_NO_FLUSH);
    double t1 = Now();
    p.inflate += t1 - t0;
    if (rc != Z_OK && rc != Z_STREAM_END) {
      ok = false;
      break;
    }
    DWORD have = static_cast<DWORD>(chunk.size() - z.avail_out);
    DWORD written = 0;
    if (have != 0 && (!::WriteFile(file.get(), chunk.data(), have, &written, nullptr) || written != have)) ok = false;
    p.write += Now() - t1;
    p.inflated += have;
    if (rc != Z_STREAM_END && z.avail_in == 0 && have == 0) ok = false;  // truncated stream
  } while (ok && rc != Z_STREAM_END);
  inflateEnd(&z);
  double t2 = Now();
  if (::CloseHandle(file.release()) == FALSE) ok = false;
  p.write += Now() - t2;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: orvalis-bench-floor.exe grow|once|stream|none FOLDER [--ui=full2|full1|parts|throttle|still]\n");
    return 2;
  }
  const std::string mode = argv[1];
  std::string folder = argv[2];
  const std::string ui = argc == 4 && std::strncmp(argv[3], "--ui=", 5) == 0 ? argv[3] + 5 : "";
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  const double start = Now();
  Profile p;

  std::vector<std::string> names;
  if (!orvalis::ListResourceNames(nullptr, &names, "FILE:", RT_RCDATA)) return 1;
  p.list = Now() - start;

  std::unique_ptr<orvalis::TfrmProgress> progress;
  double lastPaint = 0;
  std::vector<HWND> changing;  // the label and the bar, for --ui=parts
  auto repaint = [&](bool force) {
    double t = Now();
    if (ui == "throttle" && !force && t - lastPaint < 50) return;
    if (ui == "parts") {
      for (HWND h : changing) ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    } else {
      progress->Repaint();
    }
    lastPaint = Now();
    p.paint += lastPaint - t;
    ++p.repaints;
  };
  if (!ui.empty()) {
    ::InitCommonControls();
    progress = std::make_unique<orvalis::TfrmProgress>("Bench", static_cast<int>(names.size()) + 3);
    if (ui == "parts") {
      // The bar is the progress control; the label is the child that shows the
      // step text set just before.
      progress->SetStep("\x01step");
      ::EnumChildWindows(progress->HandleIfCreated(), [](HWND h, LPARAM param) -> BOOL {
        wchar_t cls[64] = {}, text[16] = {};
        ::GetClassNameW(h, cls, 64);
        ::GetWindowTextW(h, text, 16);
        if (std::wcscmp(cls, PROGRESS_CLASSW) == 0 || std::wcscmp(text, L"\x01step") == 0)
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(h);
        return TRUE;
      }, reinterpret_cast<LPARAM>(&changing));
    }
  }
  std::size_t index = 0;

  if (mode != "none") {
    for (const auto& name : names) {
      ++index;
      if (name == "DISK.ID") continue;
      ++p.files;
      if (progress) {
        progress->SetStep(orvalis::PayloadDisplayName(name));
        if (ui == "full2") repaint(true);
        progress->SetPosition(static_cast<int>(index - 1));
        if (ui != "still") repaint(false);
      }
      double t0 = Now();
      std::string bytes = orvalis::LoadResourceData(nullptr, "FILE:" + name, RT_RCDATA);
      double t1 = Now();
      p.load += t1 - t0;
      p.stored += bytes.size();

      std::string path = folder + orvalis::PayloadDisplayName(name);
      std::string parent = path.substr(0, path.rfind('\\') + 1);
      if (!orvalis::ForceFolders(parent)) {
        ++p.failed;
        continue;
      }
      double t2 = Now();
      p.folders += t2 - t1;

      bool ok = false;
      if (mode == "stream") {
        ok = InflateToFile(bytes, path, p);
        ++p.attempts;
      } else {
        std::string output;
        if (mode == "once") {
          ++p.attempts;
          ok = InflateOnce(bytes, output);
        } else {
          output.swap(bytes);
          ok = orvalis::InflateData(output, [&p](std::size_t capacity) {
            ++p.attempts;
            p.attemptBytes += capacity;
          });
        }
        double t3 = Now();
        p.inflate += t3 - t2;
        if (ok) {
          p.inflated += output.size();
          ok = orvalis::WriteWholeFile(path, output);
          p.write += Now() - t3;
        }
      }
      if (!ok) ++p.failed;
    }
    if (progress && ui == "throttle") repaint(true);
  }
  std::printf(
      "mode=%s files=%zu failed=%zu attempts=%zu stored=%zu inflated=%zu capacity_tried=%zu "
      "total_ms=%.1f list_ms=%.1f load_ms=%.1f folders_ms=%.1f inflate_ms=%.1f write_ms=%.1f paint_ms=%.1f "
      "repaints=%zu\n",
      mode.c_str(), p.files, p.failed, p.attempts, p.stored, p.inflated, p.attemptBytes, Now() - start, p.list,
      p.load, p.folders, p.inflate, p.write, p.paint, p.repaints);
  return p.failed == 0 ? 0 : 1;
}
