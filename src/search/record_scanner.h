// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_RECORD_SCANNER_H_
#define SPRAVKA_SEARCH_RECORD_SCANNER_H_

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "search/literal_probe.h"
#include "storage/record_table.h"

namespace spravka {

// Finds the records of a working table that a pattern matches, in table
// order, slice by slice, so that a long scan can pause between slices and
// go on where it stopped (as long as the table has not changed).
//
// The result is exactly that of MatchRecord (with the same options) applied
// record by record: the literal probe only leaps over records that cannot
// match, and every candidate is confirmed by MatchRecord. Every record length
// read is checked against the used part, so a damaged table ends the scan
// instead of making it loop or read outside.
class RecordScanner {
 public:
  RecordScanner(std::string pattern, const MatchOptions& options);
  RecordScanner(std::string pattern, bool universal)
      : RecordScanner(std::move(pattern),
                      MatchOptions{.universal = universal}) {}

  // Scans every record from position `from` on.
  void Start(size_t from = 1);
  // Scans the records at these ascending positions; with `continue_after`,
  // then every record behind the last of them.
  void Start(std::vector<size_t> positions, bool continue_after);

  // Scans on for about `budget` bytes of table, appending the positions of
  // matching records to `*matches` until it holds `limit`. True when the
  // scan has ended (table or positions done, limit reached, or damage).
  bool Step(const Table& table, size_t budget, size_t limit,
            std::vector<size_t>* matches);

  bool damaged() const { return damaged_; }
  // How many records were tested with MatchRecord.
  size_t records_checked() const { return records_checked_; }

 private:
  // The length of a sound record at p, or 0 (and damaged_) when its length
  // is too small, runs past the used part or does not end with 0x1F.
  size_t RecordLength(const Table& table, size_t p);
  bool Matches(const Table& table, size_t p);

  bool StepProbe(const Table& table, size_t budget, size_t limit,
                 std::vector<size_t>* matches);
  bool StepEach(const Table& table, size_t budget, size_t limit,
                std::vector<size_t>* matches);
  bool StepCached(const Table& table, size_t budget, size_t limit,
                  std::vector<size_t>* matches);

  std::string pattern_;
  MatchOptions options_;
  ProbeSet probes_;

  bool cached_ = false;
  std::vector<size_t> positions_;
  size_t next_position_ = 0;
  bool continue_after_ = false;

  size_t record_ = 1;  // a record start at or before probe_at_
  size_t probe_at_ = 1;
  bool done_ = false;
  bool damaged_ = false;
  size_t records_checked_ = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_RECORD_SCANNER_H_
