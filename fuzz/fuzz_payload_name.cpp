// Payload names from arbitrary bytes: a name called safe can never climb out of
// the install folder, and the name actually written (the display name) is
// judged exactly like the name that was checked.
// Input: a name, or two names separated by a line feed.
#include "core/text.h"
#include "fuzz/fuzz_check.h"
#include "services/payload_name.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis;

namespace {

void CheckOne(std::string_view name) {
  const PayloadNameProblem problem = CheckPayloadName(name);
  FUZZ_CHECK(CheckPayloadName(PayloadDisplayName(name)) == problem);
  FUZZ_CHECK(CheckPayloadName(UpperCase(name)) == problem);
  FUZZ_CHECK(PayloadDisplayName(name).size() == name.size());
  FUZZ_CHECK(DescribePayloadNameProblem(problem) != nullptr);
  if (problem != PayloadNameProblem::kSafe) return;

  FUZZ_CHECK(!name.empty() && name[0] != '\\' && name[0] != '/');
  FUZZ_CHECK(name.find(':') == std::string_view::npos);
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = name.find_first_of("\\/", start);
    const std::string_view segment = name.substr(start, end == std::string_view::npos ? name.npos : end - start);
    FUZZ_CHECK(!segment.empty() && segment != "." && segment != "..");
    FUZZ_CHECK(Trim(segment).size() > 0);
    FUZZ_CHECK(segment.back() != '.' && segment.back() != ' ');
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  // Whatever is put in front or behind to climb or escape makes it unsafe.
  const std::string name_(name);
  FUZZ_CHECK(CheckPayloadName("..\\" + name_) != PayloadNameProblem::kSafe);
  FUZZ_CHECK(CheckPayloadName("\\" + name_) != PayloadNameProblem::kSafe);
  FUZZ_CHECK(CheckPayloadName("C:" + name_) != PayloadNameProblem::kSafe);
  FUZZ_CHECK(CheckPayloadName(name_ + "\\") != PayloadNameProblem::kSafe);
  FUZZ_CHECK(CheckPayloadName(name_ + "\\..") != PayloadNameProblem::kSafe);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckOne(input);
  const std::size_t feed = input.find('\n');
  if (feed == std::string_view::npos) return 0;
  const std::string_view a = input.substr(0, feed), b = input.substr(feed + 1);
  CheckOne(a);
  CheckOne(b);
  // Safe folder names and safe file names combine into a safe path.
  if (CheckPayloadName(a) == PayloadNameProblem::kSafe && CheckPayloadName(b) == PayloadNameProblem::kSafe)
    FUZZ_CHECK(CheckPayloadName(std::string(a) + "\\" + std::string(b)) == PayloadNameProblem::kSafe);
  return 0;
}
