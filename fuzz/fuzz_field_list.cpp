// Delimited field lists from arbitrary text: the fields put back together with
// their delimiters give the list again, and the count agrees with the fields.
// Input: one byte of options, one byte of delimiter length (1 to 3), the
// delimiter, then the list.
#include "fuzz/fuzz_check.h"
#include "services/field_list.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <string>
#include <string_view>

using namespace orvalis;

namespace {

// Plain lists split at every delimiter found from left to right.
int PlainCount(std::string_view list, std::string_view delimiter) {
  int count = 1;
  for (std::size_t at = list.find(delimiter); at != std::string_view::npos;
       at = list.find(delimiter, at + delimiter.size()))
    ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int options = data[0] & 7;
  const std::size_t delimiterLength = 1 + data[1] % 3;
  if (size < 2 + delimiterLength) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view delimiter = input.substr(2, delimiterLength);
  const std::string_view list = input.substr(2 + delimiterLength);

  const int count = CountFields(list, delimiter, options);
  FUZZ_CHECK((count == 0) == list.empty());
  FUZZ_CHECK(count <= int(list.size()) + 1);
  FUZZ_CHECK(CountFields(list, "", options) == 0);
  FUZZ_CHECK(GetDelimitedField(list, -1, delimiter, options).empty());
  FUZZ_CHECK(GetDelimitedField(list, count, delimiter, options).empty());
  if ((options & (kFieldsQuoted | kFieldsBracketed)) == 0) FUZZ_CHECK(count == (list.empty() ? 0 : PlainCount(list, delimiter)));
  FUZZ_CHECK(CountItems(list, options) == CountFields(list, ",", options));

  // Fields keep their text unless quoted fields lose their quotes.
  const bool keepsText = (options & kFieldsQuoted) == 0 || (options & kFieldsKeepQuotes) != 0;
  if (count > 0 && count <= 64) {
    std::string joined;
    std::size_t total = 0;
    for (int i = 0; i < count; ++i) {
      const std::string field = GetDelimitedField(list, i, delimiter, options);
      FUZZ_CHECK(field.size() <= list.size());
      if (i > 0) joined += delimiter;
      joined += field;
      total += field.size();
    }
    if (keepsText) FUZZ_CHECK(joined == list);
    FUZZ_CHECK(total + std::size_t(count - 1) * delimiter.size() <= list.size());
  }

  // Number sets: an added number is found, and adding it again changes nothing.
  int number = 0;
  std::memcpy(&number, data, std::min<std::size_t>(size, sizeof number));
  number %= 100000;
  std::string set(list.substr(0, 64));
  AddNumber(set, number, delimiter);
  FUZZ_CHECK(ContainsNumber(set, number, delimiter));
  const std::string before = set;
  FUZZ_CHECK(!AddNumber(set, number, delimiter));
  FUZZ_CHECK(set == before);
  return 0;
}
