// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SEARCH_SEARCH_TEST_UTIL_H_
#define SPRAVKA_TESTS_SEARCH_SEARCH_TEST_UTIL_H_

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "search/match_record.h"
#include "storage/cp1251.h"
#include "storage/record_table.h"

namespace spravka::testing {

// Windows-1251 bytes of a UTF-8 literal.
inline std::string W(std::string_view utf8) {
  return Utf8ToCp1251(utf8).value();
}

// A record text: tag 1, field 1, ..., tag n, field n, 0x1F (fields UTF-8).
inline std::string Rec(std::initializer_list<std::string_view> fields) {
  std::string text;
  char tag = 1;
  for (std::string_view f : fields) {
    text.push_back(tag++);
    text += W(f);
  }
  text.push_back('\x1F');
  return text;
}

// A working table of these record texts, numbered 1, 2, ...
inline Table MakeTable(const std::vector<std::string>& texts) {
  Table table;
  uint32_t number = 1;
  for (const std::string& t : texts) table.Append(number++, t);
  return table;
}

// The reference: MatchRecord on every record in table order.
inline std::vector<size_t> PlainScan(const Table& table,
                                     std::string_view pattern,
                                     const MatchOptions& options,
                                     size_t limit) {
  std::vector<size_t> found;
  for (size_t p = 1; p < table.used && found.size() < limit;
       p += table.LengthAt(p)) {
    if (MatchRecord(pattern, table.TextAt(p), options)) found.push_back(p);
  }
  return found;
}
inline std::vector<size_t> PlainScan(const Table& table,
                                     std::string_view pattern, bool universal,
                                     size_t limit) {
  return PlainScan(table, pattern, MatchOptions{.universal = universal}, limit);
}

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SEARCH_SEARCH_TEST_UTIL_H_
