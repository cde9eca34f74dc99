// Delimited field lists.
#include "services/field_list.h"

#include "core/text.h"

namespace orvalis {
namespace {

// Walks the fields of `list`, calling `onField(index, text)` for each until it
// returns false. The grouping state is kept across the whole list.
template <typename OnField>
void ScanFields(std::string_view list, std::string_view delimiter, int options, OnField onField) {
  const bool quotes = (options & kFieldsQuoted) != 0;
  const bool brackets = (options & kFieldsBracketed) != 0;
  bool inQuotes = false;
  int depth = 0;
  int index = 0;
  size_t fieldStart = 0;
  size_t i = 0;
  while (i < list.size()) {
    char c = list[i];
    if (quotes && c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if (brackets && c == '(') ++depth;
      else if (brackets && c == ')') --depth;
      else if (depth == 0 && list.compare(i, delimiter.size(), delimiter) == 0) {
        if (!onField(index++, list.substr(fieldStart, i - fieldStart))) return;
        i += delimiter.size();
        fieldStart = i;
        continue;
      }
    }
    ++i;
  }
  onField(index, list.substr(fieldStart));
}

}  // namespace

int CountFields(std::string_view list, std::string_view delimiter, int options) {
  if (list.empty() || delimiter.empty()) return 0;
  int count = 0;
  ScanFields(list, delimiter, options, [&](int, std::string_view) {
    ++count;
    return true;
  });
  return count;
}

std::string GetDelimitedField(std::string_view list, int index, std::string_view delimiter, int options) {
  if (index < 0 || list.empty() || delimiter.empty()) return {};
  std::string_view found;
  ScanFields(list, delimiter, options, [&](int i, std::string_view field) {
    if (i != index) return true;
    found = field;
    return false;
  });
  if ((options & kFieldsQuoted) != 0 && (options & kFieldsKeepQuotes) == 0) {
    std::string_view trimmed = Trim(found);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
      return std::string(trimmed.substr(1, trimmed.size() - 2));
  }
  return std::string(found);
}

int CountItems(std::string_view list, int options) { return CountFields(list, ",", options); }

std::string GetListItem(std::string_view list, int index, int options) {
  return GetDelimitedField(list, index, ",", options);
}

bool ContainsNumber(std::string_view list, int number, std::string_view delimiter) {
  std::string needle = std::string(delimiter) + std::to_string(number) + std::string(delimiter);
  std::string haystack = std::string(delimiter) + std::string(list) + std::string(delimiter);
  return haystack.find(needle) != std::string::npos;
}

bool AddNumber(std::string& list, int number, std::string_view delimiter) {
  if (ContainsNumber(list, number, delimiter)) return false;
  if (!list.empty()) list += delimiter;
  list += std::to_string(number);
  return true;
}

}  // namespace orvalis
