// Short lists packed into one string: comma lists of files and settings,
// section\name:value items, and sets of numbers. Fields may be grouped by
// double quotes or parentheses so that they can hold the delimiter.
#pragma once

#include <string>
#include <string_view>

namespace orvalis {

// Grouping options, combined with "|".
inline constexpr int kFieldsPlain = 0;
// Between a double quote and the next one delimiters do not split; a field
// quoted as a whole is returned without its quotes.
inline constexpr int kFieldsQuoted = 1;
// With kFieldsQuoted: fields keep their quotes.
inline constexpr int kFieldsKeepQuotes = 2;
// While more "(" than ")" have been seen outside quotes, delimiters do not split.
inline constexpr int kFieldsBracketed = 4;

// Number of fields: 0 for an empty list or delimiter, else 1 + the delimiters
// found outside groups.
[[nodiscard]] int CountFields(std::string_view list, std::string_view delimiter, int options);

// Field `index` (from 0); empty when the index is negative or past the end, or
// when the list or the delimiter is empty. Fields are not trimmed, except that
// with kFieldsQuoted alone a field whose trimmed text is "..." loses the
// blanks around and the quotes.
[[nodiscard]] std::string GetDelimitedField(std::string_view list, int index, std::string_view delimiter,
                                            int options);

// The same over comma lists.
[[nodiscard]] int CountItems(std::string_view list, int options);
[[nodiscard]] std::string GetListItem(std::string_view list, int index, int options);

// True when `number` is one of the fields of the number set `list`.
[[nodiscard]] bool ContainsNumber(std::string_view list, int number, std::string_view delimiter);

// Appends `number` to the set unless it is there already; true when appended.
bool AddNumber(std::string& list, int number, std::string_view delimiter);

}  // namespace orvalis
