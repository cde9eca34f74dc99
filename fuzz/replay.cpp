// Runs a fuzz target without libFuzzer, once over each input: its seed corpus
// and every file or folder named on the command line. The native test builds
// link every target with this, so the targets compile with the rest of the code
// and their corpora replay as tests.
#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <signal.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Read by AddressSanitizer and UndefinedBehaviorSanitizer when they are linked
// in: a fault they report ends the run with abort(), so that the handler below
// names the input after their report.
extern "C" const char* __asan_default_options() { return "abort_on_error=1"; }
extern "C" const char* __ubsan_default_options() { return "abort_on_error=1"; }

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "fuzz_" ORVALIS_FUZZ_TARGET;
constexpr int kFatalSignals[] = {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};

// The input being replayed, for the last words of a run that it brings down.
char currentInput[4096];
volatile std::sig_atomic_t failureTold = 0;
struct sigaction previousActions[std::size(kFatalSignals)];

void Say(const char* text) {
  for (std::size_t left = std::strlen(text); left > 0;) {
    const ssize_t written = write(STDERR_FILENO, text, left);
    if (written <= 0) return;
    text += written;
    left -= static_cast<std::size_t>(written);
  }
}

// Names the input, then hands the signal to whoever handled it before: a
// sanitizer's handler reports a fault with its stack. A fault comes back when
// the faulting instruction runs again; abort() is raised again.
extern "C" void OnFatalSignal(int signal) {
  if (!failureTold) {
    failureTold = 1;
    Say("\n");
    Say(kProgram);
    Say(": FAILED on input ");
    Say(currentInput);
    Say("\n");
  }
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
    if (kFatalSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
  if (signal == SIGABRT) raise(signal);
}

void WatchForFailures() {
  struct sigaction action {};
  action.sa_handler = OnFatalSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
    sigaction(kFatalSignals[i], &action, &previousActions[i]);
}

bool ReadFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The files of a folder and its sub-folders in name order, or the file itself.
bool InputsOf(const fs::path& source, std::vector<fs::path>& inputs) {
  std::error_code error;
  if (fs::is_regular_file(source, error)) {
    inputs.push_back(source);
    return true;
  }
  if (!fs::is_directory(source, error)) return false;
  for (fs::recursive_directory_iterator it(source, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file(error)) inputs.push_back(it->path());
  std::sort(inputs.begin(), inputs.end());
  return !error;
}

// Replays every input of one source; false when it holds none or one does not read.
bool Replay(const fs::path& source, std::size_t& replayed) {
  std::vector<fs::path> inputs;
  if (!InputsOf(source, inputs)) {
    std::fprintf(stderr, "%s: cannot read %s\n", kProgram, source.c_str());
    return false;
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "%s: no input in %s\n", kProgram, source.c_str());
    return false;
  }
  std::vector<std::uint8_t> bytes;
  for (const fs::path& input : inputs) {
    if (!ReadFile(input, bytes)) {
      std::fprintf(stderr, "%s: cannot read %s\n", kProgram, input.c_str());
      return false;
    }
    std::snprintf(currentInput, sizeof currentInput, "%s", input.c_str());
    // A copy of exactly the input's size, as libFuzzer passes it, so that a
    // sanitizer sees a read past its end.
    const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
  }
  std::printf("%s: %zu inputs from %s\n", kProgram, inputs.size(), source.c_str());
  std::fflush(stdout);
  replayed += inputs.size();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> sources{ORVALIS_FUZZ_CORPUS};
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') {
      std::fprintf(stderr, "usage: %s [FILE|FOLDER]...\n  replays %s and the inputs named\n", kProgram,
                   ORVALIS_FUZZ_CORPUS);
      return 2;
    }
    sources.emplace_back(argv[i]);
  }
  WatchForFailures();
  std::size_t replayed = 0;
  for (const fs::path& source : sources)
    if (!Replay(source, replayed)) return 1;
  if (sources.size() > 1) std::printf("%s: %zu inputs in all\n", kProgram, replayed);
  return 0;
}
