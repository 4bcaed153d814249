// SPDX-License-Identifier: GPL-3.0-or-later
// The matcher with any pattern and any records, with or without "е" for
// "ё" and slips: it reads neither beyond its closing 0x1F, and the scanner,
// which leaps over records by literal probes and scans in slices, finds
// exactly the records the matcher accepts one by one, from the start and
// from a cached result.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "search/match_record.h"
#include "search/record_scanner.h"
#include "storage/record_table.h"

namespace spravka::fuzzing {
namespace {

constexpr char kEnd = static_cast<char>(kRecordEnd);

// MatchRecord on copies of exactly the bytes up to and including the
// closing 0x1F, so that a sanitizer sees any read beyond them.
bool MatchExact(std::string_view pattern, std::string_view text,
                const MatchOptions& options) {
  const std::vector<uint8_t> p(pattern.begin(), pattern.end());
  const std::vector<uint8_t> t(text.begin(), text.end());
  return MatchRecord(p.data(), t.data(), options);
}

std::vector<size_t> Scan(RecordScanner& scanner, const Table& table,
                         size_t budget, size_t limit) {
  std::vector<size_t> found;
  for (int steps = 0; !scanner.Step(table, budget, limit, &found); ++steps) {
    Expect(steps < 1000000, "the scanner does not end");
  }
  Expect(!scanner.damaged(), "the scanner calls a sound table damaged");
  return found;
}

}  // namespace
}  // namespace spravka::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spravka;
  using namespace spravka::fuzzing;
  FuzzInput input(data, size);
  const uint8_t flags = input.Byte();
  const bool universal = flags & 1;
  const size_t budget = size_t{1} << (flags >> 1 & 15);  // 1 .. 32768 bytes
  const MatchOptions options{.universal = universal,
                             .yo = (flags & 32) != 0,
                             .slip = (flags & 64) != 0};
  const size_t limit = 1 + input.Byte() % 16;

  // The pattern up to the first 0x1F, then records, each closed by 0x1F.
  std::vector<std::string_view> parts = input.Split(kEnd);
  std::string pattern(parts.front());
  pattern.push_back(kEnd);
  Table table;
  std::vector<size_t> positions;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].size() + 1 + kRecordHeadSize > kMaxRecordLength) continue;
    positions.push_back(table.used + 1);
    table.Append(static_cast<uint32_t>(i), std::string(parts[i]) + kEnd);
  }

  std::vector<size_t> expected;
  std::vector<bool> matches;
  for (const size_t p : positions) {
    matches.push_back(MatchExact(pattern, table.TextAt(p), options));
    if (matches.back() && expected.size() < limit) expected.push_back(p);
  }
  // Without its closing byte neither is read at all.
  Expect(!MatchRecord(std::string_view(pattern).substr(0, pattern.size() - 1),
                      std::string_view("\x1F"), options) &&
             !MatchRecord(pattern, std::string_view(parts.front()), options),
         "a pattern or a text without its end matches");

  RecordScanner scanner(pattern, options);
  scanner.Start();
  Expect(Scan(scanner, table, budget, limit) == expected,
         "the scanner finds other records than the matcher");

  // From a cached result: every other record, then everything after it.
  std::vector<size_t> cached;
  for (size_t i = 0; i < positions.size(); i += 2)
    cached.push_back(positions[i]);
  std::vector<size_t> want;
  for (size_t i = 0; i < positions.size() && want.size() < limit; ++i) {
    const bool listed =
        i % 2 == 0 || (!cached.empty() && positions[i] > cached.back());
    if (listed && matches[i]) want.push_back(positions[i]);
  }
  scanner.Start(cached, true);
  Expect(Scan(scanner, table, budget, limit) == want,
         "the scanner finds other records from a cached result");
  return 0;
}
