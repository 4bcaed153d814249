// SPDX-License-Identifier: GPL-3.0-or-later
// The search-pattern builder with any typed texts: the universal pattern
// and the detailed one are well formed (items in column order, each a
// search-box column, a mode and a folded text without control bytes, one
// closing 0x1F), a complete number stands alone, and scanning a demo town
// with the pattern finds exactly what matching record by record finds (with
// "е" for "ё" and slips as the first byte says).
#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "search/match_record.h"
#include "search/record_scanner.h"
#include "search/search_pattern.h"
#include "storage/base_file.h"
#include "storage/record_store.h"
#include "tools/demo_town.h"

namespace spravka::fuzzing {
namespace {

constexpr char kEnd = static_cast<char>(kRecordEnd);

bool Folded(uint8_t b) { return b < 0xC0 || b > 0xDF; }

const RecordStore& Town() {
  static const RecordStore store = [] {
    const DemoTown town = MakeDemoTown(300, 60, 3);
    RecordStore loaded;
    if (!LoadBaseFromBytes(
             WriteBasePart(town.header, 1, town.home_text, town.org_text),
             &loaded)
             .ok()) {
      std::abort();
    }
    return loaded;
  }();
  return store;
}

void ExpectScanAgrees(const Table& table, const std::string& pattern,
                      const MatchOptions& options) {
  std::vector<size_t> expected;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    if (MatchRecord(pattern, table.TextAt(p), options)) expected.push_back(p);
  }
  RecordScanner scanner(pattern, options);
  scanner.Start();
  std::vector<size_t> found;
  while (!scanner.Step(table, 4096, table.used, &found)) {
  }
  Expect(found == expected,
         "scanning with a built pattern disagrees with matching");
}

}  // namespace
}  // namespace spravka::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spravka;
  using namespace spravka::fuzzing;
  FuzzInput input(data, size);
  const uint8_t flags = input.Byte();
  const TableId table = flags & 1 ? TableId::kOrg : TableId::kHome;
  const int number_length = 4 + (flags >> 1 & 3);
  // Which kinds are present and which of them have a search box.
  BaseHeader header;
  header.HomeFields = static_cast<uint8_t>(input.Byte() & 0x7F) | 1;
  header.OrgFields = static_cast<uint16_t>(input.Byte() | 1);
  const uint8_t boxes = input.Byte();
  for (int k = 0; k < kOrgKinds; ++k) {
    const int left = boxes >> k & 1 ? 10 : 0;
    if (k < kHomeKinds) header.HomeEditPlaces[k].label_left = left;
    header.OrgEditPlaces[k].label_left = left;
  }
  const ColumnMaps maps = ColumnMaps::FromHeader(header);

  // The universal line: the whole rest.
  const std::string_view line = input.Rest();
  const std::string universal = UniversalPattern(line);
  Expect(universal.size() == line.size() + 1 && universal.back() == kEnd,
         "the universal pattern is not the text and its end");
  for (size_t i = 0; i + 1 < universal.size(); ++i) {
    const auto b = static_cast<uint8_t>(universal[i]);
    Expect(b >= 0x20 && Folded(b),
           "an unfolded or control byte in the universal pattern");
  }

  // The edits: the rest split at 0x00, in kind order.
  std::vector<std::string> edits;
  for (const std::string_view part : input.Split('\0'))
    edits.emplace_back(part);
  const std::string detailed =
      DetailedPattern(table, edits, maps, number_length);
  Expect(!detailed.empty() && detailed.back() == kEnd,
         "the detailed pattern has no end");
  const auto& field_column =
      table == TableId::kHome ? std::span<const uint8_t>(maps.HomeFieldColumn)
                              : std::span<const uint8_t>(maps.OrgFieldColumn);
  const bool full_number =
      !edits.empty() && IsFullNumber(edits[0], number_length);
  int items = 0;
  int last_tag = 0;
  for (size_t i = 0; i + 1 < detailed.size();) {
    const auto tag = static_cast<uint8_t>(detailed[i]);
    Expect(tag > last_tag && tag <= field_column.size(),
           "item tags out of column order");
    Expect(std::find(field_column.begin(), field_column.end(), tag) !=
               field_column.end(),
           "an item for a column without a search box");
    last_tag = tag;
    Expect(i + 1 < detailed.size() - 1, "an item without its mode");
    const auto mode = static_cast<uint8_t>(detailed[i + 1]);
    Expect(mode == kPrefixItem || mode == kSubstringItem, "an item of no mode");
    size_t end = i + 2;
    while (end + 1 < detailed.size() &&
           static_cast<uint8_t>(detailed[end]) >= 0x20) {
      Expect(Folded(static_cast<uint8_t>(detailed[end])),
             "an unfolded byte in an item");
      ++end;
    }
    Expect(end > i + 2, "an item without text");
    ++items;
    i = end;
  }
  if (full_number) {
    Expect(items <= 1 && (items == 0 ||
                          static_cast<uint8_t>(detailed[0]) == field_column[0]),
           "a complete number does not stand alone");
  }

  const RecordStore& town = Town();
  // "е" for "ё" and slips as the flags say.
  const bool yo = (flags & 8) != 0;
  const bool slip = (flags & 16) != 0;
  ExpectScanAgrees(town.table(table), universal,
                   {.universal = true, .yo = yo, .slip = slip});
  ExpectScanAgrees(town.table(table), detailed,
                   {.universal = false, .yo = yo, .slip = slip});
  return 0;
}
